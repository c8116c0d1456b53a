// The texture unit: pixel conversion, row order and the upload call.
#include <gtest/gtest.h>

#include <cstring>

#include "fake_platform.h"

namespace {

using kelbrin_test::FakeBitmap;
using kelbrin_test::FakePlatform;

std::uint32_t Value(const std::vector<std::uint8_t>& bytes, std::size_t index) {
    std::uint32_t v;
    std::memcpy(&v, bytes.data() + index * 4, 4);
    return v;
}

TEST(TextureTest, PixelBytesSwapRedAndBlueAndGetFullAlpha) {
    const struct {
        std::uint8_t in[4];  // blue, green, red, unused
        std::uint8_t out[4]; // red, green, blue, alpha
    } cases[] = {
        {{0x10, 0x20, 0x30, 0x7F}, {0x30, 0x20, 0x10, 0xFF}},
        {{0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x00, 0xFF}},
        {{0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF, 0xFF}},
        {{0xFF, 0x00, 0x00, 0x80}, {0x00, 0x00, 0xFF, 0xFF}},
        {{0x00, 0x00, 0xFF, 0x01}, {0xFF, 0x00, 0x00, 0xFF}},
        {{0x00, 0xAB, 0x00, 0xCD}, {0x00, 0xAB, 0x00, 0xFF}},
    };
    // Wide enough rows that the vector loop and its tail both see every case.
    const int width = 37, height = 2;
    for (const auto& c : cases) {
        FakeBitmap bitmap(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                bitmap.SetPixel(x, y, c.in[0], c.in[1], c.in[2], c.in[3]);
            }
        }
        FakePlatform uploader;
        std::uint32_t texture = 0;
        Kelbrin::BitmapToTexture(bitmap, texture, uploader);
        ASSERT_EQ(uploader.uploaded.size(), std::size_t(width * height * 4));
        for (std::size_t i = 0; i < uploader.uploaded.size(); i += 4) {
            SCOPED_TRACE(i / 4);
            EXPECT_EQ(std::vector<std::uint8_t>(uploader.uploaded.begin() + i,
                                                uploader.uploaded.begin() + i + 4),
                      std::vector<std::uint8_t>(c.out, c.out + 4));
        }
    }
}

TEST(TextureTest, BufferStartsFromTheBottomRow) {
    // 3 x 2: each pixel's red byte is its column, its green byte its row
    // counted from the top.
    const int width = 3, height = 2;
    FakeBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.SetPixel(x, y, 0xB0, static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(x),
                            0);
        }
    }
    FakePlatform uploader;
    std::uint32_t texture = 0;
    Kelbrin::BitmapToTexture(bitmap, texture, uploader);
    EXPECT_TRUE(bitmap.converted);
    EXPECT_EQ(texture, uploader.textureName);
    EXPECT_EQ(uploader.uploadWidth, width);
    EXPECT_EQ(uploader.uploadHeight, height);
    ASSERT_EQ(uploader.uploaded.size(), std::size_t(width * height * 4));
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            SCOPED_TRACE(testing::Message() << row << "," << x);
            const std::uint32_t v = Value(uploader.uploaded, row * width + x);
            EXPECT_EQ(v & 0xFF, std::uint32_t(x));                       // red
            EXPECT_EQ((v >> 8) & 0xFF, std::uint32_t(height - 1 - row)); // screen row
            EXPECT_EQ(v >> 16, 0xFFB0u);                                 // blue, alpha
        }
    }
}

TEST(TextureTest, ScreenSizesThatAreNotPowersOfTwoGoUpWhole) {
    // The upload gets the picture as it is; scaling to power-of-two sides is
    // the upload's business, so nothing is padded here.
    for (const auto& size : {std::pair<int, int>{1024, 768}, {1280, 1024}, {7, 5}}) {
        FakeBitmap bitmap(size.first, size.second);
        bitmap.SetPixel(size.first - 1, 0, 1, 2, 3, 4); // top right
        FakePlatform uploader;
        std::uint32_t texture = 0;
        Kelbrin::BitmapToTexture(bitmap, texture, uploader);
        EXPECT_EQ(uploader.uploadWidth, size.first);
        EXPECT_EQ(uploader.uploadHeight, size.second);
        // The top right pixel is the last value of the buffer.
        EXPECT_EQ(Value(uploader.uploaded, std::size_t(size.first) * size.second - 1), 0xFF010203u);
    }
}

} // namespace
