#pragma once

// What the three readouts stand for, beyond their bare numbers: the unit a
// screen reader and the clipboard add to each, and how a screen reader
// describes it. Portable, so the texts are tested without a window.

#include "window/form_definition.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace taliven {

struct Quantity {
    ControlRole readout;
    std::optional<ControlRole> slider; // none: no slider sets it
    std::string_view name;
    std::string_view unit;
    std::string_view description;
};

inline constexpr std::array<Quantity, 3> quantities{{
    {ControlRole::VoltageReadout, ControlRole::VoltageSlider, "Voltage", "V", "Voltage in volts"},
    {ControlRole::CurrentReadout, ControlRole::CurrentSlider, "Current", "A", "Current in amperes"},
    {ControlRole::ResistanceReadout, std::nullopt, "Resistance", "\xCE\xA9", // U+03A9
     "Resistance in ohms"},
}};

// "5 V": a readout's text as shown, then its unit.
[[nodiscard]] std::string withUnit(std::string_view readoutText, const Quantity& quantity);

// What a screen reader reads for a readout: "Resistance 500 Ω".
[[nodiscard]] std::string spokenReadout(std::string_view readoutText, const Quantity& quantity);

// The readouts as a table, one per line ("Voltage<TAB>5 V"), in the order of
// `quantities`: it pastes as rows into a spreadsheet and reads plainly in a note.
[[nodiscard]] std::string clipboardText(const std::array<std::string, 3>& readoutTexts);

// `text` with the decimal separator `from` replaced by `to`: a readout shown
// before the user changed the separator, keeping its value.
[[nodiscard]] std::string swapSeparator(std::string_view text, std::string_view from,
                                        std::string_view to);

} // namespace taliven
