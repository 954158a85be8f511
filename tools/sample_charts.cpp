#include "sample_charts.h"

#include <cmath>

namespace plotvane {
namespace {

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

}  // namespace

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

}  // namespace plotvane
