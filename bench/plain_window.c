/* The honest floor for start-up time: the calculator's window written
   plainly in C with the same toolchain and resources (icon, emblem,
   manifest): the same nine controls, colours, font and picture, laid out at
   the system DPI, and nothing else. */

#include "resource_ids.h"

#include <windows.h>

static HBRUSH green, pink;

static LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID((HWND)lParam);
        const int readout = id >= 4 && id <= 6;
        SetBkColor((HDC)wParam, readout ? RGB(255, 128, 128) : RGB(108, 170, 147));
        SetTextColor((HDC)wParam, GetSysColor(COLOR_WINDOWTEXT));
        return (LRESULT)(readout ? pink : green);
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show) {
    /* In tab order: left, top, width, height in twips; the picture last. */
    static const struct {
        const wchar_t* kind;
        const wchar_t* text;
        int left, top, width, height;
        DWORD style;
    } controls[] = {
        {L"STATIC", L"Voltage", 120, 120, 1575, 375, SS_LEFT | SS_NOPREFIX},
        {L"SCROLLBAR", L"Voltage", 120, 600, 2295, 135, SBS_HORZ | WS_TABSTOP},
        {L"SCROLLBAR", L"Current", 120, 1320, 2295, 135, SBS_HORZ | WS_TABSTOP},
        {L"STATIC", L"0", 1800, 240, 615, 255, SS_LEFT | SS_NOPREFIX},
        {L"STATIC", L"0", 1800, 960, 615, 255, SS_LEFT | SS_NOPREFIX},
        {L"STATIC", L"0", 1800, 1680, 1815, 255, SS_LEFT | SS_NOPREFIX},
        {L"STATIC", L"Current", 120, 840, 1575, 375, SS_LEFT | SS_NOPREFIX},
        {L"STATIC", L"Resistance", 120, 1560, 1575, 375, SS_LEFT | SS_NOPREFIX},
        {L"STATIC", L"", 2640, 120, 960, 960, SS_BITMAP | SS_CENTERIMAGE},
    };
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    WNDCLASSW windowClass = {0};
    NONCLIENTMETRICSW metrics = {0};
    HDC screen = GetDC(NULL);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    RECT frame = {0, 0, MulDiv(3705, dpi, 1440), MulDiv(2040, dpi, 1440)};
    HFONT font;
    HWND window;
    MSG msg;
    size_t k;
    (void)previous;
    (void)commandLine;
    ReleaseDC(NULL, screen);
    green = CreateSolidBrush(RGB(108, 170, 147));
    pink = CreateSolidBrush(RGB(255, 128, 128));
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font = CreateFontIndirectW(&metrics.lfMessageFont);

    windowClass.lpfnWndProc = plainProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TALIVEN));
    windowClass.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    windowClass.hbrBackground = green;
    windowClass.lpszClassName = L"Plain.Form1";
    RegisterClassW(&windowClass);
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window = CreateWindowExW(0, L"Plain.Form1", L"Taliven", style, CW_USEDEFAULT, CW_USEDEFAULT,
                             frame.right - frame.left, frame.bottom - frame.top, NULL, NULL,
                             instance, NULL);
    for (k = 0; k < sizeof controls / sizeof controls[0]; ++k) {
        const int left = MulDiv(controls[k].left, dpi, 1440);
        const int top = MulDiv(controls[k].top, dpi, 1440);
        const HWND child = CreateWindowExW(
            0, controls[k].kind, controls[k].text, WS_CHILD | WS_VISIBLE | controls[k].style, left,
            top, MulDiv(controls[k].left + controls[k].width, dpi, 1440) - left,
            MulDiv(controls[k].top + controls[k].height, dpi, 1440) - top, window,
            (HMENU)(k + 1), instance, NULL);
        SendMessageW(child, WM_SETFONT, (WPARAM)font, FALSE);
        if (controls[k].style & SS_BITMAP) {
            SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP,
                         (LPARAM)LoadImageW(instance, MAKEINTRESOURCEW(IDB_EMBLEM), IMAGE_BITMAP,
                                            0, 0, 0));
        } else if (controls[k].style & SBS_HORZ) {
            SetScrollRange(child, SB_CTL, 0, 100, FALSE);
        }
    }
    ShowWindow(window, show);
    UpdateWindow(window);
    SetFocus(GetDlgItem(window, 2));
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return (int)msg.wParam;
}
