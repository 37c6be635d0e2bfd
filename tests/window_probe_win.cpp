// A helper for scripts: waits for Taliven's window and prints its frame in
// screen pixels ("left top width height"), or with --close asks it to close.

#include "tests/window_driver_win.h"

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    HWND window = nullptr;
    taliven::testing::waitUntil(
        [&window] {
            return (window = taliven::testing::visibleWindowOf(0, L"Taliven.Form1")) != nullptr;
        },
        30000);
    if (window == nullptr) {
        std::fputs("no Taliven window\n", stderr);
        return 1;
    }
    if (argc > 1 && lstrcmpW(argv[1], L"--close") == 0) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, nullptr); // painted by now
    RECT frame{};
    GetWindowRect(window, &frame);
    std::printf("%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                frame.bottom - frame.top);
    return 0;
}
