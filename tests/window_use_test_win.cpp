// The window in use, from outside: the readouts following every kind of
// input, and the clipboard; and the program as the system loads it: no
// planted DLL.

#include "tests/window_driver_win.h"

#include <gtest/gtest.h>

namespace taliven::testing {
namespace {

TEST(Scroll, EveryCommandMovesOnlyOurSlidersAndTheReadoutsFollow) {
    TalivenProcess app;
    // A scroll bar of another program is neither moved nor listened to.
    const HWND foreign = CreateWindowExW(0, L"SCROLLBAR", L"", SBS_HORZ, 0, 0, 100, 10, nullptr,
                                         nullptr, nullptr, nullptr);
    SetScrollRange(foreign, SB_CTL, 0, 100, FALSE);
    SetScrollPos(foreign, SB_CTL, 50, FALSE);
    const std::tuple<HWND, unsigned, int, const char*> steps[] = {
        // bar, code, position, state
        {app[HScroll1], SB_THUMBPOSITION, 5, "5 0 5 0 0"},
        {app[HScroll2], SB_LINERIGHT, 0, "5 1 5 0.01 500"},
        {app[HScroll2], SB_LINELEFT, 0, "5 0 5 0 500"}, // no current: the last resistance
        {app[HScroll1], SB_PAGERIGHT, 0, "6 0 6 0 500"},
        {app[HScroll1], SB_PAGELEFT, 0, "5 0 5 0 500"},
        {app[HScroll2], SB_THUMBPOSITION, 34, "5 34 5 0.34 14.7058823529412"},
        {app[HScroll1], SB_LEFT, 0, "0 34 0 0.34 0"},
        {app[HScroll1], SB_THUMBPOSITION, 500, "100 34 100 0.34 294.117647058824"},
        {app[HScroll1], SB_THUMBTRACK, 10, "100 34 100 0.34 294.117647058824"}, // a drag
        {app[HScroll2], SB_RIGHT, 0, "100 100 100 1 100"},
        {app[HScroll1], SB_LINELEFT, 0, "99 100 99 1 99"},
        {foreign, SB_THUMBPOSITION, 3, "99 100 99 1 99"},
        {app[HScroll1], SB_ENDSCROLL + 1, 7, "99 100 99 1 99"}}; // a code we do not know
    for (const auto& [bar, code, position, state] : steps) {
        app.scroll(bar, code, position);
        EXPECT_EQ(app.state(), localised(state));
    }
    EXPECT_EQ(GetScrollPos(foreign, SB_CTL), 50);
    DestroyWindow(foreign);
    EXPECT_EQ(app.close(), 0U);
}

TEST(Keyboard, TabsBetweenTheSlidersStepsThemAndCopiesTheReadouts) {
    TalivenProcess app;
    EXPECT_EQ(app.focus(), app[HScroll1]);
    // Tab goes round the sliders only; the keys step the focused one.
    const std::tuple<std::vector<WORD>, Control, const char*> steps[] = {
        {{VK_TAB}, HScroll2, "0"},
        {{VK_TAB}, HScroll1, "0"},
        {{VK_SHIFT, VK_TAB}, HScroll2, "0"},
        {{VK_RIGHT}, HScroll2, "0.01"}};
    for (const auto& [keys, focus, current] : steps) {
        pressKeys(keys);
        EXPECT_TRUE(waitUntil([&] {
            return app.focus() == app[focus] && text(app[cur]) == localised(current);
        })) << text(app[cur]);
    }

    // Ctrl+C copies the readouts (the voltage was not touched). The
    // clipboard is emptied first: Wine can serve a table it has read before
    // from a cache that lags behind a change.
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    pressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(waitUntil([] { return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; }));
    char copied[512] = {}; // stays empty if another program holds the clipboard
    OpenClipboard(nullptr);
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    WideCharToMultiByte(CP_UTF8, 0, static_cast<const wchar_t*>(GlobalLock(data)), -1, copied,
                        sizeof copied, nullptr, nullptr);
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(copied, localised("Voltage\t0 V\r\nCurrent\t0.01 A\r\nResistance\t0 \xCE\xA9"));
}

TEST(Mouse, WheelStepsTheSliderUnderThePointerOrWithTheFocus) {
    TalivenProcess app;
    uncover(app.window()); // where the pointer is, it is what the system finds
    // The slider under the pointer (the current's thumb at zero, placed by
    // the system metrics that size arrows and thumbs: GetScrollBarInfo does
    // not reach into another process under Wine), else the focused one (the
    // voltage); half notches add up, turning back drops them, tilting works.
    RECT current{};
    GetWindowRect(app[HScroll2], &current);
    const POINT overCurrent{current.left + GetSystemMetrics(SM_CXHSCROLL) +
                                GetSystemMetrics(SM_CXHTHUMB) / 2,
                            (current.top + current.bottom) / 2};
    const std::tuple<UINT, int, POINT, int, int> turns[] = {
        {WM_MOUSEWHEEL, 240, {0, 0}, 2, 0},        {WM_MOUSEWHEEL, 120, overCurrent, 2, 1},
        {WM_MOUSEWHEEL, 60, {0, 0}, 2, 1},         {WM_MOUSEWHEEL, 60, {0, 0}, 3, 1},
        {WM_MOUSEWHEEL, 60, {0, 0}, 3, 1},         {WM_MOUSEWHEEL, -120, {0, 0}, 2, 1},
        {WM_MOUSEHWHEEL, 360, {0, 0}, 5, 1},       {WM_MOUSEHWHEEL, -120, overCurrent, 5, 0},
        {WM_MOUSEHWHEEL, -120, overCurrent, 5, 0}, {WM_MOUSEWHEEL, 60, {0, 0}, 5, 0},
        {WM_MOUSEHWHEEL, 60, {0, 0}, 5, 0}};
    for (const auto& [message, delta, at, volts, steps] : turns) {
        send(app.window(), message, MAKEWPARAM(0, delta), MAKELPARAM(at.x, at.y));
        EXPECT_EQ(std::pair(send(app[HScroll1], SBM_GETPOS), send(app[HScroll2], SBM_GETPOS)),
                  std::pair(LRESULT{volts}, LRESULT{steps}))
            << delta;
    }
    EXPECT_EQ(text(app[vol]), "5");
}

// The planted-DLL check's detector detects: a planted copy loaded on
// purpose, as Wine is told to prefer it, leaves its mark. Then every mark
// goes, for the real check.
TEST(PlantedDlls, ALoadIsSeenThenTheMarksAreCleared) {
    const std::filesystem::path planted(besideTests(L"planted"));
    FreeLibrary(LoadLibraryW((planted / L"dbghelp.dll").c_str()));
    EXPECT_TRUE(std::filesystem::exists(planted / L"dbghelp.dll.loaded")) << "no mark";
    for (const auto& file : std::filesystem::recursive_directory_iterator(besideTests(L"."))) {
        if (file.path().extension() == L".loaded") {
            std::filesystem::remove(file.path());
        }
    }
}

} // namespace
} // namespace taliven::testing
