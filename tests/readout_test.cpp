// The readout logic through a view in memory: texts, order of work, and
// faults. Every slider pair is checked against an exact oracle elsewhere
// (readout_table, check_readouts.py).

#include "readout/checked_math.h"
#include "readout/errors.h"
#include "readout/readout.h"
#include "readout/text_forms.h"
#include "tests/fake_view.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

namespace taliven {
namespace {

using testing::FakeView;

struct Step {
    char slider; // 'v' or 'i'
    int position;
    const char* voltageText;
    const char* currentText;
    const char* resistanceText;
};

TEST(Readouts, FollowEachChangeAndKeepTheLastResistanceAtZeroCurrent) {
    const Step steps[] = {
        {'v', 5, "5", "0", "0"}, // nothing computed yet: the stored "0" stays
        {'i', 1, "5", "0,01", "500"},
        {'i', 0, "5", "0", "500"}, // back to zero: 500 stays
        {'v', 6, "6", "0", "500"},
        {'i', 34, "6", "0,34", "17,6470588235294"},
        {'v', 3, "3", "0,34", "8,82352941176471"}, // not 8,8235294117647 (3 / 0.34)
        {'v', 0, "0", "0,34", "0"},
        {'i', 50, "0", "0,5", "0"},
        {'v', 100, "100", "0,5", "200"},
        {'i', 1, "100", "0,01", "10000"},
        {'i', 0, "100", "0", "10000"},
    };
    FakeView view;
    for (const Step& s : steps) {
        if (s.slider == 'v') {
            view.voltage = static_cast<std::int16_t>(s.position);
            onVoltageChange(view, ",");
        } else {
            view.current = static_cast<std::int16_t>(s.position);
            onCurrentChange(view, ",");
        }
        EXPECT_EQ(view.voltageText, s.voltageText);
        EXPECT_EQ(view.currentText, s.currentText);
        EXPECT_EQ(view.resistanceText, s.resistanceText) << s.slider << s.position;
    }
}

TEST(Readouts, ResistanceReadsCurrentTwiceThenVoltage) {
    FakeView view;
    view.voltage = 5;
    view.current = 3;
    refreshResistance(view, ".");
    EXPECT_EQ(view.calls, (std::vector<std::string>{"currentPosition", "currentPosition",
                                                    "voltagePosition", "set resistance"}));
    view.calls.clear();
    view.current = 0;
    refreshResistance(view, ".");
    EXPECT_EQ(view.calls, std::vector<std::string>{"currentPosition"});
}

TEST(ReadoutFaults, SixteenBitsHoldUpTo32767AndTextsSetBeforeAFaultStay) {
    EXPECT_EQ(checkedMultiply(32767, 1), 32767);
    EXPECT_EQ(checkedMultiply(-32768, 1), -32768);
    EXPECT_THROW((void)checkedMultiply(16384, 2), OverflowError); // 32768
    EXPECT_THROW((void)checkedMultiply(-32768, -1), OverflowError);

    FakeView view;
    view.current = 1;
    view.voltage = 327;
    onVoltageChange(view, ".");
    EXPECT_EQ(view.resistanceText, "32700");
    view.voltage = 328;
    EXPECT_THROW(onVoltageChange(view, "."), OverflowError);
    EXPECT_EQ(view.voltageText, "328"); // set before the failure, so it stays
    EXPECT_EQ(view.resistanceText, "32700");
}

TEST(ReadoutFaults, FailingSetterCarriesItsCodeAndKeepsEarlierTexts) {
    FakeView view;
    view.voltage = 5;
    view.current = 1;
    onCurrentChange(view, ".");
    view.failingSetter = "resistance";
    view.failureCode = 1400; // as a destroyed window would report
    view.current = 2;
    try {
        onCurrentChange(view, ".");
        FAIL() << "no error raised";
    } catch (const ControlError& error) {
        EXPECT_EQ(error.code(), 1400U);
        EXPECT_NE(std::string(error.what()).find("1400"), std::string::npos);
    }
    EXPECT_EQ(view.currentText, "0.02");
    EXPECT_EQ(view.resistanceText, "500");
}

TEST(CheckedDivide, RaisesOnlyInvalidDivideByZeroAndOverflow) {
    const struct {
        double dividend;
        double divisor;
        bool faults;
    } cases[] = {
        {1.0, 3.0, false},     // inexact is ignored
        {DBL_MIN, 3.0, false}, // underflow and denormals are ignored
        {1.0, 0.0, true},      // division by zero
        {0.0, 0.0, true},      // invalid
        {DBL_MAX, 0.5, true},  // overflow
        {1.0, 4.0, false},     // no fault lingers from the one before
    };
    for (const auto& c : cases) {
        if (c.faults) {
            EXPECT_THROW((void)checkedDivide(c.dividend, c.divisor), FloatingPointError);
        } else {
            EXPECT_EQ(checkedDivide(c.dividend, c.divisor), c.dividend / c.divisor);
        }
    }
}

TEST(FormatReal, WritesFifteenDigitsPositionallyWithAnySeparator) {
    const struct {
        double value;
        const char* separator;
        const char* expected;
    } cases[] = {
        {-0.0, ".", "0"},
        {0.5, ".", "0.5"},
        {0.1 + 0.2, ".", "0.3"},
        {9.9999999999999995, ".", "10"}, // rounding carries into a new digit
        {0.00001, ".", "0.00001"},
        {1e21, ".", "1000000000000000000000"}, // no exponent, however large
        {-2.5, ".", "-2.5"},
        {0.25, " dec ", "0 dec 25"}, // separators may be several characters
        {std::nan(""), ".", "NaN"},
        {-HUGE_VAL, ".", "-Infinity"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatReal(c.value, c.separator), c.expected) << c.value;
    }
    EXPECT_EQ(formatInteger(100), "100");
}

} // namespace
} // namespace taliven
