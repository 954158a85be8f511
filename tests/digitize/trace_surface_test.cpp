#include "digitize/trace_surface.h"

#include <gtest/gtest.h>

#include <vector>

#include "digitize/trace_line.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr auto grey = [](int level) { return rgbValue(level, level, level); };

// A white 40 x 300 picture; each band fills from its first row down, over earlier ones.
using Bands = std::vector<std::pair<int, std::uint32_t>>;
PixelArray withBands(const Bands& bands) {
  PixelArray picture(40, 300, kWhite);
  for (const auto& [first, colour] : bands)
    for (int y = first; y < 300; ++y)
      for (int x = 0; x < 40; ++x) picture.set(x, y, colour);
  return picture;
}

// Rows 50 to 250, Y 0 to 100, columns 0 to 10 over 0 to 39.
const TraceParams kRows{
    .rect = {.lineXE = 39, .lineYT = 50, .lineYB = 250}, .maxY = 100, .divisions = 10};

TEST(TraceSurface, FindsTheStrongestDrop) {
  // clang-format off
  const struct { const char* name; Bands bands; int filter = 1; float yPixel, yData; } cases[] = {
      {.name = "black from row 120", .bands = {{120, 0}}, .yPixel = 179, .yData = 65},
      {.name = "grey 250 (drop 5)", .bands = {{120, grey(250)}}, .yPixel = 49, .yData = 0},
      {.name = "drop of exactly 10", .bands = {{120, grey(245)}}, .yPixel = 49, .yData = 0},
      {.name = "drop of 11", .bands = {{120, grey(244)}}, .yPixel = 179, .yData = 65},
      {.name = "light band above black", .bands = {{100, grey(195)}, {150, grey(15)}},
       .yPixel = 149, .yData = 50},
      // Smoothed 255, 170, 86, 1 on rows 118 to 121: drops 85, 84, 85.
      {.name = "F = 3: the first of two equal drops", .bands = {{120, 0}}, .filter = 3,
       .yPixel = 180, .yData = 65.5f},
      // Black reads as 1, so its drop (254) loses to the drop into (0, 0, 1) = 1 (255).
      {.name = "black reads as 1", .bands = {{100, 0}, {150, kWhite}, {200, 1}},
       .yPixel = 99, .yData = 25},
      {.name = "equal drops: topmost wins", .bands = {{100, 0}, {150, kWhite}, {200, 0}},
       .yPixel = 199, .yData = 75}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TraceParams p = kRows;
    p.filter = c.filter;
    const TraceResult result = traceSurface(withBands(c.bands), p);
    ASSERT_EQ(result.points.size(), 11u);
    for (const DataPoint& point : result.points) {
      EXPECT_EQ(point.YPixel, c.yPixel);
      EXPECT_EQ(point.YData, c.yData);
    }
  }
}

// Y values are worked in single precision: 0.1 to 0.7 over 200 rows gives
// results one unit in the last place away from a double-precision conversion.
TEST(TraceSurface, YValuesInSinglePrecision) {
  TraceParams p = kRows;
  p.minY = 0.1f, p.maxY = 0.7f, p.divisions = 3;
  // A black row 51 for the line, an area from row 247 for the surface.
  // clang-format off
  const struct {
    const char* name; decltype(&traceLine) trace; Bands bands; float yPixel;
  } cases[] = {
      {.name = "line", .trace = &traceLine, .bands = {{51, 0}, {52, kWhite}}, .yPixel = 247.5f},
      {.name = "surface", .trace = &traceSurface, .bands = {{247, 0}}, .yPixel = 52.0f}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const float single = (c.yPixel - 49) * (p.maxY - p.minY) / 200 + p.minY;
    ASSERT_NE(single,
              static_cast<float>((c.yPixel - 49) * (double(p.maxY) - p.minY) / 200 + p.minY));
    for (const DataPoint& point : c.trace(withBands(c.bands), p, {}).points) {
      EXPECT_EQ(point.YPixel, c.yPixel);
      EXPECT_EQ(point.YData, single);
    }
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
  const TraceParams p{.rect = {.lineXE = static_cast<float>(width - 1), .lineYB = 64},
                      .maxY = 1,
                      .divisions = width - 1};
  const TraceResult line = traceLine(picture, p), surface = traceSurface(picture, p);
  ASSERT_EQ(line.points.size(), static_cast<std::size_t>(width));
  ASSERT_EQ(surface.points.size(), static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x) {
    ASSERT_EQ(line.points[x].YPixel, (62.0f - top(x)) / 2) << "column " << x;
    ASSERT_EQ(surface.points[x].YPixel, 63.0f - top(x)) << "column " << x;
  }
}

}  // namespace
}  // namespace plotvane
