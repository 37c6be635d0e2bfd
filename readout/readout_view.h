#pragma once

#include <cstdint>
#include <string_view>

namespace taliven {

// What the readout procedures need from the window. The sliders own the
// inputs and the readout labels own the outputs, so the procedures read and
// write through this interface at the moment they need a value and keep
// nothing between calls. An implementation reports a failing control
// operation by throwing ControlError.
class ReadoutView {
  public:
    ReadoutView() = default;
    ReadoutView(const ReadoutView&) = delete;
    ReadoutView& operator=(const ReadoutView&) = delete;
    ReadoutView(ReadoutView&&) = delete;
    ReadoutView& operator=(ReadoutView&&) = delete;
    virtual ~ReadoutView() = default;

    // Slider steps: volts for the voltage, hundredths of an ampere for the current.
    [[nodiscard]] virtual std::int16_t voltagePosition() = 0;
    [[nodiscard]] virtual std::int16_t currentPosition() = 0;

    // Each call replaces the whole text of one readout (UTF-8).
    virtual void setVoltageText(std::string_view text) = 0;
    virtual void setCurrentText(std::string_view text) = 0;
    virtual void setResistanceText(std::string_view text) = 0;
};

} // namespace taliven
