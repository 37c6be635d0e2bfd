#include "window/calculator_window_win.h"

#include "resources/resource_ids.h"
#include "window/dpi_win.h"
#include "window/emblem_win.h"
#include "window/last_error_win.h"
#include "window/layout.h"
#include "window/text_win.h"

#include <exception>

namespace taliven {
namespace {

constexpr wchar_t className[] = L"Taliven.Form1";
// Fixed size: nothing in the window follows a resize, so none is offered.
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD windowExStyle = 0;

void registerWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TALIVEN));
    // The small icon (title bar, task switcher) is scaled from the one image.
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_TALIVEN), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
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

CalculatorWindow::CalculatorWindow(const FormDefinition& form, HINSTANCE instance) : form_(form) {
    backgroundBrush_.reset(CreateSolidBrush(form.background));
    for (const ControlDefinition& control : form.controls) {
        if (control.background && !readoutBrush_) {
            readoutBrush_.reset(CreateSolidBrush(*control.background));
        }
    }
    if (!backgroundBrush_ || !readoutBrush_) {
        throwLastError("Creating the window colours");
    }
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
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    SetFocus(bound_.voltageSlider);

    // After the first paint: nobody can ask for a name before the window shows.
    accessibleNames_ = std::make_unique<AccessibleNames>();
    for (std::size_t index = 0; index < form_.controls.size(); ++index) {
        if (form_.controls[index].kind == ControlKind::HorizontalScrollBar) {
            accessibleNames_->name(controls_[index], widen(form_.controls[index].text).c_str());
        }
    }
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
        switch (control.role) {
        case ControlRole::VoltageSlider:
            bound_.voltageSlider = child;
            break;
        case ControlRole::CurrentSlider:
            bound_.currentSlider = child;
            break;
        case ControlRole::VoltageReadout:
            bound_.voltageReadout = child;
            break;
        case ControlRole::CurrentReadout:
            bound_.currentReadout = child;
            break;
        case ControlRole::ResistanceReadout:
            bound_.resistanceReadout = child;
            break;
        case ControlRole::Emblem:
            emblem_ = loadEmblem(instance);
            break;
        case ControlRole::Caption:
            break;
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
}

void CalculatorWindow::applyDpi(int dpi) {
    LOGFONTW fontSpec = messageFontForDpi(dpi);
    UniqueFont font(CreateFontIndirectW(&fontSpec));
    if (!font) {
        throwLastError("Creating the font");
    }
    for (std::size_t index = 0; index < form_.controls.size(); ++index) {
        const PixelRect rect = controlRectPx(form_.controls[index], dpi);
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

    const PixelRect clientPx = clientRectPx(form_, dpi);
    const RECT frame = windowRectForClient({0, 0, clientPx.right, clientPx.bottom}, windowStyle,
                                           windowExStyle, dpi);
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    InvalidateRect(hwnd_, nullptr, TRUE);
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
    case WM_CTLCOLORSTATIC:
        return onControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
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
        // Regional settings ("intl") or the message font may have changed;
        // both are cheap to read again, so lParam is never looked at.
        readDecimalSeparator();
        if (wParam == SPI_SETNONCLIENTMETRICS) {
            applyDpi(dpi_);
        }
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(hwnd_, focus) != FALSE) {
                lastFocus_ = focus;
            }
        }
        break;
    case WM_SETFOCUS:
        SetFocus(lastFocus_ != nullptr ? lastFocus_ : bound_.voltageSlider);
        return 0;
    case WM_DESTROY:
        if (accessibleNames_) {
            accessibleNames_->clear(); // while the sliders still exist
        }
        if (running_) {
            PostQuitMessage(failed_ ? 1 : 0);
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CalculatorWindow::onControlColour(HDC dc, HWND control) noexcept {
    for (std::size_t index = 0; index < form_.controls.size(); ++index) {
        if (controls_[index] == control && form_.controls[index].background) {
            SetBkColor(dc, *form_.controls[index].background);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(readoutBrush_.get());
        }
    }
    // Captions and the picture frame draw on the window's own colour.
    SetBkColor(dc, form_.background);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(backgroundBrush_.get());
}

const SliderRange& CalculatorWindow::rangeOf(ControlRole slider) const noexcept {
    static constexpr SliderRange none{};
    for (const ControlDefinition& control : form_.controls) {
        if (control.role == slider) {
            return control.range;
        }
    }
    return none;
}

} // namespace taliven
