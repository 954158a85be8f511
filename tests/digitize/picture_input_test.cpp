#include "digitize/picture_input.h"

#include <gtest/gtest.h>

#include <string>

#include "data/data_list.h"
#include "digitize/graph_type.h"
#include "shell/form1_events.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::PictureForm;

constexpr PointerEvent at(PointerButton button, float x, float y) {
  return {.button = button, .x = x, .y = y};
}
constexpr PointerButton kLeft = PointerButton::Left, kNone = PointerButton::None;

// A 400 x 300 white picture at zoom 1, the rectangle (100, 50)-(300, 250),
// X 0 to 200 and Y 0 to 200 over it.
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
  // A press, moves in steps of one pixel in x, and a release.
  void drag(float x0, float y0, float x1, float y1) {
    picture1MouseDown(f.form, at(kLeft, x0, y0));
    const int steps = static_cast<int>(std::max(std::abs(x1 - x0), std::abs(y1 - y0)));
    for (int i = 1; i <= steps; ++i)
      picture1MouseMove(f.form, at(kLeft, x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps));
    picture1MouseUp(f.form, at(kLeft, x1, y1));
  }
  const PixelRect& rect() const { return f.state.Picture2.rect(); }
  int undoSteps() const { return f.app.undoRing->undoCount(); }
  PictureForm f;
};

TEST_F(PictureInput, APressInScaleModeShowsWhatItGrabbed) {
  const struct {
    float x, y;
    const char* target;
  } presses[] = {{102, 150, "2"}, {103, 52, "6"}, {200, 248, "5"}, {200, 150, "1"}, {96, 150, "1"}};
  for (const auto& p : presses) {
    picture1MouseDown(f.form, at(kLeft, p.x, p.y));
    EXPECT_EQ(f.state.dragTarget, std::stoi(p.target));
    EXPECT_EQ(f.ui.txtMD.text, p.target);
    picture1MouseUp(f.form, at(kLeft, p.x, p.y));
    EXPECT_EQ(f.state.dragTarget, 0);
  }
  EXPECT_EQ(rect().lineXS, 100);  // clicks move nothing
  EXPECT_EQ(undoSteps(), 0);
}

TEST_F(PictureInput, DraggingAnEdgeMovesItWithOneUndoStep) {
  drag(102, 150, 350, 150);  // past the right edge: it stops there
  EXPECT_EQ(rect().lineXS, 300);
  EXPECT_EQ(rect().lineXE, 300);
  EXPECT_EQ(undoSteps(), 1);
  EXPECT_EQ(f.ui.StatusBar1.panels.at(2), "Selected Area : l:300 t:50  w:0 h:200");
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(rect().lineXS, 100);

  f.ui.txtGrid.setText("10");
  drag(300, 150, 254, 150);  // the right edge onto the grid
  EXPECT_EQ(rect().lineXE, 250);
  drag(103, 52, 141, 66);  // the top-left corner
  EXPECT_EQ(rect().lineXS, 140);
  EXPECT_EQ(rect().lineYT, 70);
  drag(200, 150, 160, 120);  // a new rectangle from the press point
  EXPECT_EQ(rect().lineXS, 160);
  EXPECT_EQ(rect().lineXE, 200);
  EXPECT_EQ(rect().lineYT, 120);
  EXPECT_EQ(rect().lineYB, 150);
  EXPECT_EQ(undoSteps(), 3);
}

TEST_F(PictureInput, ThePointerShapeAnnouncesWhatAPressWouldGrab) {
  const struct {
    float x, y;
    PointerShape shape;
  } moves[] = {{102, 150, PointerShape::SizeWE},
               {300, 250, PointerShape::SizeNWSE},
               {200, 50, PointerShape::SizeNS},
               {200, 150, PointerShape::Cross}};
  for (const auto& m : moves) {
    picture1MouseMove(f.form, at(kNone, m.x, m.y));
    EXPECT_EQ(f.ui.Picture1.pointer, m.shape) << m.x << "," << m.y;
  }
}

TEST_F(PictureInput, ManualPlottingTakesClicksButNotDrags) {
  selectType(kManualPlotting);
  f.ui.TabStrip1.selected = 1;
  drag(150, 100, 154, 100);  // 4 pixels: a click
  EXPECT_EQ(f.app.pointCount, 1);
  EXPECT_EQ(f.ui.TabStrip1.selected, static_cast<int>(Pane::Data));
  EXPECT_EQ(f.app.dataPoints[1].XPixel, 154);
  EXPECT_EQ(f.app.dataPoints[1].XData, 54);
  drag(150, 100, 156, 100);  // 6 pixels: a drag, one undo step, no point
  EXPECT_EQ(f.app.pointCount, 1);
  EXPECT_EQ(undoSteps(), 1);
  // In eraser mode a press never becomes a drag: every release is a click.
  menuClick(f.form, MenuId::mnuErase);
  drag(150, 100, 170, 100);
  EXPECT_EQ(f.app.pointCount, 2);
  // Enter clicks at the last pointer position, moved by the arrow keys.
  menuClick(f.form, MenuId::mnuScale);
  picture1MouseMove(f.form, at(kNone, 120, 80));
  picture1KeyDown(f.form, kKeyRight);
  picture1KeyDown(f.form, kKeyUp);
  picture1KeyDown(f.form, kKeyEnter);
  EXPECT_EQ(f.platform.pointerX(), 1);
  EXPECT_EQ(f.platform.pointerY(), -1);
  ASSERT_EQ(f.app.pointCount, 3);
  EXPECT_EQ(f.app.dataPoints[3].XPixel, 121);
  EXPECT_EQ(f.app.dataPoints[3].YPixel, 299 - 79);
}

TEST_F(PictureInput, TheReadOutShowsTheValuesUnderThePointer) {
  const struct {
    float x, y;
    const char* xText;
    const char* yText;
  } moves[] = {
      {112.3456f, 250, "1.235E+01", "0.000E+00"},
      {100, 250.5f, "0.000E+00", "-5.000E-01"},
  };
  for (const auto& m : moves) {
    picture1MouseMove(f.form, at(kNone, m.x, m.y));
    EXPECT_EQ(f.ui.Text1.text, m.xText);
    EXPECT_EQ(f.ui.Text2.text, m.yText);
  }
  picture1MouseMove(f.form, at(kLeft, 200, 100));  // a button down: unchanged
  EXPECT_EQ(f.ui.Text1.text, "0.000E+00");
}

TEST_F(PictureInput, ThePickUpSquareFollowsThePointerAndPicksWhateverTheType) {
  f.state.Picture2.editRegion(68, 30, 70, 31, [](PixelArray& p) { p.set(69, 30, 0); });
  f.app.zoom = 2;
  f.ui.HScroll1.value = 40;
  f.ui.VScroll1.value = 10;
  selectType(kPlotOnePoint);
  picture1MouseMove(f.form, at(kNone, 100, 52));
  const ShapeControl& square = f.ui.shapPicUpRange;
  EXPECT_TRUE(square.visible);
  EXPECT_EQ(square.left, 95);
  EXPECT_EQ(square.top, 47);
  // The type changed from the keyboard: the square stays and a click picks.
  selectType(kTraceLine);
  picture1MouseDown(f.form, at(kLeft, 100, 52));
  picture1MouseUp(f.form, at(kLeft, 100, 52));
  ASSERT_EQ(f.app.pointCount, 1);
  EXPECT_EQ(f.app.dataPoints[1].XPixel, 69.5f);
  picture3MouseMove(f.form);  // leaving over the viewport hides it
  EXPECT_FALSE(square.visible);
}

TEST_F(PictureInput, ThePictureTakesTheKeysOnlyFromAPointerNotInterruptingTyping) {
  picture1MouseMove(f.form, at(kNone, 10, 10));
  EXPECT_EQ(f.ui.focusRequest, &f.ui.Picture1);
  f.ui.focusRequest = nullptr;
  f.ui.focused = &f.ui.txtMaxLabelX;
  picture1MouseMove(f.form, at(kNone, 11, 10));
  EXPECT_EQ(f.ui.focusRequest, nullptr);
  f.ui.focused = &f.ui.ListView1;  // a list is no text field
  picture1MouseMove(f.form, at(kNone, 12, 10));
  EXPECT_EQ(f.ui.focusRequest, &f.ui.Picture1);
}

TEST_F(PictureInput, TheRightButtonOpensThePictureMenu) {
  picture1MouseDown(f.form, at(PointerButton::Right, 10, 10));
  EXPECT_EQ(f.state.popupMenu, MenuId::mnuPict);
}

TEST_F(PictureInput, DuringARunADragMissesTheRunAndAClickIsRefused) {
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
    picture1MouseDown(f.form, at(kLeft, 30, 30));
    picture1MouseUp(f.form, at(kLeft, 30, 30));
  });
  menuClick(f.form, MenuId::mnuExeStart);
  EXPECT_EQ(f.ui.ListView1.rows.size(), quiet.size());
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

}  // namespace
}  // namespace plotvane
