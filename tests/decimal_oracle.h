#pragma once

// An independent reference for the readout texts: the exact decimal value of
// a double, worked out digit by digit with schoolbook big-integer arithmetic,
// rounded half-to-even at 15 significant digits and written positionally.
// It shares no code with the program's formatter.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taliven::oracle {

// Decimal digits, least significant first.
using BigDecimal = std::vector<int>;

inline void multiplyBy(BigDecimal& number, int factor) {
    int carry = 0;
    for (int& digit : number) {
        const int product = digit * factor + carry;
        digit = product % 10;
        carry = product / 10;
    }
    while (carry != 0) {
        number.push_back(carry % 10);
        carry /= 10;
    }
}

inline std::string readoutText(double value, std::string_view separator) {
    if (value == 0.0) {
        return "0";
    }
    const bool negative = value < 0;
    int binaryExponent = 0;
    const double fraction = std::frexp(std::fabs(value), &binaryExponent);
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    binaryExponent -= 53; // |value| = mantissa * 2^binaryExponent, exactly

    BigDecimal number;
    for (; mantissa != 0; mantissa /= 10) {
        number.push_back(static_cast<int>(mantissa % 10));
    }
    int fractionDigits = 0; // |value| = number / 10^fractionDigits
    for (; binaryExponent > 0; --binaryExponent) {
        multiplyBy(number, 2);
    }
    for (; binaryExponent < 0; ++binaryExponent) {
        multiplyBy(number, 5); // m / 2^k = m * 5^k / 10^k
        ++fractionDigits;
    }

    // Most significant first, with the decimal point after pointIndex digits.
    std::string digits;
    for (auto it = number.rbegin(); it != number.rend(); ++it) {
        digits.push_back(static_cast<char>('0' + *it));
    }
    if (static_cast<int>(digits.size()) <= fractionDigits) {
        digits.insert(0, static_cast<std::size_t>(fractionDigits) - digits.size() + 1, '0');
    }
    int pointIndex = static_cast<int>(digits.size()) - fractionDigits;

    const std::size_t first = digits.find_first_not_of('0');
    const std::size_t cut = first + 15;
    if (cut < digits.size()) {
        const char next = digits[cut];
        const bool restZero = digits.find_first_not_of('0', cut + 1) == std::string::npos;
        const bool lastOdd = ((digits[cut - 1] - '0') % 2) != 0;
        const bool roundUp = next > '5' || (next == '5' && (!restZero || lastOdd));
        for (std::size_t k = cut; k < digits.size(); ++k) {
            digits[k] = '0';
        }
        if (roundUp) {
            std::size_t k = cut;
            while (k > 0 && digits[k - 1] == '9') {
                digits[--k] = '0';
            }
            if (k == 0) {
                digits.insert(digits.begin(), '1');
                ++pointIndex;
            } else {
                ++digits[k - 1];
            }
        }
    }

    std::string integerPart = digits.substr(0, static_cast<std::size_t>(pointIndex));
    std::string fractionPart = digits.substr(static_cast<std::size_t>(pointIndex));
    integerPart.erase(0, integerPart.find_first_not_of('0'));
    if (integerPart.empty()) {
        integerPart.push_back('0');
    }
    fractionPart.erase(fractionPart.find_last_not_of('0') + 1);
    std::string text = negative ? "-" : "";
    text += integerPart;
    if (!fractionPart.empty()) {
        text += separator;
        text += fractionPart;
    }
    return text;
}

} // namespace taliven::oracle
