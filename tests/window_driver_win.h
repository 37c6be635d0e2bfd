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
// Starts a program of the build's window folder.
[[nodiscard]] PROCESS_INFORMATION startProgram(const wchar_t* program,
                                               WORD showCommand = SW_SHOWNORMAL);
// The visible unowned top-level window of a process, or null.
[[nodiscard]] HWND visibleWindowOf(DWORD processId);

class TalivenProcess {
  public:
    // Starts the program and waits until its window has painted and (when
    // shown normally) is in the foreground, where real input goes.
    explicit TalivenProcess(const wchar_t* program = L"Taliven.exe",
                            WORD showCommand = SW_SHOWNORMAL);
    TalivenProcess(const TalivenProcess&) = delete;
    TalivenProcess& operator=(const TalivenProcess&) = delete;
    TalivenProcess(TalivenProcess&&) = delete;
    TalivenProcess& operator=(TalivenProcess&&) = delete;
    ~TalivenProcess();

    [[nodiscard]] HWND window() const { return window_; }
    [[nodiscard]] DWORD processId() const { return process_.dwProcessId; }
    [[nodiscard]] std::vector<HWND> controls() const; // in Z order, which is the tab order
    [[nodiscard]] HWND control(const wchar_t* className, std::size_t nth) const;
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
    // Presses the left button at `screen` and waits until `target` holds the
    // mouse; releases it and waits until the window lets the mouse go.
    void press(HWND target, POINT screen) const;
    void release(POINT screen) const;
    // The program's error report, once it shows (null if it does not).
    [[nodiscard]] HWND errorReport() const;

    // Asks the window to close (unless it is gone) and returns the exit code.
    [[nodiscard]] DWORD close();

  private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

[[nodiscard]] std::string text(HWND window);
[[nodiscard]] std::string allText(HWND window); // its text and its children's
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
void mouse(POINT screen, DWORD flags, int wheelDelta = 0); // MOUSEEVENTF_...
// Press and release at once: held any longer, an arrow would start repeating.
void click(POINT screen);

} // namespace taliven::testing
