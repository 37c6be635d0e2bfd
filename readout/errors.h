#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <initializer_list>

namespace taliven {

// Run-time errors of the program. They are never caught where they arise:
// the window host reports them and ends the program. The message is kept in
// the object itself, so raising one allocates nothing and needs no string
// machinery.
class Error : public std::exception {
  public:
    // The message is the parts joined, cut short if it would not fit.
    template <typename... Parts> explicit Error(const char* first, Parts... rest) noexcept {
        for (const char* part : std::initializer_list<const char*>{first, rest...}) {
            append(part);
        }
    }
    [[nodiscard]] const char* what() const noexcept override { return message_; }

  private:
    void append(const char* text) noexcept {
        for (; *text != '\0' && length_ + 1 < sizeof message_; ++text) {
            message_[length_++] = *text;
        }
        message_[length_] = '\0';
    }

    char message_[160] = {};
    std::size_t length_ = 0;
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

// A control refused an operation; the message carries the failure code the
// control gave.
class ControlError : public Error {
  public:
    ControlError(const char* operation, std::uint32_t code) noexcept
        : Error(operation, " failed (error ", Number(code).digits, ")") {}

  private:
    struct Number {
        explicit Number(std::uint32_t value) noexcept {
            *std::to_chars(digits, digits + sizeof digits - 1, value).ptr = '\0';
        }
        char digits[12] = {};
    };
};

} // namespace taliven
