// The view's copy of an 8000 x 6000 picture at each zoom the layout accepts
// for it, and one scroll step, against the baseline of one memcpy of a
// view-sized block from a buffer larger than the last-level cache.
//
// Run: build/bench/view_bench --benchmark_min_time=1
// Compare each BlitZoomed/Scroll figure with MemcpyCold of the same size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "loading/load_picture.h"
#include "picture/pixel_transfer.h"
#include "platform/headless_platform.h"
#include "shell/form1_events.h"
#include "view/view.h"

namespace {

using namespace plotvane;

constexpr int kPictureW = 8000;
constexpr int kPictureH = 6000;
constexpr int kViewW = 1600;
constexpr int kViewH = 1000;
constexpr std::size_t kColdBytes = std::size_t{1} << 30;  // beyond a 480 MiB last-level cache

const PixelArray& picture() {
  static const PixelArray chart = [] {
    PixelArray p(kPictureW, kPictureH);
    for (int y = 0; y < kPictureH; ++y) {
      std::uint32_t* row = p.row(y);
      for (int x = 0; x < kPictureW; ++x)
        row[x] = static_cast<std::uint32_t>((x * 2654435761u) ^ (y * 40503u)) & kRgbMask;
    }
    return p;
  }();
  return chart;
}

// Zoom as 2^exponent; the view is 1600 x 1000 or the zoomed picture's size.
float zoomOf(int exponent) {
  return exponent >= 0 ? float(1 << exponent) : 1.0f / float(1 << -exponent);
}
int viewW(float zoom) {
  return std::min(kViewW, static_cast<int>(kPictureW * zoom));
}
int viewH(float zoom) {
  return std::min(kViewH, static_cast<int>(kPictureH * zoom));
}

void MemcpyCold(benchmark::State& state) {
  const std::size_t bytes = std::size_t(state.range(0)) * std::size_t(state.range(1)) * 4;
  static std::unique_ptr<char[]> source = [] {
    auto buffer = std::make_unique<char[]>(kColdBytes);
    std::memset(buffer.get(), 1, kColdBytes);
    return buffer;
  }();
  std::vector<char> target(bytes);
  std::size_t offset = 0;
  for (auto _ : state) {
    std::memcpy(target.data(), source.get() + offset, bytes);
    benchmark::DoNotOptimize(target.data());
    offset += bytes;
    if (offset + bytes > kColdBytes) offset = 0;
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}
BENCHMARK(MemcpyCold)->Args({500, 375})->Args({kViewW, kViewH})->Unit(benchmark::kMicrosecond);

// Each iteration shows another part of the picture, as scrolling does.
void BlitZoomedView(benchmark::State& state) {
  const float zoom = zoomOf(int(state.range(0)));
  const PixelArray& source = picture();
  PixelArray view(viewW(zoom), viewH(zoom));
  const int spanX = std::max(1, kPictureW - int(view.width() / zoom));
  const int spanY = std::max(1, kPictureH - int(view.height() / zoom));
  int step = 0;
  for (auto _ : state) {
    const float srcX = float((step * 997) % spanX);
    const float srcY = float((step * 613) % spanY);
    BlitZoomed(source, view, zoom, srcX, srcY, 0xF0F0F0);
    benchmark::DoNotOptimize(view.data());
    ++step;
  }
  state.SetLabel(std::to_string(view.width()) + "x" + std::to_string(view.height()));
}
BENCHMARK(BlitZoomedView)->DenseRange(-4, 2, 2)->Arg(1)->Unit(benchmark::kMicrosecond);

// One scroll step of the window: snap, overlays, redraw of the view.
void ScrollStep(benchmark::State& state) {
  const int exponent = int(state.range(0));
  HeadlessPlatform platform;
  Form1 form(platform);
  formLoad(form);
  // A viewport of 1600 x 1000 pixels inside its border, with both bars.
  formResize(form, (kViewW + 4) * 15 + 4740 + 315, (kViewH + 4) * 15 + 840 + 315 + 270);
  platform.setPicture("chart.bmp", picture());
  LoadPictureFile(form, "chart.bmp");
  while (form.app.zoom > zoomOf(exponent)) mnuZoomOutClick(form);
  while (form.app.zoom < zoomOf(exponent)) mnuZoomInClick(form);
  ScrollBarControl& bar = form.ui.HScroll1;
  const int maximum = std::max(1, bar.maximum);
  int value = 0;
  for (auto _ : state) {
    value = (value + 997) % maximum;
    bar.value = value;
    form.ui.VScroll1.value = value % std::max(1, form.ui.VScroll1.maximum);
    scrollBarChange(form);
    benchmark::DoNotOptimize(form.state.Picture1Image.data());
  }
  state.SetLabel(std::to_string(form.state.Picture1Image.width()) + "x" +
                 std::to_string(form.state.Picture1Image.height()) + " zoom " +
                 magnificationText(form, form.app.zoom));
}
BENCHMARK(ScrollStep)->Arg(-4)->Arg(-2)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
