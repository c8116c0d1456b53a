// Owning wrappers for the Win32 handles the forms layer and its users hold.
//
//   forms::GdiBitmap bmp(CreateCompatibleBitmap(dc, w, h));   // DeleteObject at scope end
//   forms::MemoryDc mem(CreateCompatibleDC(dc));              // DeleteDC
//   forms::Selection keep(mem.get(), bmp.get());              // selects back on scope end
//   forms::WindowDc screen(nullptr);                          // GetDC / ReleaseDC
//   forms::KernelHandle process(pi.hProcess);                 // CloseHandle
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace forms {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const {
        if (h) {
            DeleteObject(h);
        }
    }
};
struct DcDeleter {
    void operator()(HDC h) const {
        if (h) {
            DeleteDC(h);
        }
    }
};
struct KernelHandleDeleter {
    void operator()(HANDLE h) const {
        if (h && h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
        }
    }
};
struct WindowDeleter {
    void operator()(HWND h) const {
        if (h && IsWindow(h)) {
            DestroyWindow(h);
        }
    }
};
struct IconDeleter {
    void operator()(HICON h) const {
        if (h) {
            DestroyIcon(h);
        }
    }
};

template <typename H, typename D> using UniqueHandle = std::unique_ptr<std::remove_pointer_t<H>, D>;

using GdiBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using GdiFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using GdiBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using GdiPen = UniqueHandle<HPEN, GdiObjectDeleter>;
using MemoryDc = UniqueHandle<HDC, DcDeleter>;
using KernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueWindow = UniqueHandle<HWND, WindowDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;

// A window's device context from GetDC, released on scope end. A null window
// gives the screen's.
class WindowDc {
  public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) {
            ReleaseDC(hwnd_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
  public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintDc() { EndPaint(hwnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }
    const RECT& dirty() const { return ps_.rcPaint; }

  private:
    HWND hwnd_;
    HDC dc_;
    PAINTSTRUCT ps_{};
};

// An object selected into a DC, with the previous one selected back on scope
// end (so the object can be deleted after).
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~Selection() {
        if (old_) {
            SelectObject(dc_, old_);
        }
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace forms
