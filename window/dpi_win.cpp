#include "window/dpi_win.h"

#include "window/layout.h"
#include "window/system_dll_win.h"

namespace taliven {
namespace {

template <typename Function> Function user32Function(const char* name) noexcept {
    return systemFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

int systemDpi() noexcept {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : defaultDpi;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : defaultDpi;
}

} // namespace

int windowDpi(HWND window) noexcept {
    using GetDpi = UINT(WINAPI*)(HWND);
    static const auto getDpi = user32Function<GetDpi>("GetDpiForWindow");
    if (getDpi != nullptr) {
        return static_cast<int>(getDpi(window));
    }
    // Windows 8.1 up to 10 1511: the DPI of the monitor the window is on.
    using GetMonitorDpi = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getMonitorDpi =
        systemFunction<GetMonitorDpi>(systemDll(L"shcore.dll"), "GetDpiForMonitor");
    UINT x = 0;
    UINT y = 0;
    constexpr int effectiveDpi = 0; // MDT_EFFECTIVE_DPI
    if (getMonitorDpi != nullptr &&
        SUCCEEDED(getMonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), effectiveDpi,
                                &x, &y))) {
        return static_cast<int>(x);
    }
    return 0;
}

int dpiForWindow(HWND window) noexcept {
    const int dpi = windowDpi(window);
    return dpi != 0 ? dpi : systemDpi();
}

int likelyWindowDpi() noexcept {
    return systemDpi();
}

void enableCaptionScaling(HWND window) noexcept {
    // Where per-monitor v2 is in force the system does this itself.
    using EnableScaling = BOOL(WINAPI*)(HWND);
    static const auto enable = user32Function<EnableScaling>("EnableNonClientDpiScaling");
    if (enable != nullptr) {
        enable(window);
    }
}

RECT windowRectForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi) noexcept {
    RECT frame = client;
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = user32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr ||
        adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)) == FALSE) {
        frame = client;
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return frame;
}

LOGFONTW messageFontForDpi(int dpi) noexcept {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    using ParametersForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto parametersForDpi =
        user32Function<ParametersForDpi>("SystemParametersInfoForDpi");
    if (parametersForDpi != nullptr &&
        parametersForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0,
                         static_cast<UINT>(dpi)) != FALSE) {
        return metrics.lfMessageFont;
    }
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE) {
        // Older systems give the font at the system DPI.
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi());
        return metrics.lfMessageFont;
    }
    LOGFONTW fallback{};
    fallback.lfHeight = -MulDiv(9, dpi, 72);
    fallback.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(fallback.lfFaceName, L"Segoe UI", LF_FACESIZE);
    return fallback;
}

int smallIconSizeForDpi(int dpi) noexcept {
    using MetricsForDpi = int(WINAPI*)(int, UINT);
    static const auto metricsForDpi = user32Function<MetricsForDpi>("GetSystemMetricsForDpi");
    const int sizePx = metricsForDpi != nullptr
                           ? metricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi))
                           : MulDiv(GetSystemMetrics(SM_CXSMICON), dpi, systemDpi());
    return sizePx > 0 ? sizePx : MulDiv(16, dpi, defaultDpi);
}

bool highContrastOn() noexcept {
    HIGHCONTRASTW highContrast{};
    highContrast.cbSize = sizeof highContrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) !=
               FALSE &&
           (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

int readTextScale() noexcept {
    DWORD setting = unscaledTextPercent;
    DWORD size = sizeof setting;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Accessibility", L"TextScaleFactor",
                     RRF_RT_REG_DWORD, nullptr, &setting, &size) != ERROR_SUCCESS) {
        setting = unscaledTextPercent;
    }
    return textScalePercent(setting);
}

} // namespace taliven
