// The window as built: places, sizes, texts, ranges, colours and focus.

#include "tests/byte_reader.h"
#include "tests/taliven_process_win.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

namespace taliven::testing {
namespace {

struct Expected {
    const wchar_t* className;
    const char* text;
    RECT at96; // left, top, right, bottom in client pixels at 96 dpi
};

// The designed pixel figures at 96 dpi, in tab (Z) order.
constexpr std::array<Expected, 9> designed{{
    {L"Static", "Voltage", {8, 8, 113, 33}},
    {L"ScrollBar", "Voltage", {8, 40, 161, 49}},
    {L"ScrollBar", "Current", {8, 88, 161, 97}},
    {L"Static", "0", {120, 16, 161, 33}},
    {L"Static", "0", {120, 64, 161, 81}},
    {L"Static", "0", {120, 112, 241, 129}},
    {L"Static", "Current", {8, 56, 113, 81}},
    {L"Static", "Resistance", {8, 104, 113, 129}},
    {L"Static", "", {176, 8, 240, 72}},
}};

int screenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// Edges scale with the DPI and round half up, so neighbours stay neighbours.
LONG scaled(LONG px96, int dpi) {
    return (px96 * dpi * 2 + 96) / (96 * 2);
}

TEST(Layout, EveryControlSitsOnItsDesignedPixelsAtThisDpi) {
    const int dpi = screenDpi();
    TalivenProcess app;
    RECT client{};
    GetClientRect(app.window(), &client);
    EXPECT_EQ(client.right, scaled(247, dpi));
    EXPECT_EQ(client.bottom, scaled(136, dpi));

    const auto controls = app.controls();
    ASSERT_EQ(controls.size(), designed.size());
    for (std::size_t k = 0; k < designed.size(); ++k) {
        const Expected& want = designed[k];
        EXPECT_EQ(lstrcmpiW(className(controls[k]).c_str(), want.className), 0) << k;
        EXPECT_EQ(text(controls[k]), want.text) << k;
        const RECT got = clientRectIn(app.window(), controls[k]);
        EXPECT_EQ(got.left, scaled(want.at96.left, dpi)) << k;
        EXPECT_EQ(got.top, scaled(want.at96.top, dpi)) << k;
        EXPECT_EQ(got.right, scaled(want.at96.right, dpi)) << k;
        EXPECT_EQ(got.bottom, scaled(want.at96.bottom, dpi)) << k;
    }
    EXPECT_EQ(app.close(), 0U);
}

TEST(Layout, SlidersRunFromZeroToAHundredInSingleSteps) {
    TalivenProcess app;
    for (const HWND slider : {app.voltageSlider(), app.currentSlider()}) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        ASSERT_NE(GetScrollInfo(slider, SB_CTL, &info), FALSE);
        EXPECT_EQ(info.nMin, 0);
        EXPECT_EQ(info.nMax, 100);
        EXPECT_EQ(info.nPos, 0);
        EXPECT_EQ(info.nPage, 0U);
        EXPECT_NE(GetWindowLongW(slider, GWL_STYLE) & WS_TABSTOP, 0);
    }
    for (const HWND label : {app.voltageReadout(), app.control(L"Static", 0)}) {
        EXPECT_EQ(GetWindowLongW(label, GWL_STYLE) & WS_TABSTOP, 0);
    }
    EXPECT_EQ(app.close(), 0U);
}

TEST(Layout, FrameIsFixedSizeWithTheTitle) {
    TalivenProcess app;
    const LONG style = GetWindowLongW(app.window(), GWL_STYLE);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_NE(style & WS_CAPTION, 0);
    EXPECT_EQ(text(app.window()), "Taliven");
    EXPECT_EQ(app.close(), 0U);
}

COLORREF pixelAt(HWND window, POINT client) {
    ClientToScreen(window, &client);
    const HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, client.x, client.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

TEST(Colours, WindowCaptionsAndReadoutsOnScreen) {
    TalivenProcess app;
    SetForegroundWindow(app.window());
    RedrawWindow(app.window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const COLORREF green = RGB(108, 170, 147);
    const COLORREF pink = RGB(255, 128, 128);
    EXPECT_EQ(pixelAt(app.window(), {2, 2}), green);
    RECT client{};
    GetClientRect(app.window(), &client);
    EXPECT_EQ(pixelAt(app.window(), {client.right - 3, client.bottom - 3}), green);
    const RECT caption = clientRectIn(app.window(), app.control(L"Static", 0));
    EXPECT_EQ(pixelAt(app.window(), {caption.right - 2, caption.top + 2}), green);
    for (const HWND readout :
         {app.voltageReadout(), app.currentReadout(), app.resistanceReadout()}) {
        const RECT rect = clientRectIn(app.window(), readout);
        EXPECT_EQ(pixelAt(app.window(), {rect.right - 2, rect.top + 1}), pink);
        EXPECT_EQ(pixelAt(app.window(), {rect.right - 2, rect.bottom}), green); // just below
    }
    EXPECT_EQ(app.close(), 0U);
}

TEST(Focus, StartsOnVoltageAndTabsBetweenTheSlidersOnly) {
    TalivenProcess app;
    EXPECT_EQ(app.focus(), app.voltageSlider());
    const struct {
        bool shift;
        HWND expected;
    } steps[] = {{false, app.currentSlider()},
                 {false, app.voltageSlider()},
                 {true, app.currentSlider()},
                 {true, app.voltageSlider()}};
    for (const auto& step : steps) {
        pressKey(VK_TAB, step.shift);
        EXPECT_TRUE(waitUntil([&] { return app.focus() == step.expected; }));
    }
    EXPECT_EQ(app.close(), 0U);
}

} // namespace
} // namespace taliven::testing

namespace taliven::testing {
namespace {

TEST(Emblem, FillsItsFrameUnscaledAt96DpiAndSmoothlyElsewhere) {
    // The committed picture, as grey levels, top row first.
    const Bytes bmp = readFile(std::string(TALIVEN_RESOURCES_DIR) + "/emblem.bmp");
    const std::size_t pixels = u32(bmp, 10);
    const auto emblemLevel = [&](int x, int y) {
        return u8(bmp, pixels + static_cast<std::size_t>((63 - y) * 64 + x)); // rows bottom-up
    };

    const int dpi = screenDpi();
    TalivenProcess app;
    SetForegroundWindow(app.window());
    const HWND picture = app.control(L"Static", 6); // after the six labels
    const RECT frame = clientRectIn(app.window(), picture);
    EXPECT_EQ(frame.left, scaled(176, dpi));
    EXPECT_EQ(frame.top, scaled(8, dpi));
    const int widthPx = frame.right - frame.left;
    const int heightPx = frame.bottom - frame.top;
    std::set<int> levels;
    double sum = 0;
    for (int y = 0; y < heightPx; ++y) {
        for (int x = 0; x < widthPx; ++x) {
            const COLORREF colour = pixelAt(app.window(), {frame.left + x, frame.top + y});
            ASSERT_TRUE(GetRValue(colour) == GetGValue(colour) &&
                        GetGValue(colour) == GetBValue(colour))
                << "not grey at " << x << ", " << y;
            if (widthPx == 64 && heightPx == 64) {
                ASSERT_EQ(GetRValue(colour), emblemLevel(x, y)) << x << ", " << y;
            }
            levels.insert(GetRValue(colour));
            sum += GetRValue(colour);
        }
    }
    double designedSum = 0;
    for (int k = 0; k < 64 * 64; ++k) {
        designedSum += u8(bmp, pixels + static_cast<std::size_t>(k));
    }
    EXPECT_NEAR(sum / (widthPx * heightPx), designedSum / (64 * 64), 2.0); // same picture
    EXPECT_GT(levels.size(), 150U);                                        // shaded, not posterised
    EXPECT_EQ(app.close(), 0U);
}

} // namespace
} // namespace taliven::testing
