// Real keyboard and mouse input, through the system's input queue.

#include "tests/taliven_process_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace taliven::testing {
namespace {

struct SliderGeometry {
    RECT screen;   // the whole scroll bar
    int arrowPx;   // width of each arrow button
    int thumbLeft; // thumb edges, from screen.left
    int thumbRight;
    [[nodiscard]] int middleY() const { return (screen.top + screen.bottom) / 2; }
};

// Where the parts of a scroll bar lie while it stands at position 0.
// (GetScrollBarInfo does not reach into another process under Wine, so the
// system metrics that size arrows and thumbs stand in for it.)
SliderGeometry geometryAtZero(HWND slider) {
    RECT screen{};
    GetWindowRect(slider, &screen);
    const int widthPx = screen.right - screen.left;
    const int arrowPx = std::min(GetSystemMetrics(SM_CXHSCROLL), widthPx / 2);
    const int thumbPx = GetSystemMetrics(SM_CXHTHUMB);
    return {screen, arrowPx, arrowPx, arrowPx + thumbPx};
}

int trackPosition(HWND slider) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(slider, SB_CTL, &info);
    return info.nTrackPos;
}

std::string current(int hundredths) {
    const std::string sep = decimalSeparator();
    if (hundredths == 0 || hundredths == 100) {
        return std::to_string(hundredths / 100);
    }
    std::string digits = std::to_string(100 + hundredths).substr(1);
    if (digits.back() == '0') {
        digits.pop_back();
    }
    return "0" + sep + digits;
}

TEST(Keyboard, FocusedSliderStepsByOneAndJumpsToItsEnds) {
    TalivenProcess app;
    pressKey(VK_TAB);
    ASSERT_TRUE(waitUntil([&] { return app.focus() == app.currentSlider(); }));
    const struct {
        WORD key;
        int expected;
    } steps[] = {{VK_RIGHT, 1},   {VK_RIGHT, 2}, {VK_LEFT, 1}, {VK_NEXT, 2},
                 {VK_PRIOR, 1},   {VK_DOWN, 2},  {VK_UP, 1},   {VK_END, 100},
                 {VK_RIGHT, 100}, {VK_HOME, 0},  {VK_LEFT, 0}, {VK_RIGHT, 1}};
    for (const auto& step : steps) {
        pressKey(step.key);
        EXPECT_TRUE(waitUntil([&] { return text(app.currentReadout()) == current(step.expected); }))
            << "key " << step.key << " gave " << text(app.currentReadout());
        EXPECT_EQ(sliderPosition(app.currentSlider()), step.expected);
    }
    EXPECT_EQ(text(app.voltageReadout()), "0"); // the other slider was not touched
    EXPECT_EQ(app.close(), 0U);
}

TEST(Mouse, ArrowAndTroughClicksMoveOneStep) {
    TalivenProcess app;
    const HWND slider = app.voltageSlider();
    const SliderGeometry bar = geometryAtZero(slider);
    const POINT rightArrow{bar.screen.right - bar.arrowPx / 2, bar.middleY()};
    const POINT leftArrow{bar.screen.left + bar.arrowPx / 2, bar.middleY()};
    click(rightArrow);
    EXPECT_TRUE(waitUntil([&] { return text(app.voltageReadout()) == "1"; }));
    click(rightArrow);
    EXPECT_TRUE(waitUntil([&] { return text(app.voltageReadout()) == "2"; }));
    click(leftArrow);
    EXPECT_TRUE(waitUntil([&] { return text(app.voltageReadout()) == "1"; }));

    const POINT troughRight{(bar.screen.left + bar.screen.right) / 2, bar.middleY()};
    click(troughRight); // right of the thumb, which stands near the left end; a page is one step
    EXPECT_TRUE(waitUntil([&] { return text(app.voltageReadout()) == "2"; }));
    EXPECT_EQ(sliderPosition(slider), 2);
    EXPECT_EQ(app.close(), 0U);
}

TEST(Mouse, HeldArrowRepeatsAndTheReadoutFollows) {
    TalivenProcess app;
    const HWND slider = app.currentSlider();
    const SliderGeometry bar = geometryAtZero(slider);
    mouseMove({bar.screen.right - bar.arrowPx / 2, bar.middleY()});
    mouseButton(true);
    EXPECT_TRUE(waitUntil([&] { return sliderPosition(slider) >= 5; }));
    mouseButton(false);
    SendMessageW(app.window(), WM_NULL, 0, 0);
    const int position = sliderPosition(slider);
    EXPECT_TRUE(waitUntil([&] { return text(app.currentReadout()) == current(position); }));
    EXPECT_EQ(app.close(), 0U);
}

TEST(Mouse, DraggedThumbChangesNothingUntilReleased) {
    TalivenProcess app;
    const HWND slider = app.voltageSlider();
    const SliderGeometry bar = geometryAtZero(slider);
    POINT at{bar.screen.left + (bar.thumbLeft + bar.thumbRight) / 2, bar.middleY()};
    mouseMove(at);
    mouseButton(true);
    const int troughPx = bar.screen.right - bar.screen.left - 2 * bar.arrowPx;
    at.x += (troughPx - (bar.thumbRight - bar.thumbLeft)) * 40 / 100;
    for (int nudge = 0; nudge < 40 && trackPosition(slider) != 40; ++nudge) {
        mouseMove(at);
        waitUntil([&] { return false; }, 30); // let the drag catch up with the pointer
        at.x += trackPosition(slider) < 40 ? 1 : -1;
    }
    ASSERT_EQ(trackPosition(slider), 40);
    EXPECT_EQ(text(app.voltageReadout()), "0");
    EXPECT_EQ(sliderPosition(slider), 0);
    mouseButton(false);
    EXPECT_TRUE(waitUntil([&] { return text(app.voltageReadout()) == "40"; }))
        << text(app.voltageReadout());
    EXPECT_EQ(sliderPosition(slider), 40);
    EXPECT_EQ(app.close(), 0U);
}

} // namespace
} // namespace taliven::testing
