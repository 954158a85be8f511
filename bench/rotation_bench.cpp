// Rotating an 8000 x 6000 picture, against the floor of writing its result.
// Each rotation reports two counters, its time per run divided by that of
// one fill of a result-sized buffer measured earlier in the same program run
// (run the whole program, unfiltered, so that the floors come first):
//   x_floor   the fill of a fresh buffer, which the system maps page by page
//             as a rotation's fresh result is mapped;
//   x_mapped  the fill of a buffer that is mapped already: memory writes only.
// Times are processor time of this process (the mapping included), which
// other work on a shared machine disturbs less than wall time.
//
// Run: build/bench/rotation_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <map>

#include "picture/rotation.h"

namespace plotvane {
namespace {

constexpr int kWidth = 8000;
constexpr int kHeight = 6000;

const PixelArray& picture() {
  static const PixelArray chart = [] {
    PixelArray p(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
      std::uint32_t* row = p.row(y);
      for (int x = 0; x < kWidth; ++x)
        row[x] = static_cast<std::uint32_t>((x * 2654435761u) ^ (y * 40503u)) & kRgbMask;
    }
    return p;
  }();
  return chart;
}

double processorSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Angles are given in hundredths of a degree.
float angleOf(const benchmark::State& state) {
  return static_cast<float>(state.range(0)) / 100;
}

// Seconds per fill, by angle.
std::map<std::int64_t, double> freshFill, mappedFill;

template <typename Body>
double secondsPerRun(benchmark::State& state, Body body) {
  const double start = processorSeconds();
  for (auto _ : state) body();
  return (processorSeconds() - start) / static_cast<double>(state.iterations());
}

void Floor_FillFresh(benchmark::State& state) {
  const RotationGeometry g = rotationGeometry(kWidth, kHeight, angleOf(state));
  freshFill[state.range(0)] = secondsPerRun(state, [&] {
    PixelArray result(g.newWidth, g.newHeight);
    std::fill_n(result.data(), result.size(), 0xFFFFFFu);
    benchmark::DoNotOptimize(result.data());
  });
  state.counters["megapixels"] = double(g.newWidth) * double(g.newHeight) / 1e6;
}

void Floor_FillMapped(benchmark::State& state) {
  const RotationGeometry g = rotationGeometry(kWidth, kHeight, angleOf(state));
  PixelArray result(g.newWidth, g.newHeight, 0);
  mappedFill[state.range(0)] = secondsPerRun(state, [&] {
    std::fill_n(result.data(), result.size(), 0xFFFFFFu);
    benchmark::ClobberMemory();
  });
}

void Rotate(benchmark::State& state) {
  const PixelArray& source = picture();
  int yields = 0;
  const RotateYield count = [&](std::optional<float>) { ++yields; };
  const double perRun = secondsPerRun(
      state, [&] { benchmark::DoNotOptimize(RotatePicture(source, angleOf(state), count)); });
  for (const auto& [name, floor] : {std::pair("x_floor", &freshFill), {"x_mapped", &mappedFill}})
    if (floor->count(state.range(0))) state.counters[name] = perRun / floor->at(state.range(0));
  state.counters["yields"] = double(yields) / double(state.iterations());
}

// 30 degrees, a slight tilt, a quarter turn, 200 degrees.
#define PLOTVANE_ANGLES ->Arg(3000)->Arg(50)->Arg(9000)->Arg(20000)->Unit(benchmark::kMillisecond)
BENCHMARK(Floor_FillFresh) PLOTVANE_ANGLES;
BENCHMARK(Floor_FillMapped) PLOTVANE_ANGLES;
BENCHMARK(Rotate) PLOTVANE_ANGLES;

}  // namespace
}  // namespace plotvane
