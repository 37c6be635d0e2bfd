#pragma once

#include <string>
#include <string_view>

namespace taliven {

// Plain decimal digits: a minus sign for negatives, no blanks, no grouping.
[[nodiscard]] std::string formatInteger(int value);

// value rounded to nearest at 15 significant digits, written positionally
// (never with an exponent), trailing fraction zeros and a bare separator
// dropped, "0" before the separator below 1, zero as "0". The separator is the
// user's (it may be several characters); the result never depends on the
// process locale.
[[nodiscard]] std::string formatReal(double value, std::string_view decimalSeparator);

} // namespace taliven
