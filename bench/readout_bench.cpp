// One full update of each slider through an in-memory view.
#include "readout/readout.h"
#include "tests/fake_view.h" // the same in-memory view the tests use

#include <benchmark/benchmark.h>

namespace {

// Steps one slider through its range, updating the readouts each time.
template <auto procedure, std::int16_t taliven::testing::FakeView::*slider>
void update(benchmark::State& state, std::int16_t other,
            std::int16_t taliven::testing::FakeView::*otherSlider) {
    taliven::testing::FakeView view;
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
    update<taliven::onVoltageChange, &taliven::testing::FakeView::voltage>(
        state, 34, &taliven::testing::FakeView::current);
}
BENCHMARK(voltageUpdate);

void currentUpdate(benchmark::State& state) {
    update<taliven::onCurrentChange, &taliven::testing::FakeView::current>(
        state, 3, &taliven::testing::FakeView::voltage);
}
BENCHMARK(currentUpdate);

} // namespace

BENCHMARK_MAIN();
