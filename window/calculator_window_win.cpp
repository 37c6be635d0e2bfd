#include "window/calculator_window_win.h"

#include "resources/resource_ids.h"
#include "window/dpi_win.h"
#include "window/emblem_win.h"
#include "window/last_error_win.h"
#include "window/show_command.h"
#include "window/text_win.h"

#include <exception>

namespace taliven {
namespace {

constexpr wchar_t className[] = L"Taliven.Form1";
// Posted to itself once the window has painted: work the first paint does not need.
constexpr UINT afterFirstPaintMessage = WM_APP + 1;

static_assert(SW_HIDE == static_cast<int>(ShowCommand::Hide) &&
              SW_SHOWMAXIMIZED == static_cast<int>(ShowCommand::ShowMaximized) &&
              SW_SHOWNOACTIVATE == static_cast<int>(ShowCommand::ShowNoActivate) &&
              SW_SHOWMINNOACTIVE == static_cast<int>(ShowCommand::ShowMinNoActive) &&
              SW_SHOWNA == static_cast<int>(ShowCommand::ShowNA) &&
              SW_FORCEMINIMIZE == static_cast<int>(ShowCommand::ForceMinimize));

void registerWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TALIVEN));
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throwLastError("Registering the window class");
    }
}

// Windows sends WM_DPICHANGED and WM_GETDPISCALEDSIZE, never posts them: a
// posted one is another program's, with a pointer that is not ours. Dropped
// from every message loop of the thread (menus and message boxes run their
// own) before it is dispatched.
LRESULT CALLBACK dropPostedDpiMessages(int code, WPARAM wParam, LPARAM lParam) noexcept {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION &&
        (message->message == WM_DPICHANGED || message->message == WM_GETDPISCALEDSIZE)) {
        message->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD controlStyle(const ControlDefinition& control) {
    const DWORD common = WS_CHILD | WS_VISIBLE;
    switch (control.kind) {
    case ControlKind::HorizontalScrollBar:
        return common | WS_TABSTOP | SBS_HORZ;
    case ControlKind::Picture:
        return common | SS_BITMAP | SS_CENTERIMAGE;
    case ControlKind::Label:
        break;
    }
    return common | SS_LEFT | SS_NOPREFIX;
}

} // namespace

CalculatorWindow::CalculatorWindow(const FormDefinition& form, HINSTANCE instance, int showCommand)
    : form_(form), accelerators_(LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_TALIVEN))),
      emblem_(loadEmblem(instance)),
      // LoadIcon would give the class icon stretched to the large-icon size
      // of the system DPI; the title bar's icon is averaged from the image
      // as drawn.
      icon32_(static_cast<HICON>(
          LoadImageW(instance, MAKEINTRESOURCEW(IDI_TALIVEN), IMAGE_ICON, 32, 32, 0))),
      textPercent_(readTextScale()) {
    applyColours();
    readDecimalSeparator();
    registerWindowClass(instance, &CalculatorWindow::windowProc);
    postedMessageFilter_.reset(
        SetWindowsHookExW(WH_GETMESSAGE, dropPostedDpiMessages, nullptr, GetCurrentThreadId()));

    // Made at its final size, each control in its place with its font and
    // picture, for the DPI the window most likely opens at; where it opens
    // at another (a launcher can name another monitor), it is laid out
    // again, in one pass, before it shows.
    DpiLook look = lookFor(likelyWindowDpi());
    const SIZE frame = frameSizePx(look.dpi, look.layoutPercent);
    const std::wstring title = widen(form.title);
    window_.reset(CreateWindowExW(windowExStyle, className, title.c_str(), windowStyle,
                                  CW_USEDEFAULT, CW_USEDEFAULT, frame.cx, frame.cy, nullptr,
                                  nullptr, instance, this));
    if (!window_) {
        throwLastError("Creating the window");
    }
    createControls(instance, look);
    wear(std::move(look));
    if (const int dpi = dpiForWindow(hwnd_); dpi != dpi_) {
        applyDpi(dpi);
    }
    running_ = true;
    show(showCommand);
    if (hwnd_ != nullptr) {
        PostMessageW(hwnd_, afterFirstPaintMessage, 0, 0);
    }
}

void CalculatorWindow::show(int showCommand) {
    const FirstShow first = firstShow(showCommand);
    ShowWindow(hwnd_, static_cast<int>(first.command));
    if (const auto second = secondShow(IsWindowVisible(hwnd_) != FALSE, IsZoomed(hwnd_) != FALSE)) {
        ShowWindow(hwnd_, static_cast<int>(*second));
    }
    UpdateWindow(hwnd_);
    if (first.takesFocus) {
        SetFocus(lastFocus_);
    }
}

void CalculatorWindow::createControls(HINSTANCE instance, const DpiLook& look) {
    for (const std::size_t index : form_.readingOrder) {
        const ControlDefinition& control = form_.controls[index];
        const bool slider = control.kind == ControlKind::HorizontalScrollBar;
        const std::wstring text = widen(control.text);
        const PixelRect rect = controlRectPx(control, look.dpi, look.layoutPercent);
        const HWND child = CreateWindowExW(
            0, slider ? L"SCROLLBAR" : L"STATIC", text.c_str(), controlStyle(control), rect.left,
            rect.top, rect.widthPx(), rect.heightPx(), hwnd_,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(index + 1)), instance, nullptr);
        if (child == nullptr) {
            throwLastError("Creating a control");
        }
        controls_[index] = child;
        if (slider) {
            // A page size of 0 keeps the thumb small and every value reachable.
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
            info.nMin = control.range.minimum;
            info.nMax = control.range.maximum;
            info.nPos = control.range.minimum;
            SetScrollInfo(child, SB_CTL, &info, FALSE);
        }
    }
    bound_ = {controlFor(ControlRole::VoltageSlider), controlFor(ControlRole::CurrentSlider),
              controlFor(ControlRole::VoltageReadout), controlFor(ControlRole::CurrentReadout),
              controlFor(ControlRole::ResistanceReadout)};
    lastFocus_ = bound_.voltageSlider; // the first control in tab order
}

void CalculatorWindow::rememberFocus() noexcept {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus) != FALSE) {
        lastFocus_ = focus;
    }
}

int CalculatorWindow::runMessageLoop() noexcept {
    if (hwnd_ == nullptr) {
        return 1; // it failed on the way to the screen, and said so
    }
    MSG message{};
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) {
            return static_cast<int>(message.wParam);
        }
        if (result == -1) {
            return 1;
        }
        if (hwnd_ != nullptr && TranslateAcceleratorW(hwnd_, accelerators_, &message) != 0) {
            continue; // Ctrl+C, Ctrl+Insert
        }
        // The dialog manager gives Tab and Shift+Tab between the sliders.
        if (hwnd_ == nullptr || IsDialogMessageW(hwnd_, &message) == FALSE) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

LRESULT CALLBACK CalculatorWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<CalculatorWindow*>(create->lpCreateParams);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        enableCaptionScaling(window);
    }
    auto* self = reinterpret_cast<CalculatorWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        (void)self->window_.release_ownership(); // the system has destroyed it
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->handleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        self->reportFailure(error.what());
    } catch (...) {
        self->reportFailure("Unknown error");
    }
    return 0;
}

LRESULT CalculatorWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Until every control exists, what other programs send (a settings
    // change, say) finds nothing to act on; the window shows only after that.
    if (!running_) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    switch (message) {
    case WM_HSCROLL:
        onScroll(wParam, lParam);
        return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        onWheel(wParam, lParam, message == WM_MOUSEHWHEEL);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_COPY) {
            copyReadouts();
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0U) == IDM_KEEP_ON_TOP) {
            toggleKeepOnTop();
            return 0;
        }
        if ((wParam & 0xFFF0U) == SC_MINIMIZE) {
            rememberFocus();
        }
        break;
    case WM_CTLCOLORSTATIC: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        const auto control = reinterpret_cast<HWND>(lParam);
        const bool readout = control == bound_.voltageReadout || control == bound_.currentReadout ||
                             control == bound_.resistanceReadout;
        // Captions and the picture frame draw on the window's own colour.
        SetBkColor(dc, readout ? colours_.readoutBackground : colours_.background);
        SetTextColor(dc, readout ? colours_.readoutText : colours_.text);
        return reinterpret_cast<LRESULT>(readout ? readoutBrush_.get() : backgroundBrush_.get());
    }
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush_.get());
        return 1;
    }
    case WM_DPICHANGED:
        onDpiChanged(wParam, lParam);
        return 0;
    case WM_GETDPISCALEDSIZE:
        return onGetDpiScaledSize(wParam, lParam) ? TRUE : FALSE;
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam) != 0) { // the system menu
            showKeepOnTopState();
        }
        break;
    case WM_SETTINGCHANGE:
        onSettingChange(wParam);
        return 0;
    case WM_SYSCOLORCHANGE:
        // "Top-level windows must forward the WM_SYSCOLORCHANGE message" to
        // their controls.
        for (const HWND control : controls_) {
            SendMessageW(control, WM_SYSCOLORCHANGE, wParam, lParam);
        }
        applyColours();
        return 0;
    case afterFirstPaintMessage:
        // Once, whoever else posts the same number.
        if (!afterFirstPaintDone_) {
            afterFirstPaintDone_ = true;
            afterFirstPaint();
        }
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            rememberFocus();
        }
        break;
    case WM_SETFOCUS:
        SetFocus(lastFocus_);
        return 0;
    case WM_DESTROY:
        annotations_.clear(); // while the controls still exist
        if (running_) {
            PostQuitMessage(failed_ ? 1 : 0);
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

HWND CalculatorWindow::controlFor(ControlRole role) const noexcept {
    for (std::size_t index = 0; index < form_.controls.size(); ++index) {
        if (form_.controls[index].role == role) {
            return controls_[index];
        }
    }
    return nullptr;
}

} // namespace taliven
