// Filling the data list to its 32 767 points through AddDataPoint, yielding
// to events every 100 adds as a run does, against a baseline loop that only
// formats the same 4 x 32 767 numbers. The list run reports its time as the
// counter x_baseline: its time per fill divided by the baseline's, both
// measured in the same program run (run the whole program, unfiltered, so
// that the baseline comes first).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include "app/language.h"
#include "base/number_text.h"
#include "data/data_list.h"
#include "platform/headless_platform.h"
#include "support/data_points.h"

namespace plotvane {
namespace {

using bench::Baseline_FormatNumbers;
using bench::baselineSeconds;
using bench::samplePoints;

void AddDataPoint_FullList(benchmark::State& state) {
  const std::vector<DataPoint>& points = samplePoints();
  HeadlessPlatform platform;
  double seconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<Form1>(platform);
    SetLngage(form->app);
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    for (const DataPoint& p : points) {
      if (appendDataPoint(*form, p.XData, p.YData, p.XPixel, p.YPixel) != AddResult::Added) break;
      if (form->app.pointCount % 100 == 0) platform.yieldEvents();
    }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    benchmark::DoNotOptimize(form->ui.ListView1.rows.data());
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
  const double perRun = seconds / static_cast<double>(state.iterations());
  if (baselineSeconds > 0) state.counters["x_baseline"] = perRun / baselineSeconds;
}

BENCHMARK(Baseline_FormatNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(AddDataPoint_FullList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plotvane
