#include "window/small_icon_win.h"

#include "window/grey_image.h"

#include <cstdint>
#include <vector>

namespace taliven {
namespace {

constexpr int iconPx = 32;

// A top-down 32-bit DIB section of `sizePx` square; `bits` points at its pixels.
UniqueBitmap colourBitmap(int sizePx, std::uint32_t*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = sizePx;
    info.bmiHeader.biHeight = -sizePx;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    bits = static_cast<std::uint32_t*>(pixels);
    return bitmap;
}

} // namespace

UniqueIcon makeSmallIcon(HICON icon, int sizePx) noexcept {
    try {
        std::uint32_t* drawn = nullptr;
        const UniqueBitmap canvas = colourBitmap(iconPx, drawn);
        const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        if (!canvas || drawn == nullptr || !dc) {
            return {};
        }
        const HGDIOBJ previous = SelectObject(dc.get(), canvas.get());
        const BOOL ok = DrawIconEx(dc.get(), 0, 0, icon, iconPx, iconPx, 0, nullptr, DI_NORMAL);
        SelectObject(dc.get(), previous);
        GdiFlush();
        if (ok == FALSE) {
            return {};
        }
        // The icon is black, grey and white only: one channel holds it all.
        GreyImage grey{iconPx, iconPx, {}};
        for (int k = 0; k < iconPx * iconPx; ++k) {
            grey.levels.push_back(static_cast<std::uint8_t>(drawn[k] & 0xFFU));
        }
        const GreyImage small = resample(grey, sizePx, sizePx);

        std::uint32_t* bits = nullptr;
        const UniqueBitmap colour = colourBitmap(sizePx, bits);
        // All mask bits clear: every pixel opaque, as in the icon itself.
        const std::vector<std::uint8_t> opaque(static_cast<std::size_t>((sizePx + 15) / 16 * 2) *
                                               static_cast<std::size_t>(sizePx));
        const UniqueBitmap mask(CreateBitmap(sizePx, sizePx, 1, 1, opaque.data()));
        if (!colour || bits == nullptr || !mask) {
            return {};
        }
        for (std::size_t k = 0; k < small.levels.size(); ++k) {
            const std::uint32_t level = small.levels[k];
            bits[k] = 0xFF000000U | (level << 16U) | (level << 8U) | level; // opaque grey
        }
        GdiFlush();
        ICONINFO parts{TRUE, 0, 0, mask.get(), colour.get()};
        return UniqueIcon(CreateIconIndirect(&parts)); // copies both bitmaps
    } catch (...) {
        return {};
    }
}

} // namespace taliven
