#include "filters/colour_mask.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/number_text.h"

namespace plotvane {

namespace {

constexpr int kWhiteSum = 765;  // r + g + b of white
constexpr std::uint32_t kWhite = 0xFFFFFF;

// One share: (255 - c) / (765 - r - g - b) * 255 for a colour that is not
// white, so the divisor is at least 1 and the share at most 255.
int shareOf(int component, int sum) {
  return roundToInt16(double(255 - component) / double(kWhiteSum - sum) * 255);
}

struct Shares {
  int red = 0, green = 0, blue = 0;
};

Shares selectionShares(int sr, int sg, int sb) {
  const int sum = sr + sg + sb;
  if (sum == kWhiteSum) return {};
  return {shareOf(sr, sum), shareOf(sg, sum), shareOf(sb, sum)};
}

bool shareMatches(int share, int selected, float tol) {
  return double(share - selected) <= double(tol);
}

int byteOf(int component) {
  return std::clamp(component, 0, 255);
}

// The pass decides without dividing. A share is round(255 a / D), halves to
// even, with a = 255 - component and D = 765 - r - g - b (the sum of the three
// a). That fraction is an exact half or at least 1 / (2 D) away from one, far
// beyond the error of the double quotient, and at the halves the double
// quotient rounds as the fraction does. So, with L the largest share that
// still matches:
//   share <= L  <=>  510 a < (2 L + 1) D + (1 if L is even, else 0),
// the 1 letting a half above an even L round down to it.
struct ChannelTest {
  std::int32_t multiplier = -1;  // 2 L + 1
  std::int32_t tieBonus = 0;
};

ChannelTest channelTest(int selected, float tol) {
  // Shares run from 0 to 255; no share matching gives L = -1.
  int largest = 255;
  while (largest >= 0 && !shareMatches(largest, selected, tol)) --largest;
  return {2 * largest + 1, largest >= 0 && largest % 2 == 0 ? 1 : 0};
}

struct MaskTests {
  ChannelTest red, green, blue;
};

// 1 when the pixel (top byte 0) matches. White gives either answer; it turns
// out white in both modes.
std::uint32_t pixelMatches(std::uint32_t p, const MaskTests& tests) {
  const auto ar = static_cast<std::int32_t>(255 - (p >> 16));
  const auto ag = static_cast<std::int32_t>(255 - ((p >> 8) & 255u));
  const auto ab = static_cast<std::int32_t>(255 - (p & 255u));
  const std::int32_t d = ar + ag + ab;
  const auto passes = [d](std::int32_t a, const ChannelTest& test) {
    return 510 * a < test.multiplier * d + test.tieBonus ? 1u : 0u;
  };
  return passes(ar, tests.red) & passes(ag, tests.green) & passes(ab, tests.blue);
}

// "matches XOR keep" is 1 exactly for the pixels that turn white; OR-ing
// white into a pixel gives white, so there is no branch.
std::uint32_t maskedPixel(std::uint32_t p, const MaskTests& tests, std::uint32_t keep) {
  p &= kRgbMask;
  return p | ((0u - (pixelMatches(p, tests) ^ keep)) & kWhite);
}

#if defined(__SSE2__)
// Four pixels at a time, the same integer test. Every value fits the 16-bit
// halves that _mm_madd_epi16 multiplies (a <= 255, D <= 765, -1 <= 2 L + 1
// <= 511) and the upper halves are 0, so each madd is one exact product.
std::size_t maskFourAtATime(const std::uint32_t* from, std::uint32_t* to, std::size_t count,
                            const MaskTests& tests, std::uint32_t keep) {
  const __m128i rgb = _mm_set1_epi32(static_cast<int>(kRgbMask));
  const __m128i byte = _mm_set1_epi32(255);
  const __m128i twice255 = _mm_set1_epi32(510);
  const __m128i keepLanes = _mm_set1_epi32(keep ? -1 : 0);
  struct Lanes {
    __m128i multiplier, tieBonus;
  };
  const auto lanes = [](const ChannelTest& test) {
    return Lanes{_mm_set1_epi32(test.multiplier), _mm_set1_epi32(test.tieBonus)};
  };
  const Lanes red = lanes(tests.red), green = lanes(tests.green), blue = lanes(tests.blue);
  const auto passes = [twice255](__m128i a, __m128i d, const Lanes& test) {
    const __m128i bound = _mm_add_epi32(_mm_madd_epi16(d, test.multiplier), test.tieBonus);
    return _mm_cmpgt_epi32(bound, _mm_madd_epi16(a, twice255));
  };
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i p =
        _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)), rgb);
    const __m128i a = _mm_andnot_si128(p, rgb);  // 255 - each component
    const __m128i ab = _mm_and_si128(a, byte);
    const __m128i ag = _mm_and_si128(_mm_srli_epi32(a, 8), byte);
    const __m128i ar = _mm_srli_epi32(a, 16);
    const __m128i d = _mm_add_epi32(_mm_add_epi32(ar, ag), ab);
    const __m128i matches =
        _mm_and_si128(_mm_and_si128(passes(ar, d, red), passes(ag, d, green)), passes(ab, d, blue));
    const __m128i white = _mm_and_si128(_mm_xor_si128(matches, keepLanes), rgb);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_or_si128(p, white));
  }
  return i;
}
#endif

}  // namespace

void MaskPixel(int& r, int& g, int& b, int sr, int sg, int sb, float tol, bool keepMode) {
  const int pr = byteOf(r), pg = byteOf(g), pb = byteOf(b);
  const int sum = pr + pg + pb;
  if (sum == kWhiteSum) return;
  const Shares selected = selectionShares(byteOf(sr), byteOf(sg), byteOf(sb));
  const bool matches = shareMatches(shareOf(pr, sum), selected.red, tol) &&
                       shareMatches(shareOf(pg, sum), selected.green, tol) &&
                       shareMatches(shareOf(pb, sum), selected.blue, tol);
  if (matches != keepMode) r = g = b = 255;
}

bool ApplyColourMask(const PixelArray& picture, PixelArray& result, const ColourMaskParams& params,
                     const FilterYield& yield) {
  if (&result == &picture) {
    std::optional<PixelArray> masked = ApplyColourMask(picture, params, yield);
    if (masked) result = std::move(*masked);
    return masked.has_value();
  }
  const Shares selected =
      selectionShares(byteOf(params.red), byteOf(params.green), byteOf(params.blue));
  const float tol = params.tolerance;
  const MaskTests tests{channelTest(selected.red, tol), channelTest(selected.green, tol),
                        channelTest(selected.blue, tol)};
  const std::uint32_t keep = params.keepMode ? 1 : 0;
  sizeResultLike(picture, result);
  const int width = picture.width();
  const std::uint32_t* from = picture.data();
  std::uint32_t* to = result.data();
  const auto mapRows = [&](int firstRow, int endRow) {
    std::size_t i = std::size_t(firstRow) * std::size_t(width);
    const std::size_t end = std::size_t(endRow) * std::size_t(width);
#if defined(__SSE2__)
    i += maskFourAtATime(from + i, to + i, end - i, tests, keep);
#endif
    for (; i < end; ++i) to[i] = maskedPixel(from[i], tests, keep);
  };
  return runFilterPass(width, picture.height(), yield, mapRows);
}

std::optional<PixelArray> ApplyColourMask(const PixelArray& picture, const ColourMaskParams& params,
                                          const FilterYield& yield) {
  PixelArray result;
  if (!ApplyColourMask(picture, result, params, yield)) return std::nullopt;
  return result;
}

}  // namespace plotvane
