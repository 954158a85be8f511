// One slider step of each filter dialog on an 8000 x 6000 picture: the
// handler that writes the value's text and draws both preview panes (the
// left from the working picture, the right filtered), at the zoom a loaded
// picture of that size fits the window with (1/8), at 1 and at 4. The
// baseline, measured in the same run, is one memcpy of the two pane images
// into buffers already in use; the "x_memcpy" counter is the mean processor
// time of one step divided by the best of those copies, and "step_us" the
// step itself.
//
// Run: build/bench/filter_dialog_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "base/number_text.h"
#include "filters/colour_mask_dialog.h"
#include "filters/contrast_dialog.h"
#include "loading/load_picture.h"
#include "platform/headless_platform.h"
#include "shell/form1_events.h"

namespace plotvane {
namespace {

constexpr int kWidth = 8000;
constexpr int kHeight = 6000;

// White paper with light noise, a grid every 400 x 300 pixels and a dark
// blue curve 12 pixels thick.
const PixelArray& chart() {
  static const PixelArray picture = [] {
    PixelArray p(kWidth, kHeight, rgbValue(255, 255, 255));
    std::mt19937 random(3);
    for (std::size_t i = 0; i < p.size(); i += 1 + random() % 16)
      p.data()[i] = rgbValue(248, 249, 248);
    for (int y = 0; y < kHeight; ++y) {
      std::uint32_t* row = p.row(y);
      for (int x = 0; x < kWidth; ++x) {
        if (x % 400 == 0 || y % 300 == 0) row[x] = rgbValue(220, 224, 230);
        const int curve = kHeight / 2 + static_cast<int>(kHeight * 0.37 * std::sin(x / 900.0));
        if (y > curve - 6 && y < curve + 6) row[x] = rgbValue(20, 30, 90);
      }
    }
    return p;
  }();
  return picture;
}

double cpuSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Best of 200 copies of two pane-sized images.
double paneCopySeconds() {
  static const double best = [] {
    const PixelArray from(kPreviewPaneWidth, kPreviewPaneHeight, 0x123456);
    PixelArray left(kPreviewPaneWidth, kPreviewPaneHeight, 0);
    PixelArray right(kPreviewPaneWidth, kPreviewPaneHeight, 0);
    const std::size_t bytes = from.size() * sizeof(std::uint32_t);
    double fastest = 1e9;
    for (int i = 0; i < 200; ++i) {
      const double start = cpuSeconds();
      std::memcpy(left.data(), from.data(), bytes);
      std::memcpy(right.data(), from.data(), bytes);
      benchmark::DoNotOptimize(left.data());
      benchmark::DoNotOptimize(right.data());
      fastest = std::min(fastest, cpuSeconds() - start);
    }
    return fastest;
  }();
  return best;
}

void BM_PaneCopy(benchmark::State& state) {
  const PixelArray from(kPreviewPaneWidth, kPreviewPaneHeight, 0x123456);
  PixelArray left(kPreviewPaneWidth, kPreviewPaneHeight, 0);
  PixelArray right(kPreviewPaneWidth, kPreviewPaneHeight, 0);
  const std::size_t bytes = from.size() * sizeof(std::uint32_t);
  for (auto _ : state) {
    std::memcpy(left.data(), from.data(), bytes);
    std::memcpy(right.data(), from.data(), bytes);
    benchmark::DoNotOptimize(left.data());
    benchmark::DoNotOptimize(right.data());
  }
  state.counters["best_us"] = paneCopySeconds() * 1e6;
}
BENCHMARK(BM_PaneCopy)->Unit(benchmark::kMicrosecond);

// Args: dialog (0 brightness and contrast, 1 colour mask), zoom as a power
// of two.
void BM_SliderStep(benchmark::State& state) {
  const bool mask = state.range(0) != 0;
  const float zoom = std::ldexp(1.0f, static_cast<int>(state.range(1)));
  HeadlessPlatform platform;
  Form1 form(platform);
  formLoad(form, false);
  formResize(form, 1600 * kTwipsPerPixel, 1000 * kTwipsPerPixel);
  platform.setPicture("chart.bmp", chart());
  if (!LoadPictureFile(form, "chart.bmp")) {
    state.SkipWithError("the picture did not load");
    return;
  }
  form.app.zoom = zoom;
  menuClick(form, mask ? MenuId::mnuFilterColormask : MenuId::mnuFilterContrast);
  FilterDialog* dialog = filterDialog(form, mask ? DialogId::ColourMask : DialogId::Contrast);
  if (!dialog) {
    state.SkipWithError("the dialog did not open");
    return;
  }
  SliderControl& slider = mask ? static_cast<ColourMaskDialog*>(dialog)->Slider1
                               : static_cast<ContrastDialog*>(dialog)->Slider1;
  int value = 0;
  double seconds = 0;
  for (auto _ : state) {
    value = value == 60 ? 10 : value + 1;
    slider.value = value;
    const double start = cpuSeconds();
    if (mask)
      colourMaskSlider1Change(form);
    else
      contrastSlider1Change(form);
    seconds += cpuSeconds() - start;
    benchmark::DoNotOptimize(dialog->Picture2.image.data());
  }
  const double perStep = seconds / static_cast<double>(state.iterations());
  state.counters["x_memcpy"] = perStep / paneCopySeconds();
  state.counters["step_us"] = perStep * 1e6;
  state.SetLabel(std::string(mask ? "colour mask" : "brightness/contrast") + ", zoom " +
                 (zoom < 1 ? "1/" + singleText(1 / zoom) : singleText(zoom)));
}
BENCHMARK(BM_SliderStep)
    ->ArgNames({"mask", "zoom_log2"})
    ->ArgsProduct({{0, 1}, {-3, 0, 2}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace plotvane
