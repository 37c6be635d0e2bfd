#include "window/form_definition.h"
#include "window/layout.h"

#include <gtest/gtest.h>

#include <string_view>

namespace taliven {
namespace {

const ControlDefinition& byName(std::string_view name) {
    for (const ControlDefinition& control : calculatorForm().controls) {
        if (control.name == name) {
            return control;
        }
    }
    throw std::out_of_range(std::string(name));
}

bool overlaps(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(FormDefinition, NoTwoControlsOverlapAtAnyCommonDpi) {
    const auto& controls = calculatorForm().controls;
    for (const int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        const PixelRect client = clientRectPx(calculatorForm(), dpi);
        for (std::size_t a = 0; a < controls.size(); ++a) {
            const PixelRect rectA = controlRectPx(controls[a], dpi);
            EXPECT_GE(rectA.left, 0);
            EXPECT_LE(rectA.right, client.right) << controls[a].name << " at " << dpi;
            EXPECT_LE(rectA.bottom, client.bottom) << controls[a].name << " at " << dpi;
            EXPECT_GT(rectA.heightPx(), 0);
            for (std::size_t b = a + 1; b < controls.size(); ++b) {
                EXPECT_FALSE(overlaps(rectA, controlRectPx(controls[b], dpi)))
                    << controls[a].name << " and " << controls[b].name << " at " << dpi;
            }
        }
    }
}

TEST(FormDefinition, RowsStayAlignedAtAnyDpi) {
    const std::pair<const char*, const char*> rows[] = {
        {"vollbl", "vol"}, {"curlbl", "cur"}, {"ohmlbl", "ohm"}};
    for (const int dpi : {96, 120, 144, 168, 192}) {
        for (const auto& [caption, readout] : rows) {
            EXPECT_EQ(controlRectPx(byName(caption), dpi).bottom,
                      controlRectPx(byName(readout), dpi).bottom)
                << caption << " at " << dpi;
        }
        EXPECT_EQ(controlRectPx(byName("HScroll1"), dpi).right,
                  controlRectPx(byName("vol"), dpi).right);
        EXPECT_EQ(controlRectPx(byName("HScroll2"), dpi).right,
                  controlRectPx(byName("cur"), dpi).right);
    }
}

TEST(TwipsToPixels, RoundsHalfAwayFromZeroLikeMulDiv) {
    EXPECT_EQ(twipsToPixels(3705, 96), 247);
    EXPECT_EQ(twipsToPixels(3705, 144), 371); // 370.5
    EXPECT_EQ(twipsToPixels(1695, 144), 170); // 169.5
    EXPECT_EQ(twipsToPixels(7, 96), 0);       // 0.47
    EXPECT_EQ(twipsToPixels(8, 96), 1);       // 0.53
    EXPECT_EQ(twipsToPixels(-8, 96), -1);
    EXPECT_EQ(twipsToPixels(32767, 480), 10922);
}

} // namespace
} // namespace taliven
