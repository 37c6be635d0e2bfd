#pragma once

// Twips to device pixels. Edges are converted, not sizes, so that controls
// which touch or line up in twips still do in pixels at any DPI.

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

// Rounds half away from zero, as MulDiv does.
[[nodiscard]] constexpr int twipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = twipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / twipsPerInch
                                        : -((-scaled + half) / twipsPerInch));
}

[[nodiscard]] constexpr PixelRect controlRectPx(const ControlDefinition& control, int dpi) {
    return {twipsToPixels(control.leftTwips, dpi), twipsToPixels(control.topTwips, dpi),
            twipsToPixels(control.leftTwips + control.widthTwips, dpi),
            twipsToPixels(control.topTwips + control.heightTwips, dpi)};
}

[[nodiscard]] constexpr PixelRect clientRectPx(const FormDefinition& form, int dpi) {
    return {0, 0, twipsToPixels(form.clientWidthTwips, dpi),
            twipsToPixels(form.clientHeightTwips, dpi)};
}

} // namespace taliven
