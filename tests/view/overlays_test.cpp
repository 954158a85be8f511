#include "view/overlays.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "digitize/graph_type.h"
#include "support/picture_form.h"
#include "view/view.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kCyan = 0x00FFFF;

// A white picture loaded at zoom 1 (it fits the window): the view shows it pixel for pixel.
struct Overlays : ::testing::Test {
  // Points given by their display position at zoom 1 without scrolling.
  void listAt(const std::vector<std::pair<int, int>>& display) {
    f.app.dataPoints.assign(1, DataPoint{});
    for (const auto& [x, y] : display)
      f.app.dataPoints.push_back({0, 0, float(x), float(f.state.Picture2.height() - 1 - y)});
    f.app.pointCount = static_cast<std::int16_t>(display.size());
  }
  // '.' white, 'r' red, 'c' cyan, each row ended by '/'.
  std::string rows() const {
    const PixelArray& image = f.state.Picture1Image;
    std::string text;
    for (int y = 0; y < image.height(); ++y, text += '/')
      for (int x = 0; x < image.width(); ++x) {
        const std::uint32_t p = image.at(x, y);
        text += p == kWhite ? '.' : p == kRed ? 'r' : p == kCyan ? 'c' : '?';
      }
    return text;
  }

  testing::PictureForm f;
};

TEST_F(Overlays, ReferenceLinesFollowTheRoundedRectangleAndReachTheBorders) {
  ASSERT_TRUE(f.load("white.bmp", PixelArray(300, 250, kWhite)));
  menuClick(f.form, MenuId::mnuZoomIn);  // 600 x 500 display pixels
  f.state.Picture2.setRect({.lineXS = 10, .lineXE = 110, .lineYT = 20, .lineYB = 220});
  PlaceReferenceLines(f.form);
  // In the order of kOverlayLines: T1 T2 B1 B2 L1 L2 R1 R2, then the edges Line1 to Line4.
  // clang-format off
  const struct { float x1, y1, x2, y2; } expected[] = {
      {.x1 = 20, .y1 = 0, .x2 = 20, .y2 = 40}, {.x1 = 219, .y1 = 0, .x2 = 219, .y2 = 40},
      {.x1 = 20, .y1 = 439, .x2 = 20, .y2 = 500}, {.x1 = 219, .y1 = 439, .x2 = 219, .y2 = 500},
      {.x1 = 0, .y1 = 40, .x2 = 20, .y2 = 40}, {.x1 = 0, .y1 = 439, .x2 = 20, .y2 = 439},
      {.x1 = 219, .y1 = 40, .x2 = 600, .y2 = 40}, {.x1 = 219, .y1 = 439, .x2 = 600, .y2 = 439},
      {.x1 = 20, .y1 = 40, .x2 = 20, .y2 = 439}, {.x1 = 219, .y1 = 40, .x2 = 219, .y2 = 439},
      {.x1 = 20, .y1 = 40, .x2 = 219, .y2 = 40}, {.x1 = 20, .y1 = 439, .x2 = 219, .y2 = 439}};
  // clang-format on
  for (int i = 0; i < 12; ++i) {
    const LineControl& line = f.ui.*kOverlayLines[i].line;
    SCOPED_TRACE(line.name);
    EXPECT_EQ(line.x1, expected[i].x1);
    EXPECT_EQ(line.y1, expected[i].y1);
    EXPECT_EQ(line.x2, expected[i].x2);
    EXPECT_EQ(line.y2, expected[i].y2);
  }
  f.app.zoom = 4, f.ui.HScroll1.value = 10, f.ui.VScroll1.value = 6;  // scrolled: the -1 edges
  f.state.Picture2.setRect({.lineXS = 3, .lineXE = 5, .lineYT = 2, .lineYB = 4});
  const DisplayEdges edges = displayEdges(f.form);
  EXPECT_EQ(edges.xs, 2);
  EXPECT_EQ(edges.yt, 2);
  EXPECT_EQ(edges.xe, 9);
  EXPECT_EQ(edges.yb, 9);
}

// In the top-left corner the Y label moves below the X label (6.5 rounds to 6, 10.5 to 10, 11.5
// to 12); scrolled by 4, xs = -1 lies outside the corner.
TEST_F(Overlays, LabelsBesideTheirLinesAndApartInTheTopLeftCorner) {
  ASSERT_TRUE(f.load("white.bmp", PixelArray(200, 150, kWhite)));
  // The left edge of txtLXS and the top of txtLYT, in display pixels.
  // clang-format off
  const struct { float xs, yt; int hScroll = 0, lxsLeft, lytTop; } cases[] = {
      {.xs = 3, .yt = 5, .lxsLeft = 7, .lytTop = 11},
      {.xs = 6.5f, .yt = 10.5f, .lxsLeft = 7, .lytTop = 11},
      {.xs = 7, .yt = 5, .lxsLeft = 8, .lytTop = 6},
      {.xs = 3, .yt = 12, .lxsLeft = 4, .lytTop = 13},
      {.xs = 6.5f, .yt = 11.5f, .lxsLeft = 7, .lytTop = 13},
      {.xs = 3, .yt = 5, .hScroll = 4, .lxsLeft = 0, .lytTop = 6}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.xs << "," << c.yt << " scrolled by " << c.hScroll);
    f.ui.HScroll1.value = c.hScroll;
    f.state.Picture2.setRect({.lineXS = c.xs, .lineXE = 100, .lineYT = c.yt, .lineYB = 80});
    PlaceReferenceLabels(f.form);
    const auto expectAt = [](const Control& field, int left, int top) {
      EXPECT_EQ(field.geometry.left / 15, left) << field.name;
      EXPECT_EQ(field.geometry.top / 15, top) << field.name;
    };
    expectAt(f.ui.txtLXS, c.lxsLeft, 0);
    expectAt(f.ui.txtLXE, 100 - c.hScroll, 0);
    expectAt(f.ui.txtLYT, 0, c.lytTop);
    expectAt(f.ui.txtLYB, 0, 79 - 12);
  }
}

// In a 100-row picture: floor(11 / 2) = 5 rows scrolled, 12.5 at 0.5 less 3 columns is 3.25 -> 3,
// halves to even, and positions beyond 16 bits saturate.
TEST(DisplayPosition, RowsCountFromTheBottomAndTheViewStartsOnAWholePixel) {
  const std::int16_t lo = -32768, hi = 32767;
  // clang-format off
  const struct { ViewPlacement view; float xPixel, yPixel; std::int16_t x, y; } cases[] = {
      {.view = {2, 0, 11, 100}, .xPixel = 0, .yPixel = 0, .x = 0, .y = 188},
      {.view = {0.5f, 3, 0, 100}, .xPixel = 12.5f, .yPixel = 3, .x = 3, .y = 48},
      {.view = {1, 0, 0, 100}, .xPixel = 2.5f, .yPixel = 0.5f, .x = 2, .y = 98},
      {.view = {1, 0, 0, 100}, .xPixel = 3.5f, .yPixel = 1.5f, .x = 4, .y = 98},
      {.view = {64, 0, 0, 100}, .xPixel = 1000, .yPixel = -1000, .x = hi, .y = hi},
      {.view = {64, 30000, 0, 100}, .xPixel = -1000, .yPixel = 1000, .x = lo, .y = lo}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.xPixel << ", " << c.yPixel << " at zoom " << c.view.zoom);
    const DisplayPoint at = displayPosition(c.view, {0, 0, c.xPixel, c.yPixel});
    EXPECT_EQ(at.x, c.x);
    EXPECT_EQ(at.y, c.y);
  }
}

TEST_F(Overlays, CyanMarksOnListedPointsInsideTheViewAndRedCrosses) {
  ASSERT_TRUE(f.load("white.bmp", PixelArray(12, 8, kWhite)));
  listAt({{3, 3}, {11, 7}, {12, 3}, {-1, 2}, {8, 8}, {5, 0}});
  f.app.pointCount = 5;  // the last element is stale
  const std::uint64_t version = f.state.picture1Version;
  DrawPointMarks(f.form, 0);
  DrawCross(f.form, 0, 7, 0);  // clipped at the corner
  EXPECT_GT(f.state.picture1Version, version);
  // Arms reach two pixels past the centre: the last point of each line is left out.
  EXPECT_EQ(rows(),
            "...c......../...c......../...c......../cccccc....../"
            "r..c.......c/r..c.......c/r..........c/rrr.....cccc/");
  DrawCross(f.form, 3, 3, 0x123456);  // platform colours arrive red in the low byte
  EXPECT_EQ(f.state.Picture1Image.at(5, 3), 0x563412u);
}

TEST_F(Overlays, PolylineSegmentsCrossingTheViewAreDrawnAndClipped) {
  ASSERT_TRUE(f.load("white.bmp", PixelArray(8, 6, kWhite)));
  listAt({{5, 4}});  // a single point draws nothing but starts the polyline
  DrawTracePolyline(f.form);
  EXPECT_EQ(f.state.polylinePrevX, 5);
  EXPECT_EQ(f.state.polylinePrevY, 4);
  // Both ends of the first segment lie outside; the second lies wholly to the right; the third
  // runs from beyond the right border to beyond the left. A new polyline starts afresh.
  listAt({{-4, -1}, {9, 5}, {12, 0}, {-3, 0}});
  DrawTracePolyline(f.form);
  EXPECT_EQ(f.state.polylinePrevX, -3);
  EXPECT_EQ(f.state.polylinePrevY, 0);
  DrawPolylineSegment(f.form, 3, 5, 0);  // flag 0 only moves the start
  DrawPolylineSegment(f.form, 3, 3, 1);
  EXPECT_EQ(rows(), "rrrrrrrr/rr....../..rr..../....rr../...r..rr/...r..../");
}

TEST_F(Overlays, TheRedrawDrawsTheMarksAgainWhereTheViewNowShowsThem) {
  ASSERT_TRUE(f.load("tall.bmp", PixelArray(40, 3000, kWhite)));
  while (f.app.zoom < 1) menuClick(f.form, MenuId::mnuZoomIn);
  f.ui.cmbGraphType.selected = kTraceLine;
  listAt({{10, 9}, {30, 29}});
  f.ui.VScroll1.value = 5;
  scrollBarChange(f.form);
  const PixelArray& view = f.state.Picture1Image;
  EXPECT_EQ(view.at(10, 9), kWhite);  // where the first point was before the scroll
  EXPECT_EQ(view.at(10, 4), kCyan);
  EXPECT_EQ(view.at(20, 14), kRed);  // on the polyline between the points
  f.ui.cmbGraphType.selected = kPlotAllPoints;
  Pict1PictSet(f.form);
  EXPECT_EQ(view.at(10, 4), kCyan);
  EXPECT_EQ(view.at(20, 14), kWhite);
}

}  // namespace
}  // namespace plotvane
