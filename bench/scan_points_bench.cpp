// Plot All Points on an 8000 x 6000 scatter picture with 20 000 dark discs of
// radius 3, against the baseline pass (read every pixel once, sum r + g + b)
// measured in the same program. The "x_baseline" counter is the time of one
// run divided by the best baseline pass.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>

#include "base/pixel_array.h"
#include "digitize/scan_points.h"

namespace plotvane {
namespace {

constexpr int kWidth = 8000;
constexpr int kHeight = 6000;
constexpr int kDiscs = 20000;
constexpr int kRadius = 3;

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

std::uint64_t baselinePass(const PixelArray& picture) {
  std::uint64_t sum = 0;
  const std::uint32_t* pixels = picture.data();
  const std::size_t count = picture.size();
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t v = pixels[i];
    sum += ((v >> 16) & 255u) + ((v >> 8) & 255u) + (v & 255u);
  }
  return sum;
}

double bestBaselineSeconds() {
  static const double best = [] {
    const PixelArray& picture = scatterPicture();
    double seconds = 1e9;
    for (int i = 0; i < 20; ++i) {
      const auto start = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(baselinePass(picture));
      seconds = std::min(
          seconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return seconds;
  }();
  return best;
}

ScanPointsParams wholePicture(bool recordPainted) {
  ScanPointsParams params;
  params.calibration = {0, kWidth, 0, kHeight, 0, 100, 0, 50};
  params.pictureHeight = kHeight;
  params.recordPainted = recordPainted;
  return params;
}

void BM_BaselinePass(benchmark::State& state) {
  const PixelArray& picture = scatterPicture();
  for (auto _ : state) benchmark::DoNotOptimize(baselinePass(picture));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(picture.size()));
}
BENCHMARK(BM_BaselinePass)->Unit(benchmark::kMillisecond);

// Arg 0: no callback (command line); 1: a callback at every yield point that
// goes on (window), also recording the painted cells.
void BM_ScanPoints(benchmark::State& state) {
  const PixelArray& picture = scatterPicture();
  const bool window = state.range(0) != 0;
  const ScanPointsParams params = wholePicture(window);
  const ScanPointsYield yield = [](const ScanPointsProgress& progress) {
    benchmark::DoNotOptimize(progress.progressBar);
    return true;
  };
  const double baseline = bestBaselineSeconds();
  double seconds = 0;
  std::size_t points = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const ScanPointsResult result =
        window ? scanPoints(picture, params, yield) : scanPoints(picture, params);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    points = result.points.size();
    benchmark::DoNotOptimize(result.points.data());
  }
  state.counters["points"] = static_cast<double>(points);
  state.counters["x_baseline"] = seconds / static_cast<double>(state.iterations()) / baseline;
}
BENCHMARK(BM_ScanPoints)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plotvane
