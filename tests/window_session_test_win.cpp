// The window over a session: settings that change while it runs, minimising,
// the system menu, what a screen reader is told, and the error report.

#include "tests/window_driver_win.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace taliven::testing {
namespace {

TEST(Readouts, ANewDecimalSeparatorShowsAtOnce) {
    // A build that reads the separator afresh from the user's settings.
    TalivenProcess app(L"TalivenTestHooks.exe");
    const std::string old = decimalSeparator();
    app.scrollTo(app.voltageSlider(), 1);
    app.scrollTo(app.currentSlider(), 3);
    app.scrollTo(app.currentSlider(), 0); // the resistance keeps 100 / 3
    ASSERT_NE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L" dec "), FALSE);
    send(app.window(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
    const std::string current = text(app.currentReadout());
    const std::string resistance = text(app.resistanceReadout());
    app.scrollTo(app.currentSlider(), 25);
    const std::string next = text(app.currentReadout());
    const std::wstring restore(old.begin(), old.end());
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, restore.c_str());
    EXPECT_EQ(current, "0");
    EXPECT_EQ(resistance, "33 dec 3333333333333");
    EXPECT_EQ(next, "0 dec 25");
    EXPECT_EQ(app.close(), 0U);
}

TEST(Window, HonoursTheShowCommandAndKeepsTheFocusOverMinimising) {
    TalivenProcess app(L"Taliven.exe", SW_SHOWMINNOACTIVE);
    EXPECT_NE(IsIconic(app.window()), FALSE);
    send(app.window(), WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(waitUntil([&] { return app.focus() == app.voltageSlider(); }));
    pressKeys({VK_TAB});
    ASSERT_TRUE(waitUntil([&] { return app.focus() == app.currentSlider(); }));
    send(app.window(), WM_SYSCOMMAND, SC_MINIMIZE);
    send(app.window(), WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(waitUntil([&] { return app.focus() == app.currentSlider(); }));
    EXPECT_EQ(app.close(), 0U);
}

TEST(Window, KeepOnTopFromTheSystemMenu) {
    TalivenProcess app;
    const auto topmost = [&] {
        return (GetWindowLongW(app.window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    };
    EXPECT_FALSE(topmost());
    const WPARAM keepOnTop = 0x0010;
    send(app.window(), WM_SYSCOMMAND, keepOnTop);
    EXPECT_TRUE(topmost());
    send(app.window(), WM_SYSCOMMAND, keepOnTop);
    EXPECT_FALSE(topmost());
    EXPECT_EQ(app.close(), 0U);
}

struct Event {
    DWORD event;
    HWND window;
};
std::vector<Event> events;

void CALLBACK recordEvent(HWINEVENTHOOK /*hook*/, DWORD event, HWND window, LONG object,
                          LONG /*child*/, DWORD /*thread*/, DWORD /*time*/) {
    if (object == OBJID_CLIENT) {
        events.push_back({event, window});
    }
}

bool eventArrived(DWORD event, HWND window) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        DispatchMessageW(&message);
    }
    for (const Event& seen : events) {
        if (seen.event == event && seen.window == window) {
            return true;
        }
    }
    return false;
}

std::wstring accessible(HWND control, bool value) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          IID_IAccessible, reinterpret_cast<void**>(&object)))) {
        return L"(no accessible object)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR got = nullptr;
    const HRESULT result =
        value ? object->get_accValue(self, &got) : object->get_accName(self, &got);
    std::wstring answer = SUCCEEDED(result) && got != nullptr ? std::wstring(got) : L"";
    SysFreeString(got);
    object->Release();
    return answer;
}

TEST(Accessibility, NamesValuesAndAnnouncedResults) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    {
        TalivenProcess app;
        EXPECT_EQ(accessible(app.voltageSlider(), false), L"Voltage");
        EXPECT_EQ(accessible(app.currentSlider(), false), L"Current");
        DWORD processId = 0;
        GetWindowThreadProcessId(app.window(), &processId);
        const HWINEVENTHOOK hook =
            SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                            recordEvent, processId, 0, WINEVENT_OUTOFCONTEXT);
        ASSERT_NE(hook, nullptr);
        app.scroll(app.voltageSlider(), SB_LINELEFT); // stays at 0: nothing to tell
        app.scrollTo(app.voltageSlider(), 7);
        EXPECT_TRUE(
            waitUntil([&] { return eventArrived(EVENT_OBJECT_VALUECHANGE, app.voltageSlider()); }));
        EXPECT_FALSE(eventArrived(EVENT_OBJECT_LIVEREGIONCHANGED, app.resistanceReadout()));
        app.scrollTo(app.currentSlider(), 51);
        EXPECT_TRUE(
            waitUntil([&] { return eventArrived(EVENT_OBJECT_VALUECHANGE, app.currentSlider()); }));
        EXPECT_TRUE(waitUntil(
            [&] { return eventArrived(EVENT_OBJECT_LIVEREGIONCHANGED, app.resistanceReadout()); }));
        UnhookWinEvent(hook);
        const std::wstring sep = decimalSeparator() == "," ? L"," : L".";
        EXPECT_EQ(accessible(app.resistanceReadout(), false), L"13" + sep + L"7254901960784");
        // Where the platform passes the annotations on, the sliders speak their units.
        const std::wstring value = accessible(app.currentSlider(), true);
        if (value.find(L' ') != std::wstring::npos) {
            EXPECT_EQ(value, L"0" + sep + L"51 A");
        }
        EXPECT_EQ(app.close(), 0U);
    }
    CoUninitialize();
}

std::string reportText(HWND report) {
    std::string all;
    for (HWND child = GetWindow(report, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        all += text(child) + "\n";
    }
    return all;
}

TEST(ErrorReport, OverflowIsReportedTextsStayAndTheProgramFails) {
    // A build whose voltage slider reaches 400: 328 x 100 overflows 16 bits.
    TalivenProcess app(L"TalivenTestHooks.exe");
    app.scrollTo(app.currentSlider(), 1);
    app.scrollTo(app.voltageSlider(), 327);
    ASSERT_EQ(text(app.resistanceReadout()), "32700");
    // Posted: the report is modal, so a sent message would wait for it.
    PostMessageW(app.window(), WM_HSCROLL, SB_LINERIGHT,
                 reinterpret_cast<LPARAM>(app.voltageSlider()));
    HWND report = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (report = app.errorReport()) != nullptr; }));
    EXPECT_EQ(text(report), "Taliven");
    EXPECT_NE(reportText(report).find("Overflow"), std::string::npos) << reportText(report);
    EXPECT_EQ(text(app.voltageReadout()), "328");
    EXPECT_EQ(text(app.resistanceReadout()), "32700");
    PostMessageW(report, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(app.waitForExit(), 1U);
}

TEST(ErrorReport, AFailedStartIsReportedWithNothingHalfBuiltOnScreen) {
    // A build without its emblem: the window fails while making its controls.
    const PROCESS_INFORMATION broken =
        startProcess(besideThisProgram(L"..\\window\\TalivenBroken.exe"));
    HWND report = nullptr;
    ASSERT_TRUE(
        waitUntil([&] { return (report = visibleWindowOf(broken.dwProcessId)) != nullptr; }));
    EXPECT_EQ(className(report), L"#32770");
    EXPECT_NE(reportText(report).find("could not start"), std::string::npos) << reportText(report);
    EXPECT_NE(reportText(report).find("emblem"), std::string::npos) << reportText(report);
    EXPECT_EQ(FindWindowW(L"Taliven.Form1", nullptr), nullptr);
    PostMessageW(report, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WaitForSingleObject(broken.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(broken.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 1U);
    CloseHandle(broken.hThread);
    CloseHandle(broken.hProcess);
}

} // namespace
} // namespace taliven::testing
