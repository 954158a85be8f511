#include "filters/brightness_contrast.h"

#include <algorithm>
#include <cmath>

#include "base/number_text.h"

namespace plotvane {

namespace {

// The value of pi the slope is pinned to; it differs from the exact one in the
// eleventh digit.
constexpr double kSlopePi = 3.1415926536;

// One brightness step moves every byte by 2.55, so 100 moves it by 255.
constexpr double kBrightnessStep = 2.55;

// The byte that contrast turns about.
constexpr int kPivot = 127;

}  // namespace

std::array<std::uint8_t, 256> brightnessContrastTable(int contrast, int brightness) {
  const int ct = std::clamp(contrast, -kBrightnessContrastLimit, kBrightnessContrastLimit);
  const int br = std::clamp(brightness, -kBrightnessContrastLimit, kBrightnessContrastLimit);
  // The slope runs from tan(pi / 404) (about 0.0078) through 1 to
  // tan(201 pi / 404) (about 128.6).
  const auto k = static_cast<float>(std::tan((ct / 101.0 + 1) * kSlopePi / 4));
  const int b = roundToInt16(br * kBrightnessStep);
  std::array<std::uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) {
    // Exact in double: a single times a byte offset plus small integers needs
    // fewer than 53 bits. Clamping before rounding gives the same byte as
    // rounding first and keeps the conversion in range.
    const double t = std::clamp(double(k) * (i - kPivot) + kPivot + b, 0.0, 255.0);
    table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(roundToInt32(t));
  }
  return table;
}

std::optional<PixelArray> ApplyBrightnessContrast(const PixelArray& picture, int contrast,
                                                  int brightness, const FilterYield& yield) {
  const std::array<std::uint8_t, 256> table = brightnessContrastTable(contrast, brightness);
  // The table placed at each byte's position, so a pixel is three loads and
  // two ORs.
  std::array<std::uint32_t, 256> red{}, green{}, blue{};
  for (std::size_t i = 0; i < 256; ++i) {
    red[i] = std::uint32_t{table[i]} << 16;
    green[i] = std::uint32_t{table[i]} << 8;
    blue[i] = table[i];
  }
  const int width = picture.width();
  PixelArray result(width, picture.height());
  const std::uint32_t* from = picture.data();
  std::uint32_t* to = result.data();
  const auto mapRows = [&](int firstRow, int endRow) {
    const std::size_t end = std::size_t(endRow) * std::size_t(width);
    for (std::size_t i = std::size_t(firstRow) * std::size_t(width); i < end; ++i) {
      const std::uint32_t p = from[i];
      to[i] = red[(p >> 16) & 255u] | green[(p >> 8) & 255u] | blue[p & 255u];
    }
  };
  if (!runFilterPass(width, picture.height(), yield, mapRows)) return std::nullopt;
  return result;
}

}  // namespace plotvane
