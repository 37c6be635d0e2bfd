// Start-up and update times of Taliven.exe, measured from outside:
//  - launch to visible and responsive, against the same window written
//    plainly in C (the honest floor) in pairs that alternate which starts
//    first, and a bare window (median and quartiles of each);
//  - one slider step: as a round trip that includes the repaint, against a
//    round trip that does no work (WM_NULL), and as many steps posted back to
//    back, which leaves only the update itself.
// Run: wine launch_bench.exe [pairs]

#include "tests/window_driver_win.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double nowMs() {
    static LARGE_INTEGER frequency{};
    if (frequency.QuadPart == 0) {
        QueryPerformanceFrequency(&frequency);
    }
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Launched {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    double startMs = 0;
};

Launched launch(const wchar_t* program) {
    Launched launched;
    const double start = nowMs();
    launched.process = taliven::testing::startProgram(program); // from the window folder
    HWND window = nullptr;
    while (window == nullptr && nowMs() - start < 30000) {
        window = taliven::testing::topWindowOf(launched.process.dwProcessId);
        if (window == nullptr) {
            Sleep(1);
        }
    }
    // Visible and back in its message loop: ready for the user.
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 30000, nullptr);
    launched.startMs = nowMs() - start;
    launched.window = window;
    return launched;
}

void finish(Launched& launched) {
    PostMessageW(launched.window, WM_CLOSE, 0, 0);
    WaitForSingleObject(launched.process.hProcess, 30000);
    CloseHandle(launched.process.hThread);
    CloseHandle(launched.process.hProcess);
}

// The median and the middle half (quartiles) of a set of times.
struct Spread {
    double low, median, high;
};
Spread spread(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return {values[n / 4], values[n / 2], values[(3 * n) / 4]};
}

BOOL CALLBACK collectChildren(HWND child, LPARAM out) {
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(child);
    return TRUE;
}

void measureUpdates(HWND window) {
    std::vector<HWND> sliders;
    std::vector<HWND> children;
    EnumChildWindows(window, collectChildren, reinterpret_cast<LPARAM>(&children));
    for (const HWND child : children) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (lstrcmpiW(name, L"ScrollBar") == 0) {
            sliders.push_back(child);
        }
    }
    if (sliders.size() != 2) {
        return;
    }
    const auto voltage = reinterpret_cast<LPARAM>(sliders[0]);
    const auto current = reinterpret_cast<LPARAM>(sliders[1]);
    for (int k = 0; k < 3; ++k) {
        SendMessageW(window, WM_HSCROLL, SB_LINERIGHT, voltage);
    }
    constexpr int rounds = 2000;
    const double nullStart = nowMs();
    for (int k = 0; k < rounds; ++k) {
        SendMessageW(window, WM_NULL, 0, 0);
    }
    const double nullMs = nowMs() - nullStart;
    const double stepStart = nowMs();
    for (int k = 0; k < rounds; ++k) {
        SendMessageW(window, WM_HSCROLL, k % 2 == 0 ? SB_LINERIGHT : SB_LINELEFT, current);
    }
    const double stepMs = nowMs() - stepStart;
    // Posted back to back, the steps run with no repaint in between (the
    // window paints once the queue is empty): the cost of the update alone.
    const double burstStart = nowMs();
    for (int k = 0; k < rounds; ++k) {
        PostMessageW(window, WM_HSCROLL, k % 2 == 0 ? SB_LINERIGHT : SB_LINELEFT, current);
    }
    SendMessageW(window, WM_NULL, 0, 0);
    const double burstMs = nowMs() - burstStart;
    std::printf("one current-slider step: %.1f us as a round trip with repaint (an empty round "
                "trip: %.1f us); %.1f us inside the program, posted back to back\n",
                stepMs * 1000.0 / rounds, nullMs * 1000.0 / rounds, burstMs * 1000.0 / rounds);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

// Where a program stands in a pair changes its time by itself, so the pairs
// alternate which goes first and each order's ratios are taken apart; their
// geometric mean cancels the slot.
int wmain(int argc, wchar_t** argv) {
    const int pairs =
        argc > 1 ? std::max(2, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 41;
    const wchar_t* taliven = L"Taliven.exe";
    const wchar_t* plain = L"..\\bench\\plain_window.exe";
    std::vector<double> ms[3];
    std::vector<double> ratios[2]; // Taliven first, Taliven second
    for (int pair = 0; pair < pairs; ++pair) {
        const bool talivenFirst = pair % 2 == 0;
        double pairMs[2] = {};
        for (const bool first : {true, false}) {
            const bool isTaliven = first == talivenFirst;
            Launched launched = launch(isTaliven ? taliven : plain);
            pairMs[isTaliven ? 0 : 1] = launched.startMs;
            if (pair == 0 && isTaliven) {
                measureUpdates(launched.window);
            }
            finish(launched);
        }
        ms[0].push_back(pairMs[0]);
        ms[1].push_back(pairMs[1]);
        ratios[talivenFirst ? 0 : 1].push_back(pairMs[0] / pairMs[1]);
        Launched bare = launch(L"..\\bench\\bare_window.exe");
        ms[2].push_back(bare.startMs);
        finish(bare);
    }
    const Spread t = spread(ms[0]);
    const Spread p = spread(ms[1]);
    const Spread b = spread(ms[2]);
    const double first = median(ratios[0]);
    const double second = median(ratios[1]);
    std::printf("launch to visible and responsive, %d alternating pairs, median (quartiles):\n"
                "  Taliven %.1f ms (%.1f-%.1f), the same window plainly in C %.1f ms (%.1f-%.1f),"
                " bare window %.1f ms (%.1f-%.1f)\n"
                "  Taliven / plain C, pair by pair: median %.3f with Taliven first (%zu pairs), "
                "%.3f with Taliven second (%zu pairs); geometric mean %.3f\n",
                pairs, t.median, t.low, t.high, p.median, p.low, p.high, b.median, b.low, b.high,
                first, ratios[0].size(), second, ratios[1].size(), std::sqrt(first * second));
    return 0;
}
