#pragma once

#include "readout/readout_view.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace taliven {

// The handlers of the sliders' value-changed notifications. Each reads the
// sliders through the view when it needs a value and writes the readouts
// straight back; nothing is kept between calls. Errors (OverflowError,
// FloatingPointError, ControlError) are not caught: an error ends the
// procedure where it happens and texts already set stay set.
// decimalSeparator is the user's, used in the current and resistance texts.
void onVoltageChange(ReadoutView& view, std::string_view decimalSeparator);
void onCurrentChange(ReadoutView& view, std::string_view decimalSeparator);

// The texts the voltage and the current readouts show for a slider position.
[[nodiscard]] std::string voltageText(std::int16_t voltageSteps);
[[nodiscard]] std::string currentText(std::int16_t currentSteps, std::string_view decimalSeparator);

// R = V / I, with which both handlers end. Leaves the resistance text exactly
// as it was while the current is zero.
void refreshResistance(ReadoutView& view, std::string_view decimalSeparator);

} // namespace taliven
