#pragma once

#include "readout/readout_view.h"

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace taliven {

// The readout logic's access to the window: positions straight from the two
// scroll bars, texts straight into the three static controls, which repaint
// themselves. A refused operation throws ControlError with GetLastError().
class WindowReadoutView final : public ReadoutView {
  public:
    struct Controls {
        HWND voltageSlider = nullptr;
        HWND currentSlider = nullptr;
        HWND voltageReadout = nullptr;
        HWND currentReadout = nullptr;
        HWND resistanceReadout = nullptr;
    };

    explicit WindowReadoutView(const Controls& controls) noexcept : controls_(controls) {}

    std::int16_t voltagePosition() override;
    std::int16_t currentPosition() override;
    void setVoltageText(std::string_view text) override;
    void setCurrentText(std::string_view text) override;
    void setResistanceText(std::string_view text) override;

  private:
    Controls controls_;
};

} // namespace taliven
