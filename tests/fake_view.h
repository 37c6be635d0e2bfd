#pragma once

#include "readout/errors.h"
#include "readout/readout_view.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace taliven::testing {

// Sliders and readouts in memory, starting as the window does. One setter
// can be made to fail with a code, as a destroyed control would.
class FakeView final : public ReadoutView {
  public:
    std::int16_t voltage = 0;
    std::int16_t current = 0;
    std::string texts[3] = {"0", "0", "0"}; // voltage, current, resistance
    int failingSetter = -1;                 // an index of texts

    std::int16_t voltagePosition() override { return voltage; }
    std::int16_t currentPosition() override { return current; }
    void setVoltageText(std::string_view text) override { set(0, text); }
    void setCurrentText(std::string_view text) override { set(1, text); }
    void setResistanceText(std::string_view text) override { set(2, text); }

  private:
    void set(int readout, std::string_view text) {
        if (readout == failingSetter) {
            throw ControlError("set a readout", 1400);
        }
        texts[readout] = text;
    }
};

} // namespace taliven::testing
