#include "digitize/trace_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "digitize/trace_surface.h"

namespace plotvane {
namespace {

using Rows = std::vector<std::pair<int, std::uint32_t>>;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr auto grey = [](int level) { return rgbValue(level, level, level); };

// A white picture with the given rows filled across the whole width.
PixelArray withRows(int width, int height, const Rows& rows) {
  PixelArray picture(width, height, kWhite);
  for (const auto& [row, colour] : rows)
    for (int x = 0; x < width; ++x) picture.set(x, row, colour);
  return picture;
}

TraceParams rectangle(float xs, float xe, float yt, float yb, int n = 10, int filter = 1) {
  TraceParams p;
  p.lineXS = xs, p.lineXE = xe, p.lineYT = yt, p.lineYB = yb;
  p.maxY = 100, p.divisions = n, p.filter = filter, p.pitch = 1;
  return p;
}

// Rows 50 to 250 of a 40 x 300 picture, Y 0 to 100; every column alike.
TEST(TraceLine, FindsTheMiddleOfTheDarkestBand) {
  const Rows band = {{100, 0}, {150, grey(160)}, {151, grey(160)}, {152, grey(160)}};
  const std::tuple<const char*, Rows, int, float, float> cases[] = {
      {"3-pixel black line", {{100, 0}, {101, 0}, {102, 0}}, 1, 197.5f, 74.25f},
      {"grey 210 is too light", {{100, grey(210)}}, 1, 49, 0},
      {"grey 200 is too light", {{100, grey(200)}}, 1, 49, 0},
      {"grey 199 counts", {{100, grey(199)}}, 1, 198.5f, 74.75f},
      {"intensity rounds down", {{100, rgbValue(199, 200, 200)}}, 1, 198.5f, 74.75f},
      {"two equal curves give the middle", {{80, 0}, {120, 0}}, 1, 198.5f, 74.75f},
      {"the darker curve wins", {{80, grey(100)}, {120, grey(50)}}, 1, 178.5f, 64.75f},
      // Smoothed, the line becomes 170 and the middle of the 160 band stays 160.
      {"F = 3 prefers the wide band", band, 3, 147.5f, 49.25f},
      {"F = 1 prefers the black line", band, 1, 198.5f, 74.75f}};
  for (const auto& [name, rows, filter, yPixel, yData] : cases) {
    const TraceResult result =
        traceLine(withRows(40, 300, rows), rectangle(0, 39, 50, 250, 10, filter));
    ASSERT_EQ(result.points.size(), 11u) << name;
    for (const DataPoint& point : result.points)
      EXPECT_EQ(std::pair(point.YPixel, point.YData), std::pair(yPixel, yData)) << name;
  }
}

// Column x is dark at row x only, so yPixel tells which pixel column was sampled.
TEST(TraceLine, PlacesTheColumns) {
  // 10 * 0.7f is 7 in single precision (6.99999988 in double).
  const std::tuple<int, float, float, int, std::vector<int>, std::vector<float>> cases[] = {
      {20, 10, 20, 4, {10, 12, 15, 17, 19}, {10, 12.5f, 15, 17.5f, 20}},
      {21, 10, 20, 4, {10, 12, 15, 17, 20}, {10, 12.5f, 15, 17.5f, 20}},
      {8, 0, 7, 10, {0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 7}, {}}};
  for (const auto& [width, xs, xe, n, sampled, xPixel] : cases) {
    PixelArray picture(width, 32, kWhite);
    for (int x = 0; x < width; ++x) picture.set(x, x, 0);
    TraceParams p = rectangle(xs, xe, 0, 32, n);
    p.pitch = 0.25, p.minX = 1;
    const TraceResult result = traceLine(picture, p);
    ASSERT_EQ(result.points.size(), sampled.size());
    for (std::size_t i = 0; i < sampled.size(); ++i) {
      EXPECT_EQ(result.points[i].YPixel, 31 - sampled[i] - 0.5f) << width << " column " << i;
      EXPECT_EQ(result.points[i].XData, static_cast<float>(1 + 0.25 * i));
      EXPECT_TRUE(xPixel.empty() || result.points[i].XPixel == xPixel[i]) << i;
    }
  }
}

// Rectangle edges on half pixels read every row they use from the picture;
// rectangles reaching past the picture are clamped to it.
TEST(TraceLine, ReadsEveryRowItUsesAndStaysInThePicture) {
  const PixelArray band = withRows(30, 20, {{4, 0}, {5, 0}, {6, 0}});
  // Row 51 is above a top line at 51.5; an odd height keeps the bottom line at
  // 251.5 apart from row 251.
  const TraceParams top = rectangle(0, 39, 51.5f, 250, 10, 3),
                    bottom = rectangle(0, 39, 50, 251.5f, 10, 3);
  const std::tuple<const char*, PixelArray, TraceParams, float, float> cases[] = {
      {"white, top on a half pixel", withRows(40, 300, {}), top, 49, 49},
      {"white, bottom on a half pixel", withRows(40, 301, {}), bottom, 48.5f, 48},
      {"black row above the top", withRows(40, 300, {{51, 0}}), top, 246.5f, 49},
      {"black row below the bottom", withRows(40, 301, {{251, 0}}), bottom, 49.5f, 49},
      {"rectangle around the picture", band, rectangle(-5, 40, -3, 25, 9, 5), 13.5f, 17},
      {"rectangle below the picture", band, rectangle(0, 30, 25, 40, 9, 5), -21, -21},
      {"no picture", PixelArray(), rectangle(0, 30, 0, 40, 9, 3), -41, -41},
      {"picture without columns", PixelArray(0, 20), rectangle(0, 30, 0, 20, 9, 3), -1, -1}};
  for (const auto& [name, picture, params, line, surface] : cases) {
    for (const bool isLine : {true, false}) {
      const TraceResult result = (isLine ? traceLine : traceSurface)(picture, params, {});
      ASSERT_EQ(result.points.size(), static_cast<std::size_t>(params.divisions) + 1);
      for (const DataPoint& point : result.points)
        EXPECT_EQ(point.YPixel, isLine ? line : surface) << name << (isLine ? "" : " (surface)");
    }
  }
}

TEST(TraceLine, RefusesParametersOutsideTheirRange) {
  const PixelArray picture = withRows(10, 10, {});
  std::vector<TraceParams> bad = {rectangle(0, NAN, 0, 9), rectangle(0, 9, 0, INFINITY)};
  for (const int filter : {0, -1, 2, 128, 129}) bad.push_back(rectangle(0, 9, 0, 9, 5, filter));
  for (const int n : {0, -3, 32767}) bad.push_back(rectangle(0, 9, 0, 9, n));
  for (const TraceParams& p : bad) {
    EXPECT_THROW(traceLine(picture, p), std::invalid_argument) << p.filter << " " << p.divisions;
    EXPECT_THROW(traceSurface(picture, p), std::invalid_argument);
  }
  // Every valid window height runs, on a picture far lower than the window.
  for (int filter = 1; filter <= 127; filter += 2)
    EXPECT_EQ(traceSurface(picture, rectangle(0, 9, 0, 10, 3, filter)).points.size(), 4u);
  EXPECT_EQ(traceLine(picture, rectangle(0, 9, 0, 10, 32766, 127)).points.size(), 32767u);
}

// Yields at every even column scanned and every hundredth point; false stops there.
TEST(TraceYields, StopsWhereTheCallbackSays) {
  using enum TracePass;
  using enum TraceEnd;
  const std::tuple<int, TracePass, int, TraceEnd, std::size_t> cases[] = {
      {5, Scan, -1, Completed, 6},
      {2500, Scan, 2500, CancelledInScan, 0},
      {250, Points, 200, CancelledInPoints, 200}};
  PixelArray picture(60, 40, kWhite);
  for (int x = 0; x < 60; ++x) picture.set(x, 5 + x / 3, 0);
  for (const auto& trace : {traceLine, traceSurface}) {
    for (const auto& [n, pass, column, end, points] : cases) {
      const TraceParams p = rectangle(0, 60, 0, 40, n);
      const TraceResult full = trace(picture, p, {});
      const std::pair stop(pass, column);
      std::vector<std::pair<TracePass, int>> seen, expected;
      const TraceResult result = trace(picture, p, [&](const TraceYield& y) {
        seen.emplace_back(y.pass, y.column);
        EXPECT_EQ(y.marker.has_value(), y.pass == Scan && y.column > 0);
        if (y.marker) {  // at the last column scanned
          const DataPoint& last = full.points[static_cast<std::size_t>(y.column - 1)];
          EXPECT_EQ(std::pair(y.marker->x, y.marker->y), std::pair(last.XPixel, 39 - last.YPixel));
        }
        EXPECT_EQ(y.points.size(), y.pass == Points ? y.column : 0);
        return std::pair(y.pass, y.column) != stop;
      });
      for (int i = 0; i <= n && (i == 0 || expected.back() != stop); i += 2)
        expected.emplace_back(Scan, i);
      for (int i = 0; end != CancelledInScan && i <= n && expected.back() != stop; i += 100)
        expected.emplace_back(Points, i);
      EXPECT_EQ(seen, expected) << n << " " << column;
      EXPECT_EQ(result.end, end);
      ASSERT_EQ(result.points.size(), points);
      for (std::size_t i = 0; i < points; ++i)
        EXPECT_EQ(result.points[i].YPixel, full.points[i].YPixel);
    }
  }
}

}  // namespace
}  // namespace plotvane
