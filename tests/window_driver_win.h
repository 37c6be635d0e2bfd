#pragma once

// Drives a running Taliven.exe from outside, the way a user's input and a
// screen reader reach it: by window messages, input events and the screen.
// Every wait and every sent message has a time limit, so a hung window or
// an error box fails a test instead of stalling the suite.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace taliven::testing {

// Waits up to a generous limit for something the other process does in its
// own time. Returns whether it came true (never judged on speed).
bool waitUntil(const std::function<bool()>& condition, int limitMs = 10000);

// SendMessage with a time limit; throws when the window does not answer.
LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// A path relative to the folder of the running program.
[[nodiscard]] std::wstring besideThisProgram(const std::wstring& relative);
[[nodiscard]] PROCESS_INFORMATION startProcess(const std::wstring& path,
                                               WORD showCommand = SW_SHOWNORMAL);

// The visible, unowned top-level window of a process (any process for 0; of
// that class, if one is named), or null.
[[nodiscard]] HWND visibleWindowOf(DWORD processId, const wchar_t* windowClass = nullptr);

class TalivenProcess {
  public:
    // Starts a program of the build's window folder and waits until its
    // window is visible and has painted.
    explicit TalivenProcess(const wchar_t* program = L"Taliven.exe",
                            WORD showCommand = SW_SHOWNORMAL);
    TalivenProcess(const TalivenProcess&) = delete;
    TalivenProcess& operator=(const TalivenProcess&) = delete;
    TalivenProcess(TalivenProcess&&) = delete;
    TalivenProcess& operator=(TalivenProcess&&) = delete;
    ~TalivenProcess();

    [[nodiscard]] HWND window() const { return window_; }
    [[nodiscard]] DWORD threadId() const { return process_.dwThreadId; }
    // Child windows in Z order, which is the tab order.
    [[nodiscard]] std::vector<HWND> controls() const;
    [[nodiscard]] HWND control(const wchar_t* className, int nth) const;
    [[nodiscard]] HWND voltageSlider() const { return control(L"ScrollBar", 0); }
    [[nodiscard]] HWND currentSlider() const { return control(L"ScrollBar", 1); }
    [[nodiscard]] HWND voltageReadout() const { return control(L"Static", 1); }
    [[nodiscard]] HWND currentReadout() const { return control(L"Static", 2); }
    [[nodiscard]] HWND resistanceReadout() const { return control(L"Static", 3); }
    [[nodiscard]] GUITHREADINFO threadInfo() const; // focus and capture
    [[nodiscard]] HWND focus() const { return threadInfo().hwndFocus; }

    // A request as the scroll bar itself would send it.
    void scroll(HWND slider, unsigned code, int position = 0) const;
    void scrollTo(HWND slider, int position) const;
    // Presses the left button at `screen` and waits until `target` holds the mouse.
    void press(HWND target, POINT screen) const;
    // Releases the button at `screen` and waits until the window lets the mouse go.
    void release(POINT screen) const;
    // The error report the program shows, or null.
    [[nodiscard]] HWND errorReport() const;

    // Asks the window to close and returns the exit code of the process.
    [[nodiscard]] DWORD close();
    [[nodiscard]] DWORD waitForExit();

  private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

[[nodiscard]] std::string text(HWND window);
[[nodiscard]] std::wstring className(HWND window);
[[nodiscard]] int sliderPosition(HWND slider);
[[nodiscard]] RECT clientRectIn(HWND parent, HWND child); // child's rect in parent's client pixels
[[nodiscard]] COLORREF pixelAt(HWND window, POINT client);
[[nodiscard]] int screenDpi();
[[nodiscard]] std::string decimalSeparator();
// A current step as the readout shows it: 0, 0.01 ... 0.5 ... 1.
[[nodiscard]] std::string currentText(int hundredths);

// Real input, through the system's input queue. Every mouse event carries
// its own position: under Wine a separate move can be overtaken by the X
// server's view of the pointer.
void pressKeys(std::initializer_list<WORD> chord);
void mouse(POINT screen, DWORD buttons = 0); // MOUSEEVENTF_LEFTDOWN...
// Press and release at once: held any longer, an arrow would start repeating.
void click(POINT screen);
void wheel(POINT screen, int delta);

} // namespace taliven::testing
