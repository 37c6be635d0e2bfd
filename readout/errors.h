#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>

namespace taliven {

// Run-time errors of the program. They are never caught where they arise:
// the window host reports them and ends the program. The message is kept in
// the object itself, so raising one allocates nothing and needs no string
// machinery.
class Error : public std::exception {
  public:
    explicit Error(const char* message, const char* detail = "") noexcept {
        append(message);
        append(detail);
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

// A control refused an operation; code is the failure code the control gave.
class ControlError : public Error {
  public:
    ControlError(const char* operation, std::uint32_t code) noexcept
        : Error(operation, Detail(code).text), code_(code) {}

    [[nodiscard]] std::uint32_t code() const noexcept { return code_; }

  private:
    // " failed (error N)"
    struct Detail {
        explicit Detail(std::uint32_t code) noexcept {
            char digits[12] = {};
            std::size_t count = 0;
            do {
                digits[count++] = static_cast<char>('0' + code % 10);
                code /= 10;
            } while (code != 0);
            const char prefix[] = " failed (error ";
            std::size_t at = 0;
            for (const char c : prefix) {
                if (c != '\0') {
                    text[at++] = c;
                }
            }
            while (count > 0) {
                text[at++] = digits[--count];
            }
            text[at++] = ')';
            text[at] = '\0';
        }
        char text[32] = {};
    };

    std::uint32_t code_;
};

} // namespace taliven
