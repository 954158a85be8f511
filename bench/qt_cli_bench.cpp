// plotvane-cli end to end (read the picture, Trace Line with 200 divisions,
// format the data file) against Qt's own decoding of the same JPEG into a new
// QImage, in the same run. The counter x_read is the ratio of the mean times.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <sstream>

#include "cli/cli.h"
#include "qt/cli_platform.h"
#include "support/chart_jpeg.h"

namespace {

const QString& chartFile() {
  return plotvane::bench::chartPath();
}

double readSeconds = 0;

void QImageReaderRead(benchmark::State& state) {
  const QString& file = chartFile();
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    {
      // The picture is released inside the timing, as the command line's is.
      QImageReader reader(file);
      QImage image = reader.read();
      benchmark::DoNotOptimize(image.constBits());
    }
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  readSeconds = total / double(state.iterations());
}
BENCHMARK(QImageReaderRead)->Unit(benchmark::kMillisecond)->Iterations(5);

// The picture reader alone, for the share of the command line's time.
void ReadPictureFile(benchmark::State& state) {
  const QString& file = chartFile();
  for (auto _ : state) {
    plotvane::PixelArray picture;
    if (!plotvane::readPictureFile(file, plotvane::PictureLimits{}, picture))
      state.SkipWithError("unreadable");
    benchmark::DoNotOptimize(picture.data());
  }
}
BENCHMARK(ReadPictureFile)->Unit(benchmark::kMillisecond)->Iterations(5);

void CliTraceLine(benchmark::State& state) {
  const std::string file = chartFile().toStdString();
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    plotvane::CliPlatform platform;
    std::ostringstream out, err;
    const int code = plotvane::runCli({"digitize", file, "--type", "line", "--division", "200"},
                                      platform, out, err);
    if (code != 0) state.SkipWithError("plotvane-cli failed");
    benchmark::DoNotOptimize(out.str().size());
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  // Mean against mean, both measured in this run.
  if (readSeconds > 0) state.counters["x_read"] = total / double(state.iterations()) / readSeconds;
}
BENCHMARK(CliTraceLine)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
