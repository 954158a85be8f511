// plotvane-cli's batch: 200 generated 800 x 600 charts digitized with one
// calibration (Trace Line, 200 divisions, one data file each into a folder),
// against decoding the same pictures alone, all in the same run.
//   <format>/Decode          QImageReader::read of every picture, nothing else
//   <format>/Batch/jobs:1    the whole batch on one job: ratio = its time over
//                            Decode's (target: at most 1.3)
//   <format>/Batch/jobs:N    N = the cores: ratio = the throughput gained over
//                            jobs:1 per core (target: at least 0.8)
// On a shared machine the wall-clock ratios say as much about the other users
// as about the batch, so each benchmark also reports the load average and its
// process CPU time: cpu_ratio is jobs:1's CPU time over Decode's, cores_used
// the CPU seconds the batch got per wall-clock second.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPen>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <ctime>
#include <map>
#include <sstream>
#include <thread>

#include "cli/cli.h"
#include "qt/cli_platform.h"

namespace {

constexpr int kPictures = 200;

// A light grid, axes and a dark curve that differs from picture to picture.
QImage chart(int index) {
  QImage image(800, 600, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(QPen(QColor(215, 220, 228), 1));
  for (int x = 50; x < 800; x += 50) painter.drawLine(x, 0, x, 599);
  for (int y = 50; y < 600; y += 50) painter.drawLine(0, y, 799, y);
  painter.setPen(QPen(Qt::black, 2));
  painter.drawLine(40, 560, 780, 560);
  painter.drawLine(40, 20, 40, 560);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(30, 40, 150), 3));
  QPointF previous(40, 300);
  for (int x = 44; x < 780; x += 4) {
    const QPointF next(x, 300 - 220 * std::sin(x / (60.0 + index)) * std::cos(x / 310.0));
    painter.drawLine(previous, next);
    previous = next;
  }
  return image;
}

struct Series {
  QTemporaryDir folder;
  std::vector<std::string> files;
};

// The pictures of one format, written once and read back into the page cache.
const Series& series(const char* format) {
  static std::map<std::string, Series> made;
  Series& s = made[format];
  if (s.files.empty()) {
    for (int i = 0; i < kPictures; ++i) {
      const QString file = s.folder.filePath(QStringLiteral("chart%1.%2").arg(i).arg(format));
      chart(i).save(file, format, 90);
      QFile warm(file);
      if (warm.open(QIODevice::ReadOnly)) warm.readAll();
      s.files.push_back(file.toStdString());
    }
  }
  return s;
}

std::map<std::string, double> decodeSeconds, decodeCpuSeconds, oneJobSeconds;

double since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// CPU time of every thread of the process.
double processCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

void reportLoad(benchmark::State& state) {
  double loads[1] = {0};
  if (getloadavg(loads, 1) == 1) state.counters["load"] = loads[0];
}

void Decode(benchmark::State& state, const char* format) {
  const Series& s = series(format);
  double total = 0, cpu = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = processCpuSeconds();
    for (const std::string& file : s.files) {
      QImageReader reader(QString::fromStdString(file));
      const QImage image = reader.read();
      if (image.isNull()) state.SkipWithError("unreadable");
      benchmark::DoNotOptimize(image.constBits());
    }
    total += since(start);
    cpu += processCpuSeconds() - cpuStart;
  }
  decodeSeconds[format] = total / double(state.iterations());
  decodeCpuSeconds[format] = cpu / double(state.iterations());
  reportLoad(state);
}

void Batch(benchmark::State& state, const char* format) {
  const Series& s = series(format);
  const int jobs = static_cast<int>(state.range(0));
  const QTemporaryDir output;
  std::vector<std::string> arguments = {"digitize"};
  arguments.insert(arguments.end(), s.files.begin(), s.files.end());
  arguments.insert(arguments.end(),
                   {"--type", "line", "--division", "200", "--x", "0,10", "--y", "0,100", "--jobs",
                    std::to_string(jobs), "--output-dir", output.path().toStdString()});
  plotvane::CliSetup setup;
  setup.newPlatform = [] { return std::make_unique<plotvane::CliPlatform>(); };
  double total = 0, cpu = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = processCpuSeconds();
    std::ostringstream out, err;
    if (plotvane::runCli(arguments, setup, out, err) != plotvane::kCliOk)
      state.SkipWithError("the batch failed");
    total += since(start);
    cpu += processCpuSeconds() - cpuStart;
  }
  const double seconds = total / double(state.iterations());
  state.counters["pictures_per_s"] = kPictures / seconds;
  state.counters["cores_used"] = cpu / total;
  reportLoad(state);
  if (jobs == 1) {
    oneJobSeconds[format] = seconds;
    if (decodeSeconds[format] > 0) state.counters["ratio"] = seconds / decodeSeconds[format];
    if (decodeCpuSeconds[format] > 0)
      state.counters["cpu_ratio"] = cpu / double(state.iterations()) / decodeCpuSeconds[format];
    state.counters["target"] = 1.3;
  } else {
    if (oneJobSeconds[format] > 0) state.counters["ratio"] = oneJobSeconds[format] / seconds / jobs;
    state.counters["target"] = 0.8;
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  for (const char* format : {"png", "jpg"}) {
    const std::string name = format;
    benchmark::RegisterBenchmark((name + "/Decode").c_str(), Decode, format)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark((name + "/Batch").c_str(), Batch, format)
        ->ArgName("jobs")
        ->Arg(1)
        ->Arg(cores)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3)
        ->UseRealTime();
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
