#include "app.h"

#include <windows.h>

#include <vector>

#include "command_line.h"
#include "form_win32.h"
#include "handles_win32.h"
#include "twips.h"

namespace forms {

namespace detail {
void DispatchLoopMessage(MSG& msg);
}

namespace {
std::wstring g_title;
bool g_titleSet = false;
MousePointer g_pointer = MousePointer::Default;

// The program file's full path; the buffer grows until the path fits.
template <typename Char, typename Get> std::basic_string<Char> ModulePath(Get getModuleFileName) {
    std::vector<Char> buffer(MAX_PATH);
    for (;;) {
        DWORD n = getModuleFileName(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return std::basic_string<Char>();
        }
        if (n < buffer.size()) {
            return std::basic_string<Char>(buffer.data(), n);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ModuleFileName() {
    return ModulePath<wchar_t>(GetModuleFileNameW);
}
} // namespace

std::string AppPath() {
    const std::string path = ModulePath<char>(GetModuleFileNameA);
    const std::string::size_type slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Command() {
    const char* line = GetCommandLineA();
    return CommandAfterProgramName(line ? line : "");
}

void Run() {
    MSG msg;
    while (LoadedFormCount() > 0) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r <= 0) {
            break;
        }
        detail::DispatchLoopMessage(msg);
    }
}

void End() {
    ExitProcess(0);
}

std::wstring AppTitle() {
    if (!g_titleSet) {
        std::wstring path = ModuleFileName();
        std::wstring::size_type slash = path.find_last_of(L"\\/");
        std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
        std::wstring::size_type dot = name.find_last_of(L'.');
        return dot == std::wstring::npos ? name : name.substr(0, dot);
    }
    return g_title;
}

void SetAppTitle(const std::wstring& title) {
    g_title = title;
    g_titleSet = true;
}

void MsgBox(const std::wstring& text) {
    std::wstring caption = AppTitle();
    // The box runs its own message loop; counting it as a handler keeps every
    // timer of the program from ticking inside it.
    detail::Gate().Enter();
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
    detail::Gate().Leave();
    detail::AfterHandler();
}

bool Shell(const std::string& path, unsigned waitForInputIdleMs) {
    if (path.empty()) {
        return false;
    }
    // The file is named as the program to run, and quoted as its first word, so
    // a folder with blanks in its name starts the right file.
    std::string commandLine = "\"" + path + "\"";
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
        return false;
    }
    KernelHandle process(pi.hProcess);
    KernelHandle thread(pi.hThread);
    // The host's own windows are hidden; let the new program take the focus.
    AllowSetForegroundWindow(pi.dwProcessId);
    if (waitForInputIdleMs > 0) {
        WaitForInputIdle(process.get(), waitForInputIdleMs);
    }
    return true;
}

double TwipsPerPixelX() {
    WindowDc screen(nullptr);
    return TwipsPerPixel(screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0);
}

double TwipsPerPixelY() {
    WindowDc screen(nullptr);
    return TwipsPerPixel(screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0);
}

double ScreenWidthTwips() {
    return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX();
}
double ScreenHeightTwips() {
    return GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY();
}

void SetScreenMousePointer(MousePointer pointer) {
    g_pointer = pointer;
    LPCWSTR id = pointer == MousePointer::Hourglass ? reinterpret_cast<LPCWSTR>(IDC_WAIT)
                                                    : reinterpret_cast<LPCWSTR>(IDC_ARROW);
    SetCursor(LoadCursorW(nullptr, id));
}

MousePointer ScreenMousePointer() {
    return g_pointer;
}

} // namespace forms
