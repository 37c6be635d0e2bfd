#include "window/calculator_window_win.h"

#include "readout/readout.h"
#include "resources/resource_ids.h"
#include "window/last_error_win.h"
#include "window/quantities.h"
#include "window/text_win.h"

#include <cstring>

// How the sliders, the wheel and the keys reach the readouts, and what
// happens when that fails.

namespace taliven {

static_assert(SB_LINELEFT == static_cast<unsigned>(ScrollRequest::LineLeft) &&
              SB_PAGERIGHT == static_cast<unsigned>(ScrollRequest::PageRight) &&
              SB_THUMBPOSITION == static_cast<unsigned>(ScrollRequest::ThumbPosition) &&
              SB_THUMBTRACK == static_cast<unsigned>(ScrollRequest::ThumbTrack) &&
              SB_RIGHT == static_cast<unsigned>(ScrollRequest::Right) &&
              SB_ENDSCROLL == static_cast<unsigned>(ScrollRequest::EndScroll) &&
              WheelSteps::notch == WHEEL_DELTA);

void CalculatorWindow::onScroll(WPARAM wParam, LPARAM lParam) {
    // Any process can send WM_HSCROLL: only our two sliders are listened to.
    const auto sender = reinterpret_cast<HWND>(lParam);
    if (isSlider(sender)) {
        moveSlider(sender, LOWORD(wParam), HIWORD(wParam));
    }
}

void CalculatorWindow::moveSlider(HWND slider, unsigned request, int thumbPosition) {
    if (failed_) {
        return;
    }
    const bool isVoltage = slider == bound_.voltageSlider;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    if (GetScrollInfo(slider, SB_CTL, &info) == FALSE) {
        throwLastError(isVoltage ? "Reading the voltage slider" : "Reading the current slider");
    }
    // A released thumb and "Scroll Here" say in the message where to go: the
    // scroll bar has let go of the capture before it sends SB_THUMBPOSITION.
    const auto target = targetPosition(
        request, info.nPos, thumbPosition,
        rangeOf(isVoltage ? ControlRole::VoltageSlider : ControlRole::CurrentSlider));
    if (!target || *target == info.nPos) {
        return; // the value did not change, so there is no change to report
    }
    // The slider speaks its new value before it moves. Windows' and Wine's
    // scroll bars raise no value-change event of their own for a move
    // without redraw (Wine's user32 conformance test test_hv_scroll_2, which
    // passes on Windows, expects none); ReactOS's raises one on every change,
    // and it must not carry the old value.
    const auto steps = static_cast<std::int16_t>(*target);
    annotate(quantityOf(slider),
             isVoltage ? voltageText(steps) : currentText(steps, decimalSeparator_));
    SCROLLINFO update{};
    update.cbSize = sizeof update;
    update.fMask = SIF_POS;
    update.nPos = *target;
    // Repainting at once would draw the thumb once per step of a held key;
    // invalidating lets the next paint draw only the latest position.
    SetScrollInfo(slider, SB_CTL, &update, FALSE);
    InvalidateRect(slider, nullptr, FALSE);

    const std::string resistanceBefore = windowText(bound_.resistanceReadout);
    WindowReadoutView view(bound_);
    if (isVoltage) {
        onVoltageChange(view, decimalSeparator_);
    } else {
        onCurrentChange(view, decimalSeparator_);
    }

    // This event is what tells a screen reader; a new resistance is
    // announced like a calculator's result.
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, slider, OBJID_CLIENT, CHILDID_SELF);
    const std::string resistance = windowText(bound_.resistanceReadout);
    if (resistance != resistanceBefore) {
        annotate(quantities.back(), resistance);
        NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, bound_.resistanceReadout, OBJID_CLIENT,
                       CHILDID_SELF);
    }
}

const Quantity& CalculatorWindow::quantityOf(HWND slider) const noexcept {
    return slider == bound_.voltageSlider ? quantities[0] : quantities[1];
}

void CalculatorWindow::annotate(const Quantity& quantity, std::string_view readoutText) {
    annotations_.setName(controlFor(quantity.readout),
                         widen(spokenReadout(readoutText, quantity)).c_str());
    if (quantity.slider) {
        annotations_.setValue(controlFor(*quantity.slider),
                              widen(withUnit(readoutText, quantity)).c_str());
    }
}

void CalculatorWindow::annotateAll() {
    for (const Quantity& quantity : quantities) {
        annotate(quantity, windowText(controlFor(quantity.readout)));
    }
    // A running screen reader reads the sliders again.
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, bound_.voltageSlider, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, bound_.currentSlider, OBJID_CLIENT, CHILDID_SELF);
}

void CalculatorWindow::onWheel(WPARAM wParam, LPARAM lParam, bool horizontal) {
    // The slider under the pointer, else the one with the focus.
    const POINT pointer{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    HWND slider = WindowFromPoint(pointer);
    if (!isSlider(slider)) {
        slider = GetFocus();
    }
    if (!isSlider(slider)) {
        return;
    }
    // A wheel the user has set to scroll nothing moves nothing.
    UINT amount = 1;
    SystemParametersInfoW(horizontal ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0,
                          &amount, 0);
    if (amount == 0) {
        return;
    }
    const int steps =
        (horizontal ? horizontalWheel_ : verticalWheel_).add(static_cast<short>(HIWORD(wParam)));
    // Away from the user and tilted right both mean more.
    for (int k = 0; k < (steps < 0 ? -steps : steps); ++k) {
        moveSlider(slider, steps > 0 ? SB_LINERIGHT : SB_LINELEFT, 0);
    }
}

void CalculatorWindow::copyReadouts() const {
    const std::wstring table =
        widen(clipboardText({windowText(bound_.voltageReadout), windowText(bound_.currentReadout),
                             windowText(bound_.resistanceReadout)}));
    const std::size_t bytes = (table.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* locked = memory != nullptr ? GlobalLock(memory) : nullptr;
    if (locked != nullptr) {
        std::memcpy(locked, table.c_str(), bytes);
        GlobalUnlock(memory);
        // Another program (a clipboard manager, say) may hold the clipboard
        // for a moment: a few short tries before giving up.
        bool opened = false;
        for (int attempt = 0; attempt < 10 && !opened; ++attempt) {
            opened = OpenClipboard(hwnd_) != FALSE;
            if (!opened) {
                Sleep(5);
            }
        }
        if (opened) {
            EmptyClipboard();
            if (SetClipboardData(CF_UNICODETEXT, memory) != nullptr) {
                memory = nullptr; // the clipboard owns it now
            }
            CloseClipboard();
        }
    }
    if (memory != nullptr) {
        GlobalFree(memory);
        MessageBeep(MB_ICONWARNING); // another program holds the clipboard
    }
}

// Whether the window is topmost is read from the window each time: anything
// (another program, a window manager) may have changed it since our last click.
bool CalculatorWindow::isTopmost() const noexcept {
    return (GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void CalculatorWindow::toggleKeepOnTop() const noexcept {
    SetWindowPos(hwnd_, isTopmost() ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    showKeepOnTopState();
}

void CalculatorWindow::showKeepOnTopState() const noexcept {
    CheckMenuItem(GetSystemMenu(hwnd_, FALSE), IDM_KEEP_ON_TOP,
                  isTopmost() ? MF_BYCOMMAND | MF_CHECKED : MF_BYCOMMAND | MF_UNCHECKED);
}

void CalculatorWindow::readDecimalSeparator() {
    wchar_t separator[8] = {};
#ifdef TALIVEN_SEPARATOR_FROM_REGISTRY
    // A test build: Wine keeps a process's locale fixed once read, so the
    // stored setting is read afresh to show a change while running.
    DWORD size = sizeof separator;
    const int length = RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\International", L"sDecimal",
                                    RRF_RT_REG_SZ, nullptr, separator, &size) == ERROR_SUCCESS
                           ? 2
                           : 0;
#else
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                                      static_cast<int>(std::size(separator)));
#endif
    decimalSeparator_ = length > 1 ? narrow(separator) : std::string(".");
}

void CalculatorWindow::reportFailure(const char* what) noexcept {
    if (failed_) {
        return;
    }
    failed_ = true;
    try {
        const std::wstring text = L"Taliven stopped because of an error:\n\n" + widen(what);
        MessageBoxW(hwnd_, text.c_str(), L"Taliven", MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxW(hwnd_, L"Taliven stopped because of an error.", L"Taliven",
                    MB_OK | MB_ICONERROR);
    }
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_); // WM_DESTROY ends the message loop with exit code 1
    }
}

bool CalculatorWindow::isSlider(HWND window) const noexcept {
    return window != nullptr && (window == bound_.voltageSlider || window == bound_.currentSlider);
}

const SliderRange& CalculatorWindow::rangeOf(ControlRole slider) const noexcept {
    static constexpr SliderRange none{};
    for (const ControlDefinition& control : form_.controls) {
        if (control.role == slider) {
            return control.range;
        }
    }
    return none;
}

} // namespace taliven
