#include "window/grey_image.h"

#include <gtest/gtest.h>

#include <numeric>

namespace taliven {
namespace {

GreyImage gradient(int size) {
    GreyImage image{size, size, {}};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            image.levels.push_back(static_cast<std::uint8_t>((x * 255) / (size - 1)));
        }
    }
    return image;
}

double mean(const GreyImage& image) {
    return std::accumulate(image.levels.begin(), image.levels.end(), 0.0) /
           static_cast<double>(image.levels.size());
}

TEST(Resample, SameSizeIsAnExactCopy) {
    GreyImage noisy{5, 3, {0, 255, 7, 128, 9, 1, 2, 3, 4, 5, 250, 240, 230, 220, 210}};
    EXPECT_EQ(resample(noisy, 5, 3).levels, noisy.levels);
}

TEST(Resample, EnlargingIsSmoothAndKeepsTheTone) {
    const GreyImage source = gradient(64);
    for (const int size : {80, 96, 128, 160}) {
        const GreyImage large = resample(source, size, size);
        ASSERT_EQ(large.levels.size(), static_cast<std::size_t>(size * size));
        for (int x = 1; x < size; ++x) {
            EXPECT_GE(large.at(x, size / 2), large.at(x - 1, size / 2)) << size;     // no ringing
            EXPECT_LE(large.at(x, size / 2) - large.at(x - 1, size / 2), 5) << size; // no steps
        }
        EXPECT_NEAR(mean(large), mean(source), 1.0);
    }
}

TEST(Resample, ReducingAveragesWhatEachPixelCovers) {
    const GreyImage checker{4, 2, {0, 200, 10, 20, 100, 100, 30, 40}};
    const GreyImage half = resample(checker, 2, 1);
    EXPECT_EQ(half.levels, (std::vector<std::uint8_t>{100, 25}));
    EXPECT_NEAR(mean(resample(gradient(64), 48, 48)), mean(gradient(64)), 1.0);
}

} // namespace
} // namespace taliven
