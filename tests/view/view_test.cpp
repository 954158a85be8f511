#include "view/view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "digitize/graph_type.h"
#include "digitize/picture_input.h"
#include "picture/pixel_transfer.h"
#include "support/picture_form.h"
#include "view/overlays.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::codedPixel;
using testing::PictureForm;

constexpr std::uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kCyan = 0x00FFFF;

const std::string& magnification(const PictureForm& f) {
  return f.ui.StatusBar1.panels.at(static_cast<std::size_t>(StatusPanel::Magnification));
}

// 2000 x 1500 at 32 needs a scroll range of 64 000 - 800; 1024 x 8 at 32 has a range inside 16 bits
// but would be 32 768 display pixels wide (no vertical bar for 8 rows: 818 wide here).
TEST(View, ZoomInIsRefusedBeyondSixteenBitsAndLaidOutAgain) {
  // clang-format off
  const struct { int width, height, innerWidth, hMaximum; } cases[] = {
      {.width = 2000, .height = 1500, .innerWidth = 800, .hMaximum = 32000 - 800},
      {.width = 1024, .height = 8, .innerWidth = 818, .hMaximum = 16384 - 816}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    PictureForm f(17115, 10485);  // an 800 x 600 viewport inside its border with both bars
    ASSERT_TRUE(f.load("big.bmp", codedPicture(c.width, c.height)));
    for (int i = 0; i < 9; ++i) menuClick(f.form, MenuId::mnuZoomIn);  // to 16, then refused
    EXPECT_EQ(f.app.zoom, 16);
    EXPECT_EQ(magnification(f), "Magnification : 32");  // the refused text stays
    EXPECT_EQ(f.ui.HScroll1.maximum, c.hMaximum);
    EXPECT_EQ(f.state.Picture1Image.at(c.innerWidth - 1, 7),
              codedPixel((c.innerWidth - 1) / 16, 0));
  }
}

// Snapping at zoom 4, then Page Down to the 1/64 floor and Page Up to the 64 ceiling.
TEST(View, ScrollPositionsSnapAndZoomStopsAtItsLimits) {
  PictureForm f;
  ASSERT_TRUE(f.load("grid.bmp", codedPicture(300, 300)));
  for (int i = 0; i < 2; ++i) menuClick(f.form, MenuId::mnuZoomIn);  // 4
  const std::pair<int, int> snaps[] = {{11, 8}, {12, 12}, {3, 0}};   // dragged, snapped
  for (const auto& [dragged, snapped] : snaps) {
    SCOPED_TRACE(::testing::Message() << "dragged to " << dragged);
    f.ui.HScroll1.value = f.ui.VScroll1.value = dragged;
    scrollBarChange(f.form);
    EXPECT_EQ(std::pair(f.ui.HScroll1.value, f.ui.VScroll1.value), std::pair(snapped, snapped));
    EXPECT_EQ(f.state.Picture1Image.at(7, 3), codedPixel(snapped / 4 + 1, snapped / 4));
  }
  for (int step = 0; step < 20; ++step) picture1KeyDown(f.form, kKeyPageDown);
  EXPECT_EQ(magnification(f), "Magnification : 1/64");
  EXPECT_EQ(f.state.Picture1Image.at(2, 2), codedPixel(128, 128));
  ASSERT_TRUE(f.load("tiny.bmp", codedPicture(10, 10)));
  for (int step = 0; step < 8; ++step) picture1KeyDown(f.form, kKeyPageUp);
  EXPECT_EQ(f.app.zoom, 64.0f);
  EXPECT_EQ(f.state.Picture1Image.width(), 640);
  EXPECT_EQ(magnificationText(f.form, 0.25f), "Magnification : 1/4");
}

// Reduced views, reused or not, are exactly the scaled copy; pict1Reload shows a changed picture.
TEST(View, ReducedViewsShowExactlyTheScaledCopyAndReloadShowsChanges) {
  PictureForm f;
  const PixelArray picture = codedPicture(4001, 3003);
  ASSERT_TRUE(f.load("big.bmp", picture));
  while (f.app.zoom > 1.0f / 64) {
    menuClick(f.form, MenuId::mnuZoomOut);
    f.ui.HScroll1.value = std::min(1000, f.ui.HScroll1.maximum);
    f.ui.VScroll1.value = std::min(7, f.ui.VScroll1.maximum);
    scrollBarChange(f.form);
    PixelArray expected(f.state.Picture1Image.width(), f.state.Picture1Image.height());
    BlitZoomed(picture, expected, f.app.zoom, f.ui.HScroll1.value / f.app.zoom,
               f.ui.VScroll1.value / f.app.zoom, f.platform.buttonFaceColour());
    EXPECT_EQ(f.state.Picture1Image, expected) << "zoom " << f.app.zoom;
  }
  const int x = 64 * f.ui.HScroll1.value, y = 64 * f.ui.VScroll1.value;
  f.state.Picture2.editRegion(x, y, x + 1, y + 1, [&](PixelArray& p) { p.set(x, y, 0xABCDEF); });
  pict1Reload(f.form);
  EXPECT_EQ(f.state.Picture1Image.at(0, 0), 0xABCDEFu);
}

// Scroll maxima are never below 0; values are clamped after every layout and reset by a load. The
// bars as (h maximum, v maximum, h value, v value).
TEST(View, ThePaneFollowsTheWindowAndScrollValuesStayInRange) {
  PictureForm f;
  ScrollBarControl &h = f.ui.HScroll1, &v = f.ui.VScroll1;
  const auto bars = [&] { return std::tuple(h.maximum, v.maximum, h.value, v.value); };
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(1000, 600)));
  ASSERT_EQ(f.app.zoom, 0.5f);             // 500 x 300 display pixels
  formResize(f.form, 700 * 15, 500 * 15);  // too wide, high enough
  EXPECT_EQ(std::pair(h.visible, v.visible), std::pair(true, false));
  const int innerW = viewportInnerWidth(f.form);
  EXPECT_EQ(innerW, (700 * 15 - 4740 - 45) / 15 - 4);
  EXPECT_EQ(f.state.Picture1Image.width(), innerW);
  menuClick(f.form, MenuId::mnuZoomIn);  // both bars, scrolled to their ends
  h.value = h.maximum, v.value = v.maximum;
  scrollBarChange(f.form);
  menuClick(f.form, MenuId::mnuZoomOut);
  EXPECT_EQ(bars(), std::tuple(500 - innerW, 0, 500 - innerW, 0));
  menuClick(f.form, MenuId::mnuZoomOut);  // 250 x 150 fits
  EXPECT_EQ(bars(), std::tuple(0, 0, 0, 0));
  ASSERT_TRUE(f.load("wide.bmp", codedPicture(32000, 4)));  // 500 wide at the 1/64 floor
  h.value = 30;
  ASSERT_TRUE(f.load("wide.bmp", codedPicture(32000, 4)));
  EXPECT_EQ(h.value, 0);
  EXPECT_GT(h.maximum, 30);
}

// Up once, Down twice, Left once, Right three times: a swapped direction or axis, or a step other
// than one pixel, ends elsewhere. The position follows even where the pointer cannot move.
TEST(View, ArrowKeysMoveThePointerByOnePixelAndEnterEndsADrag) {
  for (bool movable : {true, false}) {
    SCOPED_TRACE(movable ? "pointer movable" : "pointer fixed");
    PictureForm f;
    f.platform.setPointerMovable(movable);
    f.state.lastMouseX = 10, f.state.lastMouseY = 20;
    const int x = f.platform.pointerX(), y = f.platform.pointerY();
    for (int key : {kKeyUp, kKeyDown, kKeyDown, kKeyLeft, kKeyRight, kKeyRight, kKeyRight})
      picture1KeyDown(f.form, key);
    EXPECT_EQ(std::tuple(f.state.lastMouseX, f.state.lastMouseY, f.platform.pointerX(),
                         f.platform.pointerY()),
              std::tuple(12.0f, 21.0f, x + 2 * movable, y + movable));
    f.state.dragTarget = 1;  // a drag under way
    picture1KeyDown(f.form, kKeyEnter);
    EXPECT_EQ(f.state.dragTarget, 0);
    // Nothing is drawn or zoomed before the first picture.
    menuClick(f.form, MenuId::mnuZoomIn);
    scrollBarChange(f.form);
    EXPECT_EQ(pict1Reload(f.form), 1);
    EXPECT_EQ(f.app.zoom, 0);
    EXPECT_TRUE(f.state.Picture1Image.empty());
    EXPECT_TRUE(f.platform.messages().empty());
  }
}

// In a 100-row picture: floor(11 / 2) = 5 rows scrolled, 12.5 at 0.5 less 3 columns is 3.25 -> 3,
// halves to even, and positions beyond 16 bits saturate.
TEST(DisplayPosition, RowsCountFromTheBottomAndTheViewStartsOnAWholePixel) {
  const std::int16_t lo = -32768, hi = 32767;
  // clang-format off
  const struct { ViewPlacement view; float xPixel, yPixel; std::int16_t x, y; } cases[] = {
      {{2, 0, 11, 100}, 0, 0, 0, 188},       {{0.5f, 3, 0, 100}, 12.5f, 3, 3, 48},
      {{1, 0, 0, 100}, 2.5f, 0.5f, 2, 98},   {{1, 0, 0, 100}, 3.5f, 1.5f, 4, 98},
      {{64, 0, 0, 100}, 1000, -1000, hi, hi}, {{64, 30000, 0, 100}, -1000, 1000, lo, lo}};
  // clang-format on
  for (const auto& c : cases) {
    const DisplayPoint at = displayPosition(c.view, {0, 0, c.xPixel, c.yPixel});
    EXPECT_EQ(std::pair(at.x, at.y), std::pair(c.x, c.y))
        << c.xPixel << ", " << c.yPixel << " at zoom " << c.view.zoom;
  }
}

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

  PictureForm f;
};

TEST_F(Overlays, ReferenceLinesFollowTheRoundedRectangleAndReachTheBorders) {
  ASSERT_TRUE(f.load("white.bmp", PixelArray(300, 250, kWhite)));
  menuClick(f.form, MenuId::mnuZoomIn);  // 600 x 500 display pixels
  f.state.Picture2.setRect({.lineXS = 10, .lineXE = 110, .lineYT = 20, .lineYB = 220});
  PlaceReferenceLines(f.form);
  // x1 y1 x2 y2 in the order of kOverlayLines: T1 T2 B1 B2 L1 L2 R1 R2, then Line1 to Line4.
  // clang-format off
  const std::array<float, 4> expected[] = {
      {20, 0, 20, 40}, {219, 0, 219, 40}, {20, 439, 20, 500}, {219, 439, 219, 500},
      {0, 40, 20, 40}, {0, 439, 20, 439}, {219, 40, 600, 40}, {219, 439, 600, 439},
      {20, 40, 20, 439}, {219, 40, 219, 439}, {20, 40, 219, 40}, {20, 439, 219, 439}};
  // clang-format on
  for (int i = 0; i < 12; ++i) {
    const LineControl& line = f.ui.*kOverlayLines[i].line;
    EXPECT_EQ((std::array{line.x1, line.y1, line.x2, line.y2}), expected[i]) << line.name;
  }
  f.app.zoom = 4, f.ui.HScroll1.value = 10, f.ui.VScroll1.value = 6;  // scrolled: the -1 edges
  f.state.Picture2.setRect({.lineXS = 3, .lineXE = 5, .lineYT = 2, .lineYB = 4});
  const DisplayEdges edges = displayEdges(f.form);
  EXPECT_EQ((std::array{edges.xs, edges.yt, edges.xe, edges.yb}),
            (std::array<std::int16_t, 4>{2, 2, 9, 9}));
}

// In the top-left corner the Y label moves below the X label (6.5 rounds to 6, 10.5 to 10, 11.5 to
// 12); scrolled by 4, xs = -1 lies outside the corner. Expected: txtLXS's left, txtLYT's top.
TEST_F(Overlays, LabelsBesideTheirLinesAndApartInTheTopLeftCorner) {
  ASSERT_TRUE(f.load("white.bmp", PixelArray(200, 150, kWhite)));
  // clang-format off
  const struct { float xs, yt; int hScroll = 0, lxsLeft, lytTop; } cases[] = {
      {.xs = 6.5f, .yt = 10.5f, .lxsLeft = 7, .lytTop = 11}, {.xs = 7, .yt = 5, .lxsLeft = 8, .lytTop = 6},
      {.xs = 6.5f, .yt = 11.5f, .lxsLeft = 7, .lytTop = 13},
      {.xs = 3, .yt = 5, .hScroll = 4, .lxsLeft = 0, .lytTop = 6}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.xs << "," << c.yt << " scrolled by " << c.hScroll);
    f.ui.HScroll1.value = c.hScroll;
    f.state.Picture2.setRect({.lineXS = c.xs, .lineXE = 100, .lineYT = c.yt, .lineYB = 80});
    PlaceReferenceLabels(f.form);
    const auto at = [](const Control& field) {
      return std::pair(field.geometry.left / 15, field.geometry.top / 15);
    };
    EXPECT_EQ(at(f.ui.txtLXS), std::pair(c.lxsLeft, 0));
    EXPECT_EQ(at(f.ui.txtLXE), std::pair(100 - c.hScroll, 0));
    EXPECT_EQ(at(f.ui.txtLYT), std::pair(0, c.lytTop));
    EXPECT_EQ(at(f.ui.txtLYB), std::pair(0, 79 - 12));
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
  // Both ends of the first segment lie outside; the second lies wholly to the right; the third runs
  // from beyond the right border to beyond the left. A new polyline starts afresh.
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
