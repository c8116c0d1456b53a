// The screen copy behind the renderer's desktop picture: the screen's device
// context, and a 32-bit bitmap whose rows can be read from the top.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "Kelbrin_V103.h"

namespace Kelbrin {

// The screen's device context, held for one copy.
class ScreenDC {
  public:
    ScreenDC() : dc_(::GetDC(nullptr)) {}
    ~ScreenDC() {
        if (dc_) {
            ::ReleaseDC(nullptr, dc_);
        }
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

// A 32-bit top-down DIB section selected into a memory DC, so that GDI can draw
// into it and its rows lie in screen order in memory. Running out of memory or
// GDI objects throws std::bad_alloc.
class DibBitmap final : public ScreenBitmap {
  public:
    DibBitmap(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = ::CreateCompatibleDC(nullptr);
        bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (!dc_ || !bitmap_ || !bits_) {
            Release();
            throw std::bad_alloc();
        }
        old_ = ::SelectObject(dc_, bitmap_);
    }
    ~DibBitmap() override { Release(); }
    DibBitmap(const DibBitmap&) = delete;
    DibBitmap& operator=(const DibBitmap&) = delete;

    HDC dc() const { return dc_; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // Already 32 bits per pixel; only GDI's pending drawing must reach the bits.
    void ConvertTo32Bits() override { ::GdiFlush(); }
    const std::uint8_t* ScanLine(int row) const override {
        return static_cast<const std::uint8_t*>(bits_) + static_cast<std::size_t>(row) * width_ * 4;
    }

  private:
    void Release() {
        if (dc_ && old_) {
            ::SelectObject(dc_, old_);
        }
        if (bitmap_) {
            ::DeleteObject(bitmap_);
        }
        if (dc_) {
            ::DeleteDC(dc_);
        }
        dc_ = nullptr;
        bitmap_ = nullptr;
        old_ = nullptr;
    }

    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

// Copies Width x Height pixels from the top left of `source`, 1:1.
std::unique_ptr<DibBitmap> CopyFrom(HDC source, int width, int height);

// The whole picture of the primary screen, as the user sees it.
std::unique_ptr<DibBitmap> CopyScreen(int width, int height);

} // namespace Kelbrin
