// Writes the sample charts of the README's run command, each as BMP, GIF and
// (with Qt) JPEG.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "base/pixel_array.h"
#include "picture/gif_writer.h"
#include "sample_charts.h"

#ifdef PLOTVANE_SAMPLES_JPEG
#include <QImage>
#endif

namespace {

using plotvane::PixelArray;

void put16(std::string& out, unsigned value) {
  out.push_back(static_cast<char>(value & 255));
  out.push_back(static_cast<char>((value >> 8) & 255));
}
void put32(std::string& out, unsigned value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

// 24-bit bottom-up Windows bitmap.
std::string bmpBytes(const PixelArray& chart) {
  const unsigned stride = (static_cast<unsigned>(chart.width()) * 3 + 3) / 4 * 4;
  const unsigned dataSize = stride * static_cast<unsigned>(chart.height());
  std::string out = "BM";
  put32(out, 54 + dataSize);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, static_cast<unsigned>(chart.width()));
  put32(out, static_cast<unsigned>(chart.height()));
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);
  put32(out, dataSize);
  put32(out, 2835);
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = chart.height() - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < chart.width(); ++x) {
      const std::uint32_t c = chart.at(x, y);
      row.push_back(static_cast<char>(plotvane::blueOf(c)));
      row.push_back(static_cast<char>(plotvane::greenOf(c)));
      row.push_back(static_cast<char>(plotvane::redOf(c)));
    }
    row.resize(stride, '\0');
    out += row;
  }
  return out;
}

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
    ok = writeFile(folder / (std::string(name) + ".bmp"), bmpBytes(chart)) && ok;
    ok = writeFile(folder / (std::string(name) + ".gif"), plotvane::encodeGif(chart)) && ok;
#ifdef PLOTVANE_SAMPLES_JPEG
    ok = writeJpeg(folder / (std::string(name) + ".jpg"), chart) && ok;
#endif
  }
  return ok ? 0 : 1;
}
