#pragma once

#include "window/accessible_names_win.h"
#include "window/form_definition.h"
#include "window/grey_image.h"
#include "window/handles_win.h"
#include "window/readout_view_win.h"

#include <windows.h>

#include <array>
#include <memory>
#include <string>

namespace taliven {

// The one window of the program, built from its definition. Owns the window,
// its brushes and its font; the child controls belong to the window.
//
// No exception leaves a window procedure: an error raised while handling a
// message is reported in a message box, after which the window closes and the
// message loop returns a non-zero exit code.
class CalculatorWindow {
  public:
    // Creates and shows the window with the focus on the first slider.
    // Throws when the window or a control cannot be made; nothing is left on
    // screen then.
    CalculatorWindow(const FormDefinition& form, HINSTANCE instance);
    CalculatorWindow(const CalculatorWindow&) = delete;
    CalculatorWindow& operator=(const CalculatorWindow&) = delete;
    CalculatorWindow(CalculatorWindow&&) = delete;
    CalculatorWindow& operator=(CalculatorWindow&&) = delete;
    ~CalculatorWindow() = default;

    // Runs until the window closes; returns 0, or 1 after a reported error.
    [[nodiscard]] int runMessageLoop() noexcept;

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void createControls(HINSTANCE instance);
    void applyDpi(int dpi);
    void onScroll(WPARAM wParam, LPARAM lParam);
    LRESULT onControlColour(HDC dc, HWND control) noexcept;
    void readDecimalSeparator();
    void reportFailure(const char* what) noexcept;
    [[nodiscard]] const SliderRange& rangeOf(ControlRole slider) const noexcept;

    const FormDefinition& form_;
    HWND hwnd_ = nullptr; // valid from WM_NCCREATE to WM_NCDESTROY
    UniqueWindow window_;
    std::array<HWND, std::tuple_size_v<decltype(FormDefinition::controls)>> controls_{};
    WindowReadoutView::Controls bound_{}; // what the readout procedures reach, by role
    UniqueBrush backgroundBrush_;
    UniqueBrush readoutBrush_;
    UniqueFont font_;
    GreyImage emblem_;
    UniqueBitmap emblemBitmap_; // emblem_ scaled to its frame at the current DPI
    std::unique_ptr<AccessibleNames> accessibleNames_;
    int dpi_ = 0;
    std::string decimalSeparator_ = ".";
    HWND lastFocus_ = nullptr;
    bool running_ = false;
    bool failed_ = false;
};

} // namespace taliven
