#pragma once

#include "readout/errors.h"
#include "readout/readout_view.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taliven::testing {

// Sliders and readouts in memory, starting as the window does. Records the
// order of operations and can make one setter fail with a code.
class FakeView final : public ReadoutView {
  public:
    std::int16_t voltage = 0;
    std::int16_t current = 0;
    std::string voltageText = "0";
    std::string currentText = "0";
    std::string resistanceText = "0";
    std::vector<std::string> calls;
    std::optional<std::string> failingSetter; // "voltage", "current" or "resistance"
    std::uint32_t failureCode = 0;

    std::int16_t voltagePosition() override {
        calls.emplace_back("voltagePosition");
        return voltage;
    }
    std::int16_t currentPosition() override {
        calls.emplace_back("currentPosition");
        return current;
    }
    void setVoltageText(std::string_view text) override { set("voltage", voltageText, text); }
    void setCurrentText(std::string_view text) override { set("current", currentText, text); }
    void setResistanceText(std::string_view text) override {
        set("resistance", resistanceText, text);
    }

  private:
    void set(const std::string& which, std::string& target, std::string_view text) {
        calls.push_back("set " + which);
        if (failingSetter == which) {
            throw ControlError(("set " + which).c_str(), failureCode);
        }
        target = text;
    }
};

} // namespace taliven::testing
