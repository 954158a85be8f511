#include "picture/overlays.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "digitize/graph_type.h"
#include "picture/drawing.h"
#include "picture/picture_form.h"
#include "picture/view.h"

namespace plotvane {
namespace {

using testing::PictureForm;

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kCyan = 0x00FFFF;

// A white picture loaded at zoom 1 (it fits the window), so the view shows
// it pixel for pixel.
class Overlays : public ::testing::Test {
 protected:
  void load(int width, int height) {
    ASSERT_TRUE(f.load("white.bmp", PixelArray(width, height, kWhite)));
    ASSERT_EQ(f.app.zoom, 1);
    ASSERT_EQ(f.state.Picture1Image, PixelArray(width, height, kWhite));
  }
  // Points given by their display position at zoom 1 without scrolling.
  void listAt(const std::vector<std::pair<int, int>>& display) {
    const int height = f.state.Picture2.height();
    f.app.dataPoints.assign(1, DataPoint{});
    for (const auto& [x, y] : display)
      f.app.dataPoints.push_back({0, 0, static_cast<float>(x), static_cast<float>(height - 1 - y)});
    f.app.pointCount = static_cast<std::int16_t>(display.size());
  }
  std::vector<std::string> rows() const {
    const PixelArray& image = f.state.Picture1Image;
    std::vector<std::string> text;
    for (int y = 0; y < image.height(); ++y) {
      std::string row;
      for (int x = 0; x < image.width(); ++x) {
        const std::uint32_t pixel = image.at(x, y);
        row += pixel == kWhite ? '.' : pixel == kRed ? 'r' : pixel == kCyan ? 'c' : '?';
      }
      text.push_back(row);
    }
    return text;
  }

  PictureForm f;
};

struct Ends {
  float x1, y1, x2, y2;
  bool operator==(const Ends&) const = default;
};
Ends ends(const LineControl& line) {
  return {line.x1, line.y1, line.x2, line.y2};
}

TEST_F(Overlays, ReferenceLinesFollowTheRectangleAndReachTheBorders) {
  load(300, 250);
  menuClick(f.form, MenuId::mnuZoomIn);
  ASSERT_EQ(f.app.zoom, 2);
  ASSERT_EQ(f.ui.Picture1.geometry.width, 600 * kTwipsPerPixel);
  ASSERT_EQ(f.ui.Picture1.geometry.height, 500 * kTwipsPerPixel);
  f.app.lineXS = 10;
  f.app.lineYT = 20;
  f.app.lineXE = 110;
  f.app.lineYB = 220;
  PlaceReferenceLines(f.form);
  EXPECT_EQ(displayEdges(f.form), (DisplayEdges{20, 40, 219, 439}));
  const Form1Controls& ui = f.ui;
  const std::pair<const LineControl*, Ends> expected[] = {
      {&ui.Line1, {20, 40, 20, 439}},   {&ui.Line2, {219, 40, 219, 439}},
      {&ui.Line3, {20, 40, 219, 40}},   {&ui.Line4, {20, 439, 219, 439}},
      {&ui.LineT1, {20, 0, 20, 40}},    {&ui.LineT2, {219, 0, 219, 40}},
      {&ui.LineB1, {20, 439, 20, 500}}, {&ui.LineB2, {219, 439, 219, 500}},
      {&ui.LineL1, {0, 40, 20, 40}},    {&ui.LineL2, {0, 439, 20, 439}},
      {&ui.LineR1, {219, 40, 600, 40}}, {&ui.LineR2, {219, 439, 600, 439}},
  };
  for (const auto& [line, want] : expected) EXPECT_EQ(ends(*line), want) << line->name;
}

TEST_F(Overlays, EdgesRoundHalfToEvenAfterScrolling) {
  load(40, 30);
  struct Case {
    float zoom;
    int h, v;
    float xs, yt, xe, yb;
    DisplayEdges expected;
  };
  const Case cases[] = {
      {1, 0, 0, 2.5f, 3.5f, 10.5f, 11.5f, {2, 4, 10, 10}},
      {0.5f, 0, 0, 5, 7, 9, 13, {2, 4, 4, 6}},  // 2.5, 3.5, 3.5, 5.5
      {4, 10, 6, 3, 2, 5, 4, {2, 2, 9, 9}},
      {1, 20, 0, 8, 0, 30, 10, {-12, 0, 9, 9}},
  };
  for (const Case& c : cases) {
    f.app.zoom = c.zoom;
    f.ui.HScroll1.value = c.h;
    f.ui.VScroll1.value = c.v;
    f.app.lineXS = c.xs;
    f.app.lineYT = c.yt;
    f.app.lineXE = c.xe;
    f.app.lineYB = c.yb;
    EXPECT_EQ(displayEdges(f.form), c.expected) << c.zoom << " " << c.xs;
  }
}

TEST_F(Overlays, LabelsBesideTheirLinesAndApartInTheTopLeftCorner) {
  load(200, 150);
  struct Case {
    float xs, yt;
    int h;
    int lxsLeft, lytTop;
  };
  const Case cases[] = {
      {3, 5, 0, 7, 11},  // the corner: the Y label moves below the X label
      {0, 0, 0, 7, 11},        {6.5f, 10.5f, 0, 7, 11},  // 6 and 10 after rounding
      {7, 5, 0, 8, 6},         {3, 12, 0, 4, 13},
      {6.5f, 11.5f, 0, 7, 13}, {3, 5, 4, 0, 6},  // scrolled: xs = -1 is outside the corner
  };
  for (const Case& c : cases) {
    f.ui.HScroll1.value = c.h;
    f.app.lineXS = c.xs;
    f.app.lineYT = c.yt;
    f.app.lineXE = 100;
    f.app.lineYB = 80;
    PlaceReferenceLabels(f.form);
    const std::string at = std::to_string(c.xs) + "," + std::to_string(c.yt);
    EXPECT_EQ(f.ui.txtLXS.geometry.left, c.lxsLeft * kTwipsPerPixel) << at;
    EXPECT_EQ(f.ui.txtLYT.geometry.top, c.lytTop * kTwipsPerPixel) << at;
    EXPECT_EQ(f.ui.txtLXE.geometry.left, (100 - c.h) * kTwipsPerPixel) << at;  // xe + 1
    EXPECT_EQ(f.ui.txtLYB.geometry.top, (79 - 12) * kTwipsPerPixel) << at;
    // X labels along the top border, Y labels along the left border.
    EXPECT_EQ(f.ui.txtLXS.geometry.top, 0);
    EXPECT_EQ(f.ui.txtLXE.geometry.top, 0);
    EXPECT_EQ(f.ui.txtLYT.geometry.left, 0);
    EXPECT_EQ(f.ui.txtLYB.geometry.left, 0);
  }
}

TEST(DisplayPosition, RowsCountFromTheBottomAndTheViewStartsOnAWholePixel) {
  struct Case {
    ViewPlacement view;
    DataPoint point;
    DisplayPoint expected;
  };
  const Case cases[] = {
      {{2, 0, 10, 100}, {0, 0, 0, 0}, {0, (99 - 5) * 2}},
      {{2, 0, 11, 100}, {0, 0, 0, 0}, {0, (99 - 5) * 2}},  // floor(11 / 2)
      {{0.5f, 3, 0, 100}, {0, 0, 12.5f, 3}, {3, 48}},      // 3.25 -> 3
      {{1, 0, 0, 100}, {0, 0, 2.5f, 0.5f}, {2, 98}},       // halves to even
      {{1, 0, 0, 100}, {0, 0, 3.5f, 1.5f}, {4, 98}},
      {{64, 0, 0, 100}, {0, 0, 1000, -1000}, {32767, 32767}},
      {{64, 30000, 0, 100}, {0, 0, -1000, 1000}, {-32768, -32768}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(displayPosition(c.view, c.point), c.expected)
        << c.view.zoom << " " << c.point.XPixel << "," << c.point.YPixel;
}

TEST_F(Overlays, CrossArmsReachTwoPixelsPastTheCentre) {
  load(9, 9);
  DrawCross(f.form, 4, 4, 0);
  DrawCross(f.form, 0, 8, 0);  // clipped at the corner
  EXPECT_EQ(rows(), (std::vector<std::string>{
                        ".........",
                        "....r....",
                        "....r....",
                        "....r....",
                        ".rrrrrr..",
                        "r...r....",
                        "r...r....",
                        "r........",
                        "rrr......",
                    }));
  // Colours arrive red in the low byte.
  DrawCross(f.form, 4, 4, 0x123456);
  EXPECT_EQ(f.state.Picture1Image.at(6, 4), 0x563412u);
  EXPECT_EQ(f.state.Picture1Image.at(7, 4), kWhite);
}

TEST_F(Overlays, PointMarksAreCyanCrossesOnListedPointsInsideTheView) {
  load(12, 8);
  listAt({{3, 3}, {11, 7}, {12, 3}, {-1, 2}, {8, 8}, {5, 0}});
  f.app.pointCount = 5;  // the last element is stale
  const std::uint64_t version = f.state.picture1Version;
  DrawPointMarks(f.form, 0);
  EXPECT_GT(f.state.picture1Version, version);
  EXPECT_EQ(rows(), (std::vector<std::string>{
                        "...c........",
                        "...c........",
                        "...c........",
                        "cccccc......",
                        "...c.......c",
                        "...c.......c",
                        "...........c",
                        "........cccc",
                    }));
}

TEST_F(Overlays, PolylineSegmentsCrossingTheViewAreDrawnAndClipped) {
  load(8, 6);
  // Both ends of the first segment lie outside; the second lies wholly to
  // the right; the third runs from beyond the right border to beyond the left.
  listAt({{-4, -1}, {9, 5}, {12, 0}, {-3, 0}});
  DrawTracePolyline(f.form);
  EXPECT_EQ(rows(), (std::vector<std::string>{
                        "rrrrrrrr",
                        "rr......",
                        "..rr....",
                        "....rr..",
                        "......rr",
                        "........",
                    }));
  EXPECT_EQ(f.state.polylinePrevX, -3);
  EXPECT_EQ(f.state.polylinePrevY, 0);
}

TEST_F(Overlays, ASinglePointDrawsNoSegmentButStartsThePolyline) {
  load(8, 6);
  f.state.polylinePrevX = 0;
  f.state.polylinePrevY = 0;
  listAt({{5, 4}});
  DrawTracePolyline(f.form);
  EXPECT_EQ(f.state.Picture1Image, PixelArray(8, 6, kWhite));
  EXPECT_EQ(f.state.polylinePrevX, 5);
  EXPECT_EQ(f.state.polylinePrevY, 4);
  // A segment continues from there; flag 0 only moves the start.
  DrawPolylineSegment(f.form, 1, 0, 0);
  EXPECT_EQ(f.state.Picture1Image, PixelArray(8, 6, kWhite));
  DrawPolylineSegment(f.form, 1, 3, 1);
  EXPECT_EQ(rows(), (std::vector<std::string>{
                        ".r......",
                        ".r......",
                        ".r......",
                        "........",
                        "........",
                        "........",
                    }));
}

TEST_F(Overlays, TheRedrawDrawsTheMarksAgainWhereTheViewNowShowsThem) {
  ASSERT_TRUE(f.load("tall.bmp", PixelArray(40, 3000, kWhite)));
  ASSERT_LT(f.app.zoom, 1);
  while (f.app.zoom < 1) menuClick(f.form, MenuId::mnuZoomIn);
  ASSERT_TRUE(f.ui.VScroll1.visible);
  f.ui.cmbGraphType.selected = kTraceLine;
  f.app.dataPoints = {{}, {0, 0, 10, 2990}, {0, 0, 30, 2970}};  // rows 9 and 29
  f.app.pointCount = 2;
  Pict1PictSet(f.form);
  const PixelArray& view = f.state.Picture1Image;
  EXPECT_EQ(view.at(10, 9), kCyan);
  EXPECT_EQ(view.at(20, 19), kRed);  // on the polyline between the two
  f.ui.VScroll1.value = 5;
  scrollBarChange(f.form);
  EXPECT_EQ(view.at(10, 9), kWhite);
  EXPECT_EQ(view.at(10, 4), kCyan);
  EXPECT_EQ(view.at(20, 14), kRed);
  // Other graph types show the crosses alone.
  f.ui.cmbGraphType.selected = kPlotAllPoints;
  Pict1PictSet(f.form);
  EXPECT_EQ(view.at(10, 4), kCyan);
  EXPECT_EQ(view.at(20, 14), kWhite);
}

}  // namespace
}  // namespace plotvane
