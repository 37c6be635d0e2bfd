// The window over a session: settings that change while it runs, minimising,
// the system menu, what a screen reader is told, and the error report.

#include "tests/window_driver_win.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
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
    const std::string resistance = text(app.resistanceReadout());
    app.scrollTo(app.currentSlider(), 25);
    const std::string current = text(app.currentReadout());
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL,
                   std::wstring(old.begin(), old.end()).c_str());
    send(app.window(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
    EXPECT_EQ(resistance, "33 dec 3333333333333");
    EXPECT_EQ(current, "0 dec 25");
    EXPECT_EQ(text(app.currentReadout()), localised("0.25"));
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
    // "Keep on top" in the system menu, checked and unchecked.
    for (const LONG topmost : {WS_EX_TOPMOST, 0L}) {
        send(app.window(), WM_SYSCOMMAND, 0x0010);
        EXPECT_EQ(GetWindowLongW(app.window(), GWL_EXSTYLE) & WS_EX_TOPMOST, topmost);
    }
    EXPECT_EQ(app.close(), 0U);
}

std::vector<std::pair<DWORD, HWND>> events;

void CALLBACK recordEvent(HWINEVENTHOOK /*hook*/, DWORD event, HWND window, LONG object,
                          LONG /*child*/, DWORD /*thread*/, DWORD /*time*/) {
    if (object == OBJID_CLIENT) {
        events.emplace_back(event, window);
    }
}

bool eventArrived(DWORD event, HWND window) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        DispatchMessageW(&message);
    }
    return std::find(events.begin(), events.end(), std::pair{event, window}) != events.end();
}

std::wstring accessibleName(HWND control) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          IID_IAccessible, reinterpret_cast<void**>(&object)))) {
        return L"(none)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    BSTR name = nullptr;
    std::wstring answer = SUCCEEDED(object->get_accName(self, &name)) && name ? name : L"";
    SysFreeString(name);
    object->Release();
    return answer;
}

TEST(Accessibility, NamesValuesAndAnnouncedResults) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    events.clear();
    {
        TalivenProcess app;
        EXPECT_EQ(accessibleName(app.voltageSlider()), L"Voltage");
        EXPECT_EQ(accessibleName(app.currentSlider()), L"Current");
        const HWINEVENTHOOK hook =
            SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                            recordEvent, app.processId(), 0, WINEVENT_OUTOFCONTEXT);
        app.scroll(app.voltageSlider(), SB_LINELEFT); // stays at 0: nothing to tell
        app.scrollTo(app.voltageSlider(), 7);
        EXPECT_TRUE(
            waitUntil([&] { return eventArrived(EVENT_OBJECT_VALUECHANGE, app.voltageSlider()); }));
        EXPECT_EQ(events.size(), 1U); // no value change at 0, and no new resistance yet
        app.scrollTo(app.currentSlider(), 51);
        EXPECT_TRUE(
            waitUntil([&] { return eventArrived(EVENT_OBJECT_VALUECHANGE, app.currentSlider()); }));
        EXPECT_TRUE(waitUntil(
            [&] { return eventArrived(EVENT_OBJECT_LIVEREGIONCHANGED, app.resistanceReadout()); }));
        UnhookWinEvent(hook);
        const std::wstring sep = decimalSeparator() == "," ? L"," : L".";
        EXPECT_EQ(accessibleName(app.resistanceReadout()), L"13" + sep + L"7254901960784");
        EXPECT_EQ(app.close(), 0U);
    }
    CoUninitialize();
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
    const HWND report = app.errorReport();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(text(report), "Taliven");
    EXPECT_NE(messageText(report).find("Overflow"), std::string::npos) << messageText(report);
    EXPECT_EQ(text(app.voltageReadout()), "328");
    EXPECT_EQ(text(app.resistanceReadout()), "32700");
    PostMessageW(report, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(app.close(), 1U);
}

TEST(ErrorReport, AFailedStartIsReportedWithNothingHalfBuiltOnScreen) {
    // A build without its emblem: the window fails while making its controls.
    TalivenProcess broken(L"TalivenBroken.exe");
    EXPECT_EQ(className(broken.window()), L"#32770"); // the report is all it shows
    const std::string message = messageText(broken.window());
    EXPECT_NE(message.find("could not start"), std::string::npos) << message;
    EXPECT_NE(message.find("emblem"), std::string::npos) << message;
    EXPECT_EQ(FindWindowW(L"Taliven.Form1", nullptr), nullptr);
    PostMessageW(broken.window(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(broken.close(), 1U);
}

} // namespace
} // namespace taliven::testing
