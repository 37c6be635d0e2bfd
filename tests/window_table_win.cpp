// Prints what the real window shows after every slider change of the sweep
// readout_table makes, for the same exact oracle (check_readouts.py), which
// writes the decimal separator as ",".

#include "tests/window_driver_win.h"

int main() {
    using namespace taliven::testing;
    // Minimised, so ten thousand states are not also ten thousand repaints.
    const TalivenProcess app(L"Taliven.exe", SW_SHOWMINNOACTIVE);
    const std::string separator = decimalSeparator();
    for (int v = 0; v <= 100; ++v) {
        app.scrollTo(app[HScroll1], v);
        for (int i = 0; i <= 100; ++i) {
            app.scrollTo(app[HScroll2], i);
            std::puts(replaced(app.state(), separator, ",").c_str());
        }
    }
    return app.close() == 0 ? 0 : 1;
}
