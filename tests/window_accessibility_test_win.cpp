// What a screen reader gets through Microsoft Active Accessibility.

#include "tests/taliven_process_win.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>

namespace taliven::testing {
namespace {

std::wstring accessibleName(HWND control) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible)))) {
        return L"(no accessible object)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result = SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr
                              ? std::wstring(name)
                              : L"(no name)";
    SysFreeString(name);
    accessible->Release();
    return result;
}

class Accessibility : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(Accessibility, SlidersAreNamedAndReadoutsReadAsTheirText) {
    TalivenProcess app;
    EXPECT_EQ(accessibleName(app.voltageSlider()), L"Voltage");
    EXPECT_EQ(accessibleName(app.currentSlider()), L"Current");
    app.scrollTo(app.voltageSlider(), 7);
    app.scrollTo(app.currentSlider(), 51);
    EXPECT_EQ(accessibleName(app.voltageReadout()), L"7");
    EXPECT_EQ(text(app.resistanceReadout()), "13" + decimalSeparator() + "7254901960784");
    EXPECT_EQ(accessibleName(app.resistanceReadout()),
              std::wstring(L"13") + (decimalSeparator() == "," ? L"," : L".") + L"7254901960784");
    EXPECT_EQ(app.close(), 0U);
}

} // namespace
} // namespace taliven::testing
