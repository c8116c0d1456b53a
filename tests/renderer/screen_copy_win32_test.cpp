// The screen copy against real GDI: what GetDC(0) and a 1:1 StretchBlt give,
// and the row order and byte order that the texture conversion relies on.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "ScreenCopy_win32.h"

namespace {

struct Bgrx {
    std::uint8_t b, g, r, x;
};

Bgrx PixelAt(const Kelbrin::ScreenBitmap& bitmap, int x, int y) {
    Bgrx p;
    std::memcpy(&p, bitmap.ScanLine(y) + 4 * x, 4);
    return p;
}

// A 4 x 3 memory picture: column c, row r has red 10 * c + 1, green 10 * r + 2.
class MemoryPicture {
  public:
    MemoryPicture() : bitmap_(4, 3) {
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                ::SetPixel(bitmap_.dc(), x, y, RGB(10 * x + 1, 10 * y + 2, 200));
            }
        }
        ::GdiFlush();
    }
    HDC dc() const { return bitmap_.dc(); }

  private:
    Kelbrin::DibBitmap bitmap_;
};

TEST(ScreenCopyTest, CopyKeepsPixelsAndRowsFromTheTop) {
    const MemoryPicture picture;
    const auto copy = Kelbrin::CopyFrom(picture.dc(), 4, 3);
    ASSERT_TRUE(copy);
    copy->ConvertTo32Bits();
    EXPECT_EQ(copy->Width(), 4);
    EXPECT_EQ(copy->Height(), 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            const Bgrx p = PixelAt(*copy, x, y);
            EXPECT_EQ(p.r, 10 * x + 1);
            EXPECT_EQ(p.g, 10 * y + 2);
            EXPECT_EQ(p.b, 200);
        }
    }
}

// Collects what the conversion hands to the upload.
struct Upload final : Kelbrin::TextureUploader {
    std::uint32_t CreateTexture(std::uint16_t width, std::uint16_t height,
                                const std::uint8_t* pixels) override {
        bytes.assign(pixels, pixels + std::size_t(width) * height * 4);
        return 9;
    }
    std::vector<std::uint8_t> bytes;
};

TEST(ScreenCopyTest, TextureStartsWithTheBottomRowInRgba) {
    const MemoryPicture picture;
    const auto copy = Kelbrin::CopyFrom(picture.dc(), 4, 3);
    Upload upload;
    std::uint32_t texture = 0;
    Kelbrin::BitmapToTexture(*copy, texture, upload);
    EXPECT_EQ(texture, 9u);
    ASSERT_EQ(upload.bytes.size(), 4u * 3 * 4);
    // First value: left pixel of the bottom row (row 2), as red, green, blue, 255.
    EXPECT_EQ(upload.bytes[0], 1);
    EXPECT_EQ(upload.bytes[1], 22);
    EXPECT_EQ(upload.bytes[2], 200);
    EXPECT_EQ(upload.bytes[3], 255);
    // Last value: right pixel of the top row.
    EXPECT_EQ(upload.bytes[44], 31);
    EXPECT_EQ(upload.bytes[45], 2);
    EXPECT_EQ(upload.bytes[46], 200);
    EXPECT_EQ(upload.bytes[47], 255);
}

LRESULT CALLBACK HalvesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(window, &ps);
        RECT r;
        ::GetClientRect(window, &r);
        RECT top = {0, 0, r.right, r.bottom / 2};
        RECT bottom = {0, r.bottom / 2, r.right, r.bottom};
        HBRUSH red = ::CreateSolidBrush(RGB(220, 30, 40));
        HBRUSH blue = ::CreateSolidBrush(RGB(20, 60, 210));
        ::FillRect(dc, &top, red);
        ::FillRect(dc, &bottom, blue);
        ::DeleteObject(red);
        ::DeleteObject(blue);
        ::EndPaint(window, &ps);
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        return 1;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST(ScreenCopyTest, ScreenCopySeesTheWindowsOnTheScreen) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HalvesProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ScreenCopyTestHalves";
    ASSERT_NE(::RegisterClassW(&wc), 0);
    HWND window = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"halves",
                                    WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                    wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    // Let the window reach the screen and be painted.
    Bgrx top = {}, bottom = {};
    for (int attempt = 0; attempt < 100; ++attempt) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
        ::UpdateWindow(window);
        const auto copy = Kelbrin::CopyScreen(width, height);
        copy->ConvertTo32Bits();
        ASSERT_EQ(copy->Width(), width);
        ASSERT_EQ(copy->Height(), height);
        top = PixelAt(*copy, width / 2, height / 4);
        bottom = PixelAt(*copy, width / 2, 3 * height / 4);
        if (top.r == 220 && bottom.b == 210) {
            break;
        }
        ::Sleep(50);
    }
    EXPECT_EQ(top.r, 220);
    EXPECT_EQ(top.g, 30);
    EXPECT_EQ(top.b, 40);
    EXPECT_EQ(bottom.r, 20);
    EXPECT_EQ(bottom.g, 60);
    EXPECT_EQ(bottom.b, 210);
    ::DestroyWindow(window);
}

} // namespace
