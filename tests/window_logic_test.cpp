// The window's portable logic: the layout table in pixels, where slider
// requests and the wheel lead, the texts for the clipboard and screen
// readers, the colours under high contrast, and picture scaling.

#include "window/colour_scheme.h"
#include "window/form_definition.h"
#include "window/grey_image.h"
#include "window/layout.h"
#include "window/quantities.h"
#include "window/slider_steps.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

namespace taliven {
namespace {

bool overlaps(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(Layout, NoOverlapsAndRowsStayAlignedAtAnyDpiAndTextSize) {
    const auto& controls = calculatorForm().controls;
    for (const int dpi : {96, 120, 144, 168, 192, 288}) {
        for (const int text : {100, 125, 150, 225}) {
            const PixelRect client = clientRectPx(calculatorForm(), dpi, text);
            for (std::size_t a = 0; a < controls.size(); ++a) {
                const PixelRect rect = controlRectPx(controls[a], dpi, text);
                EXPECT_TRUE(rect.left >= 0 && rect.right <= client.right &&
                            rect.bottom <= client.bottom && rect.heightPx() > 0)
                    << controls[a].name << " at " << dpi << " dpi, " << text << " %";
                for (std::size_t b = a + 1; b < controls.size(); ++b) {
                    EXPECT_FALSE(overlaps(rect, controlRectPx(controls[b], dpi, text)))
                        << controls[a].name << " and " << controls[b].name;
                }
            }
            // Each caption's bottom edge lines up with its readout's; the sliders
            // end flush with the readouts above them (controls in tab order).
            const auto edge = [&](std::size_t k) { return controlRectPx(controls[k], dpi, text); };
            EXPECT_EQ(edge(0).bottom, edge(3).bottom);
            EXPECT_EQ(edge(6).bottom, edge(4).bottom);
            EXPECT_EQ(edge(7).bottom, edge(5).bottom);
            EXPECT_EQ(edge(1).right, edge(3).right);
            EXPECT_EQ(edge(2).right, edge(4).right);
        }
    }
}

TEST(Layout, TwipsRoundHalfAwayFromZeroAndTextSizeScalesOnTop) {
    EXPECT_EQ(twipsToPixels(3705, 96), 247);
    EXPECT_EQ(twipsToPixels(3705, 144), 371); // 370.5
    EXPECT_EQ(twipsToPixels(7, 96), 0);       // 0.47
    EXPECT_EQ(twipsToPixels(-8, 96), -1);
    EXPECT_EQ(twipsToPixels(3705, 96, 150), twipsToPixels(3705, 144));
    EXPECT_EQ(textScalePercent(0), 100); // not set
    EXPECT_EQ(textScalePercent(130), 130);
    EXPECT_EQ(textScalePercent(500), 225);
}

TEST(SliderSteps, EachRequestLandsInsideTheRange) {
    constexpr SliderRange range{0, 100, 1, 1};
    const struct {
        unsigned code;
        int position;
        int thumb;
        std::optional<int> expected;
    } cases[] = {
        {0, 5, 0, 4},
        {0, 0, 0, 0},
        {1, 100, 0, 100},
        {2, 5, 0, 4},
        {3, 5, 0, 6},
        {4, 5, 40, 40},
        {4, 5, -3, 0},
        {4, 5, 70000, 100},
        {4, 5, INT_MIN, 0},
        {5, 5, 40, std::nullopt},
        {6, 5, 0, 0},
        {7, 5, 0, 100},
        {8, 5, 0, std::nullopt},
        {0xFFFFFFFFU, 5, 0, std::nullopt},
        {1, INT_MAX, 0, 100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(targetPosition(c.code, c.position, c.thumb, range), c.expected)
            << "code " << c.code << " at " << c.position;
    }
}

TEST(WheelSteps, OneStepPerNotchWithPartialNotchesCarried) {
    WheelSteps wheel;
    const struct {
        int delta;
        int steps;
    } turns[] = {{120, 1}, {360, 3},  {40, 0}, {40, 0},    {40, 1},
                 {-60, 0}, {-60, -1}, {30, 0}, {-120, -1}, {-32768, -273}};
    for (const auto& turn : turns) {
        EXPECT_EQ(wheel.add(turn.delta), turn.steps) << turn.delta;
    }
}

TEST(Quantities, ReadoutsGoToTheClipboardAsATableWithUnits) {
    EXPECT_EQ(clipboardText({"5", "0,01", "500"}),
              "Voltage\t5 V\r\nCurrent\t0,01 A\r\nResistance\t500 \xCE\xA9");
    EXPECT_EQ(withUnit("0.37", quantities[1]), "0.37 A");
    const struct {
        const char* text;
        const char* from;
        const char* to;
        const char* expected;
    } swaps[] = {{"33.3333333333333", ".", ",", "33,3333333333333"},
                 {"0 dec 25", " dec ", ".", "0.25"},
                 {"500", ".", ",", "500"},
                 {"0,5", ".", ",", "0,5"}};
    for (const auto& swap : swaps) {
        EXPECT_EQ(swapSeparator(swap.text, swap.from, swap.to), swap.expected);
    }
}

TEST(ColourScheme, DesignedColoursUnlessHighContrast) {
    const SystemColours system{0x000000, 0xFFFFFF, 0x00FFFF, 0xFF00FF};
    const ColourScheme normal = colourScheme(calculatorForm(), false, system);
    EXPECT_EQ(normal.background, 0x0093AA6CU);
    EXPECT_EQ(normal.readoutBackground, 0x008080FFU);
    EXPECT_EQ(normal.text, 0xFFFFFFU);
    const ColourScheme contrast = colourScheme(calculatorForm(), true, system);
    EXPECT_EQ(contrast.background, 0x000000U);
    EXPECT_EQ(contrast.text, 0xFFFFFFU);
    EXPECT_EQ(contrast.readoutBackground, 0x00FFFFU);
    EXPECT_EQ(contrast.readoutText, 0xFF00FFU);
}

TEST(Resample, CopiesAtTheSameSizeAndAveragesAreasWhenReducing) {
    const GreyImage image{4, 2, {0, 200, 10, 20, 100, 100, 30, 40}};
    EXPECT_EQ(resample(image, 4, 2).levels, image.levels);
    EXPECT_EQ(resample(image, 2, 1).levels, (std::vector<std::uint8_t>{100, 25}));
    // A one-pixel grey line on black halves to a darker line, not to nothing.
    const GreyImage line{2, 2, {128, 0, 128, 0}};
    EXPECT_EQ(resample(line, 1, 1).levels, std::vector<std::uint8_t>{64});
    const GreyImage enlarged = resample(image, 8, 4);
    for (int x = 1; x < 8; ++x) {
        EXPECT_LE(std::abs(enlarged.at(x, 0) - enlarged.at(x - 1, 0)), 100); // smooth steps
    }
}

} // namespace
} // namespace taliven
