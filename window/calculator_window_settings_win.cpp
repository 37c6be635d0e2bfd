#include "window/calculator_window_win.h"

#include "resources/resource_ids.h"
#include "window/dpi_win.h"
#include "window/last_error_win.h"
#include "window/quantities.h"
#include "window/text_win.h"

// What follows the user's settings while the window runs: colours, the
// decimal separator, the text size, and the annotations for screen readers.

namespace taliven {

void CalculatorWindow::applyColours() {
    const SystemColours system{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
                               GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)};
    const ColourScheme colours = colourScheme(form_, highContrastOn(), system);
    // A theme change comes as several messages; the brushes change once.
    if (backgroundBrush_ && colours == colours_) {
        return;
    }
    UniqueBrush background(CreateSolidBrush(colours.background));
    UniqueBrush readout(CreateSolidBrush(colours.readoutBackground));
    if (!background || !readout) {
        throwLastError("Creating the window colours");
    }
    colours_ = colours;
    backgroundBrush_ = std::move(background);
    readoutBrush_ = std::move(readout);
    if (hwnd_ != nullptr) {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void CalculatorWindow::afterFirstPaint() {
    const HMENU systemMenu = GetSystemMenu(hwnd_, FALSE);
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_KEEP_ON_TOP, L"&Keep on top");
    // COM comes only now, off the way to the first paint.
    annotations_.start();
    for (const Quantity& quantity : quantities) {
        annotations_.setDescription(controlFor(quantity.readout),
                                    widen(quantity.description).c_str());
        if (quantity.slider) {
            annotations_.setName(controlFor(*quantity.slider), widen(quantity.name).c_str());
        }
    }
    annotations_.setName(controlFor(ControlRole::Emblem), L"Taliven emblem, an eye");
    annotations_.makePoliteLiveRegion(bound_.resistanceReadout);
    annotateAll();
}

void CalculatorWindow::onSettingChange(WPARAM wParam) {
    // "intl" (regional settings), the text size and the message font come
    // without a reliable name, and all are cheap to read again.
    const std::string previousSeparator = decimalSeparator_;
    readDecimalSeparator();
    if (decimalSeparator_ != previousSeparator) {
        // Shown values keep their digits; only the separator is respelt, in
        // both readouts at once, before either repaints.
        for (const HWND readout : {bound_.currentReadout, bound_.resistanceReadout}) {
            setWindowText(readout,
                          swapSeparator(windowText(readout), previousSeparator, decimalSeparator_));
        }
        // What screen readers are told carries the readouts' texts.
        annotateAll();
    }
    if (wParam == SPI_SETHIGHCONTRAST) {
        applyColours();
    }
    const int textPercent = readTextScale();
    if (textPercent != textPercent_ || wParam == SPI_SETNONCLIENTMETRICS) {
        textPercent_ = textPercent;
        applyDpi(dpi_);
    }
}
} // namespace taliven
