// Loading an 8000 x 6000 JPEG chart that is already in the page cache: the
// reader alone and the whole load (read, fit, view, select all), against
// QImageReader::read of the same file into a new QImage.
//
// Run: build/bench/qt_load_bench --benchmark_min_time=3
#include <benchmark/benchmark.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPen>
#include <cmath>
#include <string>

#include "loading/load_picture.h"
#include "platform/headless_platform.h"
#include "qt/qt_picture_reader.h"
#include "shell/form1_events.h"
#include "support/chart_jpeg.h"

namespace {

using namespace plotvane;

using bench::chartPath;

void QImageReaderRead(benchmark::State& state) {
  const QString& path = chartPath();
  for (auto _ : state) {
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.width() != 8000) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(QImageReaderRead)->Unit(benchmark::kMillisecond);

void ReadPictureFile(benchmark::State& state) {
  const QString& path = chartPath();
  const PictureLimits limits = PictureLimits::forThisMachine();
  for (auto _ : state) {
    PixelArray picture;
    if (!readPictureFile(path, limits, picture)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(picture.data());
  }
}
BENCHMARK(ReadPictureFile)->Unit(benchmark::kMillisecond);

// The headless window with the real picture reader.
class ReadingPlatform : public HeadlessPlatform {
 public:
  bool readPicture(const std::string& path, const PictureLimits& limits, PixelArray& picture,
                   std::string& failure) override {
    return readPictureFile(path, limits, picture, &failure);
  }
};

void LoadPictureFileWhole(benchmark::State& state) {
  const std::string path = chartPath().toStdString();
  ReadingPlatform platform;
  Form1 form(platform);
  formLoad(form);
  formResize(form, 1920 * 15, 1100 * 15);
  for (auto _ : state) {
    if (!LoadPictureFile(form, path)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(form.state.Picture1Image.data());
  }
}
BENCHMARK(LoadPictureFileWhole)->Unit(benchmark::kMillisecond);

}  // namespace
