#include "digitize/picture_input.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "data/data_list.h"
#include "digitize/click_digitizing.h"
#include "digitize/graph_type.h"
#include "digitize/pointer_gestures.h"
#include "sample_charts.h"
#include "shell/form1_events.h"
#include "support/file_bytes.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

constexpr PointerEvent at(PointerButton button, float x, float y) {
  return {.button = button, .x = x, .y = y};
}
constexpr PointerButton kLeft = PointerButton::Left, kNone = PointerButton::None;

// xPixel, yPixel, X and Y.
std::array<float, 4> values(const DataPoint& p) {
  return {p.XPixel, p.YPixel, p.XData, p.YData};
}

// A 400 x 300 white picture at zoom 1, the rectangle (100, 50)-(300, 250), X 0 to 200 and Y 0 to
// 200 over it.
class PictureInput : public ::testing::Test {
 protected:
  PictureInput() {
    EXPECT_TRUE(f.load("white.bmp", PixelArray(400, 300, 0xFFFFFF)));
    EXPECT_EQ(f.app.zoom, 1);
    f.state.Picture2.setRect({.lineXS = 100, .lineXE = 300, .lineYT = 50, .lineYB = 250});
    f.ui.txtMaxLabelX.setText("200");
    f.ui.txtMaxLabelY.setText("200");
  }
  void selectType(GraphType type) {
    f.ui.cmbGraphType.selected = type;
    cmbGraphTypeClick(f.form);
  }
  void click(float x, float y) {
    picture1MouseDown(f.form, at(kLeft, x, y));
    picture1MouseUp(f.form, at(kLeft, x, y));
  }
  // A press, moves in steps of one pixel, and a release.
  void drag(float x0, float y0, float x1, float y1) {
    picture1MouseDown(f.form, at(kLeft, x0, y0));
    const int steps = static_cast<int>(std::max(std::abs(x1 - x0), std::abs(y1 - y0)));
    for (int i = 1; i <= steps; ++i)
      picture1MouseMove(f.form, at(kLeft, x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps));
    picture1MouseUp(f.form, at(kLeft, x1, y1));
  }
  const PixelRect& rect() const { return f.state.Picture2.rect(); }
  std::array<float, 4> sides() const {
    return {rect().lineXS, rect().lineXE, rect().lineYT, rect().lineYB};
  }
  int undoSteps() const { return f.app.undoRing->undoCount(); }
  testing::PictureForm f;
};

// The pointer shape announces what a press would grab, txtMD shows what it grabbed (the left edge);
// a click moves nothing, a drag moves it with one undo step.
TEST_F(PictureInput, DraggingAnEdgeMovesItWithOneUndoStep) {
  picture1MouseMove(f.form, at(kNone, 300, 250));
  EXPECT_EQ(f.ui.Picture1.pointer, PointerShape::SizeNWSE);
  picture1MouseDown(f.form, at(kLeft, 102, 150));
  EXPECT_EQ(f.ui.txtMD.text, "2");
  picture1MouseUp(f.form, at(kLeft, 102, 150));
  EXPECT_EQ(std::tuple(f.state.dragTarget, undoSteps()), std::tuple(0, 0));
  EXPECT_EQ(sides(), (std::array{100.0f, 300.0f, 50.0f, 250.0f}));
  drag(102, 150, 350, 150);  // past the right edge: it stops there
  EXPECT_EQ(sides(), (std::array{300.0f, 300.0f, 50.0f, 250.0f}));
  EXPECT_EQ(undoSteps(), 1);
  EXPECT_EQ(f.ui.StatusBar1.panels.at(2), "Selected Area : l:300 t:50  w:0 h:200");
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(rect().lineXS, 100);
  f.ui.txtGrid.setText("10");
  drag(300, 150, 254, 150);  // the right edge onto the grid
  EXPECT_EQ(rect().lineXE, 250);
  drag(103, 52, 141, 66);  // the top-left corner
  EXPECT_EQ(sides(), (std::array{140.0f, 250.0f, 70.0f, 250.0f}));
  drag(200, 150, 160, 120);  // a new rectangle from the press point
  EXPECT_EQ(sides(), (std::array{160.0f, 200.0f, 120.0f, 150.0f}));
  EXPECT_EQ(undoSteps(), 3);
}

// A press becomes a drag beyond 5 pixels either way.
TEST_F(PictureInput, ManualPlottingTakesClicksButNotDrags) {
  selectType(kManualPlotting);
  f.ui.TabStrip1.selected = 1;
  drag(150, 100, 155, 105);  // 5 pixels each way: a click
  ASSERT_EQ(f.app.pointCount, 1);
  EXPECT_EQ(f.ui.TabStrip1.selected, static_cast<int>(Pane::Data));
  EXPECT_EQ(std::tuple(f.app.dataPoints[1].XPixel, f.app.dataPoints[1].XData),
            std::tuple(155.f, 55.f));
  // At zoom 2 scrolled by (40, 10) the position is taken unrounded: (31 + 40) / 2, (15 + 10) / 2.
  f.app.zoom = 2;
  f.ui.HScroll1.value = 40;
  f.ui.VScroll1.value = 10;
  ManualPlot(f.form, 31, 15);
  ASSERT_EQ(f.app.pointCount, 2);
  EXPECT_EQ(values(f.app.dataPoints[2]),
            (std::array{35.5f, 299 - 12.5f, 35.5f - 100, 250 - 12.5f}));
  // The click cross, 12 display pixels each way.
  EXPECT_EQ(std::tuple(f.ui.Line5.y1, f.ui.Line6.x2), std::tuple(3.f, 43.f));
  f.app.zoom = 1;
  f.ui.HScroll1.value = f.ui.VScroll1.value = 0;
  drag(150, 100, 144, 100);  // 6 pixels left, then 6 up: drags, no point
  drag(150, 100, 150, 94);
  EXPECT_EQ(std::tuple(f.app.pointCount, undoSteps()), std::tuple(2, 2));
  // In eraser mode a press never becomes a drag: every release is a click.
  menuClick(f.form, MenuId::mnuErase);
  drag(150, 100, 170, 100);
  EXPECT_EQ(f.app.pointCount, 3);
}

TEST_F(PictureInput, TheReadOutShowsTheValuesUnderThePointer) {
  // clang-format off
  const struct { float x, y; const char* xText, *yText; } moves[] = {
      {.x = 112.3456f, .y = 250, .xText = "1.235E+01", .yText = "0.000E+00"},
      {.x = 100, .y = 250.5f, .xText = "0.000E+00", .yText = "-5.000E-01"}};
  // clang-format on
  for (const auto& m : moves) {
    picture1MouseMove(f.form, at(kNone, m.x, m.y));
    EXPECT_EQ(std::tuple(f.ui.Text1.text, f.ui.Text2.text), std::tuple(m.xText, m.yText)) << m.x;
  }
  picture1MouseMove(f.form, at(kLeft, 200, 100));  // a button down: unchanged
  EXPECT_EQ(f.ui.Text1.text, "0.000E+00");
}

// At zoom 2 scrolled by (40, 10) the square 95 ... 105 covers columns round(135 / 2) = 68 to
// round(145 / 2) - 1 = 71: of the dark pixels 69 and 72 only 69 counts.
TEST_F(PictureInput, ThePickUpSquareFollowsThePointerAndPicksWhateverTheType) {
  f.state.Picture2.editRegion(68, 30, 73, 31,
                              [](PixelArray& p) { p.set(69, 30, 0), p.set(72, 30, 0); });
  f.app.zoom = 2;
  f.ui.HScroll1.value = 40;
  f.ui.VScroll1.value = 10;
  selectType(kPlotOnePoint);
  picture1MouseMove(f.form, at(kNone, 100, 52));
  const ShapeControl& square = f.ui.shapPicUpRange;
  EXPECT_EQ(std::tuple(square.visible, square.left, square.top), std::tuple(true, 95, 47));
  // The type changed from the keyboard: the square stays and a click picks.
  selectType(kTraceLine);
  click(100, 52);
  ASSERT_EQ(f.app.pointCount, 1);
  EXPECT_EQ(values(f.app.dataPoints[1]),
            (std::array{69.5f, 299 - 30.5f, 69.5f - 100, 250 - 30.5f}));
  const float marker = (69.5f - 40 / 2) * 2;  // on the view
  EXPECT_EQ(std::tuple(f.ui.Line5.visible, f.ui.Line5.x1), std::tuple(true, marker));
  // Over white nothing is added and the marker stays where it was.
  selectType(kPlotOnePoint);
  picture1MouseMove(f.form, at(kNone, 200, 200));
  click(200, 200);
  EXPECT_EQ(std::tuple(f.app.pointCount, f.ui.Line5.x1), std::tuple(1, marker));
  picture3MouseMove(f.form);  // leaving over the viewport hides it
  EXPECT_FALSE(square.visible);
}

// The picture takes the keys from a pointer over it unless a field is being typed in; the right
// button asks for the picture's menu.
TEST_F(PictureInput, ThePictureTakesTheFocusWithoutInterruptingTypingAndGivesItsMenu) {
  // clang-format off
  const struct { Control* focused; bool taken; } cases[] = {
      {.focused = nullptr, .taken = true}, {.focused = &f.ui.txtMaxLabelX, .taken = false},
      {.focused = &f.ui.ListView1, .taken = true}};  // a list is no text field
  // clang-format on
  float x = 10;
  for (const auto& c : cases) {
    f.ui.focusRequest = nullptr;
    f.ui.focused = c.focused;
    picture1MouseMove(f.form, at(kNone, ++x, 10));
    EXPECT_EQ(f.ui.focusRequest, c.taken ? &f.ui.Picture1 : nullptr);
  }
  picture1MouseDown(f.form, at(PointerButton::Right, 10, 10));
  EXPECT_EQ(f.state.popupMenu, MenuId::mnuPict);
}

TEST_F(PictureInput, DuringARunADragMovesTheRectangleAndAClickIsRefused) {
  PixelArray chart(400, 300, 0xFFFFFF);
  for (int x = 0; x < 400; ++x) chart.set(x, 100, 0);
  ASSERT_TRUE(f.load("line.bmp", chart));
  f.ui.txtSmpX.setText("10");
  menuClick(f.form, MenuId::mnuExeStart);
  const std::vector<ListRow> quiet = f.ui.ListView1.rows;
  selectType(kManualPlotting);
  selectType(kTraceLine);
  bool once = false;
  f.platform.setYieldHook([&] {
    if (std::exchange(once, true)) return;
    drag(200, 150, 150, 120);
    f.ui.cmbGraphType.selected = kManualPlotting;  // the combo is locked during a run
    click(30, 30);
  });
  menuClick(f.form, MenuId::mnuExeStart);
  ASSERT_EQ(f.ui.ListView1.rows.size(), quiet.size());
  for (std::size_t row = 0; row < quiet.size(); ++row)
    EXPECT_EQ(f.ui.ListView1.rows[row].cells, quiet[row].cells) << row;
  EXPECT_EQ(rect().lineXS, 150);  // the drag itself was taken
  ASSERT_FALSE(f.platform.messages().empty());
  EXPECT_EQ(f.platform.messages().back().text, f.form.message(Message::ClickDuringRun));
}

TEST_F(PictureInput, TheWheelScrollsAndCtrlWheelZoomsAroundThePointer) {
  ASSERT_TRUE(f.load("big.bmp", PixelArray(3000, 2000, 0xFFFFFF)));
  const float before = f.app.zoom;
  picture1Wheel(f.form, {.notches = 1, .ctrl = true, .x = 100, .y = 60});
  EXPECT_EQ(f.app.zoom, before * 2);
  // The picture point under the pointer stays under it.
  EXPECT_EQ((f.ui.HScroll1.value + 100) / f.app.zoom, 100 / before);
  EXPECT_EQ((f.ui.VScroll1.value + 60) / f.app.zoom, 60 / before);
  const int top = f.ui.VScroll1.value;
  picture1Wheel(f.form, {.notches = -1, .x = 100, .y = 60});
  EXPECT_GT(f.ui.VScroll1.value, top);
  const int left = f.ui.HScroll1.value;
  picture1Wheel(f.form, {.notches = -1, .shift = true});
  EXPECT_GT(f.ui.HScroll1.value, left);
}

std::array<int, 4> sides(const GestureEdges& e) {
  return {e.xs, e.xe, e.yt, e.yb};
}

TEST(PointerGestures, EdgesAreTheRectangleOnTheViewRoundedHalfToEven) {
  const PixelRect rect{.lineXS = 10.25f, .lineXE = 60.75f, .lineYT = 5, .lineYB = 40.5f};
  // 20.5 - 1 = 19.5 -> 20; 5.125, 30.375, 2.5, 20.25.
  EXPECT_EQ(sides(gestureEdges(rect, 2, 1, 21)), (std::array{20, 120, -11, 60}));
  EXPECT_EQ(sides(gestureEdges(rect, 0.5f, 0, 0)), (std::array{5, 30, 2, 20}));
}

// The rectangle (100, 50)-(300, 250) at zoom 1 without scrolling.
constexpr GestureEdges kEdges{.xs = 100, .xe = 300, .yt = 50, .yb = 250};

TEST(PointerGestures, APressGrabsEdgesAndCornersWithinThreePixels) {
  using enum PointerShape;
  // clang-format off
  const struct { float x, y; std::int16_t target; PointerShape shape; } cases[] = {
      {.x = 102, .y = 150, .target = kDragLeft, .shape = SizeWE},
      {.x = 103, .y = 52, .target = kDragTopLeft, .shape = SizeNWSE},
      {.x = 200, .y = 248, .target = kDragBottom, .shape = SizeNS},
      {.x = 96, .y = 150, .target = kDragNewRectangle, .shape = Cross},
      {.x = 298, .y = 47.5f, .target = kDragTopRight, .shape = SizeNESW},
      {.x = 301, .y = 252.5f, .target = kDragBottomRight, .shape = SizeNWSE},
      {.x = 97, .y = 250, .target = kDragBottomLeft, .shape = SizeNESW},
      {.x = 300, .y = 100, .target = kDragRight, .shape = SizeWE},
      {.x = 200, .y = 53, .target = kDragTop, .shape = SizeNS},
      // Outside the band of the vertical edges the left edge is not near.
      {.x = 100, .y = 254, .target = kDragNewRectangle, .shape = Cross}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(grabbedTarget(kEdges, c.x, c.y), c.target);
    EXPECT_EQ(scalePointerShape(kEdges, c.x, c.y), c.shape);
  }
}

// The press was at (200, 150).
TEST(PointerGestures, DraggedEdgesFollowThePointerAndStopOnTheOppositeEdge) {
  // clang-format off
  const struct { std::int16_t target; float x, y; std::array<int, 4> to; } cases[] = {
      {.target = kDragLeft, .x = 350, .y = 0, .to = {300, 300, 50, 250}},  // past the right
      {.target = kDragLeft, .x = 120.5f, .y = 0, .to = {120, 300, 50, 250}},
      {.target = kDragTop, .x = 0, .y = 251, .to = {100, 300, 250, 250}},  // past the bottom
      {.target = kDragBottomRight, .x = 320, .y = 10, .to = {100, 320, 50, 50}},
      // A new rectangle down and right of the press (up and left: the drag test).
      {.target = kDragNewRectangle, .x = 260, .y = 180, .to = {200, 260, 150, 180}},
      {.target = kDragNothing, .x = 0, .y = 0, .to = {100, 300, 50, 250}}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(sides(draggedEdges(kEdges, c.target, c.x, c.y, 200, 150)), c.to)
        << c.target << " to " << c.x << "," << c.y;
}

constexpr std::uint32_t kWhite = 0xFFFFFF;

TEST(DarknessCentroid, WeighsEveryPixelByItsDarkness) {
  PixelArray picture(20, 10, kWhite);
  EXPECT_FALSE(DarknessCentroid(picture, 0, 0, 20, 10));  // all white: no weight
  picture.set(5, 4, 0);
  EXPECT_EQ(DarknessCentroid(picture, 0, 0, 20, 10)->x, 5);
  // A grey (weight 255 - 128 = 127) two columns right of the black pixel: 0.665 right.
  picture.set(7, 4, rgbValue(128, 128, 128));
  EXPECT_FLOAT_EQ(DarknessCentroid(picture, 0, 0, 20, 10)->x, 5 + 2 * 127.0f / 382);
  EXPECT_EQ(DarknessCentroid(picture, 0, 0, 20, 10)->y, 4);
  // Only the square counts; positions outside the picture read as white.
  EXPECT_EQ(DarknessCentroid(picture, 6, 0, 30, 10)->x, 7);
  EXPECT_FALSE(DarknessCentroid(picture, -10, -10, 0, 0));
  EXPECT_FALSE(DarknessCentroid(picture, 20, 0, 25, 10));
}

// A pointer or key event as the window forwarded it (display pixels at zoom 1).
struct Step {
  char op;  // p: press, m: move, d: move with the left button held, r: release, k: key x
  float x, y = 0;
};

void play(Form1& form, std::initializer_list<Step> steps) {
  for (const Step& s : steps) {
    const PointerButton button = s.op == 'm' ? PointerButton::None : PointerButton::Left;
    const PointerEvent event{.button = button, .x = s.x, .y = s.y};
    if (s.op == 'p') picture1MouseDown(form, event);
    if (s.op == 'm' || s.op == 'd') picture1MouseMove(form, event);
    if (s.op == 'r') picture1MouseUp(form, event);
    if (s.op == 'k') picture1KeyDown(form, static_cast<int>(s.x));
  }
}

// A recorded session on the bundled scatter chart replayed without a display: the rectangle dragged
// onto ticks, the scale typed, marks picked (one by arrow keys and Enter), two points clicked, the
// list saved. The file must be the committed one, byte for byte.
TEST(Replay, ARecordedSessionSavesTheCommittedFile) {
  const char* folder = std::getenv("PLOTVANE_TEST_DATA");
  const std::string expected =
      testing::readAll(std::string(folder ? folder : "testdata") + "/replay/scatter_session.csv");
  ASSERT_FALSE(expected.empty());
  testing::PictureForm f;
  ASSERT_TRUE(f.load("scatter.bmp", scatterChart()));
  ASSERT_EQ(f.app.zoom, 1);
  const auto choose = [&](GraphType type) {
    f.ui.cmbGraphType.selected = type;
    cmbGraphTypeClick(f.form);
  };
  // clang-format off
  // A new rectangle from the tick at (64, 48) to the one at (576, 432).
  play(f.form, {{'p', 64, 48}, {'d', 66, 50}, {'d', 70, 55}, {'d', 200, 160}, {'d', 575, 431},
                {'d', 576, 432}, {'r', 576, 432}});
  f.ui.txtMinLabelX.setText("0.1");
  f.ui.txtMaxLabelX.setText("0.9");
  f.ui.txtMinLabelY.setText("0.1");
  f.ui.txtMaxLabelY.setText("0.9");
  // Three marks picked under the square, the last one reached with the arrow keys and Enter.
  choose(kPlotOnePoint);
  play(f.form, {{'m', 300, 300}, {'m', 75, 346}, {'p', 75, 346}, {'r', 75, 346}, {'m', 224, 322},
                {'p', 224, 322}, {'r', 224, 322}, {'m', 434, 141}, {'k', kKeyRight},
                {'k', kKeyRight}, {'k', kKeyRight}, {'k', kKeyDown}, {'k', kKeyDown},
                {'k', kKeyEnter}});
  // Two points by hand, one after a slip of 3 pixels, the pointer having left the picture over the
  // viewport on the way to the settings pane.
  picture3MouseMove(f.form);
  choose(kManualPlotting);
  play(f.form, {{'m', 320, 240}, {'p', 320, 240}, {'r', 320, 240}, {'p', 500, 100},
                {'d', 502, 101}, {'d', 503, 102}, {'r', 503, 102}});
  // clang-format on
  EXPECT_EQ(f.app.undoRing->undoCount(), 1);  // the rectangle's drag

  const std::string saved = f.folder.file("session.csv");
  f.platform.queueSaveFile(SaveDialogChoice{saved, 1});
  menuClick(f.form, MenuId::mnuDataSave);
  EXPECT_EQ(testing::readAll(saved), expected);
}

}  // namespace
}  // namespace plotvane
