// Drawing the point crosses and the trace polyline of a full list (32 767
// points) into a 1600 x 1000 view, against the baseline of one memcpy of the
// view's buffer from a source larger than the last-level cache.
//
// Run: build/bench/overlays_bench --benchmark_min_time=1
// Compare each MarksAndPolyline figure with MemcpyViewCold.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "view/overlays.h"

namespace {

using namespace plotvane;

constexpr int kViewW = 1600;
constexpr int kViewH = 1000;
constexpr int kPoints = 32767;
constexpr std::size_t kColdBytes = std::size_t{1} << 30;  // beyond a 480 MiB last-level cache

void MemcpyViewCold(benchmark::State& state) {
  const std::size_t bytes = std::size_t{kViewW} * kViewH * 4;
  static std::unique_ptr<char[]> source = [] {
    auto buffer = std::make_unique<char[]>(kColdBytes);
    std::memset(buffer.get(), 1, kColdBytes);
    return buffer;
  }();
  PixelArray view(kViewW, kViewH, 0xFFFFFF);
  std::size_t offset = 0;
  for (auto _ : state) {
    std::memcpy(view.data(), source.get() + offset, bytes);
    benchmark::DoNotOptimize(view.data());
    offset += bytes;
    if (offset + bytes > kColdBytes) offset = 0;
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}
BENCHMARK(MemcpyViewCold)->Unit(benchmark::kMicrosecond);

// A traced curve of the whole list: picture columns spread over `span`
// display widths at zoom 1, a wave over most of the view's height.
std::vector<DataPoint> tracedCurve(int span) {
  std::vector<DataPoint> points(kPoints);
  const double step = double(kViewW) * span / kPoints;
  for (int i = 0; i < kPoints; ++i) {
    const double x = i * step;
    const double row = kViewH / 2.0 + 400.0 * std::sin(x / 97.0) + 50.0 * std::sin(x / 7.0);
    points[std::size_t(i)] = {0, 0, float(x), float(kViewH - 1 - row)};
  }
  return points;
}

// Arg 1: every point inside the view (a dense trace across it). Arg 8: the
// trace spans eight view widths, the view shows the first.
void MarksAndPolyline(benchmark::State& state) {
  const int span = int(state.range(0));
  const std::vector<DataPoint> points = tracedCurve(span);
  PixelArray view(kViewW, kViewH, 0xFFFFFF);
  const ViewPlacement placement{1, 0, 0, kViewH};
  const std::uint32_t cyan = pixelFromPlatformColour(kPlatformCyan);
  const std::uint32_t red = pixelFromPlatformColour(kPlatformRed);
  for (auto _ : state) {
    PolylinePen pen;
    paintTracePolyline(view, points, placement, pen, red);
    paintPointCrosses(view, points, placement, cyan);
    benchmark::DoNotOptimize(view.data());
  }
  state.SetLabel(std::to_string(kPoints) + " points over " + std::to_string(span) + " view width" +
                 (span > 1 ? "s" : ""));
}
BENCHMARK(MarksAndPolyline)->Arg(1)->Arg(8)->Unit(benchmark::kMicrosecond);

}  // namespace
