// The one window base class of the forms layer.
//
// A derived class registers its window class once (RegisterClassOnce), creates
// its window with Create, and overrides HandleMessage, where it calls one
// OnXxx per message and hands the rest to Window::HandleMessage (which calls
// DefWindowProcW). The static window procedure finds the object through the
// pointer stored at WM_NCCREATE.
//
//   class Probe : public forms::Window {
//     protected:
//       LRESULT HandleMessage(UINT m, WPARAM w, LPARAM l) override {
//           if (m == WM_PAINT) { OnPaint(); return 0; }
//           return Window::HandleMessage(m, w, l);
//       }
//   };
//
// The window lives until DestroyWindow or the object's end; Hwnd() is null
// before and after.
#pragma once

#include <windows.h>

#include <string>

namespace forms {

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const { return hwnd_; }

  protected:
    // Registers a class of this module with the shared window procedure; true
    // when it is (or already was) registered.
    static bool RegisterClassOnce(const wchar_t* className, UINT classStyle, HCURSOR cursor);

    bool Create(const wchar_t* className, DWORD exStyle, DWORD style, const std::wstring& title,
                int x, int y, int width, int height, HWND parent);
    // Destroys the window now (its messages still reach HandleMessage).
    void Destroy();

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The window has gone (last message); Hwnd() is already null.
    virtual void OnWindowGone() {}

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

HINSTANCE ModuleInstance();

} // namespace forms
