// Pictures (bitmaps that controls show) and the persistent image of picture
// boxes and user controls.
//
//   auto still = forms::Picture::FromResource(IDB_PREVIEW);   // shared, read-only
//   image.SetPicture(still);                                   // an Image shows it stretched
//
//   forms::PersistentImage img;                                // memory bitmap + DC
//   img.Resize(309, 25, RGB(0, 0, 0));
//   TextOutW(img.Dc(), 2, 2, L"...", 3);
//   img.CopyTo(windowDc, dirtyRect);                           // repaints from it
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "handles_win32.h"

namespace forms {

class Picture {
  public:
    // A bitmap resource of the program (by number or name); null when missing.
    static std::shared_ptr<const Picture> FromResource(int id);
    static std::shared_ptr<const Picture> FromResource(const wchar_t* name);
    // A .bmp file; null when it cannot be read.
    static std::shared_ptr<const Picture> FromFile(const std::wstring& path);
    // Top-down 32-bit pixels, 0x00RRGGBB each, width * height of them.
    static std::shared_ptr<const Picture> FromPixels(int width, int height,
                                                     const std::uint32_t* pixels);
    // Takes a bitmap over.
    static std::shared_ptr<const Picture> FromBitmap(GdiBitmap bitmap);

    int Width() const { return width_; }
    int Height() const { return height_; }
    HBITMAP Handle() const { return bitmap_.get(); }

    // Draws the whole picture into the rectangle, stretched to it.
    void Draw(HDC dc, int x, int y, int width, int height) const;

  private:
    Picture(GdiBitmap bitmap);
    GdiBitmap bitmap_;
    int width_ = 0;
    int height_ = 0;
};

using PicturePtr = std::shared_ptr<const Picture>;

// A memory bitmap with its own DC, compatible with the screen. The DC keeps
// a transparent text background, so text drawn on it leaves the background as
// it was.
class PersistentImage {
  public:
    PersistentImage() = default;
    ~PersistentImage();
    PersistentImage(const PersistentImage&) = delete;
    PersistentImage& operator=(const PersistentImage&) = delete;

    // Makes the image width x height; what was there stays (up to the new
    // size), the rest takes `fill`. False when the bitmap cannot be made.
    bool Resize(int width, int height, COLORREF fill);
    void Fill(COLORREF colour);
    // Selects a font into the DC (not owned; keep it alive while selected).
    void SelectFont(HFONT font);

    HDC Dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Valid() const { return dc_ && bitmap_; }
    // Copies `area` of the image to the same place in `dest`.
    void CopyTo(HDC dest, const RECT& area) const;

  private:
    void Release();

    MemoryDc dc_;
    GdiBitmap bitmap_;
    HGDIOBJ originalBitmap_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

} // namespace forms
