#include "picture/drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace plotvane {

void fillBox(PixelArray& image, int left, int top, int right, int bottom, std::uint32_t colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image.width() - 1);
  bottom = std::min(bottom, image.height() - 1);
  if (left > right) return;
  for (int y = top; y <= bottom; ++y) {
    std::uint32_t* row = image.row(y);
    std::fill(row + left, row + right + 1, colour & kRgbMask);
  }
}

namespace {

// Rounded half to even and held within int, well past any image side.
int boxCoordinate(double value) {
  constexpr double kLimit = 1 << 30;
  return static_cast<int>(std::clamp(std::nearbyint(value), -kLimit, kLimit));
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {  // b > 0
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {  // b > 0
  const std::int64_t q = a / b;
  return (a % b != 0 && a > 0) ? q + 1 : q;
}

bool lineCoordinateFits(int v) {
  return v >= -kMaxLineCoordinate && v <= kMaxLineCoordinate;
}

// The steps i (0 <= i < steps) at which start + sign * i lies in 0 ... limit - 1.
std::pair<std::int64_t, std::int64_t> stepsInside(std::int64_t start, int sign,
                                                  std::int64_t limit) {
  if (sign > 0) return {-start, limit - 1 - start};
  return {start - limit + 1, start};
}

}  // namespace

void drawBox(PixelArray& image, double x1, double y1, double x2, double y2, std::uint32_t colour) {
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
  const int left = boxCoordinate(x1), right = boxCoordinate(x2);
  const int top = boxCoordinate(y1), bottom = boxCoordinate(y2);
  fillBox(image, std::min(left, right), std::min(top, bottom), std::max(left, right),
          std::max(top, bottom), colour);
}

void drawLine(PixelArray& image, int x1, int y1, int x2, int y2, std::uint32_t colour) {
  if (image.empty()) return;
  if (!lineCoordinateFits(x1) || !lineCoordinateFits(y1) || !lineCoordinateFits(x2) ||
      !lineCoordinateFits(y2))
    return;
  // Work along the major axis a and the minor axis b: step i is at
  // a = a0 + sa * i and b = b0 + sb * q(i), q(i) = floor((2 i m + n - 1) / 2n),
  // the share i * m / n rounded with halves towards the start.
  const std::int64_t dx = std::abs(std::int64_t(x2) - x1);
  const std::int64_t dy = std::abs(std::int64_t(y2) - y1);
  const bool xMajor = dx >= dy;
  const std::int64_t n = xMajor ? dx : dy;
  const std::int64_t m = xMajor ? dy : dx;
  if (n == 0) return;
  const std::int64_t a0 = xMajor ? x1 : y1;
  const std::int64_t b0 = xMajor ? y1 : x1;
  const int sa = (xMajor ? x2 >= x1 : y2 >= y1) ? 1 : -1;
  const int sb = (xMajor ? y2 >= y1 : x2 >= x1) ? 1 : -1;
  const std::int64_t aLimit = xMajor ? image.width() : image.height();
  const std::int64_t bLimit = xMajor ? image.height() : image.width();

  const std::int64_t twoN = 2 * n, twoM = 2 * m;
  std::int64_t first = 0, last = n - 1;
  std::int64_t q = 0, remainder = n - 1;
  const bool inside = a0 >= 0 && a0 < aLimit && b0 >= 0 && b0 < bLimit && a0 + sa * n >= 0 &&
                      a0 + sa * n < aLimit && b0 + sb * m >= 0 && b0 + sb * m < bLimit;
  if (!inside) {
    auto [aFirst, aLast] = stepsInside(a0, sa, aLimit);
    first = std::max<std::int64_t>(aFirst, 0);
    last = std::min(aLast, n - 1);
    auto [qLow, qHigh] = stepsInside(b0, sb, bLimit);
    qLow = std::max<std::int64_t>(qLow, 0);
    qHigh = std::min(qHigh, m);
    if (qLow > qHigh) return;
    if (m > 0) {
      first = std::max(first, ceilDiv(2 * n * qLow - n + 1, twoM));
      last = std::min(last, floorDiv(2 * n * (qHigh + 1) - n, twoM));
    }
    if (first > last) return;
    const std::int64_t numerator = twoM * first + n - 1;
    q = numerator / twoN;
    remainder = numerator % twoN;
  }
  const std::uint32_t value = colour & kRgbMask;
  std::uint32_t* pixels = image.data();
  const std::int64_t stride = image.width();
  for (std::int64_t i = first; i <= last; ++i) {
    const std::int64_t a = a0 + sa * i;
    const std::int64_t b = b0 + sb * q;
    pixels[xMajor ? b * stride + a : a * stride + b] = value;
    remainder += twoM;
    if (remainder >= twoN) {
      remainder -= twoN;
      ++q;
    }
  }
}

namespace {

bool discDrawable(double cx, double cy, double radius) {
  return std::isfinite(cx) && std::isfinite(cy) && std::isfinite(radius) && radius >= 0 &&
         std::fabs(cx) < kMaxLineCoordinate && std::fabs(cy) < kMaxLineCoordinate &&
         radius < kMaxLineCoordinate;
}

}  // namespace

bool discCovers(double x, double y, double cx, double cy, double radius) {
  if (!discDrawable(cx, cy, radius)) return false;
  if (x == std::nearbyint(cx) && y == std::nearbyint(cy)) return true;
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

DiscBounds discBounds(double cx, double cy, double radius, int width, int height) {
  if (!discDrawable(cx, cy, radius)) return {};
  // One pixel of margin each way holds the nearest pixel of a disc smaller
  // than a pixel.
  const double reach = radius + 1;
  DiscBounds b;
  b.left = static_cast<int>(std::max(0.0, std::floor(cx - reach)));
  b.top = static_cast<int>(std::max(0.0, std::floor(cy - reach)));
  b.right = static_cast<int>(std::min(double(width), std::ceil(cx + reach) + 1));
  b.bottom = static_cast<int>(std::min(double(height), std::ceil(cy + reach) + 1));
  return b;
}

void fillDisc(PixelArray& image, double cx, double cy, double radius, std::uint32_t colour) {
  const DiscBounds b = discBounds(cx, cy, radius, image.width(), image.height());
  for (int y = b.top; y < b.bottom; ++y) {
    std::uint32_t* row = image.row(y);
    for (int x = b.left; x < b.right; ++x)
      if (discCovers(x, y, cx, cy, radius)) row[x] = colour & kRgbMask;
  }
}

}  // namespace plotvane
