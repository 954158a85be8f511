#include "picture/rotation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/number_text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define PLOTVANE_ROTATE_AVX2 1
#include <immintrin.h>
#endif

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// The result is made in vertical strips of kStripColumns columns (4 KiB of
// each row), each finished before the yields of its columns run. A strip is
// worked in blocks, left to right and then downward, the source lines of the
// next block fetched ahead: a block's source region fits the first-level
// cache and address translation buffers.
constexpr int kStripColumns = 1024;
constexpr int kBlockColumns = 64;
constexpr int kBlockRows = 64;

// One rotation's fixed values. Per column the products cosA * (x - ox) and
// sinA * (x - ox), per row sinA * (y - oy) and cosA * (y - oy) are taken once;
// each source coordinate is then one sum of two of them, bit for bit the
// formula's double-precision value.
struct Mapping {
  const std::uint32_t* source;
  int width, height;
  PixelArray* result;
  double sinA, cosA;
  int offsetX, offsetY;
};

// Nearest integer, halves to even under the default rounding mode; values
// beyond 32 bits give INT32_MIN, which the bounds checks refuse.
inline std::int32_t nearestInt(double value) {
#if defined(__SSE2__)
  return _mm_cvtsd_si32(_mm_set_sd(value));
#else
  if (!(value > -2147483648.5 && value < 2147483647.5))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(std::nearbyint(value));
#endif
}

// A hint to fetch the cache line of this pixel. Written as an instruction:
// the compiler drops __builtin_prefetch in loops that do nothing else.
inline void prefetch(const std::uint32_t* pixel) {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  asm volatile("prefetcht0 %0" : : "m"(*pixel));
#else
  (void)pixel;
#endif
}

void rotateSpanScalar(const Mapping& m, const double* cosX, const double* sinX, int from, int to,
                      double sinY, double cosY, std::uint32_t* out) {
  // Unsigned compares refuse negative coordinates too.
  const auto sampleWidth = static_cast<std::uint32_t>(m.width - 1);
  const auto sampleHeight = static_cast<std::uint32_t>(m.height - 1);
  for (int i = from; i < to; ++i) {
    const std::int32_t sx = nearestInt(cosX[i] - sinY);
    const std::int32_t sy = nearestInt(sinX[i] + cosY);
    out[i] = std::uint32_t(sx) < sampleWidth && std::uint32_t(sy) < sampleHeight
                 ? m.source[std::size_t(sy) * std::size_t(m.width) + std::size_t(sx)] & kRgbMask
                 : kWhite;
  }
}

#if PLOTVANE_ROTATE_AVX2
// Columns [from, to) eight at a time with a masked gather, as far as whole
// groups of eight reach; returns where it stopped. The conversion rounds as
// nearestInt does, so every pixel equals the scalar loop's.
__attribute__((target("avx2"))) int rotateSpanAvx2(const Mapping& m, const double* cosX,
                                                   const double* sinX, int from, int to,
                                                   double sinY, double cosY, std::uint32_t* out) {
  const __m256d sinYs = _mm256_set1_pd(sinY), cosYs = _mm256_set1_pd(cosY);
  // x <= width - 2 as unsigned: 0 <= x < width - 1.
  const __m256i lastX = _mm256_set1_epi32(m.width - 2), lastY = _mm256_set1_epi32(m.height - 2);
  const __m256i rowLength = _mm256_set1_epi32(m.width);
  const __m256i white = _mm256_set1_epi32(kWhite), rgb = _mm256_set1_epi32(kRgbMask);
  const int* pixels = reinterpret_cast<const int*>(m.source);
  int i = from;
  for (; i + 8 <= to; i += 8) {
    const __m128i sxLow = _mm256_cvtpd_epi32(_mm256_sub_pd(_mm256_loadu_pd(cosX + i), sinYs));
    const __m128i sxHigh = _mm256_cvtpd_epi32(_mm256_sub_pd(_mm256_loadu_pd(cosX + i + 4), sinYs));
    const __m128i syLow = _mm256_cvtpd_epi32(_mm256_add_pd(_mm256_loadu_pd(sinX + i), cosYs));
    const __m128i syHigh = _mm256_cvtpd_epi32(_mm256_add_pd(_mm256_loadu_pd(sinX + i + 4), cosYs));
    const __m256i sx = _mm256_inserti128_si256(_mm256_castsi128_si256(sxLow), sxHigh, 1);
    const __m256i sy = _mm256_inserti128_si256(_mm256_castsi128_si256(syLow), syHigh, 1);
    const __m256i inside = _mm256_and_si256(_mm256_cmpeq_epi32(_mm256_min_epu32(sx, lastX), sx),
                                            _mm256_cmpeq_epi32(_mm256_min_epu32(sy, lastY), sy));
    const __m256i index = _mm256_add_epi32(_mm256_mullo_epi32(sy, rowLength), sx);
    const __m256i pixel = _mm256_mask_i32gather_epi32(white, pixels, index, inside, 4);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_and_si256(pixel, rgb));
  }
  return i;
}

bool gatherFits(const PixelArray& source) {
  // The gather's indexes are signed 32-bit.
  return source.size() <= std::size_t(std::numeric_limits<std::int32_t>::max()) &&
         __builtin_cpu_supports("avx2");
}
#endif

// Asks the caches for the source lines that result rows [y0, y1) of columns
// [x0, x1) sample: a parallelogram in the source, fetched row by row. Only a
// hint; it changes no pixel.
void prefetchSource(const Mapping& m, int x0, int x1, int y0, int y1) {
  // The corners in order around the parallelogram.
  const int cornerColumn[4] = {x0, x1 - 1, x1 - 1, x0}, cornerRow[4] = {y0, y0, y1 - 1, y1 - 1};
  double cornerX[4], cornerY[4];
  for (int k = 0; k < 4; ++k) {
    const double dx = double(std::int64_t{cornerColumn[k]} - m.offsetX);
    const double dy = double(std::int64_t{cornerRow[k]} - m.offsetY);
    cornerX[k] = m.cosA * dx - m.sinA * dy;
    cornerY[k] = m.sinA * dx + m.cosA * dy;
  }
  const auto [top, bottom] = std::minmax({cornerY[0], cornerY[1], cornerY[2], cornerY[3]});
  const int firstRow = static_cast<int>(std::clamp(std::floor(top) - 1, 0.0, double(m.height)));
  const int lastRow =
      static_cast<int>(std::clamp(std::ceil(bottom) + 1, -1.0, double(m.height - 2)));
  for (int row = firstRow; row <= lastRow; ++row) {
    // Where the row meets the four edges, each edge clamped to its ends.
    double left = std::numeric_limits<double>::max(), right = -left;
    for (int k = 0; k < 4; ++k) {
      const int next = (k + 1) % 4;
      const double rise = cornerY[next] - cornerY[k];
      const double t = rise == 0 ? 0 : std::clamp((row - cornerY[k]) / rise, 0.0, 1.0);
      const double x = cornerX[k] + t * (cornerX[next] - cornerX[k]);
      left = std::min(left, x);
      right = std::max(right, x);
    }
    const int from = static_cast<int>(std::clamp(std::floor(left) - 1, 0.0, double(m.width)));
    const int to = static_cast<int>(std::clamp(std::ceil(right) + 1, -1.0, double(m.width - 2)));
    const std::uint32_t* line = m.source + std::size_t(row) * std::size_t(m.width);
    for (int x = from; x <= to; x += 16) prefetch(line + x);  // 16 pixels a cache line
    if (from <= to) prefetch(line + to);
  }
}

void rotateStrip(const Mapping& m, int x0, int columns, bool useGather) {
  double cosX[kStripColumns], sinX[kStripColumns];
  for (int i = 0; i < columns; ++i) {
    const double dx = double(std::int64_t{x0} + i - m.offsetX);
    cosX[i] = m.cosA * dx;
    sinX[i] = m.sinA * dx;
  }
  const int newHeight = m.result->height();
  for (int y0 = 0; y0 < newHeight; y0 += kBlockRows) {
    const int y1 = std::min(newHeight, y0 + kBlockRows);
    for (int b0 = 0; b0 < columns; b0 += kBlockColumns) {
      const int b1 = std::min(columns, b0 + kBlockColumns);
      if (b1 < columns)
        prefetchSource(m, x0 + b1, x0 + std::min(columns, b1 + kBlockColumns), y0, y1);
      else if (y1 < newHeight)
        prefetchSource(m, x0, x0 + std::min(columns, kBlockColumns), y1,
                       std::min(newHeight, y1 + kBlockRows));
      for (int y = y0; y < y1; ++y) {
        const double dy = double(std::int64_t{y} - m.offsetY);
        const double sinY = m.sinA * dy, cosY = m.cosA * dy;
        std::uint32_t* out = m.result->row(y) + x0;
        int done = b0;
#if PLOTVANE_ROTATE_AVX2
        if (useGather) done = rotateSpanAvx2(m, cosX, sinX, b0, b1, sinY, cosY, out);
#else
        (void)useGather;
#endif
        rotateSpanScalar(m, cosX, sinX, done, b1, sinY, cosY, out);
      }
    }
  }
}

}  // namespace

float rotationAngle(float base, double entered, bool clockwise) {
  return toSingle(clockwise ? double(base) - entered : double(base) + entered);
}

float normaliseAngle(float angle) {
  if (!std::isfinite(angle)) return angle;
  // From 2^27 up, 360 is no multiple of the spacing of floats, so each step
  // rounds: take the steps one by one. Beyond 2^33 a step no longer changes
  // the value; the exact remainder stands in for the endless loop.
  while (std::fabs(angle) >= 0x1p27f) {
    const float next = angle > 0 ? angle - 360.0f : angle + 360.0f;
    if (next == angle) {
      angle = std::fmod(angle, 360.0f);
      break;
    }
    angle = next;
  }
  // Below 2^27 every step is exact except the last addition to a small
  // negative angle, so the remainder gives what the steps give.
  if (angle > 360) {
    angle = std::fmod(angle, 360.0f);
    if (angle == 0) angle = 360;
  } else if (angle < 0) {
    angle = std::fmod(angle, 360.0f);
    angle = angle == 0 ? 0.0f : angle + 360.0f;
  }
  return angle;
}

RotationGeometry rotationGeometry(int width, int height, float angle) {
  RotationGeometry g;
  g.angle = normaliseAngle(angle);
  const double radians = double(g.angle) * kPi / 180;
  g.sinA = static_cast<float>(std::sin(radians));
  g.cosA = static_cast<float>(std::cos(radians));
  const double s = g.sinA, c = g.cosA, w = width, h = height;
  g.newWidth = roundToInt32(std::fabs(s) * h + std::fabs(c) * w);
  g.newHeight = roundToInt32(std::fabs(s) * w + std::fabs(c) * h);
  const float a = g.angle;
  if (a > 0 && a <= 90) {
    g.offsetX = -1;
    g.offsetY = roundToInt32(s * w - 1);
  } else if (a > 90 && a <= 180) {
    g.offsetX = roundToInt32(-c * w - 1);
    g.offsetY = roundToInt32(-c * h + s * w - 1);
  } else if (a > 180 && a <= 270) {
    g.offsetX = roundToInt32(-s * h - c * w - 1);
    g.offsetY = roundToInt32(-c * h - 1);
  } else if (a > 270 && a <= 360) {
    g.offsetX = roundToInt32(-s * h - 1);
    g.offsetY = -1;
  }
  return g;
}

std::optional<PixelArray> RotatePicture(const PixelArray& source, float angle,
                                        const RotateYield& yield) {
  const RotationGeometry g = rotationGeometry(source.width(), source.height(), angle);
  if (source.empty()) return std::nullopt;
  // Filled first so that the system maps the fresh memory in address order,
  // which costs much less than mapping it in the strips' order.
  PixelArray result(g.newWidth, g.newHeight, kWhite);
  const Mapping m{source.data(), source.width(), source.height(), &result,
                  g.sinA,        g.cosA,         g.offsetX,       g.offsetY};
#if PLOTVANE_ROTATE_AVX2
  const bool useGather = gatherFits(source);
#else
  const bool useGather = false;
#endif
  for (int x0 = 0; x0 < g.newWidth; x0 += kStripColumns) {
    const int columns = std::min(kStripColumns, g.newWidth - x0);
    rotateStrip(m, x0, columns, useGather);
    if (!yield) continue;
    for (int x = x0; x < x0 + columns; ++x) {
      if (g.newWidth == 1)
        yield(std::nullopt);
      else
        yield(static_cast<float>(double(x) / double(g.newWidth - 1) * 100));
    }
  }
  return result;
}

}  // namespace plotvane
