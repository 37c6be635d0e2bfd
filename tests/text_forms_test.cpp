#include "readout/text_forms.h"
#include "tests/decimal_oracle.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace taliven {
namespace {

struct RealCase {
    double value;
    const char* separator;
    const char* expected;
};

TEST(FormatReal, WritesFifteenDigitsPositionally) {
    const RealCase cases[] = {
        {0.0, ".", "0"},
        {-0.0, ".", "0"},
        {0.5, ".", "0.5"},
        {0.01, ".", "0.01"},
        {0.05, ",", "0,05"},
        {1.0, ",", "1"},
        {10000.0, ".", "10000"},
        {500.0 / 3.0, ".", "166.666666666667"},
        {100.0 / 3.0, ",", "33,3333333333333"},
        {300.0 / 34.0, ".", "8.82352941176471"},
        {3.0 / 0.34, ".", "8.8235294117647"},
        {0.00001, ".", "0.00001"},
        {0.1 + 0.2, ".", "0.3"},
        {9.9999999999999995, ".", "10"}, // rounding carries into a new digit
        {999999999999999.9, ".", "1000000000000000"},
        {123456789012345678.0, ".", "123456789012346000"},
        {1e21, ".", "1000000000000000000000"}, // no exponent, however large
        {-2.5, ".", "-2.5"},
        {0.25, " dec ", "0 dec 25"}, // separators may be several characters
        {1.5, "\xd9\xab",
         "1\xd9\xab"
         "5"}, // U+066B ARABIC DECIMAL SEPARATOR
    };
    for (const RealCase& c : cases) {
        EXPECT_EQ(formatReal(c.value, c.separator), c.expected) << c.value;
    }
}

TEST(FormatReal, AgreesWithExactExpansionAtTheExtremes) {
    const double values[] = {DBL_MAX, DBL_MIN,  std::numeric_limits<double>::denorm_min(),
                             1e300,   1e-300,   2.0 / 3.0 * 1e-20,
                             0.1,     1.0 / 7.0};
    for (const double v : values) {
        const std::string text = formatReal(v, ".");
        EXPECT_EQ(text, oracle::readoutText(v, ".")) << v;
        EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
    }
}

TEST(FormatReal, NamesValuesThatAreNotNumbers) {
    EXPECT_EQ(formatReal(std::nan(""), "."), "NaN");
    EXPECT_EQ(formatReal(HUGE_VAL, "."), "Infinity");
    EXPECT_EQ(formatReal(-HUGE_VAL, "."), "-Infinity");
}

} // namespace
} // namespace taliven
