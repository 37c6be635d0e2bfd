// The window's portable logic where the window seen from outside cannot show
// it: the layout at every DPI and text size, the colours under high contrast
// (which Wine cannot switch on), the area averaging of small pictures, and
// the texts the clipboard and a separator change are given.

#include "window/colour_scheme.h"
#include "window/form_definition.h"
#include "window/grey_image.h"
#include "window/layout.h"
#include "window/quantities.h"

#include <gtest/gtest.h>

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

TEST(Quantities, ClipboardTableAndSeparatorRespelling) {
    EXPECT_EQ(clipboardText({"5", "0,01", "500"}),
              "Voltage\t5 V\r\nCurrent\t0,01 A\r\nResistance\t500 \xCE\xA9");
    EXPECT_EQ(withUnit("0.37", quantities[1]), "0.37 A");
    EXPECT_EQ(swapSeparator("33.3333333333333", ".", ","), "33,3333333333333");
    EXPECT_EQ(swapSeparator("0 dec 25", " dec ", "."), "0.25");
    EXPECT_EQ(swapSeparator("500", ".", ","), "500");
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
}

} // namespace
} // namespace taliven
