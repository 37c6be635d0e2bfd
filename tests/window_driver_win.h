#pragma once

// Drives a running Taliven.exe from outside, the way a user's input and a
// screen reader reach it: by window messages, input events and the screen.
// Every wait and every sent message has a time limit, so a hung window or
// an error box fails a test instead of stalling the suite.

#include <windows.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <ranges>
#include <regex>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace taliven::testing {

constexpr UINT answerLimitMs = 10000;

// Waits for something the other process does in its own time. Returns
// whether it came true (never judged on speed), which every caller must read.
[[nodiscard]] inline bool waitUntil(const std::function<bool()>& condition) {
    for (const ULONGLONG deadline = GetTickCount64() + answerLimitMs; !condition(); Sleep(10)) {
        if (GetTickCount64() > deadline) {
            return false;
        }
    }
    return true;
}

// SendMessage with a time limit: the answer, or none when the window did not
// answer or the system would not deliver the message.
inline std::optional<LRESULT> trySend(HWND window, UINT message, WPARAM wParam = 0,
                                      LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                               answerLimitMs, &result) != 0
               ? std::optional(static_cast<LRESULT>(result))
               : std::nullopt;
}

// The same; throws when there is no answer.
inline LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    const auto answer = trySend(window, message, wParam, lParam);
    return answer ? *answer : throw std::runtime_error("no answer to " + std::to_string(message));
}

// A window's text, read without a message: as the window stores it.
inline std::string text(HWND window) {
    char buffer[256] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

// A visible top-level window of the process with the owner given: its main
// window has none, and it owns its error report.
inline HWND topWindowOf(DWORD id, HWND owner = nullptr) {
    HWND window = GetTopWindow(nullptr);
    for (DWORD process = 0; window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        GetWindowThreadProcessId(window, &process);
        if (process == id && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == owner) {
            break;
        }
    }
    return window;
}

// A path relative to the test program's folder.
inline std::wstring besideTests(const std::wstring& relative) {
    wchar_t self[MAX_PATH] = {};
    const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    return path.substr(0, path.find_last_of(L"\\/") + 1) + relative;
}

inline bool underWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Every program started ends with the test program, even a killed one:
// nothing is left holding the test runner's output open.
inline PROCESS_INFORMATION startProcess(std::wstring commandLine, WORD showCommand) {
    static const HANDLE job = [] {
        const HANDLE created = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return created;
    }();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showCommand;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                       nullptr, nullptr, &startup, &process) == FALSE) {
        throw std::runtime_error("cannot start the program");
    }
    AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
    return process;
}

// Starts a program of the window folder beside the tests', or of the folder
// TALIVEN_PROGRAM_FOLDER names (relative to the test program's).
inline PROCESS_INFORMATION startProgram(const wchar_t* program, WORD showCommand = SW_SHOWNORMAL) {
    wchar_t folder[MAX_PATH] = L"..\\window";
    GetEnvironmentVariableW(L"TALIVEN_PROGRAM_FOLDER", folder, MAX_PATH);
    return startProcess(L"\"" + besideTests(folder) + L"\\" + program + L"\"", showCommand);
}

// A program the test started, ended with the test.
struct Process : PROCESS_INFORMATION {
    explicit Process(const PROCESS_INFORMATION& started) : PROCESS_INFORMATION(started) {}
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        TerminateProcess(hProcess, 99); // no effect once it has ended
        WaitForSingleObject(hProcess, answerLimitMs);
        CloseHandle(hThread);
        CloseHandle(hProcess);
    }
    // Its exit code once it has ended, or STILL_ACTIVE if it does not.
    [[nodiscard]] DWORD exitCode() const {
        WaitForSingleObject(hProcess, 2 * answerLimitMs);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(hProcess, &code);
        return code;
    }
};

// The window's controls in Z order, the order screen readers read them in.
enum Control : std::size_t { vollbl, HScroll1, vol, curlbl, HScroll2, cur, ohmlbl, ohm, Image1 };

class TalivenProcess : public Process {
  public:
    // Starts the program and waits until its window has painted and (when
    // shown normally or maximised) is in the foreground, where real input
    // goes.
    explicit TalivenProcess(const wchar_t* program = L"Taliven.exe",
                            WORD showCommand = SW_SHOWNORMAL)
        : Process(startProgram(program, showCommand)) {
        if (!waitUntil([this] { return (window_ = topWindowOf(dwProcessId)) != nullptr; })) {
            throw std::runtime_error("the window did not appear");
        }
        send(window_, WM_NULL); // back in its message loop: the first paint is done
        for (HWND child = GetWindow(window_, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            controls.push_back(child);
        }
        // Windows may refuse a background process the foreground; what needs
        // it (real input) then fails where it needs it.
        if ((showCommand == SW_SHOWNORMAL || showCommand == SW_SHOWMAXIMIZED) &&
            SetForegroundWindow(window_) != FALSE) {
            (void)waitUntil([this] { return GetForegroundWindow() == window_; });
        }
    }

    [[nodiscard]] HWND window() const { return window_; }
    [[nodiscard]] HWND operator[](Control control) const { return controls.at(control); }
    // Slider positions, then readouts: "v i vol cur ohm".
    [[nodiscard]] std::string state() const {
        return std::to_string(send(controls.at(HScroll1), SBM_GETPOS)) + " " +
               std::to_string(send(controls.at(HScroll2), SBM_GETPOS)) + " " +
               text(controls.at(vol)) + " " + text(controls.at(cur)) + " " + text(controls.at(ohm));
    }
    [[nodiscard]] HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(dwThreadId, &info);
        return info.hwndFocus;
    }

    // A request as the scroll bar itself would send it.
    void scroll(HWND slider, unsigned code, int position = 0) const {
        send(window_, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(slider));
    }
    void scrollTo(HWND slider, int position) const { scroll(slider, SB_THUMBPOSITION, position); }
    // Asks the window to close (unless it is gone) and returns the exit code.
    [[nodiscard]] DWORD close() const {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        return exitCode();
    }

    std::vector<HWND> controls; // in Z order

  private:
    HWND window_ = nullptr;
};

inline RECT clientRectIn(HWND parent, HWND child) { // in the parent's client pixels
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline const HDC screenDc = GetDC(nullptr); // kept for the test's whole run

// Brings the window wholly into the work area (a window grown at a high DPI
// can reach past the screen, and the taskbar stands outside the work area,
// above every ordinary window) and above every window that is not topmost (a
// console, say, on a CI runner's desktop) before its pixels are read off the
// screen, and fails, naming it, if something still covers a corner of it.
inline void uncover(HWND window) {
    RECT work{};
    RECT frame{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(window, &frame);
    const LONG x = std::max(work.left, std::min(frame.left, work.right - frame.right + frame.left));
    const LONG y = std::max(work.top, std::min(frame.top, work.bottom - frame.bottom + frame.top));
    SetWindowPos(window, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(window, &client);
    for (POINT corner : {POINT{0, 0}, POINT{client.right - 1, 0}, POINT{0, client.bottom - 1},
                         POINT{client.right - 1, client.bottom - 1}}) {
        ClientToScreen(window, &corner);
        char name[64] = "the screen's edge";
        if (const HWND there = GetAncestor(WindowFromPoint(corner), GA_ROOT); there != window) {
            GetClassNameA(there, name, 64);
            throw std::runtime_error("the window is covered by " + std::string(name));
        }
    }
}

// What the screen shows in a rectangle, read in one go. Under DWM (always
// on since Windows 8) every read of the screen has the desktop composed and
// read back, some 20 ms a call, so a look takes the screen once and reads
// each pixel from memory.
class ScreenShot {
  public:
    // The rectangle in screen pixels; pixels are then read from its top left.
    explicit ScreenShot(const RECT& screen) : widthPx_(screen.right - screen.left) {
        const LONG heightPx = screen.bottom - screen.top;
        BITMAPINFO info{
            {sizeof(BITMAPINFOHEADER), widthPx_, -heightPx, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        void* bits = nullptr;
        const HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HDC memory = CreateCompatibleDC(screenDc);
        const HGDIOBJ before = SelectObject(memory, bitmap);
        // "Access to the bitmap must be synchronized. Do this by calling the
        // GdiFlush function" (CreateDIBSection).
        if (bits != nullptr &&
            BitBlt(memory, 0, 0, widthPx_, heightPx, screenDc, screen.left, screen.top, SRCCOPY) !=
                FALSE &&
            GdiFlush() != FALSE) {
            pixels_.assign(static_cast<DWORD*>(bits),
                           static_cast<DWORD*>(bits) + widthPx_ * heightPx);
        } // else none: every read fails
        SelectObject(memory, before);
        DeleteDC(memory);
        DeleteObject(bitmap);
    }
    // A window's client area, read in its own coordinates.
    explicit ScreenShot(HWND window) : ScreenShot(clientOnScreen(window)) {}

    [[nodiscard]] COLORREF at(LONG x, LONG y) const { // a DIB's pixels are 0x00RRGGBB
        const DWORD pixel = pixels_.at(std::size_t(y) * std::size_t(widthPx_) + std::size_t(x));
        return RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
    }

  private:
    static RECT clientOnScreen(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        return client;
    }
    LONG widthPx_;
    std::vector<DWORD> pixels_; // row by row from the top
};

// A text written with "." in the user's decimal separator.
inline std::string localised(const std::string& text) {
    char separator[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
    return std::regex_replace(text, std::regex("\\."), separator);
}

// Real input, through the system's input queue.
inline void pressKeys(const std::vector<WORD>& chord) { // in order, released in reverse
    std::vector<INPUT> inputs(2 * chord.size());
    for (std::size_t k = 0, up = inputs.size() - 1; k < chord.size(); ++k, --up) {
        inputs[k].type = inputs[up].type = INPUT_KEYBOARD;
        inputs[k].ki.wVk = inputs[up].ki.wVk = chord[k];
        inputs[up].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace taliven::testing
