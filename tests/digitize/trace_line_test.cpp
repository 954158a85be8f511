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
constexpr auto grey = [](int level) { return rgbValue(level, level, level); };

PixelArray withRows(int width, int height, const Rows& rows) {  // white, rows filled across
  PixelArray picture(width, height, 0xFFFFFF);
  for (const auto& [row, colour] : rows)
    for (int x = 0; x < width; ++x) picture.set(x, row, colour);
  return picture;
}

TraceParams rectangle(float xs, float xe, float yt, float yb, int n = 10, int filter = 1) {
  return {xs, xe, yt, yb, 0, 0, 100, n, 1, filter};
}

// Rows 50 to 250 of a 40 x 300 picture, Y 0 to 100; every column alike.
TEST(TraceLine, FindsTheMiddleOfTheDarkestBand) {
  const std::tuple<Rows, int, float, float> cases[] = {
      {{{100, 0}, {101, 0}, {102, 0}}, 1, 197.5f, 74.25f},
      {{{100, grey(210)}}, 1, 49, 0},
      {{{100, grey(200)}}, 1, 49, 0},
      {{{100, grey(199)}}, 1, 198.5f, 74.75f},
      {{{100, rgbValue(199, 200, 200)}}, 1, 198.5f, 74.75f},
      {{{80, grey(100)}, {120, grey(50)}}, 1, 178.5f, 64.75f},
      {{{100, 0}, {150, grey(160)}, {151, grey(160)}, {152, grey(160)}}, 3, 147.5f, 49.25f}};
  for (const auto& [rows, filter, yPixel, yData] : cases) {
    const DataPoint p =
        traceLine(withRows(40, 300, rows), rectangle(0, 39, 50, 250, 10, filter)).points.at(10);
    EXPECT_EQ(std::pair(p.YPixel, p.YData), std::pair(yPixel, yData)) << rows[0].second;
  }
}

// Column x is dark at row x only, so yPixel tells which pixel column was sampled;
// 10 * 0.7f is 7 in single precision (6.99999988 in double).
TEST(TraceLine, PlacesTheColumns) {
  const std::tuple<int, float, float, int, float, std::vector<int>> cases[] = {
      {21, 10, 20, 4, 2.5f, {10, 12, 15, 17, 20}},
      {8, 0, 7, 10, 0.7f, {0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 7}}};
  for (const auto& [width, xs, xe, n, step, sampled] : cases) {
    PixelArray picture(width, 32, 0xFFFFFF);
    for (int x = 0; x < width; ++x) picture.set(x, x, 0);
    const auto points = traceLine(picture, {xs, xe, 0, 32, 1, 0, 100, n, 0.25}).points;
    ASSERT_EQ(points.size(), sampled.size());
    for (std::size_t i = 0; i < sampled.size(); ++i)  // xPixel unrounded, X i * pitch + minX
      EXPECT_EQ(std::tuple(points[i].YPixel, points[i].XPixel, points[i].XData),
                std::tuple(31 - sampled[i] - 0.5f, i * step + xs, 1 + 0.25f * i))
          << n << ' ' << i;
  }
}

// Rows 51 (top 51.5) and 251 (bottom 251.5) are read from the picture; rectangles clamp to it.
TEST(TraceLine, ReadsEveryRowItUsesAndStaysInThePicture) {
  const std::tuple<PixelArray, TraceParams, float, float> cases[] = {
      {withRows(40, 300, {}), rectangle(0, 39, 51.5f, 250, 10, 3), 49, 49},
      {withRows(40, 301, {}), rectangle(0, 39, 50, 251.5f, 10, 3), 48.5f, 48},
      {withRows(40, 300, {{51, 0}}), rectangle(0, 39, 51.5f, 250, 10, 3), 246.5f, 49},
      {withRows(40, 301, {{251, 0}}), rectangle(0, 39, 50, 251.5f, 10, 3), 49.5f, 49},
      {withRows(30, 20, {{4, 0}, {5, 0}, {6, 0}}), rectangle(-5, 40, -3, 25, 10, 5), 13.5f, 17},
      {withRows(30, 20, {{4, 0}, {5, 0}, {6, 0}}), rectangle(0, 30, 25, 40, 10, 5), -21, -21},
      {PixelArray(), rectangle(0, 30, 0, 40, 10, 3), -41, -41},
      {PixelArray(0, 20), rectangle(0, 30, 0, 20, 10, 3), -1, -1}};
  for (const auto& [picture, params, line, surface] : cases) {
    const TraceResult a = traceLine(picture, params), b = traceSurface(picture, params);
    ASSERT_EQ(std::pair(a.points.size(), b.points.size()), std::pair(11ul, 11ul));
    for (std::size_t i = 0; i < 11; ++i)
      EXPECT_EQ(std::pair(a.points[i].YPixel, b.points[i].YPixel), std::pair(line, surface));
  }
}

// Each refused parameter; the largest count with each window height (taller than the picture).
TEST(TraceLine, RefusesParametersOutsideTheirRange) {
  const PixelArray picture = withRows(10, 10, {});
  for (const TraceParams& p :
       {rectangle(0, NAN, 0, 9), rectangle(0, 9, 0, 9, 5, -1), rectangle(0, 9, 0, 9, 5, 2),
        rectangle(0, 9, 0, 9, 5, 129), rectangle(0, 9, 0, 9, 0), rectangle(0, 9, 0, 9, 32767)}) {
    EXPECT_THROW(traceLine(picture, p), std::invalid_argument) << p.filter << " " << p.divisions;
    EXPECT_THROW(traceSurface(picture, p), std::invalid_argument);
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
  const std::tuple<int, std::pair<TracePass, int>, TraceEnd, std::size_t> cases[] = {
      {5, {Scan, -1}, Completed, 6},
      {2500, {Scan, 2500}, CancelledInScan, 0},
      {250, {Points, 200}, CancelledInPoints, 200}};
  PixelArray picture(60, 40, 0xFFFFFF);
  for (int x = 0; x < 60; ++x) picture.set(x, 5 + x / 3, 0);
  for (const auto& trace : {traceLine, traceSurface}) {
    for (const auto& [n, stop, end, points] : cases) {
      const TraceParams p = rectangle(0, 60, 0, 40, n);
      const std::vector<DataPoint> full = trace(picture, p, {}).points;
      std::vector<std::pair<TracePass, int>> seen, expected = {{Scan, 0}};
      const TraceResult result = trace(picture, p, [&](const TraceYield& y) {
        seen.emplace_back(y.pass, y.column);
        const DataPoint& last = full[y.column > 0 ? y.column - 1 : 0];
        EXPECT_EQ(y.marker.has_value(), y.pass == Scan && y.column > 0);
        EXPECT_TRUE(!y.marker || (y.marker->x == last.XPixel && y.marker->y == 39 - last.YPixel));
        EXPECT_EQ(y.points.size(), y.pass == Points ? y.column : 0);
        return std::pair(y.pass, y.column) != stop;
      });
      for (int i = 2; i <= n && expected.back() != stop; i += 2) expected.emplace_back(Scan, i);
      for (int i = 0; i <= n && expected.back() != stop; i += 100) expected.emplace_back(Points, i);
      EXPECT_EQ(seen, expected) << n;
      ASSERT_EQ(std::pair(result.end, result.points.size()), std::pair(end, points));
      for (std::size_t i = 0; i < points; ++i) EXPECT_EQ(result.points[i].YPixel, full[i].YPixel);
    }
  }
}

}  // namespace
}  // namespace plotvane
