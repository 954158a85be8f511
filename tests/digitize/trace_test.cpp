// Trace Line and Trace Surface: what each finds, what it refuses and where it yields.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "digitize/trace_line.h"
#include "digitize/trace_surface.h"

namespace plotvane {
namespace {

constexpr auto grey = [](int level) { return rgbValue(level, level, level); };

// A white picture; each band fills its rows, first to last, across.
struct Band {
  int first, last;
  std::uint32_t colour;
};
PixelArray banded(int width, int height, const std::vector<Band>& bands) {
  PixelArray picture(width, height, 0xFFFFFF);
  for (const auto& [first, last, colour] : bands)
    for (int y = first; y <= last; ++y)
      for (int x = 0; x < width; ++x) picture.set(x, y, colour);
  return picture;
}

TraceParams rectangle(float xs, float xe, float yt, float yb, int n = 10, int filter = 1) {
  return {.rect = {xs, xe, yt, yb}, .maxY = 100, .divisions = n, .pitch = 1, .filter = filter};
}

// Rows 50 to 250 of a 40 x 300 picture, Y 0 to 100; every column alike. The line takes the middle
// of the darkest rows under 200 (Int of the mean of r, g, b), the surface the row below the topmost
// largest drop over 10, where pure black reads as 1.
TEST(Traces, FindTheDarkestBandAndTheStrongestDrop) {
  const auto line = &traceLine, surface = &traceSurface;
  // clang-format off
  const struct { decltype(line) trace; std::vector<Band> bands; int filter = 1; float y, value; }
      cases[] = {
      {.trace = line, .bands = {{100, 102, 0}}, .y = 197.5f, .value = 74.25f},
      {.trace = line, .bands = {{100, 100, grey(200)}}, .y = 49, .value = 0},
      {.trace = line, .bands = {{100, 100, grey(199)}}, .y = 198.5f, .value = 74.75f},
      {.trace = line, .bands = {{100, 100, rgbValue(199, 200, 200)}}, .y = 198.5f, .value = 74.75f},
      {.trace = line, .bands = {{80, 80, grey(100)}, {120, 120, grey(50)}}, .y = 178.5f,
       .value = 64.75f},
      {.trace = line, .bands = {{100, 100, 0}, {150, 152, grey(160)}}, .filter = 3, .y = 147.5f,
       .value = 49.25f},
      {.trace = surface, .bands = {{120, 299, 0}}, .y = 179, .value = 65},
      {.trace = surface, .bands = {{120, 299, grey(245)}}, .y = 49, .value = 0},
      {.trace = surface, .bands = {{120, 299, grey(244)}}, .y = 179, .value = 65},
      {.trace = surface, .bands = {{100, 299, grey(195)}, {150, 299, grey(15)}}, .y = 149,
       .value = 50},
      // Smoothed 255, 170, 86, 1 on rows 118 to 121: drops 85, 84, 85.
      {.trace = surface, .bands = {{120, 299, 0}}, .filter = 3, .y = 180, .value = 65.5f},
      // Black's drop (254) loses to the drop into (0, 0, 1) (255).
      {.trace = surface, .bands = {{100, 149, 0}, {200, 299, 1}}, .y = 99, .value = 25},
      {.trace = surface, .bands = {{100, 149, 0}, {200, 299, 0}}, .y = 199, .value = 75}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
    const TraceResult result =
        c.trace(banded(40, 300, c.bands), rectangle(0, 39, 50, 250, 10, c.filter), {});
    ASSERT_EQ(result.points.size(), 11u);
    for (const DataPoint& p : result.points) {
      EXPECT_EQ(p.YPixel, c.y);
      EXPECT_EQ(p.YData, c.value);
    }
  }
}

// Each refused parameter; the largest count with each window height (taller than the picture);
// pictures without pixels give the bottom line.
TEST(Traces, RefuseParametersOutsideTheirRangeAndReadNothingBeyondThePicture) {
  const PixelArray picture = banded(10, 10, {});
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
  for (const auto& trace : {traceLine, traceSurface}) {
    for (int filter = 1; filter <= 127; filter += 2)
      EXPECT_EQ(trace(picture, rectangle(0, 9, 0, 10, 32766, filter), {}).points.size(), 32767u);
    // The bottom lines of the rectangles: 0 - 1 - 40 and 20 - 1 - 20.
    for (const auto& [empty, yb, bottom] :
         {std::tuple{PixelArray(), 40.0f, -41.0f}, {PixelArray(0, 20), 20.0f, -1.0f}}) {
      const TraceResult result = trace(empty, rectangle(0, 30, 0, yb, 10, 3), {});
      ASSERT_EQ(result.points.size(), 11u);
      EXPECT_EQ(result.points[10].YPixel, bottom) << empty.height();
    }
  }
}

// Yields at every even column scanned (the marker at the last column scanned) and every hundredth
// point; false stops there, keeping the points of pass 2.
TEST(Traces, YieldAndStopWhereTheCallbackSays) {
  using enum TracePass;
  using enum TraceEnd;
  using Yield = std::pair<TracePass, int>;  // the pass and the column
  // clang-format off
  const struct { int divisions; Yield stop = {}; TraceEnd end = Completed; std::size_t points; }
      cases[] = {
      {.divisions = 5, .points = 6},
      {.divisions = 2500, .stop = {Scan, 2500}, .end = CancelledInScan, .points = 0},
      {.divisions = 250, .stop = {Points, 200}, .end = CancelledInPoints, .points = 200}};
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
          EXPECT_EQ(std::tuple(y.marker->x, y.marker->y),
                    std::tuple(last.XPixel, 39 - last.YPixel));
        }
        EXPECT_EQ(y.points.size(), y.pass == Points ? y.column : 0);
        return seen.back() != c.stop;
      });
      for (int i = 2; i <= c.divisions && expected.back() != c.stop; i += 2)
        expected.push_back({Scan, i});
      for (int i = 0; i <= c.divisions && expected.back() != c.stop; i += 100)
        expected.push_back({Points, i});
      EXPECT_EQ(seen, expected);
      EXPECT_EQ(result.end, c.end);
      ASSERT_EQ(result.points.size(), c.points);
      for (std::size_t i = 0; i < c.points; ++i) EXPECT_EQ(result.points[i].YPixel, full[i].YPixel);
    }
  }
}

}  // namespace
}  // namespace plotvane
