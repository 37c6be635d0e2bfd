// The window's portable logic where the window seen from outside cannot show
// it: the colours under high contrast (which Wine cannot switch on) and the
// area averaging of the title bar's small icon.

#include "window/colour_scheme.h"
#include "window/grey_image.h"

#include <gtest/gtest.h>

namespace taliven {
namespace {

TEST(ColourScheme, DesignedColoursUnlessHighContrast) {
    const SystemColours system{0x000000, 0xFFFFFF, 0x00FFFF, 0xFF00FF};
    EXPECT_EQ(colourScheme(calculatorForm(), false, system),
              (ColourScheme{0x0093AA6C, 0xFFFFFF, 0x008080FF, 0xFFFFFF}));
    EXPECT_EQ(colourScheme(calculatorForm(), true, system),
              (ColourScheme{0x000000, 0xFFFFFF, 0x00FFFF, 0xFF00FF}));
}

TEST(Resample, CopiesAtTheSameSizeAndAveragesAreasWhenReducing) {
    const GreyImage image{4, 2, {0, 200, 10, 20, 100, 100, 30, 40}};
    EXPECT_EQ(resample(image, 4, 2).levels, image.levels);
    EXPECT_EQ(resample(image, 2, 1).levels, (std::vector<std::uint8_t>{100, 25}));
    // A one-pixel grey line on black halves to a darker line, not to nothing.
    const GreyImage line{2, 2, {128, 0, 128, 0}};
    EXPECT_EQ(resample(line, 1, 1).levels, std::vector<std::uint8_t>{64});
}

} // namespace
} // namespace taliven
