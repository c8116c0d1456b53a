#include "picture_win32.h"

#include <algorithm>
#include <vector>

#include "window_win32.h"

namespace forms {

Picture::Picture(GdiBitmap bitmap) : bitmap_(std::move(bitmap)) {
    BITMAP info{};
    if (bitmap_ && GetObjectW(bitmap_.get(), sizeof info, &info)) {
        width_ = info.bmWidth;
        height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
}

std::shared_ptr<const Picture> Picture::FromBitmap(GdiBitmap bitmap) {
    if (!bitmap) {
        return nullptr;
    }
    return std::shared_ptr<const Picture>(new Picture(std::move(bitmap)));
}

std::shared_ptr<const Picture> Picture::FromResource(int id) {
    return FromResource(MAKEINTRESOURCEW(id));
}

std::shared_ptr<const Picture> Picture::FromResource(const wchar_t* name) {
    return FromBitmap(GdiBitmap(static_cast<HBITMAP>(
        LoadImageW(ModuleInstance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))));
}

std::shared_ptr<const Picture> Picture::FromFile(const std::wstring& path) {
    return FromBitmap(GdiBitmap(static_cast<HBITMAP>(LoadImageW(
        nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION))));
}

std::shared_ptr<const Picture> Picture::FromPixels(int width, int height,
                                                   const std::uint32_t* pixels) {
    if (width <= 0 || height <= 0 || !pixels) {
        return nullptr;
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height; // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiBitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) {
        return nullptr;
    }
    std::copy(pixels, pixels + static_cast<std::size_t>(width) * height,
              static_cast<std::uint32_t*>(bits));
    GdiFlush();
    return FromBitmap(std::move(bitmap));
}

void Picture::Draw(HDC dc, int x, int y, int width, int height) const {
    if (!bitmap_ || width <= 0 || height <= 0) {
        return;
    }
    MemoryDc source(CreateCompatibleDC(dc));
    if (!source) {
        return;
    }
    Selection keep(source.get(), bitmap_.get());
    if (width == width_ && height == height_) {
        BitBlt(dc, x, y, width, height, source.get(), 0, 0, SRCCOPY);
    } else {
        int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, x, y, width, height, source.get(), 0, 0, width_, height_, SRCCOPY);
        SetStretchBltMode(dc, oldMode);
    }
}

PersistentImage::~PersistentImage() {
    Release();
}

void PersistentImage::Release() {
    if (dc_) {
        if (originalFont_) {
            SelectObject(dc_.get(), originalFont_);
        }
        if (originalBitmap_) {
            SelectObject(dc_.get(), originalBitmap_);
        }
    }
    originalFont_ = nullptr;
    originalBitmap_ = nullptr;
    dc_.reset();
    bitmap_.reset();
    width_ = height_ = 0;
}

bool PersistentImage::Resize(int width, int height, COLORREF fill) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (Valid() && width == width_ && height == height_) {
        return true;
    }
    WindowDc screen(nullptr);
    GdiBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!bitmap) {
        return false;
    }
    if (!dc_) {
        dc_.reset(CreateCompatibleDC(screen.get()));
        if (!dc_) {
            return false;
        }
        SetBkMode(dc_.get(), TRANSPARENT);
    }
    {
        // Fill the new bitmap and carry the old picture over.
        MemoryDc work(CreateCompatibleDC(screen.get()));
        Selection keep(work.get(), bitmap.get());
        RECT all{0, 0, width, height};
        GdiBrush brush(CreateSolidBrush(fill));
        FillRect(work.get(), &all, brush.get());
        if (bitmap_) {
            BitBlt(work.get(), 0, 0, std::min(width, width_), std::min(height, height_), dc_.get(),
                   0, 0, SRCCOPY);
        }
    }
    HGDIOBJ previous = SelectObject(dc_.get(), bitmap.get());
    if (!originalBitmap_) {
        originalBitmap_ = previous;
    }
    bitmap_ = std::move(bitmap); // the old one is no longer selected: deleted here
    width_ = width;
    height_ = height;
    return true;
}

void PersistentImage::Fill(COLORREF colour) {
    if (!Valid()) {
        return;
    }
    RECT all{0, 0, width_, height_};
    GdiBrush brush(CreateSolidBrush(colour));
    FillRect(dc_.get(), &all, brush.get());
}

void PersistentImage::SelectFont(HFONT font) {
    if (!dc_ || !font) {
        return;
    }
    HGDIOBJ previous = SelectObject(dc_.get(), font);
    if (!originalFont_) {
        originalFont_ = previous;
    }
}

void PersistentImage::CopyTo(HDC dest, const RECT& area) const {
    if (Valid()) {
        BitBlt(dest, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.get(),
               area.left, area.top, SRCCOPY);
    }
}

} // namespace forms
