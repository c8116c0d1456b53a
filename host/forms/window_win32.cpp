#include "window_win32.h"

namespace forms {

HINSTANCE ModuleInstance() {
    return GetModuleHandleW(nullptr);
}

Window::~Window() {
    if (hwnd_) {
        // The derived parts are gone already: detach first so that no message of
        // the destruction reaches a half-destroyed object.
        HWND h = hwnd_;
        SetWindowLongPtrW(h, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        DestroyWindow(h);
    }
}

bool Window::RegisterClassOnce(const wchar_t* className, UINT classStyle, HCURSOR cursor) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(ModuleInstance(), className, &existing)) {
        return true;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = nullptr; // every window paints its own background
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

bool Window::Create(const wchar_t* className, DWORD exStyle, DWORD style, const std::wstring& title,
                    int x, int y, int width, int height, HWND parent) {
    if (hwnd_) {
        return true;
    }
    HWND h = CreateWindowExW(exStyle, className, title.c_str(), style, x, y, width, height, parent,
                             nullptr, ModuleInstance(), this);
    return h != nullptr;
}

void Window::Destroy() {
    if (hwnd_) {
        DestroyWindow(hwnd_);
    }
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self;
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnWindowGone();
    }
    return result;
}

} // namespace forms
