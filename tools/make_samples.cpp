// Writes the sample charts of the README's run command: a line chart, a
// scatter plot and a filled area chart, each as BMP, GIF and (with Qt) JPEG.
// Light grid, no frame, and the axis ends at the picture's edges, so that
// Select All with the scale 0 to 1 on both axes already calibrates them.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "picture/gif_writer.h"
#include "base/pixel_array.h"

#ifdef PLOTVANE_SAMPLES_JPEG
#include <QImage>
#endif

namespace {

using plotvane::PixelArray;
using plotvane::rgbValue;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr double kPi = 3.14159265358979323846;
const std::uint32_t kWhite = rgbValue(255, 255, 255);
const std::uint32_t kGrid = rgbValue(222, 226, 232);
const std::uint32_t kInk = rgbValue(24, 32, 96);
const std::uint32_t kFill = rgbValue(48, 80, 160);

PixelArray gridPaper() {
  PixelArray chart(kWidth, kHeight, kWhite);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if ((x % 64 == 0 && x > 0) || (y % 48 == 0 && y > 0)) chart.set(x, y, kGrid);
  return chart;
}

void disc(PixelArray& chart, double cx, double cy, double radius, std::uint32_t colour) {
  const int r = static_cast<int>(std::ceil(radius));
  for (int y = static_cast<int>(cy) - r; y <= static_cast<int>(cy) + r; ++y)
    for (int x = static_cast<int>(cx) - r; x <= static_cast<int>(cx) + r; ++x)
      if (x >= 0 && y >= 0 && x < chart.width() && y < chart.height() &&
          (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
        chart.set(x, y, colour);
}

// Data value v in 0..1 to the picture row (1 at the top edge).
double rowOf(double v) {
  return (1 - v) * (kHeight - 1);
}

PixelArray lineChart() {
  PixelArray chart = gridPaper();
  for (double x = 0; x < kWidth; x += 0.25) {
    const double u = x / kWidth;
    const double v = 0.5 + 0.3 * std::sin(2 * kPi * u) + 0.1 * std::sin(6 * kPi * u);
    disc(chart, x, rowOf(v), 1.3, kInk);
  }
  return chart;
}

PixelArray scatterChart() {
  PixelArray chart = gridPaper();
  for (int i = 0; i < 30; ++i) {
    const double u = (i + 0.5) / 30;
    const double v = 0.15 + 0.7 * u + 0.08 * std::sin(i * 2.3);
    disc(chart, u * kWidth, rowOf(v), 3.5, kInk);
  }
  return chart;
}

PixelArray areaChart() {
  PixelArray chart = gridPaper();
  for (int x = 0; x < kWidth; ++x) {
    const double u = (x + 0.5) / kWidth;
    const double v = 0.4 + 0.25 * std::sin(2 * kPi * u * 1.5) * std::exp(-u);
    for (int y = static_cast<int>(std::lround(rowOf(v))); y < kHeight; ++y) chart.set(x, y, kFill);
  }
  return chart;
}

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
      {"line", lineChart}, {"scatter", scatterChart}, {"area", areaChart}};
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
