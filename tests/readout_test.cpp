// The readout logic through a view in memory: the faults. Every text of every slider pair, in
// sequence, is judged by an exact oracle elsewhere (readout_table, check_readouts.py).

#include "readout/checked_math.h"
#include "readout/errors.h"
#include "readout/readout.h"
#include "tests/fake_view.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <utility>

namespace taliven {
namespace {

using testing::FakeView;

TEST(ReadoutFaults, AFailingControlEndsTheUpdateAndEarlierTextsStay) {
    FakeView view;
    view.voltage = 5;
    view.current = 2;
    view.failingSetter = 2; // the resistance
    EXPECT_THROW(onCurrentChange(view, "."), ControlError);
    EXPECT_EQ(view.texts[1], "0.02");
    EXPECT_EQ(view.texts[2], "0");
}

TEST(CheckedMath, SixteenBitProductsAndTheDivisionFaults) {
    EXPECT_EQ(checkedMultiply(32767, 1), 32767);
    EXPECT_EQ(checkedMultiply(-32768, 1), -32768);
    EXPECT_THROW((void)checkedMultiply(16384, 2), OverflowError); // 32768
    EXPECT_THROW((void)checkedMultiply(-32768, -1), OverflowError);
    // Division by zero, invalid and overflow raise; inexact and underflow do
    // not, and no fault lingers into the next division.
    for (const auto& [dividend, divisor] : {std::pair{1.0, 0.0}, {0.0, 0.0}, {DBL_MAX, 0.5}}) {
        EXPECT_THROW((void)checkedDivide(dividend, divisor), FloatingPointError);
    }
    for (const auto& [dividend, divisor] : {std::pair{1.0, 3.0}, {DBL_MIN, 3.0}}) {
        EXPECT_EQ(checkedDivide(dividend, divisor), dividend / divisor);
    }
}

} // namespace
} // namespace taliven
