// One full update of each slider through an in-memory view.
#include "readout/readout.h"
#include "readout/readout_view.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Sliders and readouts in memory, starting as the window does.
struct MemoryView final : taliven::ReadoutView {
    std::int16_t voltage = 0;
    std::int16_t current = 0;
    std::string texts[3] = {"0", "0", "0"}; // voltage, current, resistance

    std::int16_t voltagePosition() override { return voltage; }
    std::int16_t currentPosition() override { return current; }
    void setVoltageText(std::string_view text) override { texts[0] = text; }
    void setCurrentText(std::string_view text) override { texts[1] = text; }
    void setResistanceText(std::string_view text) override { texts[2] = text; }
};

// Steps one slider through its range, updating the readouts each time.
template <auto procedure, std::int16_t MemoryView::*slider>
void update(benchmark::State& state, std::int16_t other, std::int16_t MemoryView::*otherSlider) {
    MemoryView view;
    view.*otherSlider = other;
    std::int16_t position = 1;
    for (auto _ : state) {
        view.*slider = position;
        position = static_cast<std::int16_t>(position % 100 + 1);
        procedure(view, ".");
        benchmark::DoNotOptimize(view.texts[2].data());
    }
}

void voltageUpdate(benchmark::State& state) {
    update<taliven::onVoltageChange, &MemoryView::voltage>(state, 34, &MemoryView::current);
}
BENCHMARK(voltageUpdate);

void currentUpdate(benchmark::State& state) {
    update<taliven::onCurrentChange, &MemoryView::current>(state, 3, &MemoryView::voltage);
}
BENCHMARK(currentUpdate);

} // namespace

BENCHMARK_MAIN();
