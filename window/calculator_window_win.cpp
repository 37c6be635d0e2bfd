#include "window/calculator_window_win.h"

#include "resources/resource_ids.h"
#include "window/dpi_win.h"
#include "window/emblem_win.h"
#include "window/last_error_win.h"
#include "window/layout.h"
#include "window/small_icon_win.h"
#include "window/text_win.h"

#include <exception>

namespace taliven {
namespace {

constexpr wchar_t className[] = L"Taliven.Form1";
// Fixed size: nothing in the window follows a resize, so none is offered.
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD windowExStyle = 0;
// Posted to itself once the window has painted: work the first paint does not need.
constexpr UINT afterFirstPaintMessage = WM_APP + 1;

void registerWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    // The small icon is averaged from this one, per DPI (applyDpi).
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TALIVEN));
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throwLastError("Registering the window class");
    }
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
      textPercent_(readTextScale()) {
    applyColours();
    readDecimalSeparator();
    registerWindowClass(instance, &CalculatorWindow::windowProc);

    const std::wstring title = widen(form.title);
    window_.reset(CreateWindowExW(windowExStyle, className, title.c_str(), windowStyle,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  nullptr, nullptr, instance, this));
    if (!window_) {
        throwLastError("Creating the window");
    }
    createControls(instance);
    applyDpi(dpiForWindow(hwnd_));

    running_ = true;
    lastFocus_ = bound_.voltageSlider;
    ShowWindow(hwnd_, showCommand); // as the shortcut or the caller asked
    UpdateWindow(hwnd_);
    SetFocus(bound_.voltageSlider);
    PostMessageW(hwnd_, afterFirstPaintMessage, 0, 0);
}

void CalculatorWindow::createControls(HINSTANCE instance) {
    for (std::size_t index = 0; index < form_.controls.size(); ++index) {
        const ControlDefinition& control = form_.controls[index];
        const bool isSlider = control.kind == ControlKind::HorizontalScrollBar;
        const std::wstring text = widen(control.text);
        // Children are created in tab order: the dialog manager tabs in Z order.
        // Each is placed by applyDpi once the window's DPI is known.
        const HWND child = CreateWindowExW(
            0, isSlider ? L"SCROLLBAR" : L"STATIC", text.c_str(), controlStyle(control), 0, 0, 0, 0,
            hwnd_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(index + 1)), instance, nullptr);
        if (child == nullptr) {
            throwLastError("Creating a control");
        }
        controls_[index] = child;
        if (control.role == ControlRole::Emblem) {
            emblem_ = loadEmblem(instance);
        }
        if (isSlider) {
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
}

void CalculatorWindow::applyDpi(int dpi) {
    LOGFONTW fontSpec = messageFontForDpi(dpi);
    fontSpec.lfHeight = MulDiv(fontSpec.lfHeight, textPercent_, unscaledTextPercent);
    UniqueFont font(CreateFontIndirectW(&fontSpec));
    if (!font) {
        throwLastError("Creating the font");
    }
    for (std::size_t index = 0; index < form_.controls.size(); ++index) {
        const PixelRect rect = controlRectPx(form_.controls[index], dpi, textPercent_);
        SetWindowPos(controls_[index], nullptr, rect.left, rect.top, rect.widthPx(),
                     rect.heightPx(), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(controls_[index], WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        if (form_.controls[index].kind == ControlKind::Picture) {
            // The emblem fills its frame: unscaled at 96 dpi, smoothly scaled elsewhere.
            UniqueBitmap picture =
                makeGreyBitmap(resample(emblem_, rect.widthPx(), rect.heightPx()));
            SendMessageW(controls_[index], STM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(picture.get()));
            emblemBitmap_ = std::move(picture); // the previous one is no longer shown
        }
    }
    font_ = std::move(font); // the old font is freed only once no control uses it
    dpi_ = dpi;

    UniqueIcon smallIcon = makeSmallIcon(
        reinterpret_cast<HICON>(GetClassLongPtrW(hwnd_, GCLP_HICON)), smallIconSizeForDpi(dpi));
    if (smallIcon) {
        SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
        smallIcon_ = std::move(smallIcon);
    }

    const PixelRect clientPx = clientRectPx(form_, dpi, textPercent_);
    const RECT frame = windowRectForClient({0, 0, clientPx.right, clientPx.bottom}, windowStyle,
                                           windowExStyle, dpi);
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void CalculatorWindow::rememberFocus() noexcept {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus) != FALSE) {
        lastFocus_ = focus;
    }
}

int CalculatorWindow::runMessageLoop() noexcept {
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
    case WM_DPICHANGED: {
        // "wParam: the new DPI; lParam: a suggested size and position". Only
        // a real change is acted on, so another process cannot make us read
        // a pointer it made up.
        const int dpi = dpiForWindow(hwnd_);
        if (dpi == dpi_) {
            return 0;
        }
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
        applyDpi(dpi);
        return 0;
    }
    case WM_SETTINGCHANGE:
        onSettingChange(wParam);
        return 0;
    case WM_SYSCOLORCHANGE:
        applyColours();
        return 0;
    case afterFirstPaintMessage:
        afterFirstPaint();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            rememberFocus();
        }
        break;
    case WM_SETFOCUS:
        SetFocus(lastFocus_ != nullptr ? lastFocus_ : bound_.voltageSlider);
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
        if (form_.controls[index].role == role && role != ControlRole::Caption) {
            return controls_[index];
        }
    }
    return nullptr;
}

} // namespace taliven
