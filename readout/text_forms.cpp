#include "readout/text_forms.h"

#include "readout/errors.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

// msvcrt's printf is not correctly rounded; MinGW's own, linked statically,
// is (and so is glibc's). Without it the texts would vary between Windows
// versions.
#if defined(__MINGW32__) && !(defined(__USE_MINGW_ANSI_STDIO) && __USE_MINGW_ANSI_STDIO)
#error "build with __USE_MINGW_ANSI_STDIO=1"
#endif

namespace taliven {
namespace {

constexpr int significantDigits = 15;

struct Scientific {
    bool negative = false;
    std::string digits; // significant digits, no trailing zeros, at least one
    int exponent = 0;   // value = d.ddd x 10^exponent
};

// Splits "-d.dddddddddddddde+XX" into its parts. Only digits are taken from
// the mantissa, so whatever radix character the C library writes is ignored.
Scientific toScientific(double value) {
    char text[48] = {};
    const int length = std::snprintf(text, sizeof text, "%.*e", significantDigits - 1, value);
    if (length <= 0 || length >= static_cast<int>(sizeof text)) {
        throw Error("Number formatting failed");
    }
    Scientific result;
    std::string_view rest(text, static_cast<std::size_t>(length));
    if (!rest.empty() && rest.front() == '-') {
        result.negative = true;
        rest.remove_prefix(1);
    }
    while (!rest.empty() && rest.front() != 'e') {
        if (rest.front() >= '0' && rest.front() <= '9') {
            result.digits.push_back(rest.front());
        }
        rest.remove_prefix(1);
    }
    if (!rest.empty()) {
        rest.remove_prefix(1); // 'e'
        const bool negativeExponent = !rest.empty() && rest.front() == '-';
        if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
            rest.remove_prefix(1);
        }
        for (const char c : rest) {
            result.exponent = result.exponent * 10 + (c - '0');
        }
        if (negativeExponent) {
            result.exponent = -result.exponent;
        }
    }
    while (result.digits.size() > 1 && result.digits.back() == '0') {
        result.digits.pop_back();
    }
    return result;
}

} // namespace

std::string formatInteger(int value) {
    return std::to_string(value);
}

std::string formatReal(double value, std::string_view decimalSeparator) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Infinity" : "Infinity";
    }
    if (value == 0.0) {
        return "0"; // also for -0.0
    }
    const Scientific sci = toScientific(value);
    const auto digitCount = static_cast<int>(sci.digits.size());
    std::string text = sci.negative ? "-" : "";
    if (sci.exponent < 0) {
        text += '0';
        text += decimalSeparator;
        text.append(static_cast<std::size_t>(-sci.exponent - 1), '0');
        text += sci.digits;
    } else if (sci.exponent + 1 >= digitCount) {
        text += sci.digits;
        text.append(static_cast<std::size_t>(sci.exponent + 1 - digitCount), '0');
    } else {
        const std::size_t integerDigits = static_cast<std::size_t>(sci.exponent) + 1;
        text.append(sci.digits, 0, integerDigits);
        text += decimalSeparator;
        text.append(sci.digits, integerDigits);
    }
    return text;
}

} // namespace taliven
