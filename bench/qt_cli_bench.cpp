// plotvane-cli end to end (read the picture, Trace Line with 200 divisions,
// format the data file) against Qt's own decoding of the same JPEG into a new
// QImage, in the same run. The counter x_read is the ratio of the mean times.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <sstream>

#include "cli/cli.h"
#include "qt/cli_platform.h"

namespace {

const QString& chartFile() {
  static const QString path = [] {
    const QString file = QStringLiteral("/tmp/plotvane-bench-chart-8000x6000.jpg");
    QImage image(8000, 6000, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(QColor(225, 225, 225), 2));
    for (int x = 0; x < 8000; x += 400) painter.drawLine(x, 0, x, 5999);
    for (int y = 0; y < 6000; y += 400) painter.drawLine(0, y, 7999, y);
    painter.setPen(QPen(Qt::black, 3));
    QPointF last(0, 3000);
    for (int x = 1; x < 8000; ++x) {
      const QPointF next(x, 3000 + 2000 * std::sin(x / 900.0));
      painter.drawLine(last, next);
      last = next;
    }
    painter.end();
    image.save(file, "JPEG", 90);
    return file;
  }();
  return path;
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
  QImageReader::setAllocationLimit(1024);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
