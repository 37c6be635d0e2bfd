#include "window/calculator_window_win.h"

#include "window/dpi_change.h"
#include "window/dpi_win.h"
#include "window/emblem_win.h"
#include "window/last_error_win.h"
#include "window/layout.h"
#include "window/small_icon_win.h"

// Placing the window and its controls for a DPI and a text size, and
// following the window from one monitor's DPI to another's.

namespace taliven {

TextScale CalculatorWindow::textScaleFor(int dpi) const noexcept {
    return textScale(messageFontForDpi(dpi).lfHeight, dpi, textPercent_);
}

SIZE CalculatorWindow::frameSizePx(int dpi, int layoutPercent) const noexcept {
    const PixelRect clientPx = clientRectPx(form_, dpi, layoutPercent);
    const RECT frame = windowRectForClient({0, 0, clientPx.right, clientPx.bottom}, windowStyle,
                                           windowExStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

CalculatorWindow::DpiLook CalculatorWindow::lookFor(int dpi) const {
    LOGFONTW fontSpec = messageFontForDpi(dpi);
    const TextScale scale = textScale(fontSpec.lfHeight, dpi, textPercent_);
    fontSpec.lfHeight = -scale.fontEmPx;
    DpiLook look{dpi, scale.layoutPercent, UniqueFont(CreateFontIndirectW(&fontSpec)), {}};
    if (!look.font) {
        throwLastError("Creating the font");
    }
    for (const ControlDefinition& control : form_.controls) {
        if (control.kind == ControlKind::Picture) {
            // The emblem fills its frame: unscaled at 96 dpi, smoothly scaled elsewhere.
            const PixelRect rect = controlRectPx(control, dpi, look.layoutPercent);
            look.emblem = makeGreyBitmap(resample(emblem_, rect.widthPx(), rect.heightPx()));
        }
    }
    return look;
}

void CalculatorWindow::wear(DpiLook look) noexcept {
    // The controls take the new font and picture, and only then are the
    // previous ones no longer in use.
    for (std::size_t index = 0; index < form_.controls.size(); ++index) {
        SendMessageW(controls_[index], WM_SETFONT, reinterpret_cast<WPARAM>(look.font.get()),
                     FALSE);
        if (form_.controls[index].kind == ControlKind::Picture) {
            SendMessageW(controls_[index], STM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(look.emblem.get()));
        }
    }
    font_ = std::move(look.font);
    emblemBitmap_ = std::move(look.emblem);
    // The title bar's icon depends on the DPI alone: made once for each.
    if (look.dpi != dpi_) {
        if (UniqueIcon smallIcon = makeSmallIcon(icon32_.get(), smallIconSizeForDpi(look.dpi))) {
            SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
            smallIcon_ = std::move(smallIcon);
        }
    }
    dpi_ = look.dpi;
}

void CalculatorWindow::applyDpi(int dpi, const POINT* position) {
    // Everything new is made before anything is swapped in: a failure leaves
    // the window as it was, every control holding a font and a picture that
    // still exist.
    DpiLook look = lookFor(dpi);
    const int layoutPercent = look.layoutPercent;
    // The children move in one batch with no redraw of their own; the window
    // repaints once at the end.
    HDWP batch = BeginDeferWindowPos(static_cast<int>(form_.controls.size()));
    for (std::size_t index = 0; index < form_.controls.size() && batch != nullptr; ++index) {
        const PixelRect rect = controlRectPx(form_.controls[index], dpi, layoutPercent);
        batch = DeferWindowPos(batch, controls_[index], nullptr, rect.left, rect.top,
                               rect.widthPx(), rect.heightPx(),
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS);
    }
    if (batch == nullptr || EndDeferWindowPos(batch) == FALSE) {
        throwLastError("Placing the controls");
    }
    wear(std::move(look));
    resizeFrame(frameSizePx(dpi, layoutPercent), position);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CalculatorWindow::resizeFrame(SIZE frame, const POINT* position) noexcept {
    // "If the window is minimized or maximized, SetWindowPos does not change
    // the restored position": a minimised window is given its new size in
    // its placement, so it is restored to it.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(hwnd_) != FALSE && GetWindowPlacement(hwnd_, &placement) != FALSE) {
        RECT& normal = placement.rcNormalPosition;
        normal.right = normal.left + frame.cx;
        normal.bottom = normal.top + frame.cy;
        placement.showCmd = SW_SHOWMINNOACTIVE;
        SetWindowPlacement(hwnd_, &placement);
        return;
    }
    SetWindowPos(hwnd_, nullptr, position != nullptr ? position->x : 0,
                 position != nullptr ? position->y : 0, frame.cx, frame.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | (position != nullptr ? 0U : SWP_NOMOVE));
}

void CalculatorWindow::onDpiChanged(WPARAM wParam, LPARAM lParam) {
    const auto change = dpiChangeToApply(static_cast<std::uint32_t>(wParam), windowDpi(hwnd_), dpi_,
                                         InSendMessageEx(nullptr));
    if (!change) {
        return; // not a change the system made: the pointer is not read
    }
    if (!change->atSuggestedRect) {
        applyDpi(change->dpi); // where it is, at the size for the new DPI
        return;
    }
    // "lParam: a pointer to a RECT that provides a suggested size and
    // position of the current window scaled for the new DPI". Applied in one
    // SetWindowPos, as Microsoft's per-monitor samples do, so the window
    // lands on the monitor that asked; its size is the one we answered in
    // WM_GETDPISCALEDSIZE, computed again here where that was not asked.
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    const POINT position{suggested->left, suggested->top};
    applyDpi(change->dpi, &position);
}

bool CalculatorWindow::onGetDpiScaledSize(WPARAM wParam, LPARAM lParam) const noexcept {
    // Edges are rounded one by one and the frame does not scale linearly, so
    // the window's size at the new DPI is ours to tell: "return TRUE if the
    // SIZE was changed".
    const auto dpi = trustedDpiQuery(wParam, InSendMessageEx(nullptr), dpi_);
    if (!dpi) {
        return false;
    }
    *reinterpret_cast<SIZE*>(lParam) = frameSizePx(*dpi, textScaleFor(*dpi).layoutPercent);
    return true;
}

} // namespace taliven
