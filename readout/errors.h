#pragma once

#include <cstdint>
#include <cstdio>
#include <exception>

namespace taliven {

// Run-time errors of the program. They are never caught where they arise:
// the window host reports them and ends the program. The message is kept in
// the object itself, so raising one allocates nothing and needs no string
// machinery.
class Error : public std::exception {
  public:
    explicit Error(const char* message) noexcept {
        std::snprintf(message_, sizeof message_, "%s", message);
    }
    [[nodiscard]] const char* what() const noexcept override { return message_; }

  protected:
    Error() noexcept = default;
    char message_[160] = {};
};

// A checked 16-bit integer operation did not fit.
class OverflowError : public Error {
  public:
    OverflowError() noexcept : Error("Overflow") {}
};

// A division raised invalid operation, division by zero or overflow.
class FloatingPointError : public Error {
  public:
    FloatingPointError() noexcept : Error("Floating-point error") {}
};

// A control refused an operation; code is the failure code the control gave.
class ControlError : public Error {
  public:
    ControlError(const char* operation, std::uint32_t code) noexcept : code_(code) {
        std::snprintf(message_, sizeof message_, "%s failed (error %lu)", operation,
                      static_cast<unsigned long>(code));
    }

    [[nodiscard]] std::uint32_t code() const noexcept { return code_; }

  private:
    std::uint32_t code_;
};

} // namespace taliven
