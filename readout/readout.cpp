#include "readout/readout.h"

#include "readout/checked_math.h"
#include "readout/text_forms.h"

#include <cstdint>

namespace taliven {
namespace {

constexpr std::int16_t stepsPerUnit = 100; // current steps are 0.01 A
constexpr double stepsPerAmpere = 100.0;

} // namespace

std::string voltageText(std::int16_t voltageSteps) {
    return formatInteger(voltageSteps);
}

std::string currentText(std::int16_t currentSteps, std::string_view decimalSeparator) {
    // A true division: multiplying by 0.01 would round differently.
    return formatReal(checkedDivide(currentSteps, stepsPerAmpere), decimalSeparator);
}

void onVoltageChange(ReadoutView& view, std::string_view decimalSeparator) {
    view.setVoltageText(voltageText(view.voltagePosition()));
    refreshResistance(view, decimalSeparator);
}

void onCurrentChange(ReadoutView& view, std::string_view decimalSeparator) {
    view.setCurrentText(currentText(view.currentPosition(), decimalSeparator));
    refreshResistance(view, decimalSeparator);
}

void refreshResistance(ReadoutView& view, std::string_view decimalSeparator) {
    if (view.currentPosition() == 0) {
        return; // keep the last resistance shown
    }
    const std::int16_t currentSteps = view.currentPosition();
    const std::int16_t voltageSteps = view.voltagePosition();
    // Scaling the integer first and dividing once gives V / I rounded once;
    // V / (i / 100.0) would round twice and differ in the last digit.
    const std::int16_t scaledVoltage = checkedMultiply(voltageSteps, stepsPerUnit);
    const double ohms = checkedDivide(scaledVoltage, currentSteps);
    view.setResistanceText(formatReal(ohms, decimalSeparator));
}

} // namespace taliven
