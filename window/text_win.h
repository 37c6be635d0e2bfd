#pragma once

// UTF-8 (the readout logic's texts) to and from UTF-16 (Windows' texts).

#include <windows.h>

#include <string>
#include <string_view>

namespace taliven {

[[nodiscard]] std::wstring widen(std::string_view utf8);
[[nodiscard]] std::string narrow(std::wstring_view utf16);

// A window's whole text, as UTF-8.
[[nodiscard]] std::string windowText(HWND window);
// Replaces a window's text; throws ControlError when the window refuses.
void setWindowText(HWND window, std::string_view utf8, const char* what = "Setting a text");

} // namespace taliven
