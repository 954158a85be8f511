#include "digitize/trace_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "digitize/trace_line.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

std::uint32_t grey(int level) {
  return rgbValue(level, level, level);
}

// A white picture 40 wide and 300 high; each band fills its rows downward
// from its first row, later bands over earlier ones.
PixelArray withBands(std::vector<std::pair<int, std::uint32_t>> bands, int height = 300) {
  PixelArray picture(40, height, kWhite);
  for (const auto& [first, colour] : bands)
    for (int y = first; y < height; ++y)
      for (int x = 0; x < 40; ++x) picture.set(x, y, colour);
  return picture;
}

TEST(TraceSurface, FindsTheStrongestDrop) {
  struct Case {
    std::string name;
    PixelArray picture;
    int filter;
    float yPixel, yData;
  };
  const std::vector<Case> cases = {
      {"black area from row 120", withBands({{120, 0}}), 1, 179, 65},
      {"grey 250 area (drop 5)", withBands({{120, grey(250)}}), 1, 49, 0},
      {"drop of exactly 10", withBands({{120, grey(245)}}), 1, 49, 0},
      {"drop of 11", withBands({{120, grey(244)}}), 1, 179, 65},
      {"light band above black", withBands({{100, grey(195)}, {150, grey(15)}}), 1, 149, 50},
      // Smoothed 255, 170, 86, 1 on rows 118 to 121: drops 85, 84, 85.
      {"F = 3: the first of two equal drops", withBands({{120, 0}}), 3, 180, 65.5f},
      // Black reads as 1, so the drop into it (254) loses to the later drop
      // into (0, 0, 1), which reads as 0 (255).
      {"black reads as 1", withBands({{100, 0}, {150, kWhite}, {200, rgbValue(0, 0, 1)}}), 1, 99,
       25},
      {"equal drops: the topmost wins", withBands({{100, 0}, {150, kWhite}, {200, 0}}), 1, 199, 75},
  };
  for (const Case& c : cases) {
    TraceParams p;
    p.lineXS = 0, p.lineXE = 39, p.lineYT = 50, p.lineYB = 250;
    p.minY = 0, p.maxY = 100, p.divisions = 10, p.filter = c.filter;
    const TraceResult result = traceSurface(c.picture, p);
    ASSERT_EQ(result.points.size(), 11u) << c.name;
    for (const DataPoint& point : result.points) {
      EXPECT_EQ(point.YPixel, c.yPixel) << c.name;
      EXPECT_EQ(point.YData, c.yData) << c.name;
    }
  }
}

// The Y value is worked in single precision: 0.1 to 0.7 over 200 rows gives
// results one unit in the last place away from a double-precision conversion.
TEST(TraceSurface, YValuesInSinglePrecision) {
  TraceParams p;
  p.lineXS = 0, p.lineXE = 39, p.lineYT = 50, p.lineYB = 250;
  p.minY = 0.1f, p.maxY = 0.7f, p.divisions = 3;
  const float rows = 200, bottomLine = 49;
  for (const bool line : {true, false}) {
    // A black row 51 for the line (yPixel 247.5), an area from row 247 for
    // the surface (yPixel 52).
    const float yPixel = line ? 247.5f : 52;
    const PixelArray picture = line ? withBands({{51, 0}, {52, kWhite}}) : withBands({{247, 0}});
    const float single = (yPixel - bottomLine) * (p.maxY - p.minY) / rows + p.minY;
    const double wide = (yPixel - bottomLine) * (double(p.maxY) - p.minY) / rows + p.minY;
    ASSERT_NE(single, static_cast<float>(wide));
    for (const DataPoint& point : (line ? traceLine : traceSurface)(picture, p, {}).points) {
      EXPECT_EQ(point.YPixel, yPixel);
      EXPECT_EQ(point.YData, single);
    }
  }
}

// The traces as a plain walk down each column over the whole column, for
// rectangles inside the picture; the row-wise scan must agree to the bit.
float walkColumn(const PixelArray& picture, const TraceParams& p, int i, bool surface) {
  const int h = picture.height();
  const float step = (p.lineXE - p.lineXS) / static_cast<float>(p.divisions);
  int x = static_cast<int>(std::floor(static_cast<float>(i) * step + p.lineXS));
  if (x >= picture.width()) x = picture.width() - 1;
  std::vector<int> col(static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) {
    const std::uint32_t c = picture.at(x, y);
    const int sum = redOf(c) + greenOf(c) + blueOf(c);
    col[static_cast<std::size_t>(y)] = surface && sum == 0 ? 1 : sum / 3;
  }
  const auto round = [](float v) { return static_cast<int>(std::nearbyint(v)); };
  const int half = (p.filter - 1) / 2;
  std::vector<int> sm(col.size());
  const int s0 = round(static_cast<float>(half) + p.lineYT), s1 = round(p.lineYB - half - 1.0f);
  for (int y = s0; y <= s1; ++y)
    for (int k = -half; k <= half; ++k) sm.at(y) += col.at(y + k);
  for (int y = s0; y <= s1; ++y)
    col[y] = static_cast<int>(std::nearbyint(sm[y] / double(p.filter)));
  const int a = round(p.lineYT);
  if (surface) {
    int edge = round(static_cast<float>(h - 1) - p.lineYB), minStep = -10;
    for (int y = a; y <= round(p.lineYB - 2.0f); ++y)
      if (col.at(y + 1) - col[y] < minStep) minStep = col[y + 1] - col[y], edge = h - 1 - (y + 1);
    return static_cast<float>(edge);
  }
  float top = static_cast<float>(h - 1) - p.lineYB, bottom = top;
  for (int y = a, m = 200; y <= round(p.lineYB - 1.0f); ++y)
    if (col[y] < m) m = col[y], top = static_cast<float>((h - 1 - y) - 0.5);
  for (int y = round(p.lineYB - 1.0f), m = 200; y >= a; --y)
    if (col[y] < m) m = col[y], bottom = static_cast<float>((h - 1 - y) - 0.5);
  return (top + bottom) / 2;
}

TEST(TraceSurface, RowWiseScanMatchesTheColumnWalk) {
  std::mt19937 random(6);
  const std::vector<std::uint32_t> palette = {0,         rgbValue(0, 0, 1), grey(40),  grey(120),
                                              grey(199), grey(200),         grey(201), kWhite};
  PixelArray picture(2100, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 2100; ++x)
      picture.set(x, y,
                  random() % 4 ? palette[(y / 5 + x / 300 + random() % 3) % 8]
                               : rgbValue(random() % 256, random() % 256, random() % 256));
  const auto half = [&](int limit) { return static_cast<float>(random() % (2 * limit + 1)) / 2; };
  for (int trial = 0; trial < 80; ++trial) {
    TraceParams p;
    p.lineXS = half(2100), p.lineXE = p.lineXS + half(2100 - static_cast<int>(p.lineXS));
    p.lineYT = half(64), p.lineYB = std::min(64.0f, p.lineYT + half(64));
    if (trial % 4 == 0) p.lineXS = 0, p.lineXE = 2100;  // every column, read as one run
    p.divisions = std::vector<int>{1, 2, 7, 150, 2099, 3000}[random() % 6];
    p.filter = std::vector<int>{1, 1, 3, 5, 7, 13, 127}[random() % 7];
    for (const bool surface : {false, true}) {
      const TraceResult result = (surface ? traceSurface : traceLine)(picture, p, {});
      ASSERT_EQ(result.points.size(), static_cast<std::size_t>(p.divisions) + 1);
      for (int i = 0; i <= p.divisions; ++i)
        ASSERT_EQ(result.points[static_cast<std::size_t>(i)].YPixel,
                  walkColumn(picture, p, i, surface))
            << (surface ? "surface" : "line") << " trial " << trial << " column " << i;
    }
  }
}

}  // namespace
}  // namespace plotvane
