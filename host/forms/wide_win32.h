// Text conversions at the edge of the wide Win32 API.
//
// The host keeps its texts in the ANSI code page (settings, paths, commands);
// what it shows goes through the W functions as UTF-16. Source literals are
// UTF-8 or wide.
//
//   SetWindowTextW(hwnd, forms::WidenAnsi(BgmFile).c_str());
//   std::string typed = forms::NarrowAnsi(combo.Text());
#pragma once

#include <string>
#include <string_view>

namespace forms {

std::wstring WidenAnsi(std::string_view ansi);  // CP_ACP to UTF-16
std::wstring WidenUtf8(std::string_view utf8);  // UTF-8 to UTF-16
std::string NarrowAnsi(std::wstring_view wide); // UTF-16 to CP_ACP ('?' where none)
std::string NarrowUtf8(std::wstring_view wide); // UTF-16 to UTF-8

} // namespace forms
