// The brightness/contrast and colour mask passes over an 8000 x 6000 chart
// picture and over one of random colours, against the baseline of one memcpy
// of the same picture into a buffer already in use, measured in the same
// program. The "x_memcpy" counter is the mean processor time of one pass
// divided by the best memcpy's. The passes write into a result kept from the
// run before unless "fresh" is 1. The preview runs do the same on an 800 x 600
// chart against a memcpy of that size; SetUp is the fixed cost of one pass.
//
// Run: build/bench/filters_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <random>

#include "base/pixel_array.h"
#include "filters/brightness_contrast.h"
#include "filters/colour_mask.h"

namespace plotvane {
namespace {

constexpr int kWidth = 8000;
constexpr int kHeight = 6000;
constexpr int kPreviewWidth = 800;
constexpr int kPreviewHeight = 600;

void fillRect(PixelArray& p, int x0, int y0, int x1, int y1, std::uint32_t colour) {
  x0 = std::max(x0, 0), y0 = std::max(y0, 0);
  x1 = std::min(x1, p.width()), y1 = std::min(y1, p.height());
  for (int y = y0; y < y1; ++y) std::fill(p.row(y) + x0, p.row(y) + std::max(x0, x1), colour);
}

// White paper with scanner noise, a light grid every 400 x 300 pixels, and a
// 12-pixel dark blue curve with a 2-pixel blended fringe.
PixelArray chartPicture(int width, int height) {
  PixelArray p(width, height, rgbValue(255, 255, 255));
  std::mt19937 random(11);
  for (std::size_t i = 0; i < p.size(); i += 1 + random() % 16) {
    const int grey = 247 + static_cast<int>(random() % 9);
    p.data()[i] = rgbValue(std::min(grey, 255), std::min(grey + 1, 255), std::min(grey, 255));
  }
  const std::uint32_t grid = rgbValue(220, 224, 230);
  for (int x = 400; x < width; x += 400) fillRect(p, x - 1, 0, x + 2, height, grid);
  for (int y = 300; y < height; y += 300) fillRect(p, 0, y - 1, width, y + 2, grid);
  const double mid = height / 2.0, amplitude = height * 0.37;
  for (int x = 0; x < width; ++x) {
    const int y = static_cast<int>(mid - amplitude * std::sin(x / 900.0) * std::cos(x / 2600.0));
    fillRect(p, x, y - 8, x + 1, y - 6, rgbValue(120, 126, 160));
    fillRect(p, x, y + 6, x + 1, y + 8, rgbValue(120, 126, 160));
    fillRect(p, x, y - 6, x + 1, y + 6, rgbValue(20 + x % 3, 30, 90 - x % 5));
  }
  return p;
}

PixelArray noisePicture(int width, int height) {
  PixelArray p(width, height);
  std::mt19937 random(5);
  for (std::size_t i = 0; i < p.size(); ++i) p.data()[i] = random() & kRgbMask;
  return p;
}

// Arg 0: the chart; 1: random colours.
const PixelArray& picture(std::int64_t kind) {
  static const PixelArray chart = chartPicture(kWidth, kHeight);
  static const PixelArray noise = noisePicture(kWidth, kHeight);
  return kind == 0 ? chart : noise;
}

const PixelArray& previewPicture() {
  static const PixelArray preview = chartPicture(kPreviewWidth, kPreviewHeight);
  return preview;
}

// Processor time of this program: other programs sharing the machine do not
// count against a run.
double cpuSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Best of 20: a memcpy into a target in use, or into a new picture (the copy
// that a pass returning a new picture is compared with).
double bestCopySeconds(const PixelArray& source, bool fresh) {
  PixelArray target(source.width(), source.height(), 0);
  double best = 1e9;
  for (int i = 0; i < 20; ++i) {
    const double start = cpuSeconds();
    if (fresh) target = PixelArray(source.width(), source.height());
    std::memcpy(target.data(), source.data(), source.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(target.data());
    best = std::min(best, cpuSeconds() - start);
  }
  return best;
}

double memcpySeconds(bool preview) {
  static const double full = bestCopySeconds(picture(0), false);
  static const double small = bestCopySeconds(previewPicture(), false);
  return preview ? small : full;
}

double freshCopySeconds() {
  static const double seconds = bestCopySeconds(picture(0), true);
  return seconds;
}

void BM_Memcpy(benchmark::State& state) {
  const PixelArray& source = picture(0);
  PixelArray target(source.width(), source.height(), 0);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), source.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(target.data());
  }
  state.counters["best_ms"] = memcpySeconds(false) * 1e3;
  state.counters["fresh_copy_ms"] = freshCopySeconds() * 1e3;
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// A callback at every yield point that goes on, as the window's.
const FilterYield& goOn() {
  static const FilterYield yield = [](int, int progress) {
    benchmark::DoNotOptimize(progress);
    return true;
  };
  return yield;
}

// Arg fresh 0: the pass writes into a result kept from the run before (as a
// preview pane does); 1: each pass returns a new picture, also compared with a
// copy into a new picture ("x_fresh_copy").
template <class IntoPass, class FreshPass>
void timePasses(benchmark::State& state, const PixelArray& source, bool preview, bool fresh,
                IntoPass&& into, FreshPass&& freshPass) {
  PixelArray target;
  into(source, target);
  double seconds = 0;
  for (auto _ : state) {
    const double start = cpuSeconds();
    if (fresh) {
      std::optional<PixelArray> result = freshPass(source);
      seconds += cpuSeconds() - start;
      benchmark::DoNotOptimize(result->data());
    } else {
      benchmark::DoNotOptimize(into(source, target));
      seconds += cpuSeconds() - start;
    }
  }
  const double perPass = seconds / static_cast<double>(state.iterations());
  state.counters["x_memcpy"] = perPass / memcpySeconds(preview);
  if (fresh) state.counters["x_fresh_copy"] = perPass / freshCopySeconds();
}

constexpr int kContrast = 30, kBrightness = 10;
// Keeps the curve's blue.
constexpr ColourMaskParams kMask{.red = 20, .green = 30, .blue = 90, .tolerance = 50};

void brightnessContrast(benchmark::State& state, const PixelArray& source, bool preview,
                        bool fresh) {
  timePasses(
      state, source, preview, fresh,
      [](const PixelArray& from, PixelArray& to) {
        return ApplyBrightnessContrast(from, to, kContrast, kBrightness, goOn());
      },
      [](const PixelArray& from) {
        return ApplyBrightnessContrast(from, kContrast, kBrightness, goOn());
      });
}

void colourMask(benchmark::State& state, const PixelArray& source, bool preview, bool fresh) {
  timePasses(
      state, source, preview, fresh,
      [](const PixelArray& from, PixelArray& to) {
        return ApplyColourMask(from, to, kMask, goOn());
      },
      [](const PixelArray& from) { return ApplyColourMask(from, kMask, goOn()); });
}

// Args: picture (0 chart, 1 random colours), fresh.
void BM_BrightnessContrast(benchmark::State& state) {
  brightnessContrast(state, picture(state.range(0)), false, state.range(1) != 0);
}
BENCHMARK(BM_BrightnessContrast)
    ->ArgNames({"picture", "fresh"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

void BM_ColourMask(benchmark::State& state) {
  colourMask(state, picture(state.range(0)), false, state.range(1) != 0);
}
BENCHMARK(BM_ColourMask)
    ->ArgNames({"picture", "fresh"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

void BM_PreviewBrightnessContrast(benchmark::State& state) {
  brightnessContrast(state, previewPicture(), true, false);
}
BENCHMARK(BM_PreviewBrightnessContrast)->Unit(benchmark::kMicrosecond);

void BM_PreviewColourMask(benchmark::State& state) {
  colourMask(state, previewPicture(), true, false);
}
BENCHMARK(BM_PreviewColourMask)->Unit(benchmark::kMicrosecond);

// The set-up of one pass alone: the tables that a pass builds before its
// first pixel (a one-pixel picture).
void BM_SetUp(benchmark::State& state) {
  const PixelArray one(1, 1, rgbValue(20, 30, 90));
  PixelArray target;
  for (auto _ : state) {
    if (state.range(0) == 0)
      benchmark::DoNotOptimize(ApplyBrightnessContrast(one, target, kContrast, kBrightness));
    else
      benchmark::DoNotOptimize(ApplyColourMask(one, target, kMask));
  }
  state.SetLabel(state.range(0) == 0 ? "brightness/contrast" : "colour mask");
}
BENCHMARK(BM_SetUp)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace plotvane
