#pragma once

#include "window/annotations_win.h"
#include "window/colour_scheme.h"
#include "window/form_definition.h"
#include "window/grey_image.h"
#include "window/handles_win.h"
#include "window/layout.h"
#include "window/quantities.h"
#include "window/readout_view_win.h"
#include "window/slider_steps.h"

#include <windows.h>

#include <array>
#include <string>

namespace taliven {

// Fixed size: nothing in the window follows a resize, so none is offered.
// The children are clipped from the window's own painting, so a relayout
// repaints each pixel once.
constexpr DWORD windowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD windowExStyle = 0;

// The one window of the program, built from its definition. Owns the window,
// its brushes, font and pictures; the child controls belong to the window.
//
// No exception leaves a window procedure: an error raised while handling a
// message is reported in a message box, after which the window closes and the
// message loop returns a non-zero exit code.
class CalculatorWindow {
  public:
    // Creates and shows the window (as `showCommand` asks, the first time)
    // with the focus on the first slider. Throws when the window or a control
    // cannot be made; nothing is left on screen then.
    CalculatorWindow(const FormDefinition& form, HINSTANCE instance, int showCommand);
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

    // What the window wears at one DPI and text size, made before any of it
    // is swapped in.
    struct DpiLook {
        int dpi;
        int layoutPercent;
        UniqueFont font;
        UniqueBitmap emblem;
    };
    [[nodiscard]] DpiLook lookFor(int dpi) const;
    void wear(DpiLook look) noexcept;
    // Each control made in its place for `look`.
    void createControls(HINSTANCE instance, const DpiLook& look);
    void show(int showCommand);
    // Lays the window out again for `dpi`; at `position` (screen pixels) when given.
    void applyDpi(int dpi, const POINT* position = nullptr);
    void resizeFrame(SIZE frame, const POINT* position) noexcept;
    [[nodiscard]] TextScale textScaleFor(int dpi) const noexcept;
    [[nodiscard]] SIZE frameSizePx(int dpi, int layoutPercent) const noexcept;
    void onDpiChanged(WPARAM wParam, LPARAM lParam);
    [[nodiscard]] bool onGetDpiScaledSize(WPARAM wParam, LPARAM lParam) const noexcept;
    void applyColours();
    void onSettingChange(WPARAM wParam);
    void afterFirstPaint();
    void rememberFocus() noexcept;
    void showKeepOnTopState() const noexcept;
    [[nodiscard]] bool isTopmost() const noexcept;

    // calculator_window_input_win.cpp: the sliders, the readouts and the keys.
    void onScroll(WPARAM wParam, LPARAM lParam);
    void moveSlider(HWND slider, unsigned request, int thumbPosition);
    // What screen readers are told of a quantity shown as `readoutText`: the
    // readout's name and its slider's value, with the unit.
    void annotate(const Quantity& quantity, std::string_view readoutText);
    // All of them, from the readouts' texts, and then the sliders' events.
    void annotateAll();
    [[nodiscard]] const Quantity& quantityOf(HWND slider) const noexcept;
    void onWheel(WPARAM wParam, LPARAM lParam, bool horizontal);
    void copyReadouts() const;
    void toggleKeepOnTop() const noexcept;
    void readDecimalSeparator();
    void reportFailure(const char* what) noexcept;
    // One of our two sliders (any process can name another window).
    [[nodiscard]] bool isSlider(HWND window) const noexcept;
    [[nodiscard]] const SliderRange& rangeOf(ControlRole slider) const noexcept;
    [[nodiscard]] HWND controlFor(ControlRole role) const noexcept;

    const FormDefinition& form_;
    HWND hwnd_ = nullptr; // valid from WM_NCCREATE to WM_NCDESTROY
    std::array<HWND, std::tuple_size_v<decltype(FormDefinition::controls)>> controls_{};
    WindowReadoutView::Controls bound_{}; // what the readout procedures reach, by role
    HACCEL accelerators_ = nullptr;       // from the resources: freed with the program
    ColourScheme colours_{};
    UniqueBrush backgroundBrush_;
    UniqueBrush readoutBrush_;
    UniqueFont font_;
    GreyImage emblem_;
    UniqueBitmap emblemBitmap_; // emblem_ scaled to its frame at the current DPI
    UniqueIcon icon32_;         // the application icon's own 32 x 32 image
    UniqueIcon smallIcon_;      // averaged from icon32_ for the title bar's size
    UniqueHook postedMessageFilter_;
    Annotations annotations_;
    WheelSteps verticalWheel_;
    WheelSteps horizontalWheel_;
    int dpi_ = 0;
    int textPercent_ = 100; // the "make text bigger" setting
    std::string decimalSeparator_ = ".";
    HWND lastFocus_ = nullptr;
    bool running_ = false;
    bool failed_ = false;
    bool afterFirstPaintDone_ = false;
    // Last, so it is destroyed first: WM_DESTROY and everything the window
    // sends while it goes still find every member above alive.
    UniqueWindow window_;
};

} // namespace taliven
