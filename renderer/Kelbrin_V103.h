// Kelbrin_V103: the renderer's texture unit. Turns the screen picture into a
// bottom-up RGBA pixel array and hands it to the GL upload.
#pragma once

#include <cstdint>

namespace Kelbrin {

// The screen picture: rows addressed from the top, and once converted to 32
// bits per pixel each pixel is 4 bytes blue, green, red and an unused byte.
class ScreenBitmap {
  public:
    virtual ~ScreenBitmap() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void ConvertTo32Bits() = 0;
    virtual const std::uint8_t* ScanLine(int row) const = 0;
};

class TextureUploader {
  public:
    virtual ~TextureUploader() = default;
    // Makes a GL texture from Width x Height RGBA pixels (bottom row first),
    // leaves it bound to GL_TEXTURE_2D and returns its name.
    virtual std::uint32_t CreateTexture(std::uint16_t width, std::uint16_t height,
                                        const std::uint8_t* pixels) = 0;
};

// Fills pixelBuffer (width x height values) from the 32-bit bitmap: buffer row
// 0 is the bitmap's bottom row, and each value holds the bytes red, green,
// blue, 255 in memory order.
void FillPixelBuffer(const ScreenBitmap& bitmap, std::uint16_t width, std::uint16_t height,
                     std::uint32_t* pixelBuffer);

// Converts the bitmap, uploads it and stores the new texture's name.
void BitmapToTexture(ScreenBitmap& bitmap, std::uint32_t& texture, TextureUploader& uploader);

// The GL upload (Kelbrin_V103_win32.cpp): a texture with linear filtering and
// GLU-built mipmaps, scaled to power-of-two sides; left bound to GL_TEXTURE_2D.
std::uint32_t CreateTexture(std::uint16_t width, std::uint16_t height, const std::uint8_t* pixels);

} // namespace Kelbrin
