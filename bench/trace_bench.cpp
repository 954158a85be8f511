// Trace Line and Trace Surface over an 8000 x 6000 picture, against a
// baseline pass that reads every pixel once. Each trace reports its time as
// the counter x_baseline: its time per run divided by the baseline's, both
// measured in the same program run (run the whole program, unfiltered, so
// that the baseline comes first). Times are processor time of this process,
// which other work on a shared machine disturbs less than wall time.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <ctime>

#include "digitize/trace_line.h"
#include "digitize/trace_surface.h"

namespace plotvane {
namespace {

constexpr int kWidth = 8000;
constexpr int kHeight = 6000;

double baselineSeconds = 0;

int curveRow(int x) {
  return static_cast<int>(kHeight / 2 + kHeight / 3 * std::sin(x / 700.0));
}

// A light grid with a dark curve 3 pixels thick.
const PixelArray& curvePicture() {
  static const PixelArray picture = [] {
    PixelArray p(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
      std::uint32_t* row = p.row(y);
      for (int x = 0; x < kWidth; ++x)
        row[x] = (x % 100 == 0 || y % 100 == 0) ? rgbValue(215, 215, 230) : rgbValue(250, 250, 250);
    }
    for (int x = 0; x < kWidth; ++x)
      for (int y = curveRow(x) - 1; y <= curveRow(x) + 1; ++y) p.set(x, y, rgbValue(20, 20, 90));
    return p;
  }();
  return picture;
}

// A dark area under the same curve, on white.
const PixelArray& areaPicture() {
  static const PixelArray picture = [] {
    PixelArray p(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
      std::uint32_t* row = p.row(y);
      for (int x = 0; x < kWidth; ++x)
        row[x] = y >= curveRow(x) ? rgbValue(30, 60, 120) : rgbValue(255, 255, 255);
    }
    return p;
  }();
  return picture;
}

double processorSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

template <typename Body>
void timed(benchmark::State& state, Body body) {
  const double start = processorSeconds();
  for (auto _ : state) body();
  const double perRun = (processorSeconds() - start) / static_cast<double>(state.iterations());
  if (baselineSeconds > 0) state.counters["x_baseline"] = perRun / baselineSeconds;
}

void Baseline_SumRgb(benchmark::State& state) {
  const PixelArray& picture = curvePicture();
  areaPicture();
  const double start = processorSeconds();
  for (auto _ : state) {
    // Row sums fit 32 bits (8000 x 765), which lets the loop vectorise.
    std::uint64_t sum = 0;
    for (int y = 0; y < picture.height(); ++y) {
      const std::uint32_t* pixel = picture.row(y);
      std::uint32_t rowSum = 0;
      for (int x = 0; x < picture.width(); ++x)
        rowSum += ((pixel[x] >> 16) & 255u) + ((pixel[x] >> 8) & 255u) + (pixel[x] & 255u);
      sum += rowSum;
    }
    benchmark::DoNotOptimize(sum);
  }
  baselineSeconds = (processorSeconds() - start) / static_cast<double>(state.iterations());
}

TraceParams wholePicture(int n, int filter) {
  TraceParams p;
  p.rect = {.lineXS = 0, .lineXE = kWidth - 1, .lineYT = 0, .lineYB = kHeight};
  p.minY = 0, p.maxY = 1, p.divisions = n, p.pitch = 1.0 / n, p.filter = filter;
  return p;
}

void TraceLine(benchmark::State& state) {
  const TraceParams p =
      wholePicture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  timed(state, [&] { benchmark::DoNotOptimize(traceLine(curvePicture(), p).points.data()); });
}

void TraceSurface(benchmark::State& state) {
  const TraceParams p =
      wholePicture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  timed(state, [&] { benchmark::DoNotOptimize(traceSurface(areaPicture(), p).points.data()); });
}

BENCHMARK(Baseline_SumRgb)->Unit(benchmark::kMillisecond);
BENCHMARK(TraceLine)
    ->ArgNames({"n", "F"})
    ->Args({7999, 1})
    ->Args({7999, 5})
    ->Args({200, 1})
    ->Args({200, 5})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(TraceSurface)
    ->ArgNames({"n", "F"})
    ->Args({7999, 1})
    ->Args({7999, 5})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plotvane
