#include "Kelbrin_V103.h"

#include <cstddef>
#include <cstring>
#include <memory>

namespace Kelbrin {

namespace {

// One row: 0xXXRRGGBB in, 0xFFBBGGRR out (red and blue swap, alpha 255).
void ConvertRow(const std::uint8_t* source, std::uint32_t* destination, std::uint16_t width) {
    for (std::uint16_t x = 0; x < width; ++x) {
        std::uint32_t p;
        std::memcpy(&p, source + 4 * static_cast<std::size_t>(x), sizeof p);
        const std::uint32_t a = p & 0x00FFFFFFu;
        destination[x] = ((a & 0xFFu) << 16) | (a >> 16) | (a & 0xFF00u) | 0xFF000000u;
    }
}

} // namespace

void FillPixelBuffer(const ScreenBitmap& bitmap, std::uint16_t width, std::uint16_t height,
                     std::uint32_t* pixelBuffer) {
    for (std::uint16_t y = 0; y < height; ++y) {
        ConvertRow(bitmap.ScanLine(height - 1 - y),
                   pixelBuffer + static_cast<std::size_t>(width) * y, width);
    }
}

void BitmapToTexture(ScreenBitmap& bitmap, std::uint32_t& texture, TextureUploader& uploader) {
    bitmap.ConvertTo32Bits();
    const auto width = static_cast<std::uint16_t>(bitmap.Width());
    const auto height = static_cast<std::uint16_t>(bitmap.Height());
    // Left uninitialised on purpose: every entry is written below. Released on
    // every way out, including an exception from the upload.
    std::unique_ptr<std::uint32_t[]> pixelBuffer(
        new std::uint32_t[static_cast<std::size_t>(width) * height]);
    FillPixelBuffer(bitmap, width, height, pixelBuffer.get());
    texture = uploader.CreateTexture(width, height,
                                     reinterpret_cast<const std::uint8_t*>(pixelBuffer.get()));
}

} // namespace Kelbrin
