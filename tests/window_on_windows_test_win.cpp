// What only Windows can show: what a screen reader hears through MSAA and
// Dynamic Annotation, and how a launcher's show command is undone. Wine's
// oleacc names every control by its own window text and its Dynamic
// Annotation is a stub (SetHwndPropStr is E_NOTIMPL); Wine ignores the
// launcher's STARTUPINFO. Under Wine these report themselves skipped.

#include "tests/window_driver_win.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

namespace taliven::testing {
namespace {

#define TALIVEN_ONLY_ON_WINDOWS(why)                                                               \
    if (underWine())                                                                               \
    GTEST_SKIP() << "only Windows can show this: " << (why)

const char* const wineAccessibility =
    "Wine's oleacc names every control by its own window text and has no Dynamic Annotation";

// What MSAA tells a screen reader of a control: "name|value|description".
std::string heard(HWND control, bool withDescription = true) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible)))) {
        return "no accessible object";
    }
    VARIANT itself{};
    itself.vt = VT_I4; // itself.lVal: CHILDID_SELF
    BSTR texts[3] = {};
    accessible->get_accName(itself, &texts[0]);
    accessible->get_accValue(itself, &texts[1]);
    if (withDescription) { // a slider's is the system's own
        accessible->get_accDescription(itself, &texts[2]);
    }
    accessible->Release();
    std::string joined;
    for (BSTR& text : texts) {
        char utf8[256] = {};
        WideCharToMultiByte(CP_UTF8, 0, text != nullptr ? text : L"", -1, utf8, 256, nullptr,
                            nullptr);
        SysFreeString(text);
        joined += (&text == texts ? "" : "|") + std::string(utf8);
    }
    return joined;
}

const struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
} com;

// Each slider is named by its caption and speaks its value with the unit;
// each readout is named by its meaning, value and unit, and described; the
// resistance, a live region, is heard by its name. Before and after a move.
TEST(OnWindows, ScreenReadersHearNamesValuesAndUnits) {
    TALIVEN_ONLY_ON_WINDOWS(wineAccessibility);
    TalivenProcess app;
    for (const auto& [volts, amperes, ohms] : {std::tuple{"0", "0", "0"}, {"5", "0.01", "500"}}) {
        app.scrollTo(app[HScroll1], std::stoi(volts));
        app.scrollTo(app[HScroll2], static_cast<int>(std::lround(std::stod(amperes) * 100)));
        const std::string v = localised(volts);
        const std::string i = localised(amperes);
        const std::vector<std::string> want{
            "Voltage|" + v + " V|", "Current|" + i + " A|", "Voltage " + v + " V||Voltage in volts",
            "Current " + i + " A||Current in amperes",
            "Resistance " + localised(ohms) + " \xCE\xA9||Resistance in ohms"};
        std::vector<std::string> got;
        waitUntil([&] { // the annotations come once the window has painted
            got = {heard(app[HScroll1], false), heard(app[HScroll2], false), heard(app[vol]),
                   heard(app[cur]), heard(app[ohm])};
            return got == want;
        });
        EXPECT_EQ(got, want);
    }
}

// The scroll bar raises its own value change as it moves ("the system sends
// EVENT_OBJECT_VALUECHANGE for scroll bars", Microsoft's event constants). A
// screen reader's in-process hook reads the value then and there: it must
// already be the new one.
TEST(OnWindows, TheScrollBarsOwnValueEventCarriesTheNewValue) {
    TALIVEN_ONLY_ON_WINDOWS(wineAccessibility);
    TalivenProcess app;
    const std::wstring hookPath = besideTests(L"planted_dll.dll");
    const std::filesystem::path heardPath(hookPath + L".heard");
    ASSERT_TRUE(waitUntil([&] { return heard(app[vol]) == "Voltage 0 V||Voltage in volts"; }));
    std::filesystem::remove(heardPath);
    const HMODULE hook = LoadLibraryW(hookPath.c_str());
    const HWINEVENTHOOK listening =
        SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, hook,
                        reinterpret_cast<WINEVENTPROC>(
                            reinterpret_cast<void*>(GetProcAddress(hook, "valueChanged"))),
                        app.processId(), 0, WINEVENT_INCONTEXT);
    ASSERT_NE(listening, nullptr);
    app.scrollTo(app[HScroll1], 5);
    app.scrollTo(app[HScroll2], 37);
    app.scroll(app[HScroll2], SB_LINERIGHT);
    UnhookWinEvent(listening);
    std::ifstream file(heardPath);
    std::vector<std::string> values;
    for (std::string line; std::getline(file, line);) {
        if (values.empty() || values.back() != line) { // the scroll bar's, then ours
            values.push_back(line);
        }
    }
    EXPECT_EQ(values, (std::vector<std::string>{"5 V", localised("0.37 A"), localised("0.38 A")}));
}

// A launcher that hides or maximises the window (Start-Process -WindowStyle
// Hidden, a scheduled task, a shortcut's "Maximised") replaces the first
// ShowWindow ("nCmdShow is ignored the first time ... if the program that
// launched the application provides a STARTUPINFO structure"): the window
// still shows, normally.
TEST(OnWindows, AHiddenOrMaximisedStartShowsANormalWindow) {
    TALIVEN_ONLY_ON_WINDOWS("Wine ignores the launcher's show command (STARTUPINFO)");
    for (const WORD command : {WORD{SW_HIDE}, WORD{SW_SHOWMAXIMIZED}}) {
        const TalivenProcess app(L"Taliven.exe", command); // waits for a visible window
        EXPECT_FALSE(IsZoomed(app.window()) || IsIconic(app.window())) << command;
    }
}

} // namespace
} // namespace taliven::testing
