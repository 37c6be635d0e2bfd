// The window over a session: settings that change while it runs, minimising,
// the system menu, what a screen reader is told, and the error report.

#include "tests/user_settings_win.h"
#include "tests/window_driver_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace taliven::testing {
namespace {

// The left of the open menu as the screen shows it, where check marks stand,
// once it is drawn: the same twice in a row.
std::vector<COLORREF> openMenuCheckColumn() {
    std::vector<COLORREF> column;
    std::vector<COLORREF> before;
    waitUntil([&] {
        const HWND menu = FindWindowW(L"#32768", nullptr);
        RECT rect{};
        GetWindowRect(menu, &rect);
        before = std::exchange(column, {});
        for (LONG y = rect.top; menu != nullptr && y < rect.bottom; ++y) {
            for (LONG x = rect.left; x < rect.left + 32; ++x) {
                column.push_back(GetPixel(screenDc, x, y));
            }
        }
        return !column.empty() && column == before;
    });
    return column;
}

TEST(Window, HonoursTheShowCommandButNeverMaximisesNorTakesTheFocusUnasked) {
    TALIVEN_NEEDS_REAL_INPUT();
    TalivenProcess maximised(L"Taliven.exe", SW_SHOWMAXIMIZED); // a shortcut's "Maximised"
    EXPECT_EQ(IsZoomed(maximised.window()), FALSE);
    SetForegroundWindow(maximised.window());
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == maximised.window(); }));
    // A start that does not activate takes no focus from anyone.
    TalivenProcess quiet(L"Taliven.exe", SW_SHOWMINNOACTIVE);
    EXPECT_NE(IsIconic(quiet.window()), FALSE);
    EXPECT_EQ(quiet.focus(), nullptr);
    EXPECT_EQ(GetForegroundWindow(), maximised.window());
    // Restored, it gives the focus back to the slider that had it.
    send(quiet.window(), WM_SYSCOMMAND, SC_RESTORE);
    pressKeys({VK_TAB}); // from the voltage slider, which has the focus at start
    ASSERT_TRUE(waitUntil([&] { return quiet.focus() == quiet[HScroll2]; }));
    send(quiet.window(), WM_SYSCOMMAND, SC_MINIMIZE);
    send(quiet.window(), WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(waitUntil([&] { return quiet.focus() == quiet[HScroll2]; }));

    // "Keep on top" follows the window's state, whoever set it, and is
    // reached as a user does: Alt+Space, then its access key. Checked first,
    // then not: the menu looks different.
    SetWindowPos(quiet.window(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::vector<std::vector<COLORREF>> menus;
    for (const LONG topmost : {0L, WS_EX_TOPMOST}) {
        pressKeys({VK_MENU, VK_SPACE});
        ASSERT_TRUE(waitUntil([&] { return (quiet.threadInfo().flags & GUI_INMENUMODE) != 0; }));
        menus.push_back(openMenuCheckColumn());
        pressKeys({'K'});
        EXPECT_TRUE(waitUntil([&] {
            return (GetWindowLongW(quiet.window(), GWL_EXSTYLE) & WS_EX_TOPMOST) == topmost;
        }));
    }
    // Ink: what is not the menu's own background, its most common colour.
    // The capture while topmost holds the check mark.
    const auto ink = [](const std::vector<COLORREF>& column) {
        std::map<COLORREF, std::size_t> counts;
        std::size_t background = 0;
        for (const COLORREF colour : column) {
            background = std::max(background, ++counts[colour]);
        }
        return column.size() - background;
    };
    EXPECT_GT(ink(menus[0]), ink(menus[1])) << "no check mark while topmost, or one after";
}

std::vector<std::pair<DWORD, HWND>> heard; // what an accessibility client is told
DWORD listenedTo = 0;                      // by this process

// Windows' scroll bar raises a value change of its own as it moves, just
// before the program's: one event twice in a row is heard once.
void CALLBACK hear(HWINEVENTHOOK /*hook*/, DWORD event, HWND window, LONG object, LONG /*child*/,
                   DWORD /*thread*/, DWORD /*time*/) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (object == OBJID_CLIENT && process == listenedTo &&
        (heard.empty() || heard.back() != std::pair{event, window})) {
        heard.emplace_back(event, window);
    }
}

std::size_t heardSoFar() {
    MSG message{}; // the hook's calls come through this thread's messages
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        DispatchMessageW(&message);
    }
    return heard.size();
}

// What a screen reader is told: the sliders' values, with their units, once
// the window is ready and after each change, including a new decimal
// separator. Windows allows separators of up to three characters; the values
// shown are respelt whole, and new ones are written with it.
TEST(Accessibility, ValuesAreAnnouncedOnceReadyAndAfterEachChange) {
    const SavedSetting savedSeparator(L"Control Panel\\International", L"sDecimal");
    heard.clear();
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, hear, 0,
                        0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    TalivenProcess app(L"TalivenTestHooks.exe"); // reads the separator afresh from the settings
    listenedTo = app.processId();
    EXPECT_TRUE(waitUntil([&] { return heardSoFar() >= 2; }));
    // Whoever posts the window's own "ready" message again, that work is
    // done once; posted behind them, a step shows when they are handled.
    for (int k = 0; k < 3; ++k) {
        PostMessageW(app.window(), WM_APP + 1, 0, 0);
    }
    PostMessageW(app.window(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1),
                 reinterpret_cast<LPARAM>(app[HScroll1]));
    EXPECT_TRUE(waitUntil([&] { return text(app[vol]) == "1"; }));
    app.scrollTo(app[HScroll2], 500); // "Scroll Here" beyond the end: 100
    app.scrollTo(app[HScroll1], 1);   // already there: nothing to tell
    app.scrollTo(app[HScroll2], 500); // and there already
    app.scrollTo(app[HScroll2], 3);
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, "dec");
    send(app.window(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
    EXPECT_EQ(app.state(), "1 3 1 0dec03 33dec3333333333333");
    // Start-up, 1 V, 100 (the resistance changes), 0.03 A (again), the separator.
    const DWORD value = EVENT_OBJECT_VALUECHANGE;
    const DWORD live = EVENT_OBJECT_LIVEREGIONCHANGED;
    const HWND v = app[HScroll1];
    const HWND i = app[HScroll2];
    const std::vector<std::pair<DWORD, HWND>> announced{
        {value, v}, {value, i},       {value, v}, {value, i}, {live, app[ohm]},
        {value, i}, {live, app[ohm]}, {value, v}, {value, i}};
    EXPECT_TRUE(waitUntil([&] { return heardSoFar() >= announced.size(); }));
    UnhookWinEvent(hook);
    EXPECT_EQ(heard, announced);
    app.scrollTo(app[HScroll1], 2); // a value new since the change
    EXPECT_EQ(app.state(), "2 3 2 0dec03 66dec6666666666667");
}

// Every kind of value the guard restores, present and absent, is put back
// with its type and bytes; a run killed mid-change (TALIVEN_KILL_MID_CHANGE)
// leaves its record, and the next one puts the user's value back as it
// starts.
TEST(UserSettings, EveryKindIsPutBackEvenAfterAKilledRun) {
    const wchar_t* accessibility = L"Software\\Microsoft\\Accessibility";
    const std::wstring textSize = std::wstring(accessibility) + L"\\TextScaleFactor";
    constexpr DWORD killedExitCode = 0x7A11;
    constexpr BYTE midChange = 7; // no text size a user can set (100 to 225 %)
    if (GetEnvironmentVariableW(L"TALIVEN_KILL_MID_CHANGE", nullptr, 0) != 0) {
        const SavedSetting saved(accessibility, L"TextScaleFactor");
        Setting{textSize, REG_DWORD, {midChange}, sizeof(DWORD)}.putBack();
        TerminateProcess(GetCurrentProcess(), killedExitCode);
    }
    const Setting users = Setting::read(textSize);
    const struct PutBack { // not recorded: the record is the child's to leave
        const Setting& setting;
        ~PutBack() { setting.putBack(); }
    } putBack{users};
    const auto runTests = [](const wchar_t* filter) {
        const PROCESS_INFORMATION run = startProcess(
            L"\"" + besideTests(L"window_tests.exe") + L"\" --gtest_filter=" + filter, SW_HIDE);
        WaitForSingleObject(run.hProcess, 2 * answerLimitMs);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(run.hProcess, &code);
        TerminateProcess(run.hProcess, 99); // no effect once it has ended
        CloseHandle(run.hThread);
        CloseHandle(run.hProcess);
        return code;
    };
    SetEnvironmentVariableW(L"TALIVEN_KILL_MID_CHANGE", L"1");
    const DWORD killed = runTests(L"UserSettings.*");
    SetEnvironmentVariableW(L"TALIVEN_KILL_MID_CHANGE", nullptr);
    ASSERT_EQ(killed, killedExitCode);
    EXPECT_EQ(Setting::read(textSize).data[0], midChange);
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, testsKey, textSize.c_str(), RRF_RT_ANY, nullptr,
                           nullptr, nullptr),
              ERROR_SUCCESS)
        << "the killed run left no record";
    EXPECT_EQ(runTests(L"-*"), 0U);
    EXPECT_TRUE(Setting::read(textSize) == users) << "the next run did not put it back";

    const std::pair<std::wstring, Setting> kinds[] = {
        {textSize, {{}, REG_DWORD, {125}, sizeof(DWORD)}},
        {textSize, {{}, REG_NONE, {}, 0}},
        {L"Control Panel\\International\\sDecimal", {{}, REG_SZ, {'#'}, 4}},
        {L"Control Panel\\Desktop\\WheelScrollLines", {{}, REG_SZ, {'7'}, 4}},
        {L"Control Panel\\Desktop\\WindowMetrics\\MessageFont", {{}, REG_BINARY, {1, 2}, 92}}};
    for (auto [path, usersKind] : kinds) {
        usersKind.path = path;
        const SavedSetting saved(usersKind.key().c_str(), usersKind.name().c_str()); // the real one
        usersKind.putBack();                       // as a user may have it
        Setting{path, REG_SZ, {'x'}, 4}.putBack(); // a test's change
        usersKind.putBack();
        EXPECT_TRUE(Setting::read(path) == usersKind) << usersKind.name() << " " << usersKind.type;
    }
}

TEST(ErrorReport, OverflowIsReportedTextsStayAndTheProgramFails) {
    // A build whose voltage slider reaches 400: 328 x 100 overflows 16 bits.
    TalivenProcess app(L"TalivenTestHooks.exe");
    app.scrollTo(app[HScroll2], 1);
    app.scrollTo(app[HScroll1], 327);
    ASSERT_EQ(app.state(), localised("327 1 327 0.01 32700"));
    // Posted: the report is modal, so a sent message would wait for it.
    PostMessageW(app.window(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(app[HScroll1]));
    HWND report = nullptr; // a message box, whose text has the id 0xFFFF
    ASSERT_TRUE(waitUntil([&] { return (report = topWindowOf(app.processId(), app.window())); }));
    EXPECT_EQ(text(report), "Taliven");
    const std::string message = text(GetDlgItem(report, 0xFFFF));
    EXPECT_NE(message.find("Overflow"), std::string::npos) << message;
    EXPECT_EQ(app.state(), localised("328 1 328 0.01 32700")); // set before the fault
    PostMessageW(report, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(app.close(), 1U);
}

TEST(ErrorReport, AFailedStartIsReportedWithNothingHalfBuiltOnScreen) {
    // A build without its emblem: the window fails while making its controls.
    TalivenProcess broken(L"TalivenBroken.exe");
    const std::string message = text(GetDlgItem(broken.window(), 0xFFFF));
    EXPECT_NE(message.find("could not start"), std::string::npos) << message;
    EXPECT_NE(message.find("emblem"), std::string::npos) << message;
    EXPECT_EQ(FindWindowW(L"Taliven.Form1", nullptr), nullptr); // the report is all it shows
    // It stays until dismissed: it answers once whatever the failed start
    // left queued (a quit would close it) has been handled, and again.
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(trySend(broken.window(), WM_NULL).has_value()) << "the report closed itself";
    }
    EXPECT_NE(IsWindowVisible(broken.window()), FALSE);
    PostMessageW(broken.window(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(broken.close(), 1U);
}

} // namespace
} // namespace taliven::testing

// A run whose every test skipped (nobody at the desktop) tells CTest so with
// 77; a failure among skipped tests still fails.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int failed = RUN_ALL_TESTS();
    const testing::UnitTest& run = *testing::UnitTest::GetInstance();
    return failed == 0 && run.skipped_test_count() > 0 && run.successful_test_count() == 0 ? 77
                                                                                           : failed;
}
