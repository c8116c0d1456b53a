// probe.exe: looks at the windows of the programs under test from inside Wine,
// where the X side cannot see Win32 classes, styles or child texts.
//
//   probe info TITLE    class, style, extended style, rectangle and visibility
//   probe text TITLE    the texts of the window's children, one a line
//   probe close TITLE   posts WM_CLOSE to the window
//   probe press TITLE N clicks the child button with control id N (BM_CLICK)
//   probe cursor        the cursor position as Win32 sees it, and whether it shows
//   probe hold TITLE    owns a hidden top-level window with that title until killed
//
// Output is UTF-8 on stdout; the exit code is 0 when the window was found, 3 when not.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) {
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
    }
    return out;
}

BOOL CALLBACK PrintChildText(HWND child, LPARAM) {
    wchar_t text[1024] = L"";
    GetWindowTextW(child, text, 1024);
    wchar_t cls[256] = L"";
    GetClassNameW(child, cls, 256);
    std::printf("%s\t%d\t%s\n", Utf8(cls).c_str(), GetDlgCtrlID(child), Utf8(text).c_str());
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"cursor") {
        POINT p = {};
        GetCursorPos(&p);
        CURSORINFO info = {};
        info.cbSize = sizeof info;
        GetCursorInfo(&info);
        std::printf("pos=%ld,%ld\nshowing=%d\n", p.x, p.y, (info.flags & CURSOR_SHOWING) ? 1 : 0);
        std::fflush(stdout);
        return 0;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: probe cursor | info|text|close|press|hold TITLE [ID]\n");
        return 2;
    }
    if (verb == L"hold") {
        HWND held = CreateWindowExW(0, L"STATIC", argv[2], WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!held) {
            return 1;
        }
        std::printf("holding\n");
        std::fflush(stdout);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageW(&msg);
        }
        return 0;
    }
    HWND window = FindWindowW(nullptr, argv[2]);
    if (!window) {
        std::printf("not found\n");
        return 3;
    }
    if (verb == L"info") {
        wchar_t cls[256] = L"";
        GetClassNameW(window, cls, 256);
        RECT r = {};
        GetWindowRect(window, &r);
        std::printf("class=%s\nstyle=0x%08lX\nexstyle=0x%08lX\nrect=%ld,%ld,%ld,%ld\nvisible=%d\n",
                    Utf8(cls).c_str(),
                    static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
                    static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)), r.left, r.top,
                    r.right, r.bottom, IsWindowVisible(window) ? 1 : 0);
    } else if (verb == L"text") {
        EnumChildWindows(window, PrintChildText, 0);
    } else if (verb == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else if (verb == L"press" && argc > 3) {
        HWND button = GetDlgItem(window, _wtoi(argv[3]));
        if (!button) {
            return 3;
        }
        PostMessageW(button, BM_CLICK, 0, 0);
    } else {
        return 2;
    }
    std::fflush(stdout);
    return 0;
}
