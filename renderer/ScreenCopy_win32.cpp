#include "ScreenCopy_win32.h"

namespace Kelbrin {

std::unique_ptr<DibBitmap> CopyFrom(HDC source, int width, int height) {
    auto bitmap = std::make_unique<DibBitmap>(width, height);
    ::StretchBlt(bitmap->dc(), 0, 0, width, height, source, 0, 0, width, height, SRCCOPY);
    return bitmap;
}

std::unique_ptr<DibBitmap> CopyScreen(int width, int height) {
    const ScreenDC screen;
    return CopyFrom(screen.get(), width, height);
}

} // namespace Kelbrin
