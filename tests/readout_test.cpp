// The readout logic through a view in memory: the order of work and the
// faults. Every text of every slider pair, in sequence, is judged by an exact
// oracle elsewhere (readout_table, check_readouts.py).

#include "readout/checked_math.h"
#include "readout/errors.h"
#include "readout/readout.h"
#include "tests/fake_view.h"

#include <gtest/gtest.h>

#include <cfloat>

namespace taliven {
namespace {

using testing::FakeView;

TEST(Readouts, EachChangeReadsAndSetsInOrderAndNoCurrentLeavesTheResistance) {
    const struct {
        void (*change)(ReadoutView&, std::string_view);
        std::int16_t current;
        const char* calls;
    } cases[] = {{onVoltageChange, 3, "vViivR"},
                 {onVoltageChange, 0, "vVi"},
                 {onCurrentChange, 3, "iIiivR"},
                 {onCurrentChange, 0, "iIi"}};
    for (const auto& c : cases) {
        FakeView view;
        view.voltage = 5;
        view.current = c.current;
        c.change(view, ".");
        EXPECT_EQ(view.calls, c.calls);
    }
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
    view.voltage = 328;
    EXPECT_THROW(onVoltageChange(view, "."), OverflowError);
    view.voltage = 5;
    view.current = 2;
    view.failingSetter = 'R';
    try {
        onCurrentChange(view, ".");
        FAIL() << "no error raised";
    } catch (const ControlError& error) {
        EXPECT_EQ(error.code(), 1400U);
        EXPECT_NE(std::string(error.what()).find("1400"), std::string::npos);
    }
    EXPECT_EQ(view.texts[0], "328"); // each set before its failure, so it stays
    EXPECT_EQ(view.texts[1], "0.02");
    EXPECT_EQ(view.texts[2], "32700");
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

} // namespace
} // namespace taliven
