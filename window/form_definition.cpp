#include "window/form_definition.h"

namespace taliven {
namespace {

constexpr std::uint32_t windowGreen = 0x0093AA6C; // RGB(108, 170, 147)
constexpr std::uint32_t readoutPink = 0x008080FF; // RGB(255, 128, 128)

// A product of 100 x 328 overflows 16 bits; the sliders stop at 100 so that it
// never does. Test builds may raise the limit to exercise the error report.
#ifndef TALIVEN_VOLTAGE_MAXIMUM
#define TALIVEN_VOLTAGE_MAXIMUM 100 // NOLINT(cppcoreguidelines-macro-usage): a build option
#endif
constexpr SliderRange voltageRange{0, TALIVEN_VOLTAGE_MAXIMUM, 1, 1};
constexpr SliderRange currentRange{0, 100, 1, 1};
constexpr SliderRange noRange{};

// Form1, its controls named in the comments.
constexpr FormDefinition form1{
    "Taliven",
    3705,
    2040,
    windowGreen,
    {{
        // vollbl
        {ControlKind::Label, ControlRole::Caption, 120, 120, 1575, 375, "Voltage", std::nullopt,
         noRange},
        // HScroll1 (its text is its name for screen readers)
        {ControlKind::HorizontalScrollBar, ControlRole::VoltageSlider, 120, 600, 2295, 135,
         "Voltage", std::nullopt, voltageRange},
        // HScroll2
        {ControlKind::HorizontalScrollBar, ControlRole::CurrentSlider, 120, 1320, 2295, 135,
         "Current", std::nullopt, currentRange},
        // vol
        {ControlKind::Label, ControlRole::VoltageReadout, 1800, 240, 615, 255, "0", readoutPink,
         noRange},
        // cur
        {ControlKind::Label, ControlRole::CurrentReadout, 1800, 960, 615, 255, "0", readoutPink,
         noRange},
        // ohm
        {ControlKind::Label, ControlRole::ResistanceReadout, 1800, 1680, 1815, 255, "0",
         readoutPink, noRange},
        // curlbl
        {ControlKind::Label, ControlRole::Caption, 120, 840, 1575, 375, "Current", std::nullopt,
         noRange},
        // ohmlbl
        {ControlKind::Label, ControlRole::Caption, 120, 1560, 1575, 375, "Resistance", std::nullopt,
         noRange},
        // Image1
        {ControlKind::Picture, ControlRole::Emblem, 2640, 120, 960, 960, "", std::nullopt, noRange},
    }},
    // vollbl, HScroll1, vol, curlbl, HScroll2, cur, ohmlbl, ohm, Image1
    {0, 1, 3, 6, 2, 4, 7, 5, 8},
};

} // namespace

const FormDefinition& calculatorForm() {
    return form1;
}

} // namespace taliven
