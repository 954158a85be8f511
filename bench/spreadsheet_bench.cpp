// Sending a full list (32 767 points) to the spreadsheet: the transfer text,
// the workbook with its line chart written to disk, on the headless platform
// (the opening is recorded, not done), against a baseline that saves the
// same list as a tab-separated data file (the text and one file write).
// Both report their time per run; the export also reports it as the counter
// x_baseline: its time divided by the baseline's, both measured in the same
// program run (run the whole program, unfiltered, so that the baseline comes
// first). The writer alone is measured too.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/language.h"
#include "data/data_export.h"
#include "data/data_list.h"
#include "data/spreadsheet_export.h"
#include "data/workbook.h"
#include "platform/headless_platform.h"
#include "support/data_points.h"

namespace plotvane {
namespace {

using bench::samplePoints;

double saveSeconds = 0;

// A form holding the full list, its workbooks going to a fresh folder.
struct FullList {
  FullList() {
    folder = (std::filesystem::temp_directory_path() / "plotvane-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) folder = std::filesystem::temp_directory_path().string();
    platform.setWorkbookFolder(folder);
    SetLngage(form.app);
    for (const DataPoint& p : samplePoints())
      if (appendDataPoint(form, p.XData, p.YData, p.XPixel, p.YPixel) != AddResult::Added) break;
  }
  ~FullList() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::string folder;
  HeadlessPlatform platform;
  Form1 form{platform};
};

void Baseline_SaveDataFile(benchmark::State& state) {
  FullList list;
  const std::string path = list.folder + "/list.txt";
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    const std::vector<DataRowTexts> rows =
        listRowTexts(list.form.ui.ListView1, list.form.app.pointCount);
    const std::optional<std::string> text = dataFileText(rows, '\t');
    if (list.platform.replaceFile(path, *text) != 0) state.SkipWithError("write failed");
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  saveSeconds = elapsed.count() / static_cast<double>(state.iterations());
}

void ExportToSpreadsheet_FullList(benchmark::State& state) {
  FullList list;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    ExportToSpreadsheet(list.form, ChartKind::Line);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.PauseTiming();
    if (list.platform.openedDocuments().empty() || !list.platform.messages().empty())
      state.SkipWithError("export failed");
    // Every export of one second would take a new name otherwise.
    std::filesystem::remove(list.platform.openedDocuments().back());
    state.ResumeTiming();
  }
  const double perRun = seconds / static_cast<double>(state.iterations());
  if (saveSeconds > 0) state.counters["x_baseline"] = perRun / saveSeconds;
}

void MakeWorkbook_FullList(benchmark::State& state) {
  FullList list;
  const std::vector<DataRowTexts> rows =
      listRowTexts(list.form.ui.ListView1, list.form.app.pointCount);
  const std::string text = *transferText(rows);
  for (auto _ : state) {
    const WorkbookBytes book = makeWorkbook(text, ChartKind::Line);
    if (book.error) state.SkipWithError("workbook failed");
    benchmark::DoNotOptimize(book.bytes.data());
  }
}

BENCHMARK(Baseline_SaveDataFile)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportToSpreadsheet_FullList)->Unit(benchmark::kMillisecond);
BENCHMARK(MakeWorkbook_FullList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plotvane
