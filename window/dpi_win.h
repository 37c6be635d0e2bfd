#pragma once

// Per-monitor DPI with the APIs of Windows 10, falling back to the system DPI
// on Windows 7 and 8, where those APIs do not exist.

#include <windows.h>

namespace taliven {

constexpr int defaultDpi = USER_DEFAULT_SCREEN_DPI; // 96: one pixel is 15 twips

// The window's DPI as the system knows it, or 0 where it cannot tell
// (before Windows 8.1).
[[nodiscard]] int windowDpi(HWND window) noexcept;
// The same, falling back to the system DPI.
[[nodiscard]] int dpiForWindow(HWND window) noexcept;
// The DPI a new window most likely opens at: the system DPI, the screen's
// on a single monitor, read without a window. Only a guess: a launcher can
// name another monitor, and the window's own DPI is read once it exists.
[[nodiscard]] int likelyWindowDpi() noexcept;

// Lets Windows 10 1607, whose per-monitor awareness is v1, scale the title
// bar with the DPI; call while the window handles WM_NCCREATE.
void enableCaptionScaling(HWND window) noexcept;

// The outer size that gives `client` exactly, for this style at this DPI.
[[nodiscard]] RECT windowRectForClient(const RECT& client, DWORD style, DWORD exStyle,
                                       int dpi) noexcept;

// The user's message font, scaled for `dpi`.
[[nodiscard]] LOGFONTW messageFontForDpi(int dpi) noexcept;

// The side of the title bar's icon at `dpi`.
[[nodiscard]] int smallIconSizeForDpi(int dpi) noexcept;

// The user's display settings: a high-contrast theme, and the "make text
// bigger" setting in percent (100 when it is not set).
[[nodiscard]] bool highContrastOn() noexcept;
[[nodiscard]] int readTextScale() noexcept;

} // namespace taliven
