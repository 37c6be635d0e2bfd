// One full update of each slider through an in-memory view.
#include "readout/readout.h"
#include "tests/fake_view.h" // the same in-memory view the tests use

#include <benchmark/benchmark.h>

namespace {

void voltageUpdate(benchmark::State& state) {
    taliven::testing::FakeView view;
    view.current = 34;
    std::int16_t voltage = 0;
    for (auto _ : state) {
        view.voltage = voltage;
        voltage = static_cast<std::int16_t>((voltage + 1) % 101);
        taliven::onVoltageChange(view, ".");
        view.calls.clear();
        benchmark::DoNotOptimize(view.resistanceText.data());
    }
}
BENCHMARK(voltageUpdate);

void currentUpdate(benchmark::State& state) {
    taliven::testing::FakeView view;
    view.voltage = 3;
    std::int16_t current = 1;
    for (auto _ : state) {
        view.current = current;
        current = static_cast<std::int16_t>(current % 100 + 1);
        taliven::onCurrentChange(view, ".");
        view.calls.clear();
        benchmark::DoNotOptimize(view.resistanceText.data());
    }
}
BENCHMARK(currentUpdate);

} // namespace

BENCHMARK_MAIN();
