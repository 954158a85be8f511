#include "digitize/trace_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "digitize/trace_surface.h"

namespace plotvane {
namespace {

using Rows = std::vector<std::pair<int, std::uint32_t>>;
constexpr auto grey = [](int level) { return rgbValue(level, level, level); };

PixelArray withRows(int width, int height, const Rows& rows) {  // white, rows filled across
  PixelArray picture(width, height, 0xFFFFFF);
  for (const auto& [row, colour] : rows)
    for (int x = 0; x < width; ++x) picture.set(x, row, colour);
  return picture;
}

TraceParams rectangle(float xs, float xe, float yt, float yb, int n = 10, int filter = 1) {
  return {.rect = {xs, xe, yt, yb}, .maxY = 100, .divisions = n, .pitch = 1, .filter = filter};
}

// Rows 50 to 250 of a 40 x 300 picture, Y 0 to 100; every column alike.
TEST(TraceLine, FindsTheMiddleOfTheDarkestBand) {
  // clang-format off
  const struct { const char* name; Rows rows; int filter = 1; float yPixel, yData; } cases[] = {
      {.name = "three black rows", .rows = {{100, 0}, {101, 0}, {102, 0}}, .yPixel = 197.5f,
       .yData = 74.25f},
      {.name = "grey 210", .rows = {{100, grey(210)}}, .yPixel = 49, .yData = 0},
      {.name = "grey 200", .rows = {{100, grey(200)}}, .yPixel = 49, .yData = 0},
      {.name = "grey 199", .rows = {{100, grey(199)}}, .yPixel = 198.5f, .yData = 74.75f},
      {.name = "mean 199", .rows = {{100, rgbValue(199, 200, 200)}}, .yPixel = 198.5f,
       .yData = 74.75f},
      {.name = "the darker of two", .rows = {{80, grey(100)}, {120, grey(50)}}, .yPixel = 178.5f,
       .yData = 64.75f},
      {.name = "F = 3 over one black row",
       .rows = {{100, 0}, {150, grey(160)}, {151, grey(160)}, {152, grey(160)}}, .filter = 3,
       .yPixel = 147.5f, .yData = 49.25f}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const DataPoint p =
        traceLine(withRows(40, 300, c.rows), rectangle(0, 39, 50, 250, 10, c.filter)).points.at(10);
    EXPECT_EQ(p.YPixel, c.yPixel);
    EXPECT_EQ(p.YData, c.yData);
  }
}

// Column x is dark at row x only, so yPixel tells which pixel column was sampled;
// 10 * 0.7f is 7 in single precision (6.99999988 in double).
TEST(TraceLine, PlacesTheColumns) {
  // clang-format off
  const struct { int width; float xs, xe; int divisions; float step; std::vector<int> sampled; }
      cases[] = {{.width = 21, .xs = 10, .xe = 20, .divisions = 4, .step = 2.5f,
                  .sampled = {10, 12, 15, 17, 20}},
                 {.width = 8, .xs = 0, .xe = 7, .divisions = 10, .step = 0.7f,
                  .sampled = {0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 7}}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.divisions << " divisions");
    PixelArray picture(c.width, 32, 0xFFFFFF);
    for (int x = 0; x < c.width; ++x) picture.set(x, x, 0);
    TraceParams params = rectangle(c.xs, c.xe, 0, 32, c.divisions);
    params.minX = 1, params.pitch = 0.25;
    const auto points = traceLine(picture, params).points;
    ASSERT_EQ(points.size(), c.sampled.size());
    for (std::size_t i = 0; i < c.sampled.size(); ++i) {  // xPixel unrounded, X i * pitch + minX
      EXPECT_EQ(points[i].YPixel, 31 - c.sampled[i] - 0.5f) << "column " << i;
      EXPECT_EQ(points[i].XPixel, i * c.step + c.xs) << "column " << i;
      EXPECT_EQ(points[i].XData, 1 + 0.25f * i) << "column " << i;
    }
  }
}

// Rows 51 (top 51.5) and 251 (bottom 251.5) are read from the picture; rectangles clamp to it.
TEST(TraceLine, ReadsEveryRowItUsesAndStaysInThePicture) {
  const Rows band = {{4, 0}, {5, 0}, {6, 0}};
  // clang-format off
  const struct { const char* name; PixelArray picture; TraceParams params; float line, surface; }
      cases[] = {
      {.name = "top at 51.5", .picture = withRows(40, 300, {}),
       .params = rectangle(0, 39, 51.5f, 250, 10, 3), .line = 49, .surface = 49},
      {.name = "bottom at 251.5", .picture = withRows(40, 301, {}),
       .params = rectangle(0, 39, 50, 251.5f, 10, 3), .line = 48.5f, .surface = 48},
      {.name = "black row 51", .picture = withRows(40, 300, {{51, 0}}),
       .params = rectangle(0, 39, 51.5f, 250, 10, 3), .line = 246.5f, .surface = 49},
      {.name = "black row 251", .picture = withRows(40, 301, {{251, 0}}),
       .params = rectangle(0, 39, 50, 251.5f, 10, 3), .line = 49.5f, .surface = 49},
      {.name = "beyond every side", .picture = withRows(30, 20, band),
       .params = rectangle(-5, 40, -3, 25, 10, 5), .line = 13.5f, .surface = 17},
      {.name = "below the picture", .picture = withRows(30, 20, band),
       .params = rectangle(0, 30, 25, 40, 10, 5), .line = -21, .surface = -21},
      {.name = "empty picture", .picture = PixelArray(),
       .params = rectangle(0, 30, 0, 40, 10, 3), .line = -41, .surface = -41},
      {.name = "no columns", .picture = PixelArray(0, 20),
       .params = rectangle(0, 30, 0, 20, 10, 3), .line = -1, .surface = -1}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TraceResult line = traceLine(c.picture, c.params);
    const TraceResult surface = traceSurface(c.picture, c.params);
    ASSERT_EQ(line.points.size(), 11u);
    ASSERT_EQ(surface.points.size(), 11u);
    for (std::size_t i = 0; i < 11; ++i) {  // yPixel of every column
      EXPECT_EQ(line.points[i].YPixel, c.line) << "column " << i;
      EXPECT_EQ(surface.points[i].YPixel, c.surface) << "column " << i;
    }
  }
}

// Each refused parameter; the largest count with each window height (taller than the picture).
TEST(TraceLine, RefusesParametersOutsideTheirRange) {
  const PixelArray picture = withRows(10, 10, {});
  // clang-format off
  const struct { const char* refused; TraceParams params; } cases[] = {
      {.refused = "right edge NaN", .params = rectangle(0, NAN, 0, 9)},
      {.refused = "filter -1", .params = rectangle(0, 9, 0, 9, 5, -1)},
      {.refused = "filter 2", .params = rectangle(0, 9, 0, 9, 5, 2)},
      {.refused = "filter 129", .params = rectangle(0, 9, 0, 9, 5, 129)},
      {.refused = "0 divisions", .params = rectangle(0, 9, 0, 9, 0)},
      {.refused = "32767 divisions", .params = rectangle(0, 9, 0, 9, 32767)}};
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_THROW(traceLine(picture, c.params), std::invalid_argument) << c.refused;
    EXPECT_THROW(traceSurface(picture, c.params), std::invalid_argument) << c.refused;
  }
  for (int filter = 1; filter <= 127; filter += 2)
    for (const auto& trace : {traceLine, traceSurface})
      EXPECT_EQ(trace(picture, rectangle(0, 9, 0, 10, 32766, filter), {}).points.size(), 32767u);
}

// Yields at every even column scanned (the marker at the last column scanned)
// and every hundredth point; false stops there, keeping the points of pass 2.
TEST(TraceYields, StopsWhereTheCallbackSays) {
  using enum TracePass;
  using enum TraceEnd;
  struct Yield {
    TracePass pass;
    int column;
    bool operator==(const Yield&) const = default;
  };
  // clang-format off
  const struct { int divisions; std::optional<Yield> stop = {}; TraceEnd end; std::size_t points; }
      cases[] = {
      {.divisions = 5, .end = Completed, .points = 6},
      {.divisions = 2500, .stop = Yield{.pass = Scan, .column = 2500}, .end = CancelledInScan,
       .points = 0},
      {.divisions = 250, .stop = Yield{.pass = Points, .column = 200}, .end = CancelledInPoints,
       .points = 200}};
  // clang-format on
  PixelArray picture(60, 40, 0xFFFFFF);
  for (int x = 0; x < 60; ++x) picture.set(x, 5 + x / 3, 0);
  for (const auto& [name, trace] : {std::pair{"line", &traceLine}, {"surface", &traceSurface}}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << name << ", " << c.divisions << " divisions");
      const TraceParams p = rectangle(0, 60, 0, 40, c.divisions);
      const std::vector<DataPoint> full = trace(picture, p, {}).points;
      std::vector<Yield> seen, expected = {{Scan, 0}};
      const TraceResult result = trace(picture, p, [&](const TraceYield& y) {
        seen.push_back({y.pass, y.column});
        const DataPoint& last = full[y.column > 0 ? y.column - 1 : 0];
        EXPECT_EQ(y.marker.has_value(), y.pass == Scan && y.column > 0);
        if (y.marker) {
          EXPECT_EQ(y.marker->x, last.XPixel);
          EXPECT_EQ(y.marker->y, 39 - last.YPixel);
        }
        EXPECT_EQ(y.points.size(), y.pass == Points ? y.column : 0);
        return seen.back() != c.stop;
      });
      for (int i = 2; i <= c.divisions && expected.back() != c.stop; i += 2)
        expected.push_back({Scan, i});
      for (int i = 0; i <= c.divisions && expected.back() != c.stop; i += 100)
        expected.push_back({Points, i});
      ASSERT_EQ(seen.size(), expected.size());
      for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].pass, expected[i].pass) << "yield " << i;
        EXPECT_EQ(seen[i].column, expected[i].column) << "yield " << i;
      }
      EXPECT_EQ(result.end, c.end);
      ASSERT_EQ(result.points.size(), c.points);
      for (std::size_t i = 0; i < c.points; ++i) EXPECT_EQ(result.points[i].YPixel, full[i].YPixel);
    }
  }
}

}  // namespace
}  // namespace plotvane
