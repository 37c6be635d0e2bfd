// The window in use, from outside: the readouts following every kind of
// input, and the clipboard.

#include "tests/window_driver_win.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace taliven::testing {
namespace {

// Where the parts of a scroll bar lie while it stands at position 0.
// (GetScrollBarInfo does not reach into another process under Wine, so the
// system metrics that size arrows and thumbs stand in for it.)
struct SliderGeometry {
    explicit SliderGeometry(HWND slider) {
        GetWindowRect(slider, &screen);
        arrowPx = std::min<int>(GetSystemMetrics(SM_CXHSCROLL), (screen.right - screen.left) / 2);
        middleY = (screen.top + screen.bottom) / 2;
    }
    [[nodiscard]] POINT leftArrow() const { return {screen.left + arrowPx / 2, middleY}; }
    [[nodiscard]] POINT rightArrow() const { return {screen.right - arrowPx / 2, middleY}; }
    [[nodiscard]] POINT thumbAtZero() const {
        return {screen.left + arrowPx + GetSystemMetrics(SM_CXHTHUMB) / 2, middleY};
    }
    RECT screen{};
    int arrowPx = 0;
    int middleY = 0;
};

// The clipboard's Unicode text as UTF-8.
std::string clipboardText() {
    char utf8[512] = {};
    if (OpenClipboard(nullptr) != FALSE) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
            WideCharToMultiByte(CP_UTF8, 0, static_cast<const wchar_t*>(GlobalLock(data)), -1, utf8,
                                sizeof utf8, nullptr, nullptr);
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return utf8;
}

// A text written with "." in the user's decimal separator.
std::string localised(std::string text) {
    const auto at = text.find('.');
    return at == std::string::npos ? text : text.replace(at, 1, decimalSeparator());
}

TEST(Readouts, FollowTheSlidersAndKeepResistanceAtZeroCurrent) {
    TalivenProcess app;
    const struct {
        bool voltage;
        int position;
        const char *vol, *cur, *ohm;
    } steps[] = {{true, 5, "5", "0", "0"},
                 {false, 1, "5", "0.01", "500"},
                 {false, 0, "5", "0", "500"},
                 {true, 6, "6", "0", "500"},
                 {false, 34, "6", "0.34", "17.6470588235294"},
                 {true, 3, "3", "0.34", "8.82352941176471"},
                 {true, 0, "0", "0.34", "0"},
                 {false, 50, "0", "0.5", "0"},
                 {true, 100, "100", "0.5", "200"},
                 {false, 1, "100", "0.01", "10000"}};
    for (const auto& step : steps) {
        app.scrollTo(step.voltage ? app.voltageSlider() : app.currentSlider(), step.position);
        EXPECT_EQ(text(app.voltageReadout()), step.vol);
        EXPECT_EQ(text(app.currentReadout()), localised(step.cur));
        EXPECT_EQ(text(app.resistanceReadout()), localised(step.ohm));
    }
    EXPECT_EQ(app.close(), 0U);
}

TEST(Keyboard, TabsBetweenTheSlidersStepsThemAndCopiesTheReadouts) {
    TalivenProcess app;
    EXPECT_EQ(app.focus(), app.voltageSlider());
    pressKeys({VK_TAB});
    EXPECT_TRUE(waitUntil([&] { return app.focus() == app.currentSlider(); }));
    pressKeys({VK_TAB});
    EXPECT_TRUE(waitUntil([&] { return app.focus() == app.voltageSlider(); }));
    pressKeys({VK_SHIFT, VK_TAB}); // the labels never take the focus
    ASSERT_TRUE(waitUntil([&] { return app.focus() == app.currentSlider(); }));
    const struct {
        WORD key;
        int expected;
    } steps[] = {{VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_LEFT, 1},  {VK_NEXT, 2}, {VK_PRIOR, 1},
                 {VK_DOWN, 2},  {VK_UP, 1},    {VK_END, 100}, {VK_HOME, 0}, {VK_RIGHT, 1}};
    for (const auto& step : steps) {
        pressKeys({step.key});
        EXPECT_TRUE(waitUntil([&] {
            return text(app.currentReadout()) == currentText(step.expected);
        })) << "key "
            << step.key << " gave " << text(app.currentReadout());
    }
    EXPECT_EQ(text(app.voltageReadout()), "0"); // the other slider was not touched

    const struct {
        WORD key; // with Ctrl
        int volts;
        const char* table;
    } copies[] = {{'C', 5, "Voltage\t5 V\r\nCurrent\t0.01 A\r\nResistance\t500 \xCE\xA9"},
                  {VK_INSERT, 3, "Voltage\t3 V\r\nCurrent\t0.01 A\r\nResistance\t300 \xCE\xA9"}};
    for (const auto& copy : copies) {
        app.scrollTo(app.voltageSlider(), copy.volts);
        // Emptied first: each copy must put a fresh table there (Wine serves a
        // table it has read before from a cache that can lag behind a change).
        if (OpenClipboard(nullptr) != FALSE) {
            EmptyClipboard();
            CloseClipboard();
        }
        pressKeys({VK_CONTROL, copy.key});
        EXPECT_TRUE(waitUntil([&] { return clipboardText() == localised(copy.table); }))
            << clipboardText();
    }
    EXPECT_EQ(app.close(), 0U);
}

TEST(Mouse, ArrowAndTroughClicksMoveOneStep) {
    TalivenProcess app;
    const SliderGeometry bar(app.voltageSlider());
    const struct {
        POINT at;
        const char* expected;
    } clicks[] = {{bar.rightArrow(), "1"},
                  {bar.rightArrow(), "2"},
                  {bar.leftArrow(), "1"},
                  // right of the thumb, which stands near the left end; a page is one step
                  {{(bar.screen.left + bar.screen.right) / 2, bar.middleY}, "2"}};
    for (const auto& c : clicks) {
        click(c.at);
        EXPECT_TRUE(waitUntil([&] { return text(app.voltageReadout()) == c.expected; }));
    }
    EXPECT_EQ(sliderPosition(app.voltageSlider()), 2);
    EXPECT_EQ(app.close(), 0U);
}

TEST(Mouse, HeldArrowRepeatsAndTheReadoutFollows) {
    TalivenProcess app;
    const HWND slider = app.currentSlider();
    const POINT arrow = SliderGeometry(slider).rightArrow();
    app.press(slider, arrow);
    EXPECT_TRUE(waitUntil([&] { return sliderPosition(slider) >= 5; }));
    app.release(arrow); // the scroll bar holds the mouse until it has taken the release
    const int position = sliderPosition(slider);
    EXPECT_TRUE(waitUntil([&] { return text(app.currentReadout()) == currentText(position); }));
    EXPECT_EQ(app.close(), 0U);
}

TEST(Mouse, DraggedThumbChangesNothingUntilReleased) {
    TalivenProcess app;
    const HWND slider = app.voltageSlider();
    const SliderGeometry bar(slider);
    POINT at = bar.thumbAtZero();
    app.press(slider, at);
    at.x += (bar.screen.right - bar.screen.left) * 2 / 5;
    mouse(at, 0);
    // The drag loop answers the first message on its way to the move and the
    // second only after it has dragged the thumb there.
    send(app.window(), WM_NULL);
    send(app.window(), WM_NULL);
    EXPECT_EQ(text(app.voltageReadout()), "0");
    EXPECT_EQ(sliderPosition(slider), 0);
    app.release(at);
    EXPECT_TRUE(waitUntil([&] {
        const int position = sliderPosition(slider);
        return position > 10 && text(app.voltageReadout()) == std::to_string(position);
    })) << text(app.voltageReadout());
    EXPECT_EQ(app.close(), 0U);
}

TEST(Mouse, WheelStepsTheSliderUnderThePointerOrWithTheFocus) {
    TalivenProcess app;
    // A real wheel over the focused slider.
    mouse(SliderGeometry(app.voltageSlider()).thumbAtZero(), MOUSEEVENTF_WHEEL, 2 * WHEEL_DELTA);
    EXPECT_TRUE(waitUntil([&] { return text(app.voltageReadout()) == "2"; }));
    // The slider under the pointer, else the focused one (the voltage); half
    // notches add up, turning back drops them, tilting works too.
    const POINT current = SliderGeometry(app.currentSlider()).thumbAtZero();
    const struct {
        UINT message;
        int delta;
        POINT at;
        int voltage, current;
    } turns[] = {{WM_MOUSEWHEEL, 120, current, 2, 1},   {WM_MOUSEWHEEL, 60, {0, 0}, 2, 1},
                 {WM_MOUSEWHEEL, 60, {0, 0}, 3, 1},     {WM_MOUSEWHEEL, 60, {0, 0}, 3, 1},
                 {WM_MOUSEWHEEL, -120, {0, 0}, 2, 1},   {WM_MOUSEHWHEEL, 360, {0, 0}, 5, 1},
                 {WM_MOUSEHWHEEL, -120, current, 5, 0}, {WM_MOUSEHWHEEL, -120, current, 5, 0}};
    for (const auto& turn : turns) {
        send(app.window(), turn.message, MAKEWPARAM(0, turn.delta),
             MAKELPARAM(turn.at.x, turn.at.y));
        EXPECT_EQ(sliderPosition(app.voltageSlider()), turn.voltage) << turn.delta;
        EXPECT_EQ(sliderPosition(app.currentSlider()), turn.current) << turn.delta;
    }
    EXPECT_EQ(text(app.voltageReadout()), "5");
    EXPECT_EQ(app.close(), 0U);
}

TEST(Scroll, EveryCommandMovesOnlyOurSlidersAndNoMessageBreaksThem) {
    TalivenProcess app;
    const HWND slider = app.voltageSlider();
    const struct {
        unsigned code;
        int position;
        int expected;
    } commands[] = {
        {SB_THUMBPOSITION, 37, 37}, {SB_THUMBPOSITION, 500, 100}, {SB_LEFT, 0, 0},
        {SB_PAGERIGHT, 0, 1},       {SB_LINERIGHT, 0, 2},         {SB_RIGHT, 0, 100},
        {SB_LINELEFT, 0, 99},       {SB_THUMBTRACK, 10, 99},      {SB_ENDSCROLL, 0, 99}};
    for (const auto& command : commands) {
        app.scroll(slider, command.code, command.position);
        EXPECT_EQ(sliderPosition(slider), command.expected) << command.code;
        EXPECT_EQ(text(app.voltageReadout()), std::to_string(command.expected));
    }
    // A scroll bar of another program is neither moved nor listened to.
    const HWND foreign = CreateWindowExW(0, L"SCROLLBAR", L"", SBS_HORZ, 0, 0, 100, 10, nullptr,
                                         nullptr, nullptr, nullptr);
    SetScrollRange(foreign, SB_CTL, 0, 100, FALSE);
    SetScrollPos(foreign, SB_CTL, 50, FALSE);
    app.scroll(foreign, SB_THUMBPOSITION, 3);
    app.scroll(foreign, SB_LINELEFT);
    EXPECT_EQ(GetScrollPos(foreign, SB_CTL), 50);
    EXPECT_EQ(text(app.voltageReadout()), "99");
    DestroyWindow(foreign);
    // Nor do any codes, positions and senders that any process can send.
    std::mt19937 random(20261206);
    const HWND senders[] = {app.voltageSlider(), app.currentSlider(),  nullptr,
                            app.window(),        app.voltageReadout(), GetDesktopWindow()};
    for (int k = 0; k < 3000; ++k) {
        const WPARAM wParam = (random() % 4 == 0) ? random() : MAKEWPARAM(random() % 16, random());
        send(app.window(), WM_HSCROLL, wParam,
             reinterpret_cast<LPARAM>(senders[random() % std::size(senders)]));
    }
    const int v = sliderPosition(app.voltageSlider());
    const int i = sliderPosition(app.currentSlider());
    EXPECT_TRUE(v >= 0 && v <= 100 && i >= 0 && i <= 100) << v << ", " << i;
    EXPECT_EQ(text(app.voltageReadout()), std::to_string(v));
    EXPECT_EQ(text(app.currentReadout()), currentText(i));
    app.scrollTo(app.currentSlider(), 3);
    app.scrollTo(app.voltageSlider(), 1);
    EXPECT_EQ(text(app.resistanceReadout()), "33" + decimalSeparator() + "3333333333333");
    EXPECT_EQ(app.close(), 0U);
}

} // namespace
} // namespace taliven::testing
