// The window as built and as drawn: places, sizes, texts, ranges, colours,
// fonts and the emblem, at whatever DPI the prefix has.

#include "tests/user_settings_win.h"

#include <fstream>
#include <iterator>
#include <set>

namespace taliven::testing {
namespace {

// The designed texts and pixels at 96 dpi (left, top, right, bottom in the
// client area), in Z order: each caption, its slider, its readout.
constexpr std::pair<const char*, RECT> designed[] = {
    {"Voltage", {8, 8, 113, 33}},       {"Voltage", {8, 40, 161, 49}}, {"0", {120, 16, 161, 33}},
    {"Current", {8, 56, 113, 81}},      {"Current", {8, 88, 161, 97}}, {"0", {120, 64, 161, 81}},
    {"Resistance", {8, 104, 113, 129}}, {"0", {120, 112, 241, 129}},   {"", {176, 8, 240, 72}}};

// The emblem as drawn, against the committed picture sampled at each drawn
// pixel's place: the mean difference in grey level (anything not grey counts
// in full), and how many levels it shows (a smooth picture, not a posterised
// one).
constexpr double emblemTolerance = 20; // a sheared picture: 43
std::pair<double, std::size_t> emblemOnScreen(const TalivenProcess& app) {
    static const std::string bmp = [] { // read once, however often the screen is
        std::ifstream file(std::filesystem::path(besideTests(L"..\\resources\\emblem.bmp")),
                           std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(file), {}};
    }();
    EXPECT_EQ(bmp.size(), 1078U + 64 * 64);
    const RECT frame = clientRectIn(app.window(), app[Image1]);
    const int widthPx = frame.right - frame.left;
    const ScreenShot shot(app.window());
    double sum = 0;
    std::set<COLORREF> levels;
    for (int y = 0; y < widthPx && bmp.size() == 1078U + 64 * 64; ++y) {
        for (int x = 0; x < widthPx; ++x) {
            const COLORREF colour = shot.at(frame.left + x, frame.top + y);
            const auto drawn = static_cast<BYTE>( // rows bottom-up after the palette
                bmp[std::size_t(1078 + (63 - y * 64 / widthPx) * 64 + x * 64 / widthPx)]);
            sum += std::abs(int(GetGValue(colour)) - drawn) +
                   (colour != GetGValue(colour) * 0x010101U ? 255 : 0);
            levels.insert(colour);
        }
    }
    return {sum / (widthPx * widthPx), levels.size()};
}

// The controls on their designed pixels, the emblem filling its frame with
// the picture (where a smaller one would leave the window's colour): the
// committed picture itself where drawn at its size, smoothly scaled elsewhere.
void expectDesignedLayout(const TalivenProcess& app, int textPercent) {
    const int dpi = GetDeviceCaps(screenDc, LOGPIXELSX);
    // Edges scale and round half up, so neighbours stay neighbours.
    const auto px = [&](LONG px96) { return (px96 * dpi * textPercent * 2 + 9600) / (9600 * 2); };
    RECT client{};
    GetClientRect(app.window(), &client);
    EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(px(247), px(136)));
    ASSERT_EQ(app.controls.size(), std::size(designed));
    for (std::size_t k = 0; k < app.controls.size(); ++k) {
        const auto& [wantText, at96] = designed[k];
        EXPECT_EQ(text(app.controls[k]), wantText) << k;
        const RECT got = clientRectIn(app.window(), app.controls[k]);
        const RECT at{px(at96.left), px(at96.top), px(at96.right), px(at96.bottom)};
        EXPECT_TRUE(EqualRect(&got, &at) != FALSE)
            << k << ": " << got.left << "," << got.top << "," << got.right << "," << got.bottom;
    }
    // Repainted first: a window just restored may still be drawing.
    uncover(app.window());
    RedrawWindow(app.window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const double tolerance = dpi * textPercent == 9600 ? 1e-9 : emblemTolerance;
    std::pair<double, std::size_t> emblem;
    EXPECT_TRUE(waitUntil([&] { return (emblem = emblemOnScreen(app)).first < tolerance; }))
        << emblem.first << " at " << textPercent << " %";
    EXPECT_GT(emblem.second, 150U);
}

// Rows of a label that hold anything but its background: the text's height.
int inkHeightPx(HWND window, HWND label) {
    const RECT rect = clientRectIn(window, label);
    const ScreenShot shot(window);
    const COLORREF background = shot.at(rect.right - 1, rect.top);
    const auto inked = [&](LONG y) {
        return std::ranges::any_of(std::views::iota(rect.left, rect.right),
                                   [&](LONG x) { return shot.at(x, y) != background; });
    };
    return static_cast<int>(std::ranges::count_if(std::views::iota(rect.top, rect.bottom), inked));
}

// At 100 % text size and, after live changes ("make text bigger"), at 150 %,
// at the largest size for a setting beyond it, and back.
TEST(Look, EveryControlOnItsDesignedPixelsInItsColoursInAFixedFrame) {
    const SavedSetting textSize(L"Software\\Microsoft\\Accessibility\\TextScaleFactor");
    const auto setTextSize = [&](DWORD percent) { textSize.set(REG_DWORD, &percent, 4); };
    setTextSize(100);
    TalivenProcess app(L"Taliven.exe", SW_HIDE); // a scheduled task's way: it shows all the same
    // Any process can send, post or notify-send a DPI change with a made-up
    // DPI and a pointer into the program's own memory, where a size written
    // would corrupt it and a "rectangle" read throw the window off screen
    // (the layout checked next would show it). Nothing is written, nothing
    // moves. Windows may refuse to carry such a pointer across processes at
    // all, so a send that fails is no failure.
    void* writable = VirtualAllocEx(app.hProcess, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(writable, nullptr) << "no memory in the program to point into";
    const auto pointer = reinterpret_cast<LPARAM>(writable);
    for (const WPARAM dpi : {WPARAM{144}, WPARAM{96}, WPARAM{0xFFFF}}) {
        for (const auto& [message, wParam] : {std::pair{UINT{WM_DPICHANGED}, MAKEWPARAM(dpi, dpi)},
                                              {UINT{WM_GETDPISCALEDSIZE}, dpi}}) {
            (void)trySend(app.window(), message, wParam, pointer);
            PostMessageW(app.window(), message, wParam, pointer);
            SendNotifyMessageW(app.window(), message, wParam, pointer);
        }
    }
    send(app.window(), WM_NULL); // behind them all
    SIZE written{};
    ReadProcessMemory(app.hProcess, writable, &written, sizeof written, nullptr);
    EXPECT_EQ(written.cx + written.cy, 0);
    // Without a high-contrast theme a colour change keeps the designed colours.
    send(app.window(), WM_SYSCOLORCHANGE);
    expectDesignedLayout(app, 100);
    const COLORREF green = RGB(108, 170, 147);
    const ScreenShot shot(app.window());
    EXPECT_EQ(shot.at(2, 2), green);
    const RECT caption = clientRectIn(app.window(), app[vollbl]);
    EXPECT_EQ(shot.at(caption.right - 2, caption.top + 2), green);
    for (const HWND readout : {app[vol], app[cur], app[ohm]}) {
        const RECT rect = clientRectIn(app.window(), readout);
        EXPECT_EQ(shot.at(rect.right - 2, rect.top + 1), RGB(255, 128, 128));
        EXPECT_EQ(shot.at(rect.right - 2, rect.bottom), green); // just below
    }
    EXPECT_EQ(GetWindowLongW(app.window(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(text(app.window()), "Taliven");
    // The text is drawn in a font made for this DPI ("Voltage": a capital
    // and a descender, some 11 pixels at 96 dpi).
    const int inkPx = inkHeightPx(app.window(), app[vollbl]);
    const int dpi = GetDeviceCaps(screenDc, LOGPIXELSX);
    EXPECT_TRUE(inkPx * 96 >= 9 * dpi && inkPx * 96 <= 14 * dpi) << inkPx << " at " << dpi;
    // The font grows with the text: the caption stands half as tall again at
    // 150 %. 300 is more than the system offers. A change while minimised
    // shows once restored. At 110 % the emblem's rows are no multiple of
    // four pixels wide, as bitmap rows in memory are.
    const std::tuple<DWORD, int, bool> sizes[] = {
        {150, 150, true}, {110, 110, false}, {300, 225, false}, {100, 100, false}};
    for (const auto& [setting, percent, minimised] : sizes) {
        send(app.window(), WM_SYSCOMMAND, minimised ? SC_MINIMIZE : SC_RESTORE);
        setTextSize(setting);
        send(app.window(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"WindowMetrics"));
        send(app.window(), WM_SYSCOMMAND, SC_RESTORE);
        expectDesignedLayout(app, percent); // repainted there
        const int grownPx = inkHeightPx(app.window(), app[vollbl]);
        // Within an eighth: hinting rounds glyph heights differently at each size.
        EXPECT_NEAR(grownPx * 100, inkPx * percent, inkPx * percent / 8) << setting;
    }
    // A message font half as large again as the 9-point design grows the
    // layout with it. Wine reads the font from the settings as a program
    // starts; Windows only at sign-in, and setting it would change the user's
    // desktop.
    if (underWine()) {
        const SavedSetting messageFont(L"Control Panel\\Desktop\\WindowMetrics\\MessageFont");
        LOGFONTW font{};
        SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0);
        font.lfHeight = -18; // at 96 dpi, as the setting is stored
        messageFont.set(REG_BINARY, &font, sizeof font);
        expectDesignedLayout(TalivenProcess(), 150);
    }
}

} // namespace
} // namespace taliven::testing
