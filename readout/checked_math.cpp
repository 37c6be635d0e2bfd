#include "readout/checked_math.h"

#include "readout/errors.h"

#include <cfenv>
#include <cfloat>
#include <cstdint>
#include <limits>

// On i686 the x87 unit keeps 80-bit intermediates, so a quotient would be
// rounded twice and some readouts would differ in the last digit. Only an SSE2
// (or any single-rounding) evaluation gives the texts users are promised.
#if defined(_MSC_VER)
#if defined(_M_IX86) && _M_IX86_FP < 2 // Visual Studio's x86 default is /arch:SSE2
#error "double arithmetic must round once per operation: build with /arch:SSE2"
#endif
#elif !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "double arithmetic must round once per operation: build i686 with -msse2 -mfpmath=sse"
#endif

namespace taliven {

std::int16_t checkedMultiply(std::int16_t a, std::int16_t b) {
    const std::int32_t product = std::int32_t{a} * std::int32_t{b};
    if (product < std::numeric_limits<std::int16_t>::min() ||
        product > std::numeric_limits<std::int16_t>::max()) {
        throw OverflowError();
    }
    return static_cast<std::int16_t>(product);
}

double checkedDivide(double dividend, double divisor) {
    constexpr int faults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
    std::feclearexcept(faults);
    // The volatile accesses pin the division between clearing and testing the
    // flags: the compiler may not hoist the loads above the clear, nor sink
    // the store below the test.
    const volatile double numerator = dividend;
    const volatile double denominator = divisor;
    volatile double quotient = numerator / denominator;
    if (std::fetestexcept(faults) != 0) {
        throw FloatingPointError();
    }
    return quotient;
}

} // namespace taliven
