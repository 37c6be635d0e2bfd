#pragma once

// Twips to device pixels. Edges are converted, not sizes, so that controls
// which touch or line up in twips still do in pixels at any DPI. The user's
// text size (100..225 %) scales the whole layout on top of the DPI, so text
// that grows never outgrows its label.

#include "window/form_definition.h"

namespace taliven {

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    [[nodiscard]] int widthPx() const { return right - left; }
    [[nodiscard]] int heightPx() const { return bottom - top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

constexpr int unscaledTextPercent = 100;
constexpr int largestTextPercent = 225;

// Rounds half away from zero, as MulDiv does.
[[nodiscard]] constexpr int twipsToPixels(int twips, int dpi,
                                          int textPercent = unscaledTextPercent) {
    const long long scaled = static_cast<long long>(twips) * dpi * textPercent;
    const long long unit = static_cast<long long>(twipsPerInch) * unscaledTextPercent;
    return static_cast<int>(scaled >= 0 ? (scaled + unit / 2) / unit
                                        : -((-scaled + unit / 2) / unit));
}

[[nodiscard]] constexpr PixelRect controlRectPx(const ControlDefinition& control, int dpi,
                                                int textPercent = unscaledTextPercent) {
    return {twipsToPixels(control.leftTwips, dpi, textPercent),
            twipsToPixels(control.topTwips, dpi, textPercent),
            twipsToPixels(control.leftTwips + control.widthTwips, dpi, textPercent),
            twipsToPixels(control.topTwips + control.heightTwips, dpi, textPercent)};
}

[[nodiscard]] constexpr PixelRect clientRectPx(const FormDefinition& form, int dpi,
                                               int textPercent = unscaledTextPercent) {
    return {0, 0, twipsToPixels(form.clientWidthTwips, dpi, textPercent),
            twipsToPixels(form.clientHeightTwips, dpi, textPercent)};
}

// The system's "make text bigger" setting as a layout factor: anything
// outside the range the system offers is taken as the nearest end of it.
[[nodiscard]] constexpr int textScalePercent(unsigned long setting) {
    return setting < unscaledTextPercent  ? unscaledTextPercent
           : setting > largestTextPercent ? largestTextPercent
                                          : static_cast<int>(setting);
}

} // namespace taliven
