// The pointer over an 8000 x 6000 picture in a 1600 x 1000 view, at every
// zoom from 1/16 to 4: one step of an edge drag (hit test, snap, labels,
// lines, read-out) and one read-out step without a button, each timed back
// to back with one memcpy of the view's image, the baseline. The core draws
// nothing into the view for either: only the overlay controls move.
//
// Run: build/bench/pointer_bench
// Counters: `ratio` (step / memcpy of the view, at most `target`), `us` (the
// step's own time; a step must stay well under 2 ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>

#include "digitize/picture_input.h"
#include "loading/load_picture.h"
#include "platform/headless_platform.h"
#include "shell/form1_events.h"
#include "view/selection.h"
#include "view/view.h"

namespace {

using namespace plotvane;
using Clock = std::chrono::steady_clock;

constexpr int kViewW = 1600, kViewH = 1000;

struct Session {
  HeadlessPlatform platform;
  Form1 form{platform};
  Session() {
    formLoad(form, false);
    formResize(form, (kViewW + 400) * kTwipsPerPixel, (kViewH + 150) * kTwipsPerPixel);
    PixelArray picture(8000, 6000, 0xFFFFFF);
    for (int y = 0; y < 6000; y += 97)
      for (int x = 0; x < 8000; ++x) picture.set(x, y, 0x808080);
    platform.setPicture("big.bmp", std::move(picture));
    LoadPictureFile(form, "big.bmp");
  }
};

Session& session() {
  static Session s;
  return s;
}

double seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

template <typename Step>
void measure(benchmark::State& state, float zoom, Step&& step) {
  Form1& form = session().form;
  form.app.zoom = zoom;
  pict1Reload(form);
  const PixelArray& view = form.state.Picture1Image;
  PixelArray copy(view.width(), view.height());
  const std::uint64_t version = form.state.picture1Version;
  double stepTime = 0, copyTime = 0;
  int i = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    std::memcpy(copy.data(), view.data(), view.size() * 4);
    benchmark::DoNotOptimize(copy.data());
    const auto t1 = Clock::now();
    step(form, i++);
    const auto t2 = Clock::now();
    copyTime += seconds(t1 - t0);
    stepTime += seconds(t2 - t1);
    state.SetIterationTime(seconds(t2 - t1));
  }
  if (form.state.picture1Version != version) state.SkipWithError("the view was redrawn");
  state.counters["ratio"] = stepTime / copyTime;
  // Less than redrawing the view once: nothing but overlay controls move.
  state.counters["target"] = 1.0;
  state.counters["us"] = stepTime / double(state.iterations()) * 1e6;
}

float zoomOf(const benchmark::State& state) {
  return std::ldexp(1.0f, static_cast<int>(state.range(0)));
}

// The left edge dragged to and fro across the view's middle.
void DragStep(benchmark::State& state) {
  measure(state, zoomOf(state), [](Form1& form, int i) {
    if (i == 0) {
      const float x = form.app.zoom * form.state.Picture2.rect().lineXS - form.ui.HScroll1.value;
      picture1MouseDown(form, {.button = PointerButton::Left, .x = x + 1, .y = 300});
    }
    const float x = 400 + static_cast<float>(i % 400);
    picture1MouseMove(form, {.button = PointerButton::Left, .x = x, .y = 300});
  });
  picture1MouseUp(session().form, {.button = PointerButton::Left, .x = 0, .y = 300});
  mnuSelectAllClick(session().form);
}
BENCHMARK(DragStep)->DenseRange(-4, 2)->Iterations(3000)->UseManualTime()->Unit(
    benchmark::kMicrosecond);

void ReadOutStep(benchmark::State& state) {
  measure(state, zoomOf(state), [](Form1& form, int i) {
    picture1MouseMove(form, {.x = 100 + static_cast<float>(i % 1000), .y = 500});
  });
}
BENCHMARK(ReadOutStep)
    ->DenseRange(-4, 2)
    ->Iterations(3000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
