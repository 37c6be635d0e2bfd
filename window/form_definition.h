#pragma once

// The calculator window as data: every place, size, text, colour and range
// the host needs to build it. Lengths are twips (1/1440 inch) from the top
// left of the client area; colours are 0x00BBGGRR, as Windows lays out a
// COLORREF. Portable: no Windows header is needed to read or test it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace taliven {

constexpr int twipsPerInch = 1440;

enum class ControlKind { Label, HorizontalScrollBar, Picture };

// What a control is to the readout logic; the host binds by role, not by name.
enum class ControlRole {
    Caption,
    VoltageSlider,
    CurrentSlider,
    VoltageReadout,
    CurrentReadout,
    ResistanceReadout,
    Emblem
};

struct SliderRange {
    int minimum = 0;
    int maximum = 0;
    int lineStep = 0;
    int pageStep = 0;
};

struct ControlDefinition {
    ControlKind kind;
    ControlRole role;
    int leftTwips;
    int topTwips;
    int widthTwips;
    int heightTwips;
    std::string_view text;                   // label text, or a slider's accessible name
    std::optional<std::uint32_t> background; // none: drawn on the window's colour
    SliderRange range;
};

struct FormDefinition {
    std::string_view title;
    int clientWidthTwips;
    int clientHeightTwips;
    std::uint32_t background;
    // In tab order, the picture, which has no place in it, last.
    std::array<ControlDefinition, 9> controls;
    // The order the children are made in, as indices into `controls`: their
    // Z order. Screen readers read them in it, each caption before its
    // readout; MSAA's proxy names a control without a name of its own (a
    // scroll bar) after the nearest static before it, so each slider comes
    // right after its caption; and the dialog manager tabs through it, so
    // the focusable ones keep their tab order.
    std::array<std::size_t, 9> readingOrder;
};

[[nodiscard]] const FormDefinition& calculatorForm();

} // namespace taliven
