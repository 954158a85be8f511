#include "picture/overlays.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "digitize/graph_type.h"
#include "picture/picture_form.h"
#include "picture/view.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kCyan = 0x00FFFF;

// A white picture loaded at zoom 1 (it fits the window): the view shows it pixel for pixel.
class Overlays : public ::testing::Test {
 protected:
  void load(int width, int height) {
    ASSERT_TRUE(f.load("white.bmp", PixelArray(width, height, kWhite)));
    ASSERT_EQ(f.app.zoom, 1);
  }
  void rect(float xs, float yt, float xe, float yb) {
    f.app.lineXS = xs, f.app.lineYT = yt, f.app.lineXE = xe, f.app.lineYB = yb;
  }
  // Points given by their display position at zoom 1 without scrolling.
  void listAt(const std::vector<std::pair<int, int>>& display) {
    f.app.dataPoints.assign(1, DataPoint{});
    for (const auto& [x, y] : display)
      f.app.dataPoints.push_back(
          {0, 0, static_cast<float>(x), static_cast<float>(f.state.Picture2.height() - 1 - y)});
    f.app.pointCount = static_cast<std::int16_t>(display.size());
  }
  std::pair<int, int> pen() const { return {f.state.polylinePrevX, f.state.polylinePrevY}; }
  // '.' white, 'r' red, 'c' cyan, each row ended by '/'.
  std::string rows() const {
    const PixelArray& image = f.state.Picture1Image;
    std::string text;
    for (std::size_t i = 0; i < image.size(); ++i) {
      const std::uint32_t pixel = image.data()[i];
      text += pixel == kWhite ? '.' : pixel == kRed ? 'r' : pixel == kCyan ? 'c' : '?';
      if ((i + 1) % image.width() == 0) text += '/';
    }
    return text;
  }

  testing::PictureForm f;
};

TEST_F(Overlays, ReferenceLinesFollowTheRoundedRectangleAndReachTheBorders) {
  load(300, 250);
  menuClick(f.form, MenuId::mnuZoomIn);  // 600 x 500 display pixels
  rect(10, 20, 110, 220);
  PlaceReferenceLines(f.form);
  EXPECT_EQ(displayEdges(f.form), (DisplayEdges{20, 40, 219, 439}));
  const Form1Controls& ui = f.ui;
  const std::pair<const LineControl*, std::array<float, 4>> expected[] = {
      {&ui.Line1, {20, 40, 20, 439}},   {&ui.Line2, {219, 40, 219, 439}},
      {&ui.Line3, {20, 40, 219, 40}},   {&ui.Line4, {20, 439, 219, 439}},
      {&ui.LineT1, {20, 0, 20, 40}},    {&ui.LineT2, {219, 0, 219, 40}},
      {&ui.LineB1, {20, 439, 20, 500}}, {&ui.LineB2, {219, 439, 219, 500}},
      {&ui.LineL1, {0, 40, 20, 40}},    {&ui.LineL2, {0, 439, 20, 439}},
      {&ui.LineR1, {219, 40, 600, 40}}, {&ui.LineR2, {219, 439, 600, 439}}};
  for (const auto& [line, want] : expected)
    EXPECT_EQ((std::array{line->x1, line->y1, line->x2, line->y2}), want) << line->name;
  // Edges round half to even after zooming and scrolling (2.5, 3.5, 3.5, 5.5 at 0.5).
  struct Case {
    float zoom;
    int h, v;
    float xs, yt, xe, yb;
    DisplayEdges expected;
  };
  const Case cases[] = {{1, 0, 0, 2.5f, 3.5f, 10.5f, 11.5f, {2, 4, 10, 10}},
                        {0.5f, 0, 0, 5, 7, 9, 13, {2, 4, 4, 6}},
                        {4, 10, 6, 3, 2, 5, 4, {2, 2, 9, 9}},
                        {1, 20, 0, 8, 0, 30, 10, {-12, 0, 9, 9}}};
  for (const Case& c : cases) {
    f.app.zoom = c.zoom;
    f.ui.HScroll1.value = c.h;
    f.ui.VScroll1.value = c.v;
    rect(c.xs, c.yt, c.xe, c.yb);
    EXPECT_EQ(displayEdges(f.form), c.expected) << c.zoom << " " << c.xs;
  }
}

TEST_F(Overlays, LabelsBesideTheirLinesAndApartInTheTopLeftCorner) {
  load(200, 150);
  struct Case {
    float xs, yt;
    int h, lxsLeft, lytTop;
  };
  // In the corner the Y label moves below the X label; 6.5 rounds to 6, 10.5 to 10, 11.5 to 12;
  // scrolled by 4, xs = -1 lies outside the corner.
  const Case cases[] = {{3, 5, 0, 7, 11}, {0, 0, 0, 7, 11},  {6.5f, 10.5f, 0, 7, 11},
                        {7, 5, 0, 8, 6},  {3, 12, 0, 4, 13}, {6.5f, 11.5f, 0, 7, 13},
                        {3, 5, 4, 0, 6}};
  auto at = [](const Control& label) {
    return std::pair(label.geometry.left / kTwipsPerPixel, label.geometry.top / kTwipsPerPixel);
  };
  for (const Case& c : cases) {
    f.ui.HScroll1.value = c.h;
    rect(c.xs, c.yt, 100, 80);
    PlaceReferenceLabels(f.form);
    // X labels along the top border right of their lines, Y labels along the left border.
    EXPECT_EQ((std::array{at(f.ui.txtLXS), at(f.ui.txtLXE), at(f.ui.txtLYT), at(f.ui.txtLYB)}),
              (std::array{std::pair(c.lxsLeft, 0), std::pair(100 - c.h, 0), std::pair(0, c.lytTop),
                          std::pair(0, 79 - 12)}))
        << c.xs << "," << c.yt;
  }
}

// In a 100-row picture: floor(11 / 2) = 5 rows scrolled, 12.5 at 0.5 less 3 columns is 3.25 -> 3,
// halves to even, and positions beyond 16 bits saturate.
TEST(DisplayPosition, RowsCountFromTheBottomAndTheViewStartsOnAWholePixel) {
  struct Case {
    float zoom;
    int h, v;
    float xPixel, yPixel;
    std::int16_t x, y;
  };
  const int lo = -32768, hi = 32767;
  const Case cases[] = {{2, 0, 10, 0, 0, 0, 188},           {2, 0, 11, 0, 0, 0, 188},
                        {0.5f, 3, 0, 12.5f, 3, 3, 48},      {1, 0, 0, 2.5f, 0.5f, 2, 98},
                        {1, 0, 0, 3.5f, 1.5f, 4, 98},       {64, 0, 0, 1000, -1000, hi, hi},
                        {64, 30000, 0, -1000, 1000, lo, lo}};
  for (const Case& c : cases)
    EXPECT_EQ(displayPosition({c.zoom, c.h, c.v, 100}, {0, 0, c.xPixel, c.yPixel}),
              (DisplayPoint{c.x, c.y}))
        << c.zoom << " " << c.xPixel;
}

TEST_F(Overlays, CyanMarksOnListedPointsInsideTheViewAndRedCrosses) {
  load(12, 8);
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
  EXPECT_EQ(f.state.Picture1Image.at(6, 3), kWhite);
}

TEST_F(Overlays, PolylineSegmentsCrossingTheViewAreDrawnAndClipped) {
  load(8, 6);
  listAt({{5, 4}});  // a single point draws nothing but starts the polyline
  DrawTracePolyline(f.form);
  EXPECT_EQ(f.state.Picture1Image, PixelArray(8, 6, kWhite));
  EXPECT_EQ(pen(), std::pair(5, 4));
  // Both ends of the first segment lie outside; the second lies wholly to the right; the third
  // runs from beyond the right border to beyond the left. A new polyline starts afresh.
  listAt({{-4, -1}, {9, 5}, {12, 0}, {-3, 0}});
  DrawTracePolyline(f.form);
  EXPECT_EQ(pen(), std::pair(-3, 0));
  DrawPolylineSegment(f.form, 3, 5, 0);  // flag 0 only moves the start
  DrawPolylineSegment(f.form, 3, 3, 1);
  EXPECT_EQ(pen(), std::pair(3, 3));
  EXPECT_EQ(rows(), "rrrrrrrr/rr....../..rr..../....rr../...r..rr/...r..../");
}

TEST_F(Overlays, TheRedrawDrawsTheMarksAgainWhereTheViewNowShowsThem) {
  ASSERT_TRUE(f.load("tall.bmp", PixelArray(40, 3000, kWhite)));
  while (f.app.zoom < 1) menuClick(f.form, MenuId::mnuZoomIn);
  ASSERT_TRUE(f.ui.VScroll1.visible);
  f.ui.cmbGraphType.selected = kTraceLine;
  f.app.dataPoints = {{}, {0, 0, 10, 2990}, {0, 0, 30, 2970}};  // rows 9 and 29, a line between
  f.app.pointCount = 2;
  Pict1PictSet(f.form);
  const PixelArray& view = f.state.Picture1Image;
  EXPECT_EQ((std::array{view.at(10, 9), view.at(20, 19)}), (std::array{kCyan, kRed}));
  f.ui.VScroll1.value = 5;
  scrollBarChange(f.form);
  EXPECT_EQ((std::array{view.at(10, 9), view.at(10, 4), view.at(20, 14)}),
            (std::array{kWhite, kCyan, kRed}));
  f.ui.cmbGraphType.selected = kPlotAllPoints;  // other graph types show the crosses alone
  Pict1PictSet(f.form);
  EXPECT_EQ((std::array{view.at(10, 4), view.at(20, 14)}), (std::array{kCyan, kWhite}));
}

}  // namespace
}  // namespace plotvane
