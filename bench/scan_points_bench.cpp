// Plot All Points on an 8000 x 6000 scatter picture with 20 000 dark discs of
// radius 3, against the read pass of the same picture measured interleaved
// with it (counters `ratio` and `target`, see bench/README.md).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "base/pixel_array.h"
#include "digitize/scan_points.h"
#include "support/read_pass.h"

namespace plotvane {
namespace {

constexpr int kWidth = 8000;
constexpr int kHeight = 6000;
constexpr int kDiscs = 20000;
constexpr int kRadius = 3;
constexpr double kCommandLineTarget = 4;

// Discs on a jittered lattice of 164 x 122 places, so that none touch.
const PixelArray& scatterPicture() {
  static const PixelArray picture = [] {
    PixelArray p(kWidth, kHeight, rgbValue(255, 255, 255));
    constexpr int kColumns = 164, kRows = 122;
    constexpr int kCellW = kWidth / kColumns, kCellH = kHeight / kRows;
    std::mt19937 random(7);
    int placed = 0;
    for (int j = 0; j < kRows && placed < kDiscs; ++j) {
      for (int i = 0; i < kColumns && placed < kDiscs; ++i, ++placed) {
        const int cx =
            i * kCellW + kRadius + 1 + static_cast<int>(random() % (kCellW - 2 * kRadius - 2));
        const int cy =
            j * kCellH + kRadius + 1 + static_cast<int>(random() % (kCellH - 2 * kRadius - 2));
        const std::uint32_t colour = rgbValue(static_cast<int>(random() % 120), 20, 40);
        for (int dy = -kRadius; dy <= kRadius; ++dy) {
          for (int dx = -kRadius; dx <= kRadius; ++dx) {
            if (dx * dx + dy * dy <= kRadius * kRadius) p.set(cx + dx, cy + dy, colour);
          }
        }
      }
    }
    return p;
  }();
  return picture;
}

ScanPointsParams wholePicture(bool recordPainted) {
  ScanPointsParams params;
  params.calibration = {{0, kWidth, 0, kHeight}, 0, 100, 0, 50};
  params.pictureHeight = kHeight;
  params.recordPainted = recordPainted;
  return params;
}

// window:0, no callback (command line); window:1, a callback at every yield
// point that goes on, and the painted cells recorded (window).
void ScanPoints(benchmark::State& state) {
  const bool window = state.range(0) != 0;
  const ScanPointsParams params = wholePicture(window);
  const ScanPointsYield yield = [](const ScanPointsProgress& progress) {
    benchmark::DoNotOptimize(progress.progressBar);
    return true;
  };
  std::size_t points = 0;
  bench::measureAgainstReadPass(
      state, scatterPicture(), window ? std::nullopt : std::optional(kCommandLineTarget),
      [&](const PixelArray& picture) {
        const ScanPointsResult result =
            window ? scanPoints(picture, params, yield) : scanPoints(picture, params);
        points = result.points.size();
        benchmark::DoNotOptimize(result.points.data());
      });
  state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(ScanPoints)
    ->Apply([](benchmark::internal::Benchmark* b) { bench::asRatio(b); })
    ->ArgName("window")
    ->Arg(0)
    ->Arg(1);

}  // namespace
}  // namespace plotvane
