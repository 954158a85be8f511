// The undo history on an 8000 x 6000 chart picture (white, grid, curves and
// text-like marks), against baselines measured in the same program run (run
// the whole program, unfiltered, so the baselines come first): one memcpy of
// the picture into a picture already in memory, and one into a newly
// allocated picture, freed afterwards (what any new picture costs in page
// faults and unmapping). Times are processor time of this process. Counters:
//   push_ms, push_max_ms      one push before an eraser stroke (mean, slowest)
//   edit_ms                   one whole-picture edit with its push
//   *_x_memcpy                a time divided by the memcpy baseline
//   held_MB                   what the ring holds beyond the working picture
//   rss_growth_MB             growth of the resident set over the same span
//   same_size_max_ms          the slowest single Undo or Redo keeping the size
//   resize_max_ms             the slowest Undo or Redo of a quarter turn, and
//   resize_x_fresh            that time divided by the new-picture baseline
//
// Run: build/bench/undo_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>

#include "picture/undo_ring.h"

namespace plotvane {
namespace {

constexpr int kWidth = 8000;
constexpr int kHeight = 6000;
constexpr int kSteps = 50;
constexpr double kMiB = 1024.0 * 1024.0;

double memcpySeconds = 0;
double freshSeconds = 0;

double processorSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Resident memory after giving free heap pages back, so that memory freed by
// an earlier benchmark does not hide growth.
double residentBytes() {
  malloc_trim(0);
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

void disc(PixelArray& p, int cx, int cy, int radius, std::uint32_t colour) {
  for (int y = std::max(cy - radius, 0); y <= std::min(cy + radius, p.height() - 1); ++y)
    for (int x = std::max(cx - radius, 0); x <= std::min(cx + radius, p.width() - 1); ++x)
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) p.set(x, y, colour);
}

// White, a light grid every 400 x 300 pixels, three curves 4 pixels thick,
// tick labels and a title made of glyph-like blocks of dark pixels.
const PixelArray& chartPicture() {
  static const PixelArray chart = [] {
    PixelArray p(kWidth, kHeight, rgbValue(255, 255, 255));
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (x % 400 < 2 || y % 300 < 2) p.set(x, y, rgbValue(210, 214, 222));
    const std::uint32_t inks[] = {rgbValue(20, 30, 90), rgbValue(160, 30, 30),
                                  rgbValue(20, 110, 40)};
    for (int c = 0; c < 3; ++c)
      for (int x = 0; x < kWidth; ++x) {
        const double y = kHeight / 2 + (1500 - 400 * c) * std::sin(x / (700.0 + 300 * c) + c);
        for (int t = 0; t < 4; ++t) p.set(x, static_cast<int>(y) + t, inks[c]);
      }
    std::mt19937 random(3);
    auto text = [&](int x0, int y0, int glyphs) {
      for (int g = 0; g < glyphs; ++g)
        for (int y = 0; y < 14; ++y)
          for (int x = 0; x < 9; ++x)
            if (random() % 3 == 0) p.set(x0 + g * 11 + x, y0 + y, rgbValue(30, 30, 30));
    };
    for (int x = 400; x < kWidth; x += 400) text(x - 20, kHeight - 40, 4);
    for (int y = 300; y < kHeight; y += 300) text(20, y - 7, 5);
    text(kWidth / 2 - 300, 40, 55);
    return p;
  }();
  return chart;
}

PixelArray noisePicture(int width, int height, unsigned seed) {
  PixelArray p(width, height);
  std::mt19937 random(seed);
  for (std::size_t i = 0; i < p.size(); ++i) p.data()[i] = random() & kRgbMask;
  return p;
}

// A brightness change of the whole picture, lighter or darker by turns.
PixelArray filtered(const PixelArray& source, int step) {
  PixelArray out(source.width(), source.height());
  const std::uint32_t* in = source.data();
  std::uint32_t* to = out.data();
  for (std::size_t i = 0; i < source.size(); ++i) {
    const int r = redOf(in[i]), g = greenOf(in[i]), b = blueOf(in[i]);
    to[i] = step % 2 ? rgbValue(r * 15 / 16, g * 15 / 16, b * 15 / 16)
                     : rgbValue(255 - (255 - r) * 7 / 8, 255 - (255 - g) * 7 / 8,
                                255 - (255 - b) * 7 / 8);
  }
  return out;
}

// A quarter turn clockwise: a picture of the other size.
PixelArray turned(const PixelArray& source) {
  PixelArray out(source.height(), source.width());
  for (int y = 0; y < source.height(); ++y) {
    const std::uint32_t* row = source.row(y);
    for (int x = 0; x < source.width(); ++x) out.row(x)[source.height() - 1 - y] = row[x];
  }
  return out;
}

// Twenty white dabs of radius 10 along a short random path.
void eraserStroke(TiledPicture& picture, std::mt19937& random) {
  int x = static_cast<int>(random() % static_cast<unsigned>(picture.width()));
  int y = static_cast<int>(random() % static_cast<unsigned>(picture.height()));
  const double angle = static_cast<double>(random() % 628) / 100.0;
  for (int dab = 0; dab < 20; ++dab) {
    picture.editRegion(x - 10, y - 10, x + 11, y + 11,
                       [&](PixelArray& p) { disc(p, x, y, 10, rgbValue(255, 255, 255)); });
    x += static_cast<int>(std::lround(6 * std::cos(angle)));
    y += static_cast<int>(std::lround(6 * std::sin(angle)));
  }
}

struct Session {
  Session(PixelArray start, int tileSize)
      : picture(std::move(start), tileSize), state(picture, rect) {}
  TiledPicture picture;
  PixelRect rect{0, kWidth, 0, kHeight};
  PictureUndoState state;
  UndoRing ring{kSteps, state};
};

void Baseline_MemcpyPicture(benchmark::State& state) {
  const PixelArray& source = chartPicture();
  PixelArray target(kWidth, kHeight, 0);
  double best = 1e9;
  for (auto _ : state) {
    const double start = processorSeconds();
    std::memcpy(target.data(), source.data(), source.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(target.data());
    best = std::min(best, processorSeconds() - start);
  }
  memcpySeconds = best;
  state.counters["memcpy_ms"] = best * 1e3;
}

// The same copy into a newly allocated picture, freed afterwards: what any
// new picture costs (page faults, unmapping), a size change among them.
void Baseline_MemcpyFreshPicture(benchmark::State& state) {
  const PixelArray& source = chartPicture();
  double best = 1e9;
  for (auto _ : state) {
    const double start = processorSeconds();
    {
      PixelArray target(kWidth, kHeight);
      std::memcpy(target.data(), source.data(), source.size() * sizeof(std::uint32_t));
      benchmark::DoNotOptimize(target.data());
    }
    best = std::min(best, processorSeconds() - start);
  }
  freshSeconds = best;
  state.counters["fresh_ms"] = best * 1e3;
}

// Eraser strokes, each after its push; the ring keeps the last 50. On noise
// every saved tile stays raw: the most an eraser step can cost.
void EraserStrokes(benchmark::State& state) {
  const bool noise = state.range(1) == 1;
  Session s(noise ? noisePicture(kWidth, kHeight, 1) : chartPicture(),
            static_cast<int>(state.range(0)));
  std::mt19937 random(5);
  const double residentBefore = residentBytes();
  double pushTotal = 0, pushMax = 0;
  for (auto _ : state) {
    const double start = processorSeconds();
    s.ring.push(kUndoPicture);
    const double push = processorSeconds() - start;
    pushTotal += push;
    pushMax = std::max(pushMax, push);
    eraserStroke(s.picture, random);
  }
  state.counters["push_ms"] = pushTotal / static_cast<double>(state.iterations()) * 1e3;
  state.counters["push_max_ms"] = pushMax * 1e3;
  if (memcpySeconds > 0) state.counters["push_max_x_memcpy"] = pushMax / memcpySeconds;
  state.counters["held_MB"] = static_cast<double>(s.ring.heldBytes()) / kMiB;
  state.counters["rss_growth_MB"] = (residentBytes() - residentBefore) / kMiB;
  state.SetLabel(noise ? "noise" : "chart");
}

// Whole-picture filters, every tenth a quarter turn; the ring keeps all 50.
void WholePictureEdits(benchmark::State& state) {
  Session s(chartPicture(), static_cast<int>(state.range(0)));
  const double residentBefore = residentBytes();
  double editTotal = 0;
  int step = 0;
  for (auto _ : state) {
    const double start = processorSeconds();
    s.ring.push(kUndoPicture);
    const PixelArray& now = s.picture.pixels();
    s.picture.replace(step % 10 == 9 ? turned(now) : filtered(now, step));
    editTotal += processorSeconds() - start;
    ++step;
  }
  const double edit = editTotal / static_cast<double>(state.iterations());
  state.counters["edit_ms"] = edit * 1e3;
  if (memcpySeconds > 0) state.counters["edit_x_memcpy"] = edit / memcpySeconds;
  state.counters["held_MB"] = static_cast<double>(s.ring.heldBytes()) / kMiB;
  state.counters["rss_growth_MB"] = (residentBytes() - residentBefore) / kMiB;
}

// Undo every step back and redo every step forward, timing each. Steps on the
// chart: eraser strokes, filters and quarter turns mixed; on noise, whose
// tiles stay uncompressed: filters and quarter turns.
void UndoRedoEveryStep(benchmark::State& state) {
  const bool noise = state.range(1) == 1;
  Session s(noise ? noisePicture(kWidth, kHeight, 1) : chartPicture(),
            static_cast<int>(state.range(0)));
  std::mt19937 random(9);
  const int steps = noise ? 4 : 30;
  for (int step = 0; step < steps; ++step) {
    s.ring.push(kUndoPicture);
    const PixelArray& now = s.picture.pixels();
    if (!noise && step % 3 != 0)
      eraserStroke(s.picture, random);
    else if (step % 2 == 1)
      s.picture.replace(turned(now));
    else
      s.picture.replace(noise ? noisePicture(now.width(), now.height(), unsigned(step) + 2)
                              : filtered(now, step));
  }
  // Slowest step, [0] keeping the size and [1] changing it.
  double slowest[2] = {0, 0};
  auto timedStep = [&](bool undo) {
    const double start = processorSeconds();
    const UndoOutcome outcome = undo ? s.ring.undo() : s.ring.redo();
    double& slot = slowest[outcome.sizeChanged ? 1 : 0];
    slot = std::max(slot, processorSeconds() - start);
  };
  for (auto _ : state) {
    for (int i = 0; i < steps; ++i) timedStep(true);
    for (int i = 0; i < steps; ++i) timedStep(false);
  }
  state.counters["same_size_max_ms"] = slowest[0] * 1e3;
  state.counters["resize_max_ms"] = slowest[1] * 1e3;
  state.counters["held_MB"] = static_cast<double>(s.ring.heldBytes()) / kMiB;
  if (memcpySeconds > 0) state.counters["same_size_x_memcpy"] = slowest[0] / memcpySeconds;
  if (memcpySeconds > 0) state.counters["resize_x_memcpy"] = slowest[1] / memcpySeconds;
  if (freshSeconds > 0) state.counters["resize_x_fresh"] = slowest[1] / freshSeconds;
  state.SetLabel(noise ? "noise, uncompressed tiles" : "chart");
}

BENCHMARK(Baseline_MemcpyPicture)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(Baseline_MemcpyFreshPicture)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(EraserStrokes)
    ->ArgNames({"tile", "noise"})
    ->Args({64, 0})
    ->Args({128, 0})
    ->Args({64, 1})
    ->Args({128, 1})
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WholePictureEdits)
    ->ArgName("tile")
    ->Arg(64)
    ->Arg(128)
    ->Iterations(kSteps)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(UndoRedoEveryStep)
    ->ArgNames({"tile", "noise"})
    ->Args({64, 0})
    ->Args({128, 0})
    ->Args({128, 1})
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plotvane
