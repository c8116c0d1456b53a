// The "desktop" of the end-to-end tests: a borderless window over the whole
// screen painted with 4 x 3 solid cells (the same cells as fixture.py). Wine's
// screen copy sees Wine's windows only, so this stands in for the user's
// desktop that the renderer captures. It runs until it is killed.
#include <windows.h>

namespace {

const COLORREF kColours[12] = {
    RGB(230, 40, 40),  RGB(40, 200, 60),   RGB(50, 80, 230),   RGB(240, 220, 40),
    RGB(230, 120, 30), RGB(40, 210, 210),  RGB(200, 60, 200),  RGB(250, 250, 250),
    RGB(130, 90, 40),  RGB(150, 150, 150), RGB(120, 200, 120), RGB(250, 160, 190),
};

LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        const int width = GetSystemMetrics(SM_CXSCREEN);
        const int height = GetSystemMetrics(SM_CYSCREEN);
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 4; ++col) {
                RECT cell = {col * width / 4, row * height / 3, (col + 1) * width / 4,
                             (row + 1) * height / 3};
                HBRUSH brush = CreateSolidBrush(kColours[row * 4 + col]);
                FillRect(dc, &cell, brush);
                DeleteObject(brush);
            }
        }
        EndPaint(window, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FixtureProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = L"OrvanelFixtureDesktop";
    RegisterClassW(&wc);
    HWND window =
        CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"Orvanel fixture desktop",
                        WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                        GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    if (!window) {
        return 1;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
