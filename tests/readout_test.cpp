// The readout logic through a view in memory: the faults. Every text of every slider pair, in
// sequence, is judged by an exact oracle elsewhere (readout_table, check_readouts.py).

#include "readout/checked_math.h"
#include "readout/errors.h"
#include "readout/readout.h"
#include "tests/fake_view.h"

#include <gtest/gtest.h>

#include <cfloat>

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
    const double faulting[][2] = {{1.0, 0.0}, {0.0, 0.0}, {DBL_MAX, 0.5}};
    for (const auto& operands : faulting) {
        EXPECT_THROW((void)checkedDivide(operands[0], operands[1]), FloatingPointError);
    }
    const double sound[][2] = {{1.0, 3.0}, {DBL_MIN, 3.0}};
    for (const auto& operands : sound) {
        EXPECT_EQ(checkedDivide(operands[0], operands[1]), operands[0] / operands[1]);
    }
}

} // namespace
} // namespace taliven
