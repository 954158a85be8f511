#include "filters/brightness_contrast.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

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

bool ApplyBrightnessContrast(const PixelArray& picture, PixelArray& result, int contrast,
                             int brightness, const FilterYield& yield) {
  if (&result == &picture) {
    std::optional<PixelArray> adjusted =
        ApplyBrightnessContrast(picture, contrast, brightness, yield);
    if (adjusted) result = std::move(*adjusted);
    return adjusted.has_value();
  }
  const std::array<std::uint8_t, 256> table = brightnessContrastTable(contrast, brightness);
  // Green and blue go through the table together as one 16-bit index, red on
  // its own already in place: two lookups a pixel. The pair table (128 KiB)
  // costs far less to fill than a large picture's pass saves.
  std::vector<std::uint16_t> greenBlue(std::size_t{1} << 16);
  for (std::size_t green = 0; green < 256; ++green)
    for (std::size_t blue = 0; blue < 256; ++blue)
      greenBlue[green << 8 | blue] = static_cast<std::uint16_t>(table[green] << 8 | table[blue]);
  std::array<std::uint32_t, 256> red{};
  for (std::size_t i = 0; i < 256; ++i) red[i] = std::uint32_t{table[i]} << 16;
  sizeResultLike(picture, result);
  const int width = picture.width();
  const std::uint32_t* from = picture.data();
  std::uint32_t* to = result.data();
  const std::uint16_t* pairs = greenBlue.data();
  const auto mapRows = [&](int firstRow, int endRow) {
    const std::size_t end = std::size_t(endRow) * std::size_t(width);
    for (std::size_t i = std::size_t(firstRow) * std::size_t(width); i < end; ++i) {
      const std::uint32_t p = from[i];
      to[i] = red[(p >> 16) & 255u] | pairs[p & 0xFFFFu];
    }
  };
  return runFilterPass(width, picture.height(), yield, mapRows);
}

std::optional<PixelArray> ApplyBrightnessContrast(const PixelArray& picture, int contrast,
                                                  int brightness, const FilterYield& yield) {
  PixelArray result;
  if (!ApplyBrightnessContrast(picture, result, contrast, brightness, yield)) return std::nullopt;
  return result;
}

}  // namespace plotvane
