#pragma once

// A greyscale picture and the smooth resampling that fits the emblem to its
// frame at any DPI. Portable, so it is tested without a window.

#include <cstdint>
#include <vector>

namespace taliven {

struct GreyImage {
    int widthPx = 0;
    int heightPx = 0;
    std::vector<std::uint8_t> levels; // row by row, top row first

    [[nodiscard]] std::uint8_t at(int x, int y) const {
        return levels[static_cast<std::size_t>(y) * static_cast<std::size_t>(widthPx) +
                      static_cast<std::size_t>(x)];
    }
};

// Bilinear when enlarging, area-averaging when reducing, an exact copy at the
// same size: smooth at every scale and never blurred at 100 %.
[[nodiscard]] GreyImage resample(const GreyImage& source, int widthPx, int heightPx);

} // namespace taliven
