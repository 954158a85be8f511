// Trace Line and Trace Surface over an 8000 x 6000 picture, each against the
// read pass of the same picture measured interleaved with it (counters
// `ratio` and `target`, see bench/README.md). Every column sampled (n = 7999)
// reads the whole rectangle; n = 200 shows the cost of gathering scattered
// columns.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "digitize/trace_line.h"
#include "digitize/trace_surface.h"
#include "support/read_pass.h"

namespace plotvane {
namespace {

constexpr int kWidth = 8000;
constexpr int kHeight = 6000;
constexpr double kEveryColumnTarget = 2.5;

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

TraceParams wholePicture(int n, int filter) {
  TraceParams p;
  p.rect = {.lineXS = 0, .lineXE = kWidth - 1, .lineYT = 0, .lineYB = kHeight};
  p.minY = 0, p.maxY = 1, p.divisions = n, p.pitch = 1.0 / n, p.filter = filter;
  return p;
}

std::optional<double> targetFor(int n) {
  if (n == kWidth - 1) return kEveryColumnTarget;
  return std::nullopt;
}

void TraceLine(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const TraceParams p = wholePicture(n, static_cast<int>(state.range(1)));
  bench::measureAgainstReadPass(state, curvePicture(), targetFor(n),
                                [&](const PixelArray& picture) {
                                  benchmark::DoNotOptimize(traceLine(picture, p).points.data());
                                });
}

void TraceSurface(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const TraceParams p = wholePicture(n, static_cast<int>(state.range(1)));
  bench::measureAgainstReadPass(state, areaPicture(), targetFor(n), [&](const PixelArray& picture) {
    benchmark::DoNotOptimize(traceSurface(picture, p).points.data());
  });
}

BENCHMARK(TraceLine)
    ->Apply([](benchmark::internal::Benchmark* b) { bench::asRatio(b); })
    ->ArgNames({"n", "F"})
    ->Args({kWidth - 1, 1})
    ->Args({kWidth - 1, 5})
    ->Args({200, 1})
    ->Args({200, 5});
BENCHMARK(TraceSurface)
    ->Apply([](benchmark::internal::Benchmark* b) { bench::asRatio(b); })
    ->ArgNames({"n", "F"})
    ->Args({kWidth - 1, 1})
    ->Args({kWidth - 1, 5});

}  // namespace
}  // namespace plotvane
