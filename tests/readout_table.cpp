// Prints the readouts after every slider change of a sweep over all pairs,
// for an independent oracle to judge (check_readouts.py): for each voltage
// 0..100, the current runs 0..100. One line per change:
//   v i voltageText currentText resistanceText   (decimal separator ",")

#include "readout/readout.h"
#include "tests/fake_view.h"

#include <cstdio>

int main() {
    taliven::testing::FakeView view;
    for (std::int16_t v = 0; v <= 100; ++v) {
        view.voltage = v;
        taliven::onVoltageChange(view, ",");
        for (std::int16_t i = 0; i <= 100; ++i) {
            view.current = i;
            taliven::onCurrentChange(view, ",");
            std::printf("%d %d %s %s %s\n", v, i, view.texts[0].c_str(), view.texts[1].c_str(),
                        view.texts[2].c_str());
        }
    }
}
