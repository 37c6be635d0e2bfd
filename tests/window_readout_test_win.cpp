// The readouts as seen from outside, driven by the sliders' own requests.

#include "tests/decimal_oracle.h"
#include "tests/taliven_process_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

namespace taliven::testing {
namespace {

std::string expectedResistance(int v, int i, const std::string& separator) {
    return oracle::readoutText(static_cast<double>(v * 100) / static_cast<double>(i), separator);
}

std::string expectedCurrent(int i, const std::string& separator) {
    return oracle::readoutText(static_cast<double>(i) / 100.0, separator);
}

TEST(Readouts, FollowTheSlidersAndKeepResistanceAtZeroCurrent) {
    TalivenProcess app;
    const std::string sep = decimalSeparator();
    const struct {
        bool voltage;
        int position;
        std::string vol, cur, ohm;
    } steps[] = {
        {true, 5, "5", "0", "0"},
        {false, 1, "5", "0" + sep + "01", "500"},
        {false, 0, "5", "0", "500"},
        {true, 6, "6", "0", "500"},
        {false, 34, "6", "0" + sep + "34", "17" + sep + "6470588235294"},
        {true, 3, "3", "0" + sep + "34", "8" + sep + "82352941176471"},
        {true, 0, "0", "0" + sep + "34", "0"},
        {false, 50, "0", "0" + sep + "5", "0"},
        {true, 100, "100", "0" + sep + "5", "200"},
        {false, 1, "100", "0" + sep + "01", "10000"},
    };
    for (const auto& step : steps) {
        app.scrollTo(step.voltage ? app.voltageSlider() : app.currentSlider(), step.position);
        EXPECT_EQ(text(app.voltageReadout()), step.vol);
        EXPECT_EQ(text(app.currentReadout()), step.cur);
        EXPECT_EQ(text(app.resistanceReadout()), step.ohm);
    }
    EXPECT_EQ(app.close(), 0U);
}

TEST(Readouts, EveryPairOfSliderValuesShowsTheExactResistance) {
    TalivenProcess app;
    const std::string sep = decimalSeparator();
    int current = 0;
    for (int v = 0; v <= 100; ++v) {
        if (v > 0) {
            app.scroll(app.voltageSlider(), SB_LINERIGHT);
        }
        ASSERT_EQ(text(app.voltageReadout()), std::to_string(v));
        // Sweep the current up and down in turn, so each pair is met once.
        for (int step = 0; step <= 100; ++step) {
            if (step > 0) {
                current += v % 2 == 0 ? 1 : -1;
                app.scroll(app.currentSlider(), v % 2 == 0 ? SB_LINERIGHT : SB_LINELEFT);
            }
            if (current == 0) {
                continue;
            }
            ASSERT_EQ(text(app.currentReadout()), expectedCurrent(current, sep)) << current;
            ASSERT_EQ(text(app.resistanceReadout()), expectedResistance(v, current, sep))
                << v << ", " << current;
        }
    }
    EXPECT_EQ(app.close(), 0U);
}

TEST(Readouts, UseTheSeparatorOfTheUsersRegionalSettings) {
    if (const char* expected = std::getenv("TALIVEN_EXPECTED_SEPARATOR")) {
        EXPECT_EQ(decimalSeparator(), expected) << "the locale under test is not in effect";
    }
    const std::string original = decimalSeparator();
    {
        TalivenProcess app;
        app.scrollTo(app.currentSlider(), 25);
        EXPECT_EQ(text(app.currentReadout()), "0" + original + "25");
        EXPECT_EQ(app.close(), 0U);
    }
    // A separator the user customised, as Regional Settings stores it. (Wine
    // caches these settings per process, so only a process started after the
    // change can see it; Windows also delivers WM_SETTINGCHANGE "intl".)
    ASSERT_NE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L" dec "), FALSE);
    std::string custom;
    {
        TalivenProcess app;
        app.scrollTo(app.voltageSlider(), 1);
        app.scrollTo(app.currentSlider(), 3);
        custom = text(app.currentReadout()) + "|" + text(app.resistanceReadout());
        EXPECT_EQ(app.close(), 0U);
    }
    const std::wstring restore(original.begin(), original.end());
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, restore.c_str());
    EXPECT_EQ(custom, "0 dec 03|33 dec 3333333333333");
}

TEST(Hostile, RandomScrollMessagesLeaveTheWindowConsistent) {
    TalivenProcess app;
    const std::string sep = decimalSeparator();
    std::mt19937 random(20261206);
    const HWND senders[] = {app.voltageSlider(), app.currentSlider(),  nullptr,
                            app.window(),        app.voltageReadout(), GetDesktopWindow()};
    for (int k = 0; k < 5000; ++k) {
        const HWND sender = senders[random() % std::size(senders)];
        // Codes 0..15 cover every request and some unknown ones; the high
        // word is a position that can be anything.
        const WPARAM wParam = (random() % 4 == 0) ? random() : MAKEWPARAM(random() % 16, random());
        if (k % 2 == 0) {
            SendMessageW(app.window(), WM_HSCROLL, wParam, reinterpret_cast<LPARAM>(sender));
        } else {
            PostMessageW(app.window(), WM_HSCROLL, wParam, reinterpret_cast<LPARAM>(sender));
        }
    }
    SendMessageW(app.window(), WM_NULL, 0, 0);
    ASSERT_TRUE(app.running());
    const int v = sliderPosition(app.voltageSlider());
    const int i = sliderPosition(app.currentSlider());
    EXPECT_GE(v, 0);
    EXPECT_LE(v, 100);
    EXPECT_GE(i, 0);
    EXPECT_LE(i, 100);
    EXPECT_EQ(text(app.voltageReadout()), std::to_string(v));
    EXPECT_EQ(text(app.currentReadout()), expectedCurrent(i, sep));
    if (i != 0) {
        EXPECT_EQ(text(app.resistanceReadout()), expectedResistance(v, i, sep));
    }
    EXPECT_EQ(app.close(), 0U);
}

BOOL CALLBACK findDialog(HWND window, LPARAM out) {
    if (className(window) == L"#32770") {
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
    }
    return TRUE;
}

HWND findErrorReport(DWORD threadId) {
    HWND found = nullptr;
    EnumThreadWindows(threadId, findDialog, reinterpret_cast<LPARAM>(&found));
    return found;
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
    TalivenProcess app(L"TalivenOverflow.exe");
    app.scrollTo(app.currentSlider(), 1);
    SendMessageW(app.voltageSlider(), SBM_SETPOS, 326, TRUE);
    app.scroll(app.voltageSlider(), SB_LINERIGHT);
    ASSERT_EQ(text(app.resistanceReadout()), "32700");

    // Posted: the report is modal, so a sent message would wait for it.
    PostMessageW(app.window(), WM_HSCROLL, SB_LINERIGHT,
                 reinterpret_cast<LPARAM>(app.voltageSlider()));
    HWND report = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (report = findErrorReport(app.threadId())) != nullptr; }));
    EXPECT_EQ(text(report), "Taliven");
    EXPECT_NE(reportText(report).find("Overflow"), std::string::npos) << reportText(report);
    EXPECT_EQ(text(app.voltageReadout()), "328");
    EXPECT_EQ(text(app.resistanceReadout()), "32700");

    PostMessageW(report, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(app.waitForExit(), 1U);
}

TEST(ErrorReport, AFailedStartIsReportedWithNothingHalfBuiltOnScreen) {
    // A build without its emblem: the window fails while making its controls.
    const PROCESS_INFORMATION broken = startProgram(L"TalivenBroken.exe");
    HWND report = nullptr;
    ASSERT_TRUE(
        waitUntil([&] { return (report = findErrorReport(broken.dwThreadId)) != nullptr; }));
    EXPECT_EQ(text(report), "Taliven");
    EXPECT_NE(reportText(report).find("could not start"), std::string::npos) << reportText(report);
    EXPECT_NE(reportText(report).find("emblem"), std::string::npos) << reportText(report);
    EXPECT_EQ(FindWindowW(L"Taliven.Form1", nullptr), nullptr);

    PostMessageW(report, WM_COMMAND, IDOK, 0);
    WaitForSingleObject(broken.hProcess, 20000);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(broken.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 1U);
    CloseHandle(broken.hThread);
    CloseHandle(broken.hProcess);
}

} // namespace
} // namespace taliven::testing
