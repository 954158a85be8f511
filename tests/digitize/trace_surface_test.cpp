#include "digitize/trace_surface.h"

#include <gtest/gtest.h>

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

// Every column of two column blocks has its own black area: the row-wise
// scan must keep the columns apart.
TEST(TraceSurface, RowWiseScanKeepsEveryColumnApart) {
  const auto top = [](int x) { return x * 7 % 60 + 2; };
  const int width = ColumnScan::kBlockColumns + 100;
  PixelArray picture(width, 64, kWhite);
  for (int x = 0; x < width; ++x)
    for (int y = top(x); y < 64; ++y) picture.set(x, y, 0);
  const TraceParams p{
      .lineXE = static_cast<float>(width - 1), .lineYB = 64, .maxY = 1, .divisions = width - 1};
  const TraceResult line = traceLine(picture, p), surface = traceSurface(picture, p);
  ASSERT_EQ(line.points.size(), static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x)
    ASSERT_EQ(std::pair(line.points[x].YPixel, surface.points[x].YPixel),
              std::pair((62.0f - top(x)) / 2, 63.0f - top(x)))
        << x;
}

}  // namespace
}  // namespace plotvane
