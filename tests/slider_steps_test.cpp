#include "window/slider_steps.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

namespace taliven {
namespace {

constexpr SliderRange range{0, 100, 1, 1};

struct StepCase {
    unsigned code;
    int position;
    int trackPosition;
    std::optional<int> expected;
};

TEST(SliderSteps, EachRequestLandsInsideTheRange) {
    const StepCase cases[] = {
        {0, 5, 0, 4},
        {0, 0, 0, 0},
        {1, 5, 0, 6},
        {1, 100, 0, 100},
        {2, 5, 0, 4},
        {3, 5, 0, 6},
        {3, 100, 0, 100},
        {4, 5, 40, 40},
        {4, 5, -3, 0},
        {4, 5, 70000, 100},
        {4, 5, INT_MIN, 0},
        {5, 5, 40, std::nullopt},
        {6, 5, 0, 0},
        {7, 5, 0, 100},
        {8, 5, 0, std::nullopt},
        {9, 5, 0, std::nullopt},
        {0xFFFFFFFFU, 5, 0, std::nullopt},
        {1, INT_MAX, 0, 100},
        {0, INT_MIN, 0, 0},
        {1, -50, 0, 0},
    };
    for (const StepCase& c : cases) {
        EXPECT_EQ(targetPosition(c.code, c.position, c.trackPosition, range), c.expected)
            << "code " << c.code << " at " << c.position;
    }
}

} // namespace
} // namespace taliven
