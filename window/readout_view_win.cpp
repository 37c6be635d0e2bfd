#include "window/readout_view_win.h"

#include "window/last_error_win.h"
#include "window/text_win.h"

#include <algorithm>
#include <limits>
#include <string>

namespace taliven {
namespace {

std::int16_t toStep(int position) {
    return static_cast<std::int16_t>(std::clamp<int>(position,
                                                     std::numeric_limits<std::int16_t>::min(),
                                                     std::numeric_limits<std::int16_t>::max()));
}

// The full 32-bit position of a scroll bar control (never the 16-bit copy a
// WM_HSCROLL carries).
int scrollPosition(HWND slider, const char* what) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    SetLastError(ERROR_SUCCESS);
    if (GetScrollInfo(slider, SB_CTL, &info) == FALSE) {
        throwLastError(what);
    }
    return info.nPos;
}

} // namespace

std::int16_t WindowReadoutView::voltagePosition() {
    return toStep(scrollPosition(controls_.voltageSlider, "Reading the voltage slider"));
}

std::int16_t WindowReadoutView::currentPosition() {
    return toStep(scrollPosition(controls_.currentSlider, "Reading the current slider"));
}

void WindowReadoutView::setVoltageText(std::string_view text) {
    setWindowText(controls_.voltageReadout, text, "Setting the voltage text");
}

void WindowReadoutView::setCurrentText(std::string_view text) {
    setWindowText(controls_.currentReadout, text, "Setting the current text");
}

void WindowReadoutView::setResistanceText(std::string_view text) {
    setWindowText(controls_.resistanceReadout, text, "Setting the resistance text");
}

} // namespace taliven
