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

// The labels were drawn for a 9-point message font (Segoe UI's 9 points
// stand 16 px tall in a 17 px readout at 96 dpi).
constexpr int designedFontTwips = 180;

struct TextScale {
    int layoutPercent; // how much larger than designed the whole layout is
    int fontEmPx;      // the character height (em) of the labels' font
    friend bool operator==(const TextScale&, const TextScale&) = default;
};

// The layout and the labels' font for the system's message font at this
// DPI (its em, in pixels) and the text size. The layout grows with the text
// size, or more where the message font itself is larger than the design
// (Windows 7 and 8.1 "change only the text size", or custom metrics), up to
// the largest text size. Windows' "make text bigger" may or may not already
// have enlarged the message font (it does for the classic system fonts on
// some versions, and nothing tells which), so the text size is applied once
// more and the font held to the designed one scaled like the layout: either
// way the text grows with the setting and never outgrows its label.
[[nodiscard]] constexpr TextScale textScale(int systemEmPx, int dpi, int textPercent) {
    const long long em = systemEmPx < 0 ? -static_cast<long long>(systemEmPx) : systemEmPx;
    const long long designedEmPx = twipsToPixels(designedFontTwips, dpi);
    // Rounded up, so the designed font scaled by it holds the user's.
    const long long fontPercent =
        designedEmPx > 0 ? (em * unscaledTextPercent + designedEmPx - 1) / designedEmPx : 0;
    const int layoutPercent = textScalePercent(static_cast<unsigned long>(
        fontPercent > textPercent ? fontPercent : static_cast<long long>(textPercent)));
    const long long wanted = (em * textPercent + unscaledTextPercent / 2) / unscaledTextPercent;
    const int largest = twipsToPixels(designedFontTwips, dpi, layoutPercent);
    return {layoutPercent, wanted > largest ? largest : static_cast<int>(wanted)};
}

} // namespace taliven
