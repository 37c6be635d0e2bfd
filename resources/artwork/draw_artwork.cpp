// Draws the window icon and the emblem from the eye geometry and writes them
// as taliven.ico (32 x 32, 16 colours) and emblem.bmp (64 x 64, 256 greys).
//
//   draw_artwork OUTPUT_FOLDER

#include "resources/artwork/eye_motif.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace taliven::artwork {
namespace {

constexpr int emblemPx = 64;
constexpr int iconPx = 32;
constexpr int emblemLevels = 213; // grey levels in the emblem, black and white included

double distance(Point a, Point b) {
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

// A soft catch-light: white in its core, fading out over its rim.
double catchLight(Point centre, double coreRadius, double outerRadius, Point at) {
    return std::clamp((outerRadius - distance(at, centre)) / (outerRadius - coreRadius), 0.0, 1.0);
}

double baseShade(const Motif& motif, Point at);

// The shaded emblem at one point, 0..255 before averaging.
double emblemShade(const Motif& motif, Point at) {
    const double light =
        std::max(catchLight(motif.highlight, motif.highlightRadius, 2.4, at),
                 catchLight(motif.secondHighlight, 0.5 * motif.highlightRadius, 1.4, at));
    const double base = baseShade(motif, at);
    return base + (255.0 - base) * light;
}

double baseShade(const Motif& motif, Point at) {
    const double fromIris = distance(at, motif.irisCentre);
    double ink = 0.0;
    for (const Stroke& stroke : motif.lines) {
        ink = std::max(ink, strokeProfile(stroke, at));
    }
    if (ink > 0.0) {
        return 70.0 + 150.0 * ink; // a rounded brush stroke, brightest on its spine
    }
    if (insideEye(at) && fromIris < motif.irisRadius) {
        if (fromIris < motif.pupilRadius) {
            return 24.0 + 24.0 * fromIris / motif.pupilRadius;
        }
        return 185.0 -
               75.0 * (fromIris - motif.pupilRadius) / (motif.irisRadius - motif.pupilRadius);
    }
    const double glow = std::max(0.0, 1.0 - fromIris / 30.0);
    return 48.0 * glow * glow; // a faint light around the eye, fading into black
}

// Merges the rarest levels into their nearest neighbours until exactly
// `wanted` remain, keeping black and white. Shades move by a level or two.
bool reduceLevels(std::vector<int>& pixels, int wanted) {
    for (;;) {
        std::array<int, 256> count{};
        for (const int p : pixels) {
            ++count[static_cast<std::size_t>(p)];
        }
        const auto used = std::count_if(count.begin(), count.end(), [](int c) { return c > 0; });
        if (used < wanted || count[0] == 0 || count[255] == 0) {
            return false;
        }
        if (used == wanted) {
            return true;
        }
        int rarest = -1;
        for (int level = 1; level < 255; ++level) {
            if (count[static_cast<std::size_t>(level)] > 0 &&
                (rarest < 0 || count[static_cast<std::size_t>(level)] <
                                   count[static_cast<std::size_t>(rarest)])) {
                rarest = level;
            }
        }
        int below = rarest - 1;
        while (count[static_cast<std::size_t>(below)] == 0) {
            --below;
        }
        int above = rarest + 1;
        while (count[static_cast<std::size_t>(above)] == 0) {
            ++above;
        }
        const int into = rarest - below <= above - rarest ? below : above;
        std::replace(pixels.begin(), pixels.end(), rarest, into);
    }
}

std::vector<int> drawEmblem(const Motif& motif) {
    constexpr int samples = 8; // per axis
    std::vector<int> pixels;
    for (int y = 0; y < emblemPx; ++y) {
        for (int x = 0; x < emblemPx; ++x) {
            double sum = 0.0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    sum += emblemShade(motif, {x + (sx + 0.5) / samples, y + (sy + 0.5) / samples});
                }
            }
            pixels.push_back(static_cast<int>(std::lround(sum / (samples * samples))));
        }
    }
    return pixels;
}

// Palette indices of the 16-colour icon.
constexpr std::uint8_t black = 0;
constexpr std::uint8_t grey = 8;
constexpr std::uint8_t white = 15;

// Linework, and the iris ring around the black pupil.
bool iconInk(const Motif& motif, Point at) {
    const double fromIris = distance(at, motif.irisCentre);
    if (insideEye(at) && fromIris < motif.irisRadius && fromIris >= motif.pupilRadius) {
        return true;
    }
    return std::any_of(motif.lines.begin(), motif.lines.end(),
                       [at](const Stroke& stroke) { return strokeProfile(stroke, at) > 0.0; });
}

std::vector<std::uint8_t> drawIcon(const Motif& motif) {
    constexpr int samples = 4;
    constexpr double scale = static_cast<double>(emblemPx) / iconPx;
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < iconPx; ++y) {
        for (int x = 0; x < iconPx; ++x) {
            int covered = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const Point at{(x + (sx + 0.5) / samples) * scale,
                                   (y + (sy + 0.5) / samples) * scale};
                    covered += iconInk(motif, at) ? 1 : 0;
                }
            }
            pixels.push_back(2 * covered >= samples * samples ? grey : black);
        }
    }
    // Two catch-lights: in the pupil and on the lower rim of the iris.
    for (const Point light : {motif.highlight, motif.secondHighlight}) {
        const auto x = static_cast<std::size_t>(light.x / scale);
        const auto y = static_cast<std::size_t>(light.y / scale);
        pixels[y * iconPx + x] = white;
    }
    return pixels;
}

class Writer {
  public:
    void u8(std::uint8_t value) { bytes.push_back(value); }
    void u16(std::uint32_t value) {
        u8(static_cast<std::uint8_t>(value));
        u8(static_cast<std::uint8_t>(value >> 8U));
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFFU);
        u16(value >> 16U);
    }
    void rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) { // as an RGBQUAD
        u8(b);
        u8(g);
        u8(r);
        u8(0);
    }
    std::vector<std::uint8_t> bytes;
};

void infoHeader(Writer& out, int width, int height, int bits, std::uint32_t imageBytes,
                std::uint32_t colours) {
    out.u32(40);
    out.u32(static_cast<std::uint32_t>(width));
    out.u32(static_cast<std::uint32_t>(height));
    out.u16(1);
    out.u16(static_cast<std::uint32_t>(bits));
    out.u32(0); // BI_RGB, uncompressed
    out.u32(imageBytes);
    out.u32(3780); // 96 dots per inch, in dots per metre
    out.u32(3780);
    out.u32(colours);
    out.u32(0);
}

std::vector<std::uint8_t> emblemBmp(const std::vector<int>& pixels) {
    constexpr std::uint32_t headers = 14 + 40 + 256 * 4;
    constexpr std::uint32_t imageBytes = emblemPx * emblemPx;
    Writer out;
    out.u8('B');
    out.u8('M');
    out.u32(headers + imageBytes);
    out.u32(0);
    out.u32(headers);
    infoHeader(out, emblemPx, emblemPx, 8, imageBytes, 256);
    for (int k = 0; k < 256; ++k) {
        const auto level = static_cast<std::uint8_t>(k);
        out.rgb(level, level, level);
    }
    for (int y = emblemPx - 1; y >= 0; --y) { // bottom-up rows
        for (int x = 0; x < emblemPx; ++x) {
            const std::size_t at =
                static_cast<std::size_t>(y) * emblemPx + static_cast<std::size_t>(x);
            out.u8(static_cast<std::uint8_t>(pixels[at]));
        }
    }
    return out.bytes;
}

std::vector<std::uint8_t> iconIco(const std::vector<std::uint8_t>& pixels) {
    constexpr std::array<std::array<std::uint8_t, 3>, 16> palette{{
        {0, 0, 0},
        {128, 0, 0},
        {0, 128, 0},
        {128, 128, 0},
        {0, 0, 128},
        {128, 0, 128},
        {0, 128, 128},
        {192, 192, 192},
        {128, 128, 128},
        {255, 0, 0},
        {0, 255, 0},
        {255, 255, 0},
        {0, 0, 255},
        {255, 0, 255},
        {0, 255, 255},
        {255, 255, 255},
    }};
    constexpr std::uint32_t colourBytes = iconPx * iconPx / 2; // 4 bits a pixel, rows of 16 bytes
    constexpr std::uint32_t maskBytes = iconPx * 4;            // 1 bit a pixel, rows of 4 bytes
    constexpr std::uint32_t imageBytes = 40 + 16 * 4 + colourBytes + maskBytes;
    Writer out;
    out.u16(0); // ICONDIR
    out.u16(1);
    out.u16(1);
    out.u8(iconPx); // ICONDIRENTRY
    out.u8(iconPx);
    out.u8(16);
    out.u8(0);
    out.u16(1);
    out.u16(4);
    out.u32(imageBytes);
    out.u32(6 + 16);
    infoHeader(out, iconPx, 2 * iconPx, 4, colourBytes + maskBytes, 16); // colour + mask rows
    for (const auto& colour : palette) {
        out.rgb(colour[0], colour[1], colour[2]);
    }
    for (int y = iconPx - 1; y >= 0; --y) {
        for (int x = 0; x < iconPx; x += 2) {
            const std::size_t at =
                static_cast<std::size_t>(y) * iconPx + static_cast<std::size_t>(x);
            out.u8(static_cast<std::uint8_t>((pixels[at] << 4U) | pixels[at + 1]));
        }
    }
    for (std::uint32_t k = 0; k < maskBytes; ++k) {
        out.u8(0); // every pixel opaque: the black ground shows as a square
    }
    return out.bytes;
}

bool write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::string data(bytes.begin(), bytes.end());
    std::ofstream file(path, std::ios::binary);
    file.write(data.data(), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(file);
}

} // namespace
} // namespace taliven::artwork

int main(int argc, char** argv) {
    using namespace taliven::artwork;
    if (argc != 2) {
        (void)std::fputs("usage: draw_artwork OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const Motif motif = eyeOfHorus();
    std::vector<int> emblem = drawEmblem(motif);
    if (!reduceLevels(emblem, emblemLevels)) {
        (void)std::fputs("draw_artwork: the emblem has too few grey levels\n", stderr);
        return 1;
    }
    if (!write(folder + "/emblem.bmp", emblemBmp(emblem)) ||
        !write(folder + "/taliven.ico", iconIco(drawIcon(motif)))) {
        (void)std::fputs("draw_artwork: cannot write the pictures\n", stderr);
        return 1;
    }
    return 0;
}
