#pragma once

#include "readout/errors.h"
#include "readout/readout_view.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace taliven::testing {

// Sliders and readouts in memory, starting as the window does. Logs each
// call as a letter (v, i: a slider read; V, I, R: a readout set) and can
// make one setter fail with a code, as a destroyed control would.
class FakeView final : public ReadoutView {
  public:
    std::int16_t voltage = 0;
    std::int16_t current = 0;
    std::string texts[3] = {"0", "0", "0"}; // voltage, current, resistance
    std::string calls;
    char failingSetter = 0; // 'V', 'I' or 'R'

    std::int16_t voltagePosition() override { return log('v', voltage); }
    std::int16_t currentPosition() override { return log('i', current); }
    void setVoltageText(std::string_view text) override { set('V', texts[0], text); }
    void setCurrentText(std::string_view text) override { set('I', texts[1], text); }
    void setResistanceText(std::string_view text) override { set('R', texts[2], text); }

  private:
    std::int16_t log(char call, std::int16_t position) {
        calls += call;
        return position;
    }
    void set(char setter, std::string& target, std::string_view text) {
        calls += setter;
        if (failingSetter == setter) {
            throw ControlError("set a readout", 1400);
        }
        target = text;
    }
};

} // namespace taliven::testing
