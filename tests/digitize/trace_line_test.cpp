#include "digitize/trace_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "digitize/trace_surface.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

std::uint32_t grey(int level) {
  return rgbValue(level, level, level);
}

// A white picture with the given rows filled across the whole width.
PixelArray withRows(int width, int height, std::vector<std::pair<int, std::uint32_t>> rows) {
  PixelArray picture(width, height, kWhite);
  for (const auto& [row, colour] : rows)
    for (int x = 0; x < width; ++x) picture.set(x, row, colour);
  return picture;
}

TraceParams rectangle(float xs, float xe, float yt, float yb, int n = 10, int filter = 1) {
  TraceParams p;
  p.lineXS = xs, p.lineXE = xe, p.lineYT = yt, p.lineYB = yb;
  p.minY = 0, p.maxY = 100, p.divisions = n, p.filter = filter, p.pitch = 1;
  return p;
}

// Every column of these pictures is alike, so every point has the same Y.
TEST(TraceLine, FindsTheMiddleOfTheDarkestBand) {
  struct Case {
    std::string name;
    PixelArray picture;
    int filter;
    float yPixel, yData;
  };
  const std::vector<Case> cases = {
      {"3-pixel black line", withRows(40, 300, {{100, 0}, {101, 0}, {102, 0}}), 1, 197.5f, 74.25f},
      {"white picture", withRows(40, 300, {}), 1, 49, 0},
      {"grey 210 is too light", withRows(40, 300, {{100, grey(210)}}), 1, 49, 0},
      {"grey 200 is too light", withRows(40, 300, {{100, grey(200)}}), 1, 49, 0},
      {"grey 199 counts", withRows(40, 300, {{100, grey(199)}}), 1, 198.5f, 74.75f},
      {"intensity rounds down", withRows(40, 300, {{100, rgbValue(199, 200, 200)}}), 1, 198.5f,
       74.75f},
      {"two equal curves give the middle", withRows(40, 300, {{80, 0}, {120, 0}}), 1, 198.5f,
       74.75f},
      {"the darker curve wins", withRows(40, 300, {{80, grey(100)}, {120, grey(50)}}), 1, 178.5f,
       64.75f},
      {"F = 3 keeps a thin line on its row", withRows(40, 300, {{100, 0}}), 3, 198.5f, 74.75f},
      // Smoothed: the thin line becomes 170, the middle of the 160 band stays 160.
      {"F = 3 prefers the wide band",
       withRows(40, 300, {{100, 0}, {150, grey(160)}, {151, grey(160)}, {152, grey(160)}}), 3,
       147.5f, 49.25f},
      {"F = 1 prefers the black line",
       withRows(40, 300, {{100, 0}, {150, grey(160)}, {151, grey(160)}, {152, grey(160)}}), 1,
       198.5f, 74.75f},
  };
  for (const Case& c : cases) {
    const TraceResult result = traceLine(c.picture, rectangle(0, 39, 50, 250, 10, c.filter));
    ASSERT_EQ(result.points.size(), 11u) << c.name;
    EXPECT_EQ(result.end, TraceEnd::Completed) << c.name;
    for (const DataPoint& point : result.points) {
      EXPECT_EQ(point.YPixel, c.yPixel) << c.name;
      EXPECT_EQ(point.YData, c.yData) << c.name;
    }
  }
}

// A diagonal picture: column x is dark at row x only, so yPixel tells which
// pixel column was sampled.
TEST(TraceLine, PlacesTheColumns) {
  struct Case {
    int width;
    float xs, xe;
    int n;
    std::vector<int> sampled;
    std::vector<float> xPixel;
  };
  const std::vector<Case> cases = {
      {20, 10, 20, 4, {10, 12, 15, 17, 19}, {10, 12.5f, 15, 17.5f, 20}},
      {21, 10, 20, 4, {10, 12, 15, 17, 20}, {10, 12.5f, 15, 17.5f, 20}},
      // 10 * 0.7f is 7 in single precision (6.99999988 in double).
      {8, 0, 7, 10, {0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 7}, {}},
  };
  for (const Case& c : cases) {
    PixelArray picture(c.width, 32, kWhite);
    for (int x = 0; x < c.width; ++x) picture.set(x, x, 0);
    TraceParams p = rectangle(c.xs, c.xe, 0, 32, c.n);
    p.pitch = 0.25, p.minX = 1;
    const TraceResult result = traceLine(picture, p);
    ASSERT_EQ(result.points.size(), c.sampled.size());
    for (std::size_t i = 0; i < c.sampled.size(); ++i) {
      EXPECT_EQ(result.points[i].YPixel, 31 - c.sampled[i] - 0.5f) << c.width << " column " << i;
      EXPECT_EQ(result.points[i].XData, static_cast<float>(1 + 0.25 * i));
      if (!c.xPixel.empty()) {
        EXPECT_EQ(result.points[i].XPixel, c.xPixel[i]);
      }
    }
  }
}

// Rectangle edges on half pixels, and rectangles reaching past the picture.
TEST(TraceLine, ReadsEveryRowItUsesAndStaysInThePicture) {
  struct Case {
    std::string name;
    PixelArray picture;
    TraceParams params;
    float line, surface;  // yPixel of every point
  };
  const PixelArray band = withRows(30, 20, {{4, 0}, {5, 0}, {6, 0}});
  const std::vector<Case> cases = {
      {"white, top on a half pixel", withRows(40, 300, {}), rectangle(0, 39, 51.5f, 250, 10, 3), 49,
       49},
      // An odd height keeps the bottom line's rounding apart from row 251.
      {"white, bottom on a half pixel", withRows(40, 301, {}), rectangle(0, 39, 50, 251.5f, 10, 3),
       48.5f, 48},
      {"white, bottom on a half pixel, F = 1", withRows(40, 301, {}),
       rectangle(0, 39, 50, 251.5f, 10, 1), 48.5f, 48},
      {"black row just above the top", withRows(40, 300, {{51, 0}}),
       rectangle(0, 39, 51.5f, 250, 10, 3), 246.5f, 49},
      {"black row just below the bottom", withRows(40, 301, {{251, 0}}),
       rectangle(0, 39, 50, 251.5f, 10, 3), 49.5f, 49},
      {"rectangle around the picture", band, rectangle(-5, 40, -3, 25, 9), 13.5f, 15},
      {"rectangle around the picture, F = 5", band, rectangle(-5, 40, -3, 25, 9, 5), 13.5f, 17},
      {"rectangle below the picture", band, rectangle(0, 30, 25, 40, 9, 5), -21, -21},
      {"no picture", PixelArray(), rectangle(0, 30, 0, 40, 9, 3), -41, -41},
      {"picture without columns", PixelArray(0, 20), rectangle(0, 30, 0, 20, 9, 3), -1, -1},
  };
  for (const Case& c : cases) {
    for (const bool line : {true, false}) {
      const TraceResult result = (line ? traceLine : traceSurface)(c.picture, c.params, {});
      ASSERT_EQ(result.points.size(), static_cast<std::size_t>(c.params.divisions) + 1);
      for (const DataPoint& point : result.points)
        EXPECT_EQ(point.YPixel, line ? c.line : c.surface) << c.name << (line ? "" : " (surface)");
    }
  }
}

TEST(TraceLine, RefusesParametersOutsideTheirRange) {
  const PixelArray picture = withRows(10, 10, {});
  std::vector<TraceParams> bad;
  for (const int filter : {0, -1, 2, 4, 128, 129}) bad.push_back(rectangle(0, 9, 0, 9, 5, filter));
  for (const int n : {0, -3, 32767}) bad.push_back(rectangle(0, 9, 0, 9, n));
  bad.push_back(rectangle(0, NAN, 0, 9));
  bad.push_back(rectangle(0, 9, 0, INFINITY));
  for (const TraceParams& p : bad) {
    EXPECT_THROW(traceLine(picture, p), std::invalid_argument) << p.filter << " " << p.divisions;
    EXPECT_THROW(traceSurface(picture, p), std::invalid_argument);
  }
  // Every valid window height runs, on a picture far lower than the window.
  for (int filter = 1; filter <= 127; filter += 2)
    EXPECT_EQ(traceSurface(picture, rectangle(0, 9, 0, 10, 3, filter)).points.size(), 4u);
  EXPECT_EQ(traceLine(picture, rectangle(0, 9, 0, 10, 32766, 127)).points.size(), 32767u);
}

TEST(TraceLine, SmoothedIntensityRoundsToNearest) {
  for (int filter = 1; filter <= 127; filter += 2) {
    const float inverse = 1.0f / static_cast<float>(filter);
    for (int sum = 0; sum <= 255 * filter; ++sum)
      ASSERT_EQ(smoothedIntensity(sum, inverse), std::nearbyint(static_cast<double>(sum) / filter))
          << sum << " / " << filter;
  }
}

// Yield points: every even column of the scan, every hundredth of the points
// pass; false stops the run there.
TEST(TraceYields, StopsWhereTheCallbackSays) {
  struct Case {
    int n;
    TracePass stopPass;
    int stopColumn;  // -1: never stop
    TraceEnd end;
    std::size_t points;
  };
  const std::vector<Case> cases = {
      {5, TracePass::Scan, -1, TraceEnd::Completed, 6},
      {5, TracePass::Scan, 0, TraceEnd::CancelledInScan, 0},
      {2500, TracePass::Scan, 2500, TraceEnd::CancelledInScan, 0},
      {5, TracePass::Points, 0, TraceEnd::CancelledInPoints, 0},
      {250, TracePass::Points, 200, TraceEnd::CancelledInPoints, 200},
  };
  PixelArray picture(60, 40, kWhite);
  for (int x = 0; x < 60; ++x) picture.set(x, 5 + x / 3, 0);
  for (const auto& trace : {traceLine, traceSurface}) {
    for (const Case& c : cases) {
      const TraceParams p = rectangle(0, 60, 0, 40, c.n);
      const TraceResult full = trace(picture, p, {});
      std::vector<std::pair<TracePass, int>> seen;
      const TraceResult result = trace(picture, p, [&](const TraceYield& y) {
        seen.emplace_back(y.pass, y.column);
        if (y.pass == TracePass::Scan && y.column > 0) {
          const DataPoint& last = full.points[static_cast<std::size_t>(y.column - 1)];
          EXPECT_EQ(y.marker->x, last.XPixel);
          EXPECT_EQ(y.marker->y, 39 - last.YPixel);
        }
        EXPECT_EQ(y.marker.has_value(), y.pass == TracePass::Scan && y.column > 0);
        EXPECT_EQ(y.points.size(), y.pass == TracePass::Points ? y.column : 0);
        return !(y.pass == c.stopPass && y.column == c.stopColumn);
      });
      std::vector<std::pair<TracePass, int>> expected;
      for (int i = 0; i <= c.n; i += 2) {
        expected.emplace_back(TracePass::Scan, i);
        if (c.stopPass == TracePass::Scan && i == c.stopColumn) break;
      }
      if (c.end != TraceEnd::CancelledInScan)
        for (int i = 0; i <= c.n; i += 100) {
          expected.emplace_back(TracePass::Points, i);
          if (c.stopPass == TracePass::Points && i == c.stopColumn) break;
        }
      EXPECT_EQ(seen, expected) << c.n << " " << c.stopColumn;
      EXPECT_EQ(result.end, c.end);
      ASSERT_EQ(result.points.size(), c.points);
      for (std::size_t i = 0; i < c.points; ++i)
        EXPECT_EQ(result.points[i].YPixel, full.points[i].YPixel);
    }
  }
}

}  // namespace
}  // namespace plotvane
