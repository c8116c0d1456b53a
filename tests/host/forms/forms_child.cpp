// A program started by the program-start test: it waits a moment before it
// makes its window, so a start that waits for it to be ready for input is
// seen to wait. Ends on WM_CLOSE, or by itself after 20 s.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Sleep(300);
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(h, m, w, l);
    };
    wc.hInstance = instance;
    wc.lpszClassName = L"FormsChild";
    RegisterClassW(&wc);
    HWND w = CreateWindowW(L"FormsChild", L"Forms child", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                           nullptr, nullptr, instance, nullptr);
    SetTimer(w, 1, 20000, [](HWND h, UINT, UINT_PTR, DWORD) { DestroyWindow(h); });
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    return 0;
}
