#include "window/calculator_window_win.h"

#include "readout/readout.h"
#include "window/last_error_win.h"
#include "window/slider_steps.h"
#include "window/text_win.h"

// How the sliders reach the readouts, and what happens when that fails.

namespace taliven {

static_assert(SB_LINELEFT == static_cast<unsigned>(ScrollRequest::LineLeft) &&
              SB_PAGERIGHT == static_cast<unsigned>(ScrollRequest::PageRight) &&
              SB_THUMBPOSITION == static_cast<unsigned>(ScrollRequest::ThumbPosition) &&
              SB_THUMBTRACK == static_cast<unsigned>(ScrollRequest::ThumbTrack) &&
              SB_RIGHT == static_cast<unsigned>(ScrollRequest::Right) &&
              SB_ENDSCROLL == static_cast<unsigned>(ScrollRequest::EndScroll));

void CalculatorWindow::onScroll(WPARAM wParam, LPARAM lParam) {
    // Any process can send WM_HSCROLL: only our two sliders are listened to,
    // and positions come from the control itself, in 32 bits, not from the
    // message's 16-bit copy.
    const auto sender = reinterpret_cast<HWND>(lParam);
    const bool isVoltage = sender == bound_.voltageSlider;
    const bool isCurrent = sender == bound_.currentSlider;
    if (failed_ || sender == nullptr || (!isVoltage && !isCurrent)) {
        return;
    }
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS | SIF_TRACKPOS;
    if (GetScrollInfo(sender, SB_CTL, &info) == FALSE) {
        throwLastError(isVoltage ? "Reading the voltage slider" : "Reading the current slider");
    }
    const auto target = targetPosition(
        LOWORD(wParam), info.nPos, info.nTrackPos,
        rangeOf(isVoltage ? ControlRole::VoltageSlider : ControlRole::CurrentSlider));
    if (!target || *target == info.nPos) {
        return; // the value did not change, so there is no change to report
    }
    SCROLLINFO update{};
    update.cbSize = sizeof update;
    update.fMask = SIF_POS;
    update.nPos = *target;
    // Repainting at once would draw the thumb once per step of a held key;
    // invalidating lets the next paint draw only the latest position.
    SetScrollInfo(sender, SB_CTL, &update, FALSE);
    InvalidateRect(sender, nullptr, FALSE);

    WindowReadoutView view(bound_);
    if (isVoltage) {
        onVoltageChange(view, decimalSeparator_);
    } else {
        onCurrentChange(view, decimalSeparator_);
    }
}

void CalculatorWindow::readDecimalSeparator() {
    wchar_t separator[8] = {};
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                                      static_cast<int>(std::size(separator)));
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

} // namespace taliven
