#include "digitize/trace_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "digitize/trace_line.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr auto grey = [](int level) { return rgbValue(level, level, level); };

// A white 40 x 300 picture; each band fills from its first row down, over earlier ones.
PixelArray withBands(const std::vector<std::pair<int, std::uint32_t>>& bands) {
  PixelArray picture(40, 300, kWhite);
  for (const auto& [first, colour] : bands)
    for (int y = first; y < 300; ++y)
      for (int x = 0; x < 40; ++x) picture.set(x, y, colour);
  return picture;
}

// Rows 50 to 250, Y 0 to 100, columns 0 to 10 over 0 to 39.
const TraceParams kRows{.lineXE = 39, .lineYT = 50, .lineYB = 250, .maxY = 100, .divisions = 10};

TEST(TraceSurface, FindsTheStrongestDrop) {
  const std::tuple<const char*, PixelArray, int, float, float> cases[] = {
      {"black area from row 120", withBands({{120, 0}}), 1, 179, 65},
      {"grey 250 area (drop 5)", withBands({{120, grey(250)}}), 1, 49, 0},
      {"drop of exactly 10", withBands({{120, grey(245)}}), 1, 49, 0},
      {"drop of 11", withBands({{120, grey(244)}}), 1, 179, 65},
      {"light band above black", withBands({{100, grey(195)}, {150, grey(15)}}), 1, 149, 50},
      // Smoothed 255, 170, 86, 1 on rows 118 to 121: drops 85, 84, 85.
      {"F = 3: the first of two equal drops", withBands({{120, 0}}), 3, 180, 65.5f},
      // Black reads as 1, so its drop (254) loses to the drop into (0, 0, 1) = 1 (255).
      {"black reads as 1", withBands({{100, 0}, {150, kWhite}, {200, 1}}), 1, 99, 25},
      {"equal drops: topmost wins", withBands({{100, 0}, {150, kWhite}, {200, 0}}), 1, 199, 75}};
  for (const auto& [name, picture, filter, yPixel, yData] : cases) {
    TraceParams p = kRows;
    p.filter = filter;
    const TraceResult result = traceSurface(picture, p);
    ASSERT_EQ(result.points.size(), 11u) << name;
    for (const DataPoint& point : result.points)
      EXPECT_EQ(std::pair(point.YPixel, point.YData), std::pair(yPixel, yData)) << name;
  }
}

// Y values are worked in single precision: 0.1 to 0.7 over 200 rows gives
// results one unit in the last place away from a double-precision conversion.
TEST(TraceSurface, YValuesInSinglePrecision) {
  TraceParams p = kRows;
  p.minY = 0.1f, p.maxY = 0.7f, p.divisions = 3;
  // A black row 51 for the line, an area from row 247 for the surface.
  for (const auto& [trace, picture, yPixel] :
       {std::tuple{&traceLine, withBands({{51, 0}, {52, kWhite}}), 247.5f},
        {&traceSurface, withBands({{247, 0}}), 52.0f}}) {
    const float single = (yPixel - 49) * (p.maxY - p.minY) / 200 + p.minY;
    ASSERT_NE(single, static_cast<float>((yPixel - 49) * (double(p.maxY) - p.minY) / 200 + p.minY));
    for (const DataPoint& point : trace(picture, p, {}).points)
      EXPECT_EQ(std::pair(point.YPixel, point.YData), std::pair(yPixel, single));
  }
}

// Both traces as a plain walk down one column (for rectangles inside the
// picture); the row-wise scan in column blocks must agree to the bit.
float walkColumn(const PixelArray& picture, const TraceParams& p, int i, bool surface) {
  const auto round = [](float v) { return static_cast<int>(std::nearbyint(v)); };
  const int h = picture.height(), half = (p.filter - 1) / 2;
  const float step = (p.lineXE - p.lineXS) / static_cast<float>(p.divisions);
  const int x = std::min(picture.width() - 1, static_cast<int>(std::floor(i * step + p.lineXS)));
  std::vector<int> col(h), sum(h);  // intensities, window sums
  for (int y = 0; y < h; ++y) {
    const std::uint32_t c = picture.at(x, y);
    const int rgb = redOf(c) + greenOf(c) + blueOf(c);
    col[y] = surface && rgb == 0 ? 1 : rgb / 3;
  }
  const int a = round(p.lineYT), b = round(p.lineYB - 1.0f);
  const int s0 = round(half + p.lineYT), s1 = round(p.lineYB - half - 1.0f);
  for (int y = s0; y <= s1; ++y)
    for (int k = -half; k <= half; ++k) sum.at(y) += col.at(y + k);
  for (int y = s0; y <= s1; ++y)
    col[y] = static_cast<int>(std::nearbyint(sum[y] / double(p.filter)));
  if (surface) {
    int edge = round(h - 1 - p.lineYB), minStep = -10;
    for (int y = a; y <= round(p.lineYB - 2.0f); ++y)
      if (col.at(y + 1) - col[y] < minStep) minStep = col[y + 1] - col[y], edge = h - 2 - y;
    return static_cast<float>(edge);
  }
  int m = 200, first = -1, last = -1;  // the first and last darkest rows under 200
  for (int y = a; y <= b; ++y)
    if (col[y] <= m) first = col[y] < m ? y : first, last = y, m = col[y];
  return first < 0 ? h - 1 - p.lineYB : ((h - 1 - first - 0.5f) + (h - 1 - last - 0.5f)) / 2;
}

TEST(TraceSurface, RowWiseScanMatchesTheColumnWalk) {
  std::mt19937 random(6);
  const std::uint32_t palette[] = {0,         1,         grey(40),  grey(120),
                                   grey(199), grey(200), grey(201), kWhite};
  PixelArray picture(2100, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 2100; ++x)
      picture.set(
          x, y, random() % 4 ? palette[(y / 5 + x / 300 + random() % 3) % 8] : random() & kRgbMask);
  const auto half = [&](int limit) { return static_cast<float>(random() % (2 * limit + 1)) / 2; };
  for (int trial = 0; trial < 80; ++trial) {
    TraceParams p;
    p.lineXS = half(2100), p.lineXE = p.lineXS + half(2100 - static_cast<int>(p.lineXS));
    p.lineYT = half(64), p.lineYB = std::min(64.0f, p.lineYT + half(64));
    if (trial % 4 == 0) p.lineXS = 0, p.lineXE = 2100;  // every column, read as one run
    p.divisions = std::vector{1, 2, 7, 150, 2099, 3000}[random() % 6];
    p.filter = std::vector{1, 1, 3, 5, 7, 13, 127}[random() % 7];
    for (const bool surface : {false, true}) {
      const TraceResult result = (surface ? traceSurface : traceLine)(picture, p, {});
      ASSERT_EQ(result.points.size(), static_cast<std::size_t>(p.divisions) + 1);
      for (int i = 0; i <= p.divisions; ++i)
        ASSERT_EQ(result.points[i].YPixel, walkColumn(picture, p, i, surface))
            << (surface ? "surface" : "line") << " trial " << trial << " column " << i;
    }
  }
}

}  // namespace
}  // namespace plotvane
