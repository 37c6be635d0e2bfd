// The window in use, from outside: the readouts following every kind of
// input, and the clipboard.

#include "tests/user_settings_win.h"
#include "tests/window_driver_win.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

namespace taliven::testing {
namespace {

// The thumb of a slider at zero, on screen. GetScrollBarInfo does not reach
// into another process under Wine, so the system metrics that size arrows
// and thumbs place it.
POINT thumbAtZero(HWND slider) {
    RECT screen{};
    GetWindowRect(slider, &screen);
    return {screen.left + GetSystemMetrics(SM_CXHSCROLL) + GetSystemMetrics(SM_CXHTHUMB) / 2,
            (screen.top + screen.bottom) / 2};
}

// What Ctrl + `key` puts on the clipboard, as UTF-8. Emptied first: Wine can
// serve a table it has read before from a cache that lags behind a change.
std::string copied(WORD key) {
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    pressKeys({VK_CONTROL, key});
    EXPECT_TRUE(waitUntil([] { return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; }));
    char utf8[512] = {}; // stays empty if another program holds the clipboard
    OpenClipboard(nullptr);
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    WideCharToMultiByte(CP_UTF8, 0, static_cast<const wchar_t*>(GlobalLock(data)), -1, utf8,
                        sizeof utf8, nullptr, nullptr);
    GlobalUnlock(data);
    CloseClipboard();
    return utf8;
}

TEST(Scroll, EveryCommandMovesOnlyOurSlidersAndTheReadoutsFollow) {
    TalivenProcess app;
    // A scroll bar of another program is neither moved nor listened to.
    const HWND foreign = CreateWindowExW(0, L"SCROLLBAR", L"", SBS_HORZ, 0, 0, 100, 10, nullptr,
                                         nullptr, nullptr, nullptr);
    SetScrollRange(foreign, SB_CTL, 0, 100, FALSE);
    SetScrollPos(foreign, SB_CTL, 50, FALSE);
    const HWND voltage = app[HScroll1];
    const HWND current = app[HScroll2];
    const struct {
        HWND bar;
        unsigned code;
        int position;
        const char* state; // v i vol cur ohm
    } steps[] = {{voltage, SB_THUMBPOSITION, 5, "5 0 5 0 0"},
                 {current, SB_LINERIGHT, 0, "5 1 5 0.01 500"},
                 {current, SB_LINELEFT, 0, "5 0 5 0 500"}, // no current: the last resistance
                 {voltage, SB_PAGERIGHT, 0, "6 0 6 0 500"},
                 {voltage, SB_PAGELEFT, 0, "5 0 5 0 500"},
                 {current, SB_THUMBPOSITION, 34, "5 34 5 0.34 14.7058823529412"},
                 {voltage, SB_LEFT, 0, "0 34 0 0.34 0"},
                 {voltage, SB_THUMBPOSITION, 500, "100 34 100 0.34 294.117647058824"},
                 {voltage, SB_THUMBTRACK, 10, "100 34 100 0.34 294.117647058824"}, // a drag
                 {voltage, SB_ENDSCROLL, 0, "100 34 100 0.34 294.117647058824"},
                 {current, SB_RIGHT, 0, "100 100 100 1 100"},
                 {voltage, SB_LINELEFT, 0, "99 100 99 1 99"},
                 {foreign, SB_THUMBPOSITION, 3, "99 100 99 1 99"},
                 {foreign, SB_LINELEFT, 0, "99 100 99 1 99"},
                 {voltage, SB_ENDSCROLL + 1, 7, "99 100 99 1 99"}}; // a code we do not know
    for (const auto& step : steps) {
        app.scroll(step.bar, step.code, step.position);
        EXPECT_EQ(app.state(), localised(step.state));
    }
    EXPECT_EQ(GetScrollPos(foreign, SB_CTL), 50);
    DestroyWindow(foreign);
    EXPECT_EQ(app.close(), 0U);
}

TEST(Keyboard, TabsBetweenTheSlidersStepsThemAndCopiesTheReadouts) {
    TALIVEN_NEEDS_REAL_INPUT();
    TalivenProcess app;
    EXPECT_EQ(app.focus(), app[HScroll1]);
    // Tab goes round the sliders only; the keys step the focused one.
    const struct {
        std::initializer_list<WORD> keys;
        Control focus;
        const char* current;
    } steps[] = {{{VK_TAB}, HScroll2, "0"},
                 {{VK_TAB}, HScroll1, "0"},
                 {{VK_SHIFT, VK_TAB}, HScroll2, "0"},
                 {{VK_RIGHT}, HScroll2, "0.01"}};
    for (const auto& step : steps) {
        pressKeys(step.keys);
        EXPECT_TRUE(waitUntil([&] {
            return app.focus() == app[step.focus] && text(app[cur]) == localised(step.current);
        })) << text(app[cur]);
    }

    // The voltage was not touched.
    EXPECT_EQ(copied('C'), localised("Voltage\t0 V\r\nCurrent\t0.01 A\r\nResistance\t0 \xCE\xA9"));
    app.scrollTo(app[HScroll1], 5);
    EXPECT_EQ(copied(VK_INSERT),
              localised("Voltage\t5 V\r\nCurrent\t0.01 A\r\nResistance\t500 \xCE\xA9"));
}

TEST(Mouse, WheelStepsTheSliderUnderThePointerOrWithTheFocus) {
    TALIVEN_NEEDS_REAL_INPUT();
    TalivenProcess app;
    // A real wheel over the focused slider.
    wheel(thumbAtZero(app[HScroll1]), 2 * WHEEL_DELTA);
    EXPECT_TRUE(waitUntil([&] { return text(app[vol]) == "2"; }));
    // The slider under the pointer, else the focused one (the voltage); half
    // notches add up, turning back drops them, tilting works too.
    const POINT current = thumbAtZero(app[HScroll2]);
    const struct {
        UINT message;
        int delta;
        POINT at;
        int voltage, current;
    } turns[] = {{WM_MOUSEWHEEL, 120, current, 2, 1},   {WM_MOUSEWHEEL, 60, {0, 0}, 2, 1},
                 {WM_MOUSEWHEEL, 60, {0, 0}, 3, 1},     {WM_MOUSEWHEEL, 60, {0, 0}, 3, 1},
                 {WM_MOUSEWHEEL, -120, {0, 0}, 2, 1},   {WM_MOUSEHWHEEL, 360, {0, 0}, 5, 1},
                 {WM_MOUSEHWHEEL, -120, current, 5, 0}, {WM_MOUSEHWHEEL, -120, current, 5, 0},
                 {WM_MOUSEWHEEL, 60, {0, 0}, 5, 0},     {WM_MOUSEHWHEEL, 60, {0, 0}, 5, 0}};
    for (const auto& turn : turns) {
        send(app.window(), turn.message, MAKEWPARAM(0, turn.delta),
             MAKELPARAM(turn.at.x, turn.at.y));
        EXPECT_EQ(sliderPosition(app[HScroll1]), turn.voltage) << turn.delta;
        EXPECT_EQ(sliderPosition(app[HScroll2]), turn.current) << turn.delta;
    }
    EXPECT_EQ(text(app[vol]), "5");
    // A wheel the user has set to scroll no lines moves nothing.
    const SavedSetting lines(L"Control Panel\\Desktop\\WheelScrollLines");
    lines.set(REG_SZ, L"0", 4);
    const TalivenProcess still; // reads the setting afresh
    send(still.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, 3 * WHEEL_DELTA), 0);
    EXPECT_EQ(still.state(), "0 0 0 0 0");
}

// The planted-DLL check's detector detects: a planted copy loaded on
// purpose, as Wine is told to prefer it, leaves its mark. Then every mark
// goes, for the real check.
TEST(PlantedDlls, ALoadIsSeenThenTheMarksAreCleared) {
    const std::filesystem::path planted(besideTests(L"planted"));
    FreeLibrary(LoadLibraryW((planted / L"dbghelp.dll").c_str()));
    EXPECT_TRUE(std::filesystem::exists(planted / L"dbghelp.dll.loaded")) << "no mark";
    for (const wchar_t* folder : {L"planted", L"planted-as-on-windows-7"}) {
        for (const auto& file : std::filesystem::directory_iterator(besideTests(folder))) {
            if (file.path().extension() == L".loaded") {
                std::filesystem::remove(file.path());
            }
        }
    }
}

// The build as on Windows 7 takes its fallbacks: the DLL search not
// narrowed, it loads dwmapi.dll by the system folder's path as it starts.
// Under Wine nothing loads it for the release exe; on Windows the system
// may, for the window's frame, so there the two cannot be told apart.
TEST(AsOnWindows7, TheFallbacksAreTaken) {
    const auto loadsDwmapi = [](const TalivenProcess& app) {
        const HANDLE process =
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.processId());
        HMODULE modules[256] = {};
        DWORD bytes = 0;
        EXPECT_NE(K32EnumProcessModules(process, modules, sizeof modules, &bytes), FALSE);
        bool found = false;
        for (DWORD k = 0; k < bytes / sizeof(HMODULE); ++k) {
            wchar_t name[MAX_PATH] = {};
            K32GetModuleBaseNameW(process, modules[k], name, MAX_PATH);
            found = found || lstrcmpiW(name, L"dwmapi.dll") == 0;
        }
        CloseHandle(process);
        return found;
    };
    const bool windows7 = loadsDwmapi(TalivenProcess()); // TALIVEN_PROGRAM_FOLDER's
    const bool release = loadsDwmapi(TalivenProcess(L"..\\Taliven.exe"));
    if (!underWine()) {
        GTEST_SKIP() << "on Windows the system may load dwmapi.dll for the release exe too";
    }
    EXPECT_TRUE(windows7 && !release)
        << "as on Windows 7: " << windows7 << ", release: " << release;
}

} // namespace
} // namespace taliven::testing
