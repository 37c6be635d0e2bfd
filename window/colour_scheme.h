#pragma once

// The window's colours: the designed green and pink, or under a high-contrast
// theme the system's own, so the text keeps the contrast the user chose.
// Colours are 0x00BBGGRR. Portable, so the choice is tested without a window.

#include "window/form_definition.h"

#include <cstdint>

namespace taliven {

struct SystemColours {
    std::uint32_t window;
    std::uint32_t windowText;
    std::uint32_t buttonFace;
    std::uint32_t buttonText;
};

struct ColourScheme {
    std::uint32_t background;
    std::uint32_t text;
    std::uint32_t readoutBackground;
    std::uint32_t readoutText;

    friend bool operator==(const ColourScheme&, const ColourScheme&) = default;
};

[[nodiscard]] constexpr ColourScheme colourScheme(const FormDefinition& form, bool highContrast,
                                                  const SystemColours& system) {
    if (highContrast) {
        return {system.window, system.windowText, system.buttonFace, system.buttonText};
    }
    std::uint32_t readout = form.background;
    for (const ControlDefinition& control : form.controls) {
        if (control.background) {
            readout = *control.background;
            break;
        }
    }
    return {form.background, system.windowText, readout, system.windowText};
}

} // namespace taliven
