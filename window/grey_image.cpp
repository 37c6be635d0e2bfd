#include "window/grey_image.h"

#include <algorithm>
#include <cmath>

namespace taliven {
namespace {

std::uint8_t toLevel(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

double bilinear(const GreyImage& source, double x, double y) {
    const double cx = std::clamp(x, 0.0, static_cast<double>(source.widthPx - 1));
    const double cy = std::clamp(y, 0.0, static_cast<double>(source.heightPx - 1));
    const int x0 = static_cast<int>(cx);
    const int y0 = static_cast<int>(cy);
    const int x1 = std::min(x0 + 1, source.widthPx - 1);
    const int y1 = std::min(y0 + 1, source.heightPx - 1);
    const double fx = cx - x0;
    const double fy = cy - y0;
    const double top = source.at(x0, y0) * (1 - fx) + source.at(x1, y0) * fx;
    const double bottom = source.at(x0, y1) * (1 - fx) + source.at(x1, y1) * fx;
    return top * (1 - fy) + bottom * fy;
}

// The mean of the source over the rectangle [x0, x1) x [y0, y1), weighting
// each source pixel by how much of it the rectangle covers.
double areaAverage(const GreyImage& source, double x0, double x1, double y0, double y1) {
    double sum = 0.0;
    double weight = 0.0;
    for (int y = static_cast<int>(y0); y < source.heightPx && y < y1; ++y) {
        const double h = std::min(y1, y + 1.0) - std::max(y0, static_cast<double>(y));
        for (int x = static_cast<int>(x0); x < source.widthPx && x < x1; ++x) {
            const double w = (std::min(x1, x + 1.0) - std::max(x0, static_cast<double>(x))) * h;
            sum += source.at(x, y) * w;
            weight += w;
        }
    }
    return weight > 0 ? sum / weight : 0.0;
}

} // namespace

GreyImage resample(const GreyImage& source, int widthPx, int heightPx) {
    GreyImage result{widthPx, heightPx, {}};
    if (widthPx <= 0 || heightPx <= 0 || source.widthPx <= 0 || source.heightPx <= 0) {
        result.widthPx = std::max(widthPx, 0);
        result.heightPx = std::max(heightPx, 0);
        result.levels.assign(static_cast<std::size_t>(result.widthPx) *
                                 static_cast<std::size_t>(result.heightPx),
                             0);
        return result;
    }
    const double sx = static_cast<double>(source.widthPx) / widthPx;
    const double sy = static_cast<double>(source.heightPx) / heightPx;
    const bool enlarging = sx <= 1.0 && sy <= 1.0;
    result.levels.reserve(static_cast<std::size_t>(widthPx) * static_cast<std::size_t>(heightPx));
    for (int y = 0; y < heightPx; ++y) {
        for (int x = 0; x < widthPx; ++x) {
            const double value =
                enlarging ? bilinear(source, (x + 0.5) * sx - 0.5, (y + 0.5) * sy - 0.5)
                          : areaAverage(source, x * sx, (x + 1) * sx, y * sy, (y + 1) * sy);
            result.levels.push_back(toLevel(value));
        }
    }
    return result;
}

} // namespace taliven
