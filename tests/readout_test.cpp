// The readout logic's 16-bit arithmetic at its edges. Every text of every
// slider pair, in sequence, is judged through the real window by an exact
// oracle (check_readouts.py).

#include "readout/checked_math.h"
#include "readout/errors.h"

#include <gtest/gtest.h>

namespace taliven {
namespace {

TEST(CheckedMath, SixteenBitProductsFitOrOverflow) {
    EXPECT_EQ(checkedMultiply(32767, 1), 32767);
    EXPECT_EQ(checkedMultiply(-32768, 1), -32768);
    EXPECT_THROW((void)checkedMultiply(16384, 2), OverflowError); // 32768
    EXPECT_THROW((void)checkedMultiply(-32768, -1), OverflowError);
}

} // namespace
} // namespace taliven
