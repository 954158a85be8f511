// Filling the shown data list to 32 767 points through AddDataPoint, with
// the list view brought in step and window events processed every 100 adds
// as a run's yield does, until the list shows the last point, against a
// baseline loop that only formats the same 4 x 32 767 numbers. The list run reports its time as the
// counter x_baseline (run the whole program, unfiltered, so the baseline comes first).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include "app/language.h"
#include "base/number_text.h"
#include "data/data_list.h"
#include "platform/headless_platform.h"
#include "qt/data_list_view.h"
#include "support/data_points.h"

namespace plotvane {
namespace {

void ensureApplication() {
  static QApplication* application = [] {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qt_data_list_bench";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  (void)application;
}

using bench::Baseline_FormatNumbers;
using bench::baselineSeconds;
using bench::samplePoints;

void AddDataPoint_ShownList(benchmark::State& state) {
  ensureApplication();
  const std::vector<DataPoint>& points = samplePoints();
  HeadlessPlatform platform;
  double seconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<Form1>(platform);
    SetLngage(form->app);
    form->ui.ListView1.columns = {
        {"No", 400}, {"XData", 900}, {"YData", 900}, {"XPixel", 900}, {"YPixel", 900}};
    auto view = std::make_unique<DataListView>(
        *form, [](const std::function<void()>& handler) { handler(); }, nullptr);
    view->resize(360, 600);
    view->show();
    view->sync();
    QApplication::processEvents();
    state.ResumeTiming();

    const auto start = std::chrono::steady_clock::now();
    for (const DataPoint& p : points) {
      if (appendDataPoint(*form, p.XData, p.YData, p.XPixel, p.YPixel) != AddResult::Added) break;
      if (form->app.pointCount % 100 == 0) {
        view->sync();
        QApplication::processEvents();
      }
    }
    // Done when the list shows every point.
    view->sync();
    while (view->model()->rowCount() < form->app.pointCount)
      QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    state.PauseTiming();
    view.reset();
    form.reset();
    state.ResumeTiming();
  }
  const double perRun = seconds / static_cast<double>(state.iterations());
  if (baselineSeconds > 0) state.counters["x_baseline"] = perRun / baselineSeconds;
}

BENCHMARK(Baseline_FormatNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(AddDataPoint_ShownList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plotvane
