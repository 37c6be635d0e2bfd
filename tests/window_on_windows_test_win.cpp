// What a screen reader hears, and a launcher's show command. Under Wine every
// step runs (the program starts, each control's accessible object is found
// and asked), and only what Wine cannot show is skipped: its oleacc names
// every control by its own window text and its Dynamic Annotation is a stub
// (SetHwndPropStr is E_NOTIMPL).

#include "tests/window_driver_win.h"

#include <oleacc.h>

#include <gtest/gtest.h>

namespace taliven::testing {
namespace {

// What MSAA tells a screen reader of a control: "name|value|description".
// A failed call is a failure wherever it runs.
std::string heard(HWND control, bool withDescription = true) {
    IAccessible* accessible = nullptr;
    EXPECT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                                     IID_IAccessible,
                                                     reinterpret_cast<void**>(&accessible))));
    if (accessible == nullptr) {
        return "no accessible object";
    }
    VARIANT itself{};
    itself.vt = VT_I4; // itself.lVal: CHILDID_SELF
    BSTR texts[3] = {};
    EXPECT_TRUE(SUCCEEDED(accessible->get_accName(itself, &texts[0])));
    accessible->get_accValue(itself, &texts[1]); // a label has none
    if (withDescription) {                       // a slider's is the system's own
        accessible->get_accDescription(itself, &texts[2]);
    }
    accessible->Release();
    std::wstring joined;
    for (BSTR& text : texts) {
        joined += (&text == texts ? L"" : L"|") + std::wstring(text != nullptr ? text : L"");
        SysFreeString(text);
    }
    char utf8[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, joined.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

// Each slider is named by its caption and speaks its value with the unit;
// each readout is named by its meaning, value and unit, and described; the
// resistance, a live region, is heard by its name. After a move, so the
// values heard are the ones shown.
TEST(OnWindows, ScreenReadersHearNamesValuesAndUnits) {
    TalivenProcess app;
    app.scrollTo(app[HScroll1], 5);
    app.scrollTo(app[HScroll2], 1);
    const std::string want =
        localised("Voltage|5 V|,Current|0.01 A|,Voltage 5 V||Voltage in volts,"
                  "Current 0.01 A||Current in amperes,Resistance 500 \xCE\xA9||Resistance in ohms");
    std::string got;
    EXPECT_TRUE(waitUntil([&] { // the annotations come once the window has painted
        got = heard(app[HScroll1], false) + "," + heard(app[HScroll2], false) + "," +
              heard(app[vol]) + "," + heard(app[cur]) + "," + heard(app[ohm]);
        return got == want || underWine();
    })) << got;
    if (underWine()) {
        GTEST_SKIP() << "only Windows can show what is heard: Wine's oleacc names every control "
                        "by its own window text and has no Dynamic Annotation";
    }
}

// A launcher that maximises the window (a shortcut's "Maximised") replaces
// the first ShowWindow on Windows ("nCmdShow is ignored the first time ...
// if the program that launched the application provides a STARTUPINFO
// structure"); Wine hands it to the program instead. Either way the window
// shows normally. (The look test starts it hidden.)
TEST(Launch, AMaximisedStartShowsANormalWindow) {
    const TalivenProcess app(L"Taliven.exe", SW_SHOWMAXIMIZED); // waits for a visible window
    EXPECT_FALSE(IsZoomed(app.window()) || IsIconic(app.window()));
}

} // namespace
} // namespace taliven::testing
