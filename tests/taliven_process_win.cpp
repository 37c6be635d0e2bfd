#include "tests/taliven_process_win.h"

#include <stdexcept>

namespace taliven::testing {
namespace {

struct FindContext {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK findTopLevel(HWND window, LPARAM context) {
    auto* find = reinterpret_cast<FindContext*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((find->processId == 0 || owner == find->processId) && IsWindowVisible(window) != FALSE &&
        GetWindow(window, GW_OWNER) == nullptr &&
        (find->className == nullptr || className(window) == find->className)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::wstring besideThisProgram(const std::wstring& relative) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + relative;
}

PROCESS_INFORMATION startProcess(const std::wstring& path) {
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process) == FALSE) {
        throw std::runtime_error("cannot start the program");
    }
    return process;
}

PROCESS_INFORMATION startProgram(const wchar_t* program) {
    return startProcess(besideThisProgram(std::wstring(L"..\\window\\") + program));
}

HWND visibleWindowOf(DWORD processId, const wchar_t* windowClass) {
    FindContext find{processId, windowClass, nullptr};
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

bool waitUntil(const std::function<bool()>& condition, int limitMs) {
    for (int waited = 0; waited < limitMs; waited += 10) {
        if (condition()) {
            return true;
        }
        Sleep(10);
    }
    return condition();
}

TalivenProcess::TalivenProcess(const wchar_t* program) : process_(startProgram(program)) {
    waitUntil([this] {
        window_ = visibleWindowOf(process_.dwProcessId, L"Taliven.Form1");
        return window_ != nullptr;
    });
    if (window_ == nullptr) {
        throw std::runtime_error("the window did not appear");
    }
    threadId_ = GetWindowThreadProcessId(window_, nullptr);
    // Wait for the first paint to have happened before anyone looks.
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, 10000, nullptr);
}

TalivenProcess::~TalivenProcess() {
    if (running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 10000);
    }
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

HWND TalivenProcess::control(const wchar_t* wantedClass, int nth) const {
    for (const HWND child : controls()) {
        if (lstrcmpiW(className(child).c_str(), wantedClass) == 0 && nth-- == 0) {
            return child;
        }
    }
    return nullptr;
}

HWND TalivenProcess::focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) != FALSE ? info.hwndFocus : nullptr;
}

void TalivenProcess::scroll(HWND slider, unsigned code) const {
    SendMessageW(window_, WM_HSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(slider));
}

void TalivenProcess::scrollTo(HWND slider, int position) const {
    while (sliderPosition(slider) < position) {
        scroll(slider, SB_LINERIGHT);
    }
    while (sliderPosition(slider) > position) {
        scroll(slider, SB_LINELEFT);
    }
}

DWORD TalivenProcess::close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return waitForExit();
}

DWORD TalivenProcess::waitForExit() {
    WaitForSingleObject(process_.hProcess, 20000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool TalivenProcess::running() const {
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::string text(HWND window) {
    wchar_t buffer[256] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                        SMTO_BLOCK, 10000, &length);
    std::string utf8(512, '\0');
    const int written =
        WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), utf8.data(),
                            static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return utf8;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

int sliderPosition(HWND slider) {
    return static_cast<int>(SendMessageW(slider, SBM_GETPOS, 0, 0));
}

RECT clientRectIn(HWND parent, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string decimalSeparator() {
    wchar_t separator[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    char utf8[32] = {};
    WideCharToMultiByte(CP_UTF8, 0, separator, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

void pressKey(WORD virtualKey, bool shift) {
    std::vector<INPUT> inputs;
    const auto key = [&inputs](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    if (shift) {
        key(VK_SHIFT, false);
    }
    key(virtualKey, false);
    key(virtualKey, true);
    if (shift) {
        key(VK_SHIFT, true);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void mouseMove(POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void mouseButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

void click(POINT screen) {
    mouseMove(screen);
    mouseButton(true);
    mouseButton(false);
}

} // namespace taliven::testing
