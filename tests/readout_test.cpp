#include "readout/errors.h"
#include "readout/readout.h"
#include "tests/decimal_oracle.h"
#include "tests/fake_view.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace taliven {
namespace {

using testing::FakeView;

// Moves a slider the way the window does: set the position, then notify.
void moveVoltage(FakeView& view, int steps, const char* separator = ".") {
    view.voltage = static_cast<std::int16_t>(steps);
    onVoltageChange(view, separator);
}

void moveCurrent(FakeView& view, int steps, const char* separator = ".") {
    view.current = static_cast<std::int16_t>(steps);
    onCurrentChange(view, separator);
}

struct PairCase {
    int voltage;
    int current;
    const char* currentText;
    const char* resistanceText;
};

TEST(Readouts, ShowVoltageCurrentAndResistance) {
    const PairCase cases[] = {
        {0, 5, "0.05", "0"},
        {1, 100, "1", "1"},
        {5, 3, "0.03", "166.666666666667"},
        {1, 3, "0.03", "33.3333333333333"},
        {100, 7, "0.07", "1428.57142857143"},
        {99, 98, "0.98", "101.020408163265"},
        {100, 1, "0.01", "10000"},
        {100, 100, "1", "100"},
        {3, 34, "0.34", "8.82352941176471"}, // not 8.8235294117647 (3 / 0.34)
        {51, 50, "0.5", "102"},
        {70, 51, "0.51", "137.254901960784"},
        {7, 51, "0.51", "13.7254901960784"}, // the longest text, 16 characters
    };
    for (const PairCase& c : cases) {
        FakeView view;
        moveCurrent(view, c.current);
        moveVoltage(view, c.voltage);
        EXPECT_EQ(view.voltageText, std::to_string(c.voltage));
        EXPECT_EQ(view.currentText, c.currentText) << c.voltage << ", " << c.current;
        EXPECT_EQ(view.resistanceText, c.resistanceText) << c.voltage << ", " << c.current;
    }
}

struct Step {
    char slider; // 'v' or 'i'
    int position;
    const char* voltageText;
    const char* currentText;
    const char* resistanceText;
};

TEST(Readouts, ZeroCurrentKeepsTheLastResistance) {
    const Step steps[] = {
        {'v', 5, "5", "0", "0"}, // nothing computed yet: the stored "0" stays
        {'i', 1, "5", "0,01", "500"},      {'i', 0, "5", "0", "500"}, // back to zero: 500 stays
        {'v', 6, "6", "0", "500"},         {'v', 0, "0", "0", "500"},    {'i', 2, "0", "0,02", "0"},
        {'v', 100, "100", "0,02", "5000"}, {'i', 0, "100", "0", "5000"},
    };
    FakeView view;
    for (const Step& s : steps) {
        if (s.slider == 'v') {
            moveVoltage(view, s.position, ",");
        } else {
            moveCurrent(view, s.position, ",");
        }
        EXPECT_EQ(view.voltageText, s.voltageText);
        EXPECT_EQ(view.currentText, s.currentText);
        EXPECT_EQ(view.resistanceText, s.resistanceText);
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

TEST(Readouts, EverySliderPairMatchesTheExactDecimalValue) {
    FakeView view;
    int orderSensitive = 0;
    for (int v = 0; v <= 100; ++v) {
        moveVoltage(view, v, ",");
        for (int i = 1; i <= 100; ++i) {
            moveCurrent(view, i, ",");
            const double ohms = static_cast<double>(v * 100) / static_cast<double>(i);
            ASSERT_EQ(view.resistanceText, oracle::readoutText(ohms, ",")) << v << ", " << i;
            ASSERT_LE(view.resistanceText.size(), 16U);
            const double amperes = static_cast<double>(i) / 100.0;
            const double viaAmperes = static_cast<double>(v) / amperes;
            if (oracle::readoutText(viaAmperes, ",") != view.resistanceText) {
                ++orderSensitive;
            }
        }
    }
    // The order of arithmetic is visible: dividing by the current in amperes
    // would change this many readouts.
    EXPECT_EQ(orderSensitive, 104);
}

TEST(Readouts, CurrentTakesExactlyTheHundredthTexts) {
    FakeView view;
    for (int i = 0; i <= 100; ++i) {
        moveCurrent(view, i);
        char expected[8];
        if (i == 0 || i == 100) {
            std::snprintf(expected, sizeof expected, "%d", i / 100);
        } else if (i % 10 == 0) {
            std::snprintf(expected, sizeof expected, "0.%d", i / 10);
        } else {
            std::snprintf(expected, sizeof expected, "0.%02d", i);
        }
        EXPECT_EQ(view.currentText, expected);
    }
}

TEST(ReadoutFaults, ProductBeyondSixteenBitsRaisesOverflow) {
    FakeView view;
    moveCurrent(view, 1);
    moveVoltage(view, 327);
    EXPECT_EQ(view.resistanceText, "32700");
    view.voltage = 328;
    EXPECT_THROW(onVoltageChange(view, "."), OverflowError);
    EXPECT_EQ(view.voltageText, "328"); // set before the failure, so it stays
    EXPECT_EQ(view.resistanceText, "32700");
}

TEST(ReadoutFaults, FailingSetterCarriesItsCodeAndKeepsEarlierTexts) {
    FakeView view;
    moveVoltage(view, 5);
    moveCurrent(view, 1);
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

    view.failingSetter = "voltage";
    view.voltage = 9;
    EXPECT_THROW(onVoltageChange(view, "."), ControlError);
    EXPECT_EQ(view.voltageText, "5");
    EXPECT_EQ(view.resistanceText, "500"); // the procedure stopped at the failure
}

} // namespace
} // namespace taliven
