#include "wide_win32.h"

#include <windows.h>

#include <climits>

namespace forms {

namespace {

std::wstring Widen(UINT codePage, std::string_view s) {
    if (s.empty() || s.size() > INT_MAX) {
        return std::wstring();
    }
    int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (n <= 0) {
        return std::wstring();
    }
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string Narrow(UINT codePage, std::wstring_view s) {
    if (s.empty() || s.size() > INT_MAX) {
        return std::string();
    }
    int n = WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                nullptr, nullptr);
    if (n <= 0) {
        return std::string();
    }
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

} // namespace

std::wstring WidenAnsi(std::string_view ansi) {
    return Widen(CP_ACP, ansi);
}
std::wstring WidenUtf8(std::string_view utf8) {
    return Widen(CP_UTF8, utf8);
}
std::string NarrowAnsi(std::wstring_view wide) {
    return Narrow(CP_ACP, wide);
}
std::string NarrowUtf8(std::wstring_view wide) {
    return Narrow(CP_UTF8, wide);
}

} // namespace forms
