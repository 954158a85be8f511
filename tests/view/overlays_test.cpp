#include "view/overlays.h"

#include <gtest/gtest.h>

#include <array>
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
  std::pair<int, int> pen() const { return {f.state.polylinePrevX, f.state.polylinePrevY}; }
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
  const std::array<float, 4> expected[] = {
      {20, 0, 20, 40},   {219, 0, 219, 40},   {20, 439, 20, 500}, {219, 439, 219, 500},
      {0, 40, 20, 40},   {0, 439, 20, 439},   {219, 40, 600, 40}, {219, 439, 600, 439},
      {20, 40, 20, 439}, {219, 40, 219, 439}, {20, 40, 219, 40},  {20, 439, 219, 439}};
  for (int i = 0; i < 12; ++i) {
    const LineControl& line = f.ui.*kOverlayLines[i].line;
    EXPECT_EQ((std::array{line.x1, line.y1, line.x2, line.y2}), expected[i]) << line.name;
  }
  f.app.zoom = 4, f.ui.HScroll1.value = 10, f.ui.VScroll1.value = 6;  // scrolled: the -1 edges
  f.state.Picture2.setRect({.lineXS = 3, .lineXE = 5, .lineYT = 2, .lineYB = 4});
  EXPECT_EQ(displayEdges(f.form), (DisplayEdges{2, 2, 9, 9}));
}

// In the top-left corner the Y label moves below the X label (6.5 rounds to 6, 10.5 to 10, 11.5
// to 12); scrolled by 4, xs = -1 lies outside the corner.
TEST_F(Overlays, LabelsBesideTheirLinesAndApartInTheTopLeftCorner) {
  ASSERT_TRUE(f.load("white.bmp", PixelArray(200, 150, kWhite)));
  const std::array<float, 5> cases[] = {{3, 5, 0, 7, 11},        {6.5f, 10.5f, 0, 7, 11},
                                        {7, 5, 0, 8, 6},         {3, 12, 0, 4, 13},
                                        {6.5f, 11.5f, 0, 7, 13}, {3, 5, 4, 0, 6}};
  auto at = [](const Control& c) { return std::pair(c.geometry.left / 15, c.geometry.top / 15); };
  for (const auto& [xs, yt, h, lxsLeft, lytTop] : cases) {
    f.ui.HScroll1.value = static_cast<int>(h);
    f.state.Picture2.setRect({.lineXS = xs, .lineXE = 100, .lineYT = yt, .lineYB = 80});
    PlaceReferenceLabels(f.form);
    EXPECT_EQ((std::array{at(f.ui.txtLXS), at(f.ui.txtLXE), at(f.ui.txtLYT), at(f.ui.txtLYB)}),
              (std::array{std::pair(int(lxsLeft), 0), std::pair(100 - int(h), 0),
                          std::pair(0, int(lytTop)), std::pair(0, 79 - 12)}))
        << xs << "," << yt;
  }
}

// In a 100-row picture: floor(11 / 2) = 5 rows scrolled, 12.5 at 0.5 less 3 columns is 3.25 -> 3,
// halves to even, and positions beyond 16 bits saturate.
TEST(DisplayPosition, RowsCountFromTheBottomAndTheViewStartsOnAWholePixel) {
  const int lo = -32768, hi = 32767;
  const std::tuple<ViewPlacement, float, float, DisplayPoint> cases[] = {
      {{2, 0, 11, 100}, 0, 0, {0, 188}},        {{0.5f, 3, 0, 100}, 12.5f, 3, {3, 48}},
      {{1, 0, 0, 100}, 2.5f, 0.5f, {2, 98}},    {{1, 0, 0, 100}, 3.5f, 1.5f, {4, 98}},
      {{64, 0, 0, 100}, 1000, -1000, {hi, hi}}, {{64, 30000, 0, 100}, -1000, 1000, {lo, lo}}};
  for (const auto& [view, x, y, want] : cases)
    EXPECT_EQ(displayPosition(view, {0, 0, x, y}), want) << view.zoom << " " << x;
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
  EXPECT_EQ(pen(), std::pair(5, 4));
  // Both ends of the first segment lie outside; the second lies wholly to the right; the third
  // runs from beyond the right border to beyond the left. A new polyline starts afresh.
  listAt({{-4, -1}, {9, 5}, {12, 0}, {-3, 0}});
  DrawTracePolyline(f.form);
  EXPECT_EQ(pen(), std::pair(-3, 0));
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
  EXPECT_EQ((std::array{view.at(10, 9), view.at(10, 4), view.at(20, 14)}),
            (std::array{kWhite, kCyan, kRed}));
  f.ui.cmbGraphType.selected = kPlotAllPoints;
  Pict1PictSet(f.form);
  EXPECT_EQ((std::array{view.at(10, 4), view.at(20, 14)}), (std::array{kCyan, kWhite}));
}

}  // namespace
}  // namespace plotvane
