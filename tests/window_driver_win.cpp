#include "tests/window_driver_win.h"

#include <stdexcept>

namespace taliven::testing {
namespace {

constexpr UINT answerLimitMs = 10000;

INPUT mouseInput(POINT screen, DWORD flags, int wheelDelta = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.mouseData = static_cast<DWORD>(wheelDelta);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    return input;
}

} // namespace

bool waitUntil(const std::function<bool()>& condition, int limitMs) {
    for (int waited = 0; waited < limitMs; waited += 10) {
        if (condition()) {
            return true;
        }
        Sleep(10);
    }
    return condition();
}

LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                            answerLimitMs, &result) == 0) {
        throw std::runtime_error("the window did not answer message " + std::to_string(message));
    }
    return static_cast<LRESULT>(result);
}

PROCESS_INFORMATION startProgram(const wchar_t* program, WORD showCommand) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path.erase(path.find_last_of(L"\\/") + 1);
    std::wstring commandLine = L"\"" + path + L"..\\window\\" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showCommand;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process) == FALSE) {
        throw std::runtime_error("cannot start the program");
    }
    return process;
}

HWND visibleWindowOf(DWORD processId) {
    for (HWND window = GetTopWindow(nullptr); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window) != FALSE &&
            GetWindow(window, GW_OWNER) == nullptr) {
            return window;
        }
    }
    return nullptr;
}

TalivenProcess::TalivenProcess(const wchar_t* program, WORD showCommand)
    : process_(startProgram(program, showCommand)) {
    if (!waitUntil([this] { return (window_ = visibleWindowOf(processId())) != nullptr; })) {
        TerminateProcess(process_.hProcess, 99);
        throw std::runtime_error("the window did not appear");
    }
    send(window_, WM_NULL); // back in its message loop: the first paint is done
    if (showCommand == SW_SHOWNORMAL) {
        SetForegroundWindow(window_);
        waitUntil([this] { return GetForegroundWindow() == window_; });
    }
}

TalivenProcess::~TalivenProcess() {
    TerminateProcess(process_.hProcess, 99); // no effect once it has ended
    WaitForSingleObject(process_.hProcess, answerLimitMs);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

std::vector<HWND> TalivenProcess::controls() const {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

HWND TalivenProcess::control(const wchar_t* wantedClass, std::size_t nth) const {
    for (const HWND child : controls()) {
        if (lstrcmpiW(className(child).c_str(), wantedClass) == 0 && nth-- == 0) {
            return child;
        }
    }
    return nullptr;
}

GUITHREADINFO TalivenProcess::threadInfo() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info;
}

void TalivenProcess::scroll(HWND slider, unsigned code, int position) const {
    send(window_, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(slider));
}

void TalivenProcess::scrollTo(HWND slider, int position) const {
    scroll(slider, SB_THUMBPOSITION, position);
    if (sliderPosition(slider) != position) {
        throw std::runtime_error("the slider did not go to " + std::to_string(position));
    }
}

void TalivenProcess::press(HWND target, POINT screen) const {
    mouse(screen, MOUSEEVENTF_LEFTDOWN);
    if (!waitUntil([&] { return threadInfo().hwndCapture == target; })) {
        throw std::runtime_error("the press did not reach its control");
    }
}

void TalivenProcess::release(POINT screen) const {
    mouse(screen, MOUSEEVENTF_LEFTUP);
    waitUntil([this] { return threadInfo().hwndCapture == nullptr; });
}

HWND TalivenProcess::errorReport() const {
    HWND report = nullptr;
    waitUntil([&] {
        while ((report = FindWindowExW(nullptr, report, L"#32770", nullptr)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(report, &owner);
            if (owner == processId()) {
                return true;
            }
        }
        return false;
    });
    return report;
}

DWORD TalivenProcess::close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    WaitForSingleObject(process_.hProcess, 2 * answerLimitMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

std::string text(HWND window) {
    wchar_t buffer[256] = {};
    const auto length = static_cast<int>(
        send(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer)));
    char utf8[512] = {};
    const int written =
        WideCharToMultiByte(CP_UTF8, 0, buffer, length, utf8, sizeof utf8 - 1, nullptr, nullptr);
    return {utf8, static_cast<std::size_t>(written > 0 ? written : 0)};
}

std::string allText(HWND window) {
    std::string all = text(window);
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        all += "\n" + text(child);
    }
    return all;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

int sliderPosition(HWND slider) {
    return static_cast<int>(send(slider, SBM_GETPOS));
}

RECT clientRectIn(HWND parent, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

COLORREF pixelAt(HWND window, POINT client) {
    ClientToScreen(window, &client);
    const HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, client.x, client.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

int screenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::string decimalSeparator() {
    wchar_t separator[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    char utf8[32] = {};
    WideCharToMultiByte(CP_UTF8, 0, separator, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

std::string currentText(int hundredths) {
    if (hundredths % 100 == 0) {
        return std::to_string(hundredths / 100);
    }
    std::string digits = std::to_string(100 + hundredths).substr(1);
    if (digits.back() == '0') {
        digits.pop_back();
    }
    return "0" + decimalSeparator() + digits;
}

void pressKeys(std::initializer_list<WORD> chord) {
    std::vector<INPUT> inputs;
    for (const bool up : {false, true}) {
        for (std::size_t k = 0; k < chord.size(); ++k) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = chord.begin()[up ? chord.size() - 1 - k : k];
            input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(input);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void mouse(POINT screen, DWORD flags, int wheelDelta) {
    INPUT input = mouseInput(screen, flags, wheelDelta);
    SendInput(1, &input, sizeof input);
}

void click(POINT screen) {
    INPUT inputs[2] = {mouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                       mouseInput(screen, MOUSEEVENTF_LEFTUP)};
    SendInput(2, inputs, sizeof(INPUT));
}

} // namespace taliven::testing
