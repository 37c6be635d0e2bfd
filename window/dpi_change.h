#pragma once

// Which DPI changes the window acts on. WM_DPICHANGED and WM_GETDPISCALEDSIZE
// carry a DPI and a pointer, and any process can send either with anything
// in them; acting on a made-up one would resize the window or read (or
// write) memory through a pointer that is not ours. Portable, so the rules
// are tested without a window.

#include <cstdint>
#include <optional>

namespace taliven {

// Windows offers scales from 100 to 500 %; anything the system confirms
// outside a generous margin around that is taken as the nearest end, so the
// layout arithmetic always works on sane numbers.
constexpr int lowestDpi = 48;
constexpr int highestDpi = 960;

[[nodiscard]] constexpr int saneDpi(int dpi) {
    return dpi < lowestDpi ? lowestDpi : dpi > highestDpi ? highestDpi : dpi;
}

// Windows sends both messages, never posts them, and not always from the
// window's own thread. Its move loop and a display-scale change run there;
// a SetWindowPos by another thread or process (a window manager, a
// snapping tool, a script) makes win32k send the DPI messages on the
// caller's thread (xxxEndDeferWindowPosEx ... xxxSendDpiChangedMsgs,
// xxxSendMessage). InSendMessageEx answers ISMEX_NOSEND (0) for a message
// sent by the same thread, and ISMEX_SEND, ISMEX_NOTIFY (SendNotifyMessage)
// or ISMEX_CALLBACK (SendMessageCallback), perhaps with ISMEX_REPLIED, for
// another thread's; for a message raised on our thread while it handles
// another thread's, it reports that outer message (ReactOS keeps one
// THREADSTATE_INSENDMESSAGE per thread). It answers 0 for a posted message
// too, so the host drops posted ones before they are dispatched. Only a
// pointer sent by our own thread is one of ours to read or write.
[[nodiscard]] constexpr bool sentByOwnThread(std::uint32_t inSendMessageEx) {
    return inSendMessageEx == 0;
}

// WM_DPICHANGED: "the HIWORD of wParam contains the Y-axis value of the new
// DPI, the LOWORD the X-axis value; for Windows apps they are the same". The
// change is real only when the window already has that DPI, as the system
// says (GetDpiForWindow, or the DPI of its monitor): Microsoft's per-monitor
// samples read GetDpiForWindow inside this message for the new layout.
// `windowDpi` is 0 where the system cannot tell; then nothing is done.
[[nodiscard]] constexpr std::optional<int> confirmedDpiChange(std::uint32_t wParam, int windowDpi,
                                                              int currentDpi) {
    const auto x = static_cast<int>(wParam & 0xFFFFU);
    const auto y = static_cast<int>(wParam >> 16U);
    if (x != y || x != windowDpi || windowDpi == 0 || saneDpi(x) == currentDpi) {
        return std::nullopt;
    }
    return saneDpi(x);
}

struct DpiChange {
    int dpi;
    // Whether the suggested rectangle may be read: otherwise the window
    // keeps its top left and takes the size computed for the new DPI.
    bool atSuggestedRect;
};

// Every change the system confirms is acted on, whoever sent the message:
// the DPI it names is the one the window has. Only the pointer depends on
// the sender.
[[nodiscard]] constexpr std::optional<DpiChange> dpiChangeToApply(std::uint32_t wParam,
                                                                  int windowDpi, int currentDpi,
                                                                  std::uint32_t inSendMessageEx) {
    const auto dpi = confirmedDpiChange(wParam, windowDpi, currentDpi);
    if (!dpi) {
        return std::nullopt;
    }
    return DpiChange{*dpi, sentByOwnThread(inSendMessageEx)};
}

// WM_GETDPISCALEDSIZE asks for the window's size at a new DPI before the
// change, so there is nothing to confirm it against yet: only where it came
// from. A request from another thread (some other process's, or the system
// on another program's SetWindowPos) is answered FALSE, which leaves the
// size to the system's linear scaling; its pointer is never written.
[[nodiscard]] constexpr std::optional<int>
trustedDpiQuery(std::uintptr_t wParam, std::uint32_t inSendMessageEx, int currentDpi) {
    if (!sentByOwnThread(inSendMessageEx) || wParam < static_cast<std::uintptr_t>(lowestDpi) ||
        wParam > static_cast<std::uintptr_t>(highestDpi) ||
        wParam == static_cast<std::uintptr_t>(currentDpi)) {
        return std::nullopt;
    }
    return static_cast<int>(wParam);
}

} // namespace taliven
