#include "readout/checked_math.h"
#include "readout/errors.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>

namespace taliven {
namespace {

TEST(CheckedMultiply, RaisesOverflowOutsideSixteenBits) {
    EXPECT_EQ(checkedMultiply(100, 100), 10000);
    EXPECT_EQ(checkedMultiply(327, 100), 32700);
    EXPECT_EQ(checkedMultiply(-327, 100), -32700);
    EXPECT_EQ(checkedMultiply(-32768, 1), -32768);
    EXPECT_THROW((void)checkedMultiply(328, 100), OverflowError);
    EXPECT_THROW((void)checkedMultiply(-328, 100), OverflowError);
    EXPECT_THROW((void)checkedMultiply(-32768, -1), OverflowError);
}

struct DivisionCase {
    double dividend;
    double divisor;
    bool faults;
};

TEST(CheckedDivide, RaisesOnlyInvalidDivideByZeroAndOverflow) {
    const DivisionCase cases[] = {
        {1.0, 3.0, false},         // inexact is ignored
        {DBL_MIN, 3.0, false},     // underflow and denormals are ignored
        {DBL_MIN, 1e300, false},   // underflow to zero
        {1.0, 0.0, true},          // division by zero
        {0.0, 0.0, true},          // invalid
        {DBL_MAX, 0.5, true},      // overflow
        {-DBL_MAX, DBL_MIN, true}, // overflow to minus infinity
    };
    for (const DivisionCase& c : cases) {
        if (c.faults) {
            EXPECT_THROW((void)checkedDivide(c.dividend, c.divisor), FloatingPointError)
                << c.dividend << " / " << c.divisor;
        } else {
            EXPECT_NO_THROW((void)checkedDivide(c.dividend, c.divisor))
                << c.dividend << " / " << c.divisor;
        }
    }
    EXPECT_EQ(checkedDivide(500.0, 3.0), 500.0 / 3.0);
}

TEST(CheckedDivide, AFaultDoesNotLingerIntoTheNextDivision) {
    EXPECT_THROW((void)checkedDivide(1.0, 0.0), FloatingPointError);
    EXPECT_NO_THROW((void)checkedDivide(1.0, 4.0));
}

} // namespace
} // namespace taliven
