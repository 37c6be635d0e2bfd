// The committed pictures keep the formats the window and the exe rely on.

#include "tests/byte_reader.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace taliven::testing {
namespace {

const std::string resources = TALIVEN_RESOURCES_DIR;

TEST(Emblem, IsA64By64GreyBitmapWith213Levels) {
    const Bytes bmp = readFile(resources + "/emblem.bmp");
    ASSERT_EQ(u16(bmp, 0), 0x4D42U); // "BM"
    EXPECT_EQ(u32(bmp, 2), bmp.size());
    const std::size_t header = 14;
    EXPECT_EQ(u32(bmp, header), 40U);
    EXPECT_EQ(i32(bmp, header + 4), 64);
    EXPECT_EQ(i32(bmp, header + 8), 64); // bottom-up
    EXPECT_EQ(u16(bmp, header + 12), 1U);
    EXPECT_EQ(u16(bmp, header + 14), 8U);
    EXPECT_EQ(u32(bmp, header + 16), 0U); // BI_RGB: uncompressed
    const std::uint32_t colours = u32(bmp, header + 32);
    EXPECT_TRUE(colours == 0 || colours == 256);
    const std::size_t palette = header + 40;
    for (std::uint32_t k = 0; k < 256; ++k) {
        ASSERT_EQ(u32(bmp, palette + 4 * k), k | (k << 8U) | (k << 16U)) << "entry " << k;
    }
    const std::size_t pixels = u32(bmp, 10);
    EXPECT_EQ(pixels, palette + 1024);
    ASSERT_EQ(bmp.size(), pixels + 64 * 64);
    std::set<std::uint32_t> levels;
    for (std::size_t k = 0; k < 64 * 64; ++k) {
        levels.insert(u8(bmp, pixels + k));
    }
    EXPECT_EQ(levels.size(), 213U);
    EXPECT_TRUE(levels.count(0) == 1 && levels.count(255) == 1);
    // A black ground: the corners are black.
    for (const std::size_t corner : {0U, 63U, 63U * 64U, 64U * 64U - 1U}) {
        EXPECT_EQ(u8(bmp, pixels + corner), 0U);
    }
}

TEST(Icon, IsOneOpaque32By32SixteenColourImage) {
    const Bytes ico = readFile(resources + "/taliven.ico");
    ASSERT_EQ(u16(ico, 0), 0U);
    ASSERT_EQ(u16(ico, 2), 1U); // icon
    ASSERT_EQ(u16(ico, 4), 1U); // one image
    EXPECT_EQ(u8(ico, 6), 32U);
    EXPECT_EQ(u8(ico, 7), 32U);
    EXPECT_EQ(u8(ico, 8), 16U);
    EXPECT_EQ(u16(ico, 12), 4U);
    const std::size_t image = u32(ico, 18);
    ASSERT_EQ(image + u32(ico, 14), ico.size());
    EXPECT_EQ(i32(ico, image + 4), 32);
    EXPECT_EQ(i32(ico, image + 8), 64); // colour rows and mask rows
    EXPECT_EQ(u16(ico, image + 14), 4U);

    // The standard 16 colours, in their standard order (as 0x00RRGGBB).
    const std::uint32_t standard[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                        0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                        0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    const std::size_t palette = image + 40;
    for (std::size_t k = 0; k < 16; ++k) {
        EXPECT_EQ(u32(ico, palette + 4 * k), standard[k]) << "entry " << k;
    }
    const std::size_t colours = palette + 64;
    std::set<std::uint32_t> used;
    int white = 0;
    for (std::size_t k = 0; k < 32 * 16; ++k) {
        for (const std::uint32_t index : {u8(ico, colours + k) >> 4U, u8(ico, colours + k) & 15U}) {
            used.insert(index);
            white += index == 15 ? 1 : 0;
        }
    }
    EXPECT_EQ(used, (std::set<std::uint32_t>{0, 8, 15})); // black, grey, white only
    EXPECT_GE(white, 2);
    EXPECT_LE(white, 8);             // small highlights, not a white area
    EXPECT_EQ(u8(ico, colours), 0U); // a black ground up to the corners
    const std::size_t mask = colours + 32 * 16;
    ASSERT_EQ(mask + 32 * 4, ico.size());
    for (std::size_t k = mask; k < ico.size(); ++k) {
        ASSERT_EQ(u8(ico, k), 0U) << "transparent mask bits at " << k;
    }
}

} // namespace
} // namespace taliven::testing
