// The window over a session: settings that change while it runs, minimising,
// the system menu, what a screen reader is told, and the error report.

#include "tests/user_settings_win.h"

#include <deque>

namespace taliven::testing {
namespace {

TEST(Window, HonoursTheShowCommandButNeverMaximisesNorTakesTheFocusUnasked) {
    TalivenProcess maximised(L"Taliven.exe", SW_SHOWMAXIMIZED); // in front of the next
    ASSERT_EQ(GetForegroundWindow(), maximised.window());
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
    // reached as a user does: Alt+Space, then its access key once the menu
    // is open.
    SetWindowPos(quiet.window(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (const LONG topmost : {0L, WS_EX_TOPMOST}) {
        pressKeys({VK_MENU, VK_SPACE});
        EXPECT_TRUE(waitUntil([&] { // a visible menu window of the program's thread
            HWND menu = nullptr;
            while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) != nullptr) {
                if (GetWindowThreadProcessId(menu, nullptr) == quiet.dwThreadId &&
                    IsWindowVisible(menu) != FALSE) {
                    return true;
                }
            }
            return false;
        })) << "no menu opened";
        pressKeys({'K'});
        EXPECT_TRUE(waitUntil([&] {
            return (GetWindowLongW(quiet.window(), GWL_EXSTYLE) & WS_EX_TOPMOST) == topmost;
        }));
    }
}

// What an accessibility client is told: "v" and "i", a value change of the
// voltage and current sliders, "o" the resistance's live region, "?" any
// other event of theirs.
std::string heard;
std::array<HWND, 3> listenedTo{};

// Every event is kept, repeats too: a screen reader speaks each one. A
// scroll bar moved with SetScrollInfo(..., FALSE) raises no value change of
// its own on Windows or Wine (Wine's user32 conformance test
// test_hv_scroll_2, which passes on Windows, expects none), so each one
// heard is the program's.
void CALLBACK hear(HWINEVENTHOOK /*hook*/, DWORD event, HWND window, LONG object, LONG /*child*/,
                   DWORD /*thread*/, DWORD /*time*/) {
    const auto k = std::ranges::find(listenedTo, window) - listenedTo.begin();
    if (k < 3 && object == OBJID_CLIENT) {
        heard += (event == EVENT_OBJECT_LIVEREGIONCHANGED) == (k == 2) ? "vio"[k] : '?';
    }
}

const std::string& heardSoFar() {
    MSG message{}; // the hook's calls come through this thread's messages
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        DispatchMessageW(&message);
    }
    return heard;
}

// What a screen reader is told: the sliders' values, with their units, once
// the window is ready and after each change, including a new decimal
// separator. Windows allows separators of up to three characters; the values
// shown are respelt whole, and new ones are written with it.
TEST(Accessibility, ValuesAreAnnouncedOnceReadyAndAfterEachChange) {
    const SavedSetting savedSeparator(L"Control Panel\\International\\sDecimal");
    heard.clear();
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, hear, 0,
                        0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    TalivenProcess app(L"TalivenTestHooks.exe"); // reads the separator afresh
    listenedTo = {app[HScroll1], app[HScroll2], app[ohm]};
    // Whoever posts the window's own "ready" message again, that work is
    // done once; a step posted behind it shows when it is handled.
    PostMessageW(app.window(), WM_APP + 1, 0, 0);
    PostMessageW(app.window(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1),
                 reinterpret_cast<LPARAM>(app[HScroll1]));
    ASSERT_TRUE(waitUntil([&] { return text(app[vol]) == "1"; }));
    send(app.window(), WM_NULL); // the step's events are raised
    // Heard from here on: once ready, both sliders (a system may announce
    // more as it builds them), then the step's own.
    ASSERT_TRUE(waitUntil([] { return heardSoFar().ends_with("viv"); })) << heard;
    heard = "v";
    app.scrollTo(app[HScroll2], 500); // "Scroll Here" beyond the end: 100
    app.scrollTo(app[HScroll1], 1);   // already there: nothing to tell
    app.scrollTo(app[HScroll2], 3);
    savedSeparator.set(REG_SZ, L"dec", 8);
    send(app.window(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
    EXPECT_EQ(app.state(), "1 3 1 0dec03 33dec3333333333333");
    // 1 V, 100 (the resistance changes), 0.03 A (again), the separator.
    EXPECT_TRUE(waitUntil([] { return heardSoFar().size() >= 7; }));
    UnhookWinEvent(hook);
    EXPECT_EQ(heard, "vioiovi");
    app.scrollTo(app[HScroll1], 2); // a value new since the change
    EXPECT_EQ(app.state(), "2 3 2 0dec03 66dec6666666666667");
}

// Every kind of value the guard restores, present and absent, is put back
// with its type and bytes, and where Windows keeps it live. A run killed
// with four guards alive (--kill-mid-change), two of them nested on one
// setting and the inner one killed between a change's record and the
// change, leaves their records; the next run puts the user's values back as
// it starts, in order, but leaves a value changed since and the records of
// a run still going (this one's). A change is recorded before it is made (the
// record's key is written no later than the setting's), a value the guard
// cannot read stops it, and no record outlives the guards. Every change here
// goes through a guard.
TEST(UserSettings, EveryKindIsPutBackEvenAfterAKilledRun) {
    const std::wstring textSize = L"Software\\Microsoft\\Accessibility\\TextScaleFactor";
    const std::wstring font = L"Control Panel\\Desktop\\WindowMetrics\\MessageFont";
    const std::wstring separator = L"Control Panel\\International\\sDecimal";
    const Setting midChange[] = {{textSize, REG_DWORD, {7}, 4}, // no text size a user can set
                                 {separator, REG_SZ, {'#'}, 4},
                                 {font, REG_BINARY, {1, 2}, 92},
                                 {textSize, REG_DWORD, {8}, 4}};
    if (std::wstring_view(GetCommandLineW()).ends_with(L"--kill-mid-change")) {
        std::deque<SavedSetting> guards;
        for (const Setting& change : midChange) {
            guards.emplace_back(change.path).set(change.type, change.data, change.size);
        }
        const DWORD later = 9;
        (void)guards.back().record(REG_DWORD, &later, 4); // and killed before the change
        TerminateProcess(GetCurrentProcess(), 0x7A11);
    }
    const std::array users{Setting::read(textSize), Setting::read(separator), Setting::read(font)};
    const auto run = [](const wchar_t* arguments) {
        const std::wstring program = L"\"" + besideTests(L"window_tests.exe") + L"\" ";
        return Process(startProcess(program + arguments, SW_HIDE)).exitCode();
    };
    {
        const SavedSetting ours[] = {SavedSetting(textSize), SavedSetting(separator),
                                     SavedSetting(font)};
        ours[0].set(REG_NONE, nullptr, 0); // as a user may have it: absent
        ASSERT_EQ(run(L"--gtest_filter=UserSettings.* --kill-mid-change"), 0x7A11U);
        EXPECT_TRUE(std::ranges::all_of(std::span(midChange).last(3),
                                        [](auto& s) { return Setting::read(s.path) == s; }));
        const Setting fontSince{font, REG_BINARY, {3, 4}, 92}; // as a user may change it
        ours[2].set(fontSince.type, fontSince.data, fontSince.size);
        const auto lastWritten = [](const std::wstring& key) { // 100 ns since 1601
            HKEY opened = nullptr;
            FILETIME at{};
            RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened);
            RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, &at);
            RegCloseKey(opened);
            return (ULONGLONG{at.dwHighDateTime} << 32U) | at.dwLowDateTime;
        };
        EXPECT_LE(lastWritten(ours[2].records()), lastWritten(split(font).first))
            << "the change was made before it was recorded";
        EXPECT_EQ(run(L"--gtest_list_tests"), 0U); // runs no test, only what every start does
        wchar_t live[8] = {};
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, live, 8);
        EXPECT_TRUE(Setting::read(textSize) == Setting{textSize} &&
                    Setting::read(separator) == users[1] && std::wstring(live) != L"#")
            << "the next run did not put them back";
        EXPECT_TRUE(Setting::read(font) == fontSince) << "a value changed since was overwritten";
        // A value the guard cannot read stops it before any change.
        const std::vector<BYTE> tooLong(600);
        RegSetKeyValueW(HKEY_CURRENT_USER, testsKey, L"long", REG_BINARY, tooLong.data(), 600);
        EXPECT_THROW(SavedSetting(std::wstring(testsKey) + L"\\long"), std::runtime_error);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, testsKey, L"long");
    }
    EXPECT_TRUE(Setting::read(textSize) == users[0] && Setting::read(separator) == users[1] &&
                Setting::read(font) == users[2]);
    HKEY left = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, testsKey, 0, KEY_READ, &left), ERROR_FILE_NOT_FOUND)
        << "records left behind";
}

TEST(ErrorReport, OverflowIsReportedTextsStayAndTheProgramFails) {
    // A build whose voltage slider reaches 400: 328 x 100 overflows 16 bits.
    TalivenProcess app(L"TalivenTestHooks.exe");
    app.scrollTo(app[HScroll2], 1);
    app.scrollTo(app[HScroll1], 327);
    // Posted: the report is modal, so a sent message would wait for it.
    PostMessageW(app.window(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(app[HScroll1]));
    HWND report = nullptr; // a message box, whose text has the id 0xFFFF
    ASSERT_TRUE(waitUntil([&] { return (report = topWindowOf(app.dwProcessId, app.window())); }));
    EXPECT_EQ(text(report), "Taliven");
    const std::string message = text(GetDlgItem(report, 0xFFFF));
    EXPECT_NE(message.find("Overflow"), std::string::npos) << message;
    EXPECT_EQ(app.state(), localised("328 1 328 0.01 32700")); // set before the fault
    PostMessageW(report, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(app.close(), 1U);
}

} // namespace
} // namespace taliven::testing
