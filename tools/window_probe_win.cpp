// For scripts (make run on a virtual display): waits for Taliven's window and
// prints its frame in screen pixels ("left top width height"), or with
// --close asks it to close.

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    HWND window = nullptr;
    for (int waited = 0; window == nullptr && waited < 30000; waited += 10) {
        window = FindWindowW(L"Taliven.Form1", nullptr);
        if (window == nullptr || IsWindowVisible(window) == FALSE) {
            window = nullptr;
            Sleep(10);
        }
    }
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
