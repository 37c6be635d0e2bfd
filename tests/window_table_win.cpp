// Prints the user's decimal separator, then what the real window shows after
// every slider change of a sweep over all pairs, for an exact oracle
// (check_readouts.py): for each voltage 0..100, the current runs 0..100. One
// line per change:
//   v i voltageText currentText resistanceText

#include "tests/window_driver_win.h"

#include <cstdio>

int main() {
    using namespace taliven::testing;
    // Minimised, so ten thousand states are not also ten thousand repaints.
    const TalivenProcess app(L"Taliven.exe", SW_SHOWMINNOACTIVE);
    std::puts(localised(".").c_str());
    for (int v = 0; v <= 100; ++v) {
        app.scrollTo(app[HScroll1], v);
        for (int i = 0; i <= 100; ++i) {
            app.scrollTo(app[HScroll2], i);
            std::puts(app.state().c_str());
        }
    }
    return app.close() == 0 ? 0 : 1;
}
