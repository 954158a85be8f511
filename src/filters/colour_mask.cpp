#include "filters/colour_mask.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

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

// For a fixed sum r + g + b a component's share falls as the component rises
// (division and multiplication by positive numbers and rounding keep order),
// so "share - selected <= tol" holds exactly from some least component up.
// Returns that least component among those possible at this sum, or 256 when
// none matches.
int leastMatchingComponent(int sum, int selected, float tol) {
  // The other two components add up to at most 510.
  int low = std::max(0, sum - 510);
  int high = std::min(255, sum) + 1;
  while (low < high) {
    const int middle = (low + high) / 2;
    if (shareMatches(shareOf(middle, sum), selected, tol))
      high = middle;
    else
      low = middle + 1;
  }
  return low > std::min(255, sum) ? 256 : low;
}

// The three "component >= least" tests of a pixel in one addition: the
// components sit in 10-bit lanes, each lane adds 512 - least (256 to 512), and
// the lane's bit 9 is then set exactly when component >= least. Lane values
// stay below 1024, so no carry crosses lanes.
constexpr std::uint32_t kLaneBits = (1u << 29) | (1u << 19) | (1u << 9);

constexpr std::uint32_t spreadLanes(std::uint32_t pixel) {
  return ((pixel & 0xFF0000u) << 4) | ((pixel & 0xFF00u) << 2) | (pixel & 0xFFu);
}

// Per sum r + g + b: the lane addends of the least matching red, green, blue.
using MatchTable = std::array<std::uint32_t, kWhiteSum + 1>;

MatchTable matchTable(const Shares& selected, float tol) {
  MatchTable table{};
  for (int sum = 0; sum < kWhiteSum; ++sum) {
    const auto addend = [&](int share) {
      return std::uint32_t(512 - leastMatchingComponent(sum, share, tol));
    };
    table[std::size_t(sum)] =
        (addend(selected.red) << 20) | (addend(selected.green) << 10) | addend(selected.blue);
  }
  // White turns out white whatever the test says; any entry will do.
  table[kWhiteSum] = kLaneBits;
  return table;
}

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
  const MatchTable table = matchTable(selected, params.tolerance);
  // 1 where a matching pixel stays, so "matches XOR keep" is 1 for white.
  const std::uint32_t keep = params.keepMode ? 1 : 0;
  sizeResultLike(picture, result);
  const int width = picture.width();
  const std::uint32_t* from = picture.data();
  std::uint32_t* to = result.data();
  const std::uint32_t* addends = table.data();
  const auto mapRows = [&](int firstRow, int endRow) {
    const std::size_t end = std::size_t(endRow) * std::size_t(width);
    for (std::size_t i = std::size_t(firstRow) * std::size_t(width); i < end; ++i) {
      const std::uint32_t p = from[i] & kRgbMask;
      const std::uint32_t sum = (p >> 16) + ((p >> 8) & 255u) + (p & 255u);
      const std::uint32_t matches =
          ((spreadLanes(p) + addends[sum]) & kLaneBits) == kLaneBits ? 1 : 0;
      // Without a branch: OR-ing white into a pixel gives white.
      to[i] = p | ((0u - (matches ^ keep)) & kWhite);
    }
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
