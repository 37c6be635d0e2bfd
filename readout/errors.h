#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace taliven {

// Run-time errors of the readout procedures. They are never caught where they
// arise: the window host reports them and ends the program.
class ReadoutError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A checked 16-bit integer operation did not fit.
class OverflowError : public ReadoutError {
  public:
    OverflowError() : ReadoutError("Overflow") {}
};

// A division raised invalid operation, division by zero or overflow.
class FloatingPointError : public ReadoutError {
  public:
    FloatingPointError() : ReadoutError("Floating-point error") {}
};

// A control refused an operation; code is the failure code the control gave.
class ControlError : public ReadoutError {
  public:
    ControlError(const std::string& operation, std::uint32_t code)
        : ReadoutError(operation + " failed (error " + std::to_string(code) + ")"), code_(code) {}

    [[nodiscard]] std::uint32_t code() const noexcept { return code_; }

  private:
    std::uint32_t code_;
};

} // namespace taliven
