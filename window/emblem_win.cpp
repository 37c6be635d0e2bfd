#include "window/emblem_win.h"

#include "readout/errors.h"
#include "resources/resource_ids.h"
#include "window/last_error_win.h"

#include <cstring>

namespace taliven {
namespace {

struct GreyBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD palette[256];
};

std::size_t rowBytes(int widthPx) {
    return (static_cast<std::size_t>(widthPx) + 3U) & ~3U;
}

} // namespace

GreyImage loadEmblem(HINSTANCE instance) {
    const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDB_EMBLEM), MAKEINTRESOURCEW(2));
    const HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const auto* bytes =
        static_cast<const std::uint8_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    const DWORD size = found != nullptr ? SizeofResource(instance, found) : 0;
    BITMAPINFOHEADER header{};
    if (bytes == nullptr || size < sizeof header) {
        throwLastError("Loading the emblem");
    }
    std::memcpy(&header, bytes, sizeof header);
    const int widthPx = header.biWidth;
    const int heightPx = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const std::size_t colours = header.biClrUsed != 0 ? header.biClrUsed : 256U;
    const std::size_t paletteAt = header.biSize;
    const std::size_t pixelsAt = paletteAt + colours * sizeof(RGBQUAD);
    if (header.biBitCount != 8 || header.biCompression != BI_RGB || widthPx <= 0 ||
        widthPx > 1024 || heightPx <= 0 || heightPx > 1024 || colours > 256 ||
        pixelsAt + rowBytes(widthPx) * static_cast<std::size_t>(heightPx) > size) {
        throw ControlError("Reading the emblem", ERROR_INVALID_DATA);
    }
    GreyImage image{widthPx, heightPx, {}};
    image.levels.reserve(static_cast<std::size_t>(widthPx) * static_cast<std::size_t>(heightPx));
    for (int y = 0; y < heightPx; ++y) {
        const int row = header.biHeight < 0 ? y : heightPx - 1 - y; // stored bottom-up
        const std::uint8_t* source =
            bytes + pixelsAt + rowBytes(widthPx) * static_cast<std::size_t>(row);
        for (int x = 0; x < widthPx; ++x) {
            const std::size_t index = source[x] < colours ? source[x] : 0U;
            RGBQUAD entry{};
            std::memcpy(&entry, bytes + paletteAt + index * sizeof entry, sizeof entry);
            image.levels.push_back(entry.rgbGreen);
        }
    }
    return image;
}

UniqueBitmap makeGreyBitmap(const GreyImage& image) {
    GreyBitmapInfo info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = image.widthPx;
    info.header.biHeight = -image.heightPx; // top-down rows
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 256;
    for (int k = 0; k < 256; ++k) {
        const auto level = static_cast<BYTE>(k);
        info.palette[k] = {level, level, level, 0};
    }
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info),
                                         DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        throwLastError("Drawing the emblem");
    }
    auto* rows = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < image.heightPx; ++y) {
        std::memcpy(rows + rowBytes(image.widthPx) * static_cast<std::size_t>(y),
                    image.levels.data() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(image.widthPx),
                    static_cast<std::size_t>(image.widthPx));
    }
    GdiFlush();
    return bitmap;
}

} // namespace taliven
