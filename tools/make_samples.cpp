// Writes the sample charts of the README's run command, each as BMP, GIF and
// (with Qt) JPEG.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "base/pixel_array.h"
#include "picture/bitmap_file.h"
#include "picture/gif_writer.h"
#include "sample_charts.h"

#ifdef PLOTVANE_SAMPLES_JPEG
#include <QImage>
#endif

namespace {

using plotvane::PixelArray;

bool writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) std::fprintf(stderr, "make_samples: cannot write %s\n", path.c_str());
  return static_cast<bool>(file);
}

#ifdef PLOTVANE_SAMPLES_JPEG
bool writeJpeg(const std::filesystem::path& path, const PixelArray& chart) {
  const QImage image(reinterpret_cast<const uchar*>(chart.data()), chart.width(), chart.height(),
                     qsizetype(chart.width()) * 4, QImage::Format_RGB32);
  if (image.save(QString::fromStdString(path.string()), "JPEG", 92)) return true;
  std::fprintf(stderr, "make_samples: cannot write %s\n", path.c_str());
  return false;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder = argc > 1 ? argv[1] : "samples";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  bool ok = true;
  const std::pair<const char*, std::function<PixelArray()>> charts[] = {
      {"line", plotvane::lineChart},
      {"scatter", plotvane::scatterChart},
      {"area", plotvane::areaChart}};
  for (const auto& [name, draw] : charts) {
    const PixelArray chart = draw();
    ok = writeFile(folder / (std::string(name) + ".bmp"), plotvane::bitmapFileBytes(chart)) && ok;
    ok = writeFile(folder / (std::string(name) + ".gif"), plotvane::encodeGif(chart)) && ok;
#ifdef PLOTVANE_SAMPLES_JPEG
    ok = writeJpeg(folder / (std::string(name) + ".jpg"), chart) && ok;
#endif
  }
  return ok ? 0 : 1;
}
