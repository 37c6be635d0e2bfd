#pragma once

#include <cstdint>

namespace taliven {

// Signed 16-bit product; throws OverflowError when it does not fit.
[[nodiscard]] std::int16_t checkedMultiply(std::int16_t a, std::int16_t b);

// One IEEE double division, rounded to nearest. Throws FloatingPointError when
// it raises invalid operation, division by zero or overflow; inexact,
// underflow and denormal results pass.
[[nodiscard]] double checkedDivide(double dividend, double divisor);

} // namespace taliven
