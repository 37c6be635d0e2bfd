// The window's portable logic where the window seen from outside cannot show
// it: the colours under high contrast (which Wine cannot switch on), the area
// averaging of the title bar's small icon, the font under "make text bigger"
// (which Wine's fonts ignore), and DPI changes from another monitor.

#include "window/colour_scheme.h"
#include "window/dpi_change.h"
#include "window/grey_image.h"
#include "window/layout.h"

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

// Whether or not the system has already enlarged its message font for the
// text size, the labels' font grows with the setting and stays within the
// 9-point design scaled like the layout.
TEST(TextSize, TheFontGrowsOnceWhicheverWayTheSystemScalesIt) {
    const struct {
        int systemEmPx, dpi, percent, emPx;
    } cases[] = {{-12, 96, 100, 12},  {-12, 96, 150, 18},  {-18, 96, 150, 18},  // Segoe UI 9 pt
                 {-12, 96, 225, 27},  {-27, 96, 225, 27},  {-18, 144, 150, 27}, // unscaled, scaled
                 {-27, 144, 150, 27}, {-11, 96, 150, 17},  {-17, 96, 150, 18},  // Tahoma 8 pt
                 {-16, 96, 100, 12},  {-40, 192, 225, 54}, {0, 96, 150, 0}}; // too large; default
    for (const auto& c : cases) {
        EXPECT_EQ(labelFontEmPx(c.systemEmPx, c.dpi, c.percent), c.emPx)
            << c.systemEmPx << " at " << c.dpi << " dpi, " << c.percent << " %";
    }
}

TEST(DpiChange, OnlyAChangeTheSystemConfirmsIsActedOn) {
    const auto dpis = [](std::uint32_t x, std::uint32_t y) { return x | (y << 16U); };
    const struct {
        std::uint32_t wParam;
        int windowDpi, currentDpi;
        std::optional<int> accepted;
    } changes[] = {{dpis(144, 144), 144, 96, 144},
                   {dpis(96, 96), 96, 144, 96},
                   {dpis(144, 144), 96, 96, {}},
                   {dpis(144, 144), 0, 96, {}}, // made up; unknown
                   {dpis(144, 120), 144, 96, {}},
                   {dpis(96, 96), 96, 96, {}}, // uneven; no change
                   {dpis(9999, 9999), 9999, 96, highestDpi},
                   {dpis(1, 1), 1, 96, lowestDpi}};
    for (const auto& c : changes) {
        EXPECT_EQ(confirmedDpiChange(c.wParam, c.windowDpi, c.currentDpi), c.accepted) << c.wParam;
    }
    EXPECT_EQ(trustedDpiQuery(144, false, 96), 144);
    EXPECT_EQ(trustedDpiQuery(144, true, 96), std::nullopt); // another process asks
    EXPECT_EQ(trustedDpiQuery(96, false, 96), std::nullopt);
    EXPECT_EQ(trustedDpiQuery(0x7FFFFFFF, false, 96), std::nullopt);
    EXPECT_EQ(trustedDpiQuery(0, false, 96), std::nullopt);
}

} // namespace
} // namespace taliven
