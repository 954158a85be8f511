#include "view/picture_tools.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/form1_events.h"
#include "support/picture_form.h"
#include "view/undo_commands.h"
#include "view/view.h"

namespace plotvane {
namespace {

using testing::PictureForm;

constexpr std::uint32_t kWhite = 0xFFFFFF, kInk = 0x102030;

struct ToolState {
  bool scaleChecked = false, eraserChecked = false, eraserSizeEnabled = false;
};

void expectTool(PictureForm& f, PictureTool tool, const ToolState& s) {
  EXPECT_EQ(f.state.tool, tool);
  EXPECT_EQ(f.ui.menu(MenuId::mnuScale).value, s.scaleChecked ? 1 : 0);
  EXPECT_EQ(testing::toolButtonOf(f.ui, MenuId::mnuScale).value, s.scaleChecked ? 1 : 0);
  EXPECT_EQ(f.ui.menu(MenuId::mnuErase).value, s.eraserChecked ? 1 : 0);
  EXPECT_EQ(testing::toolButtonOf(f.ui, MenuId::mnuErase).value, s.eraserChecked ? 1 : 0);
  EXPECT_EQ(f.ui.txtErs.enabled, s.eraserSizeEnabled);
  EXPECT_EQ(f.ui.LabelErs.enabled, s.eraserSizeEnabled);
}

TEST(PictureTools, ScaleAndEraserAreNeverBothOnAndMayBothBeOff) {
  PictureForm f;
  expectTool(f, PictureTool::Scale, {.scaleChecked = true, .eraserSizeEnabled = true});
  menuClick(f.form, MenuId::mnuErase);
  expectTool(f, PictureTool::Eraser, {.eraserChecked = true, .eraserSizeEnabled = true});
  menuClick(f.form, MenuId::mnuErase);
  expectTool(f, PictureTool::None, {});
  toolbarButtonClick(f.form, *toolbarPositionOf(MenuId::mnuScale));
  expectTool(f, PictureTool::Scale, {.scaleChecked = true});
  menuClick(f.form, MenuId::mnuScale);
  expectTool(f, PictureTool::None, {});
  menuClick(f.form, MenuId::mnuErase);
  menuClick(f.form, MenuId::mnuScale);
  expectTool(f, PictureTool::Scale, {.scaleChecked = true});
}

// The white pixels of a picture, row by row, as "y: x0-x1 ..." runs.
std::vector<std::string> whiteRuns(const PixelArray& picture) {
  std::vector<std::string> rows;
  for (int y = 0; y < picture.height(); ++y) {
    std::string row;
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.at(x, y) != kWhite || (x > 0 && picture.at(x - 1, y) == kWhite)) continue;
      int end = x;
      while (end + 1 < picture.width() && picture.at(end + 1, y) == kWhite) ++end;
      row += " " + std::to_string(x) + "-" + std::to_string(end);
    }
    if (!row.empty()) rows.push_back(std::to_string(y) + ":" + row);
  }
  return rows;
}

struct DabCase {
  const char* what;
  float zoom;
  const char* eraserSize;
  float x, y;  // on the view, not scrolled
  std::vector<std::string> picture;
};

TEST(PictureTools, AnEraserDabWhitensTheDiscOnTheWorkingPicture) {
  const DabCase cases[] = {
      // Radius 2 around (10, 10): the pixels within 2 of it.
      {.what = "size 3 at zoom 1",
       .zoom = 1,
       .eraserSize = "3",
       .x = 10,
       .y = 10,
       .picture = {"8: 10-10", "9: 9-11", "10: 8-12", "11: 9-11", "12: 10-10"}},
      // Radius 4 / 2 = 2 around (10, 10.5).
      {.what = "size 5 at zoom 2",
       .zoom = 2,
       .eraserSize = "5",
       .x = 20,
       .y = 21,
       .picture = {"9: 9-11", "10: 9-11", "11: 9-11", "12: 9-11"}},
      // Radius 2 / 0.5 = 4 around (10, 10).
      {.what = "size 3 at zoom 1/2",
       .zoom = 0.5f,
       .eraserSize = "3",
       .x = 5,
       .y = 5,
       .picture = {"6: 10-10", "7: 8-12", "8: 7-13", "9: 7-13", "10: 6-14", "11: 7-13", "12: 7-13",
                   "13: 8-12", "14: 10-10"}},
      // Radius 0: only the pixel under the pointer.
      {.what = "size 1 at zoom 1",
       .zoom = 1,
       .eraserSize = "1",
       .x = 3,
       .y = 4,
       .picture = {"4: 3-3"}},
  };
  for (const DabCase& c : cases) {
    SCOPED_TRACE(c.what);
    PictureForm f;
    ASSERT_TRUE(f.load("ink.bmp", PixelArray(24, 24, kInk)));
    f.app.zoom = c.zoom;
    f.ui.txtErs.setText(c.eraserSize);
    EraserDab(f.form, c.x, c.y);
    EXPECT_EQ(whiteRuns(f.state.Picture2.pixels()), c.picture);
  }
}

TEST(PictureTools, TheViewShowsTheDiscAtOnceAndAStrokeIsUndoneInOneStep) {
  PictureForm f;
  ASSERT_TRUE(f.load("ink.bmp", PixelArray(300, 200, kInk)));
  ASSERT_EQ(f.app.zoom, 1);
  menuClick(f.form, MenuId::mnuErase);
  f.ui.txtErs.setText("4");
  eraserPress(f.form, 50, 50);
  EXPECT_EQ(f.state.Picture1Image.at(53, 50), kWhite);  // radius 3 on the view
  EXPECT_EQ(f.state.Picture1Image.at(54, 50), kInk);
  for (float x = 52; x <= 120; x += 2) eraserMove(f.form, x, 50, true);
  eraserMove(f.form, 200, 100, false);  // the footprint follows without painting
  EXPECT_EQ(f.ui.shapEraseRange.left, 198);
  EXPECT_TRUE(f.ui.shapEraseRange.visible);
  EXPECT_EQ(f.ui.Picture1.pointer, PointerShape::Eraser);
  eraserRelease(f.form);
  EXPECT_EQ(f.state.Picture2.pixels().at(120, 52), kWhite);
  EXPECT_EQ(f.state.Picture2.pixels().at(200, 100), kInk);
  EXPECT_TRUE(f.ui.menu(MenuId::mnuEdetUndo).enabled);

  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.pixels(), PixelArray(300, 200, kInk));
  EXPECT_EQ(f.state.Picture1Image.at(53, 50), kInk);
  EXPECT_FALSE(f.ui.menu(MenuId::mnuEdetUndo).enabled);
  EXPECT_TRUE(f.ui.menu(MenuId::mnuEdetRedo).enabled);
  menuClick(f.form, MenuId::mnuEdetRedo);
  EXPECT_EQ(f.state.Picture2.pixels().at(120, 52), kWhite);
}

TEST(PictureTools, ASizeChangeKeepsTheRectangleInsideAndUndoBringsTheSizeBack) {
  PictureForm f;
  ASSERT_TRUE(f.load("wide.bmp", PixelArray(200, 160, kInk)));
  PushUndoSnapshot(f.form, kUndoPicture);
  ASSERT_TRUE(f.state.Picture2.replace(PixelArray(100, 180, kWhite)));
  showChangedPicture(f.form, PictureChange::Resized);
  const PixelRect clamped = f.state.Picture2.rect();
  EXPECT_EQ(clamped.lineXE, 100);
  EXPECT_EQ(clamped.lineYB, 160);
  EXPECT_EQ(f.ui.StatusBar1.panels.at(2), "Selected Area : l:0 t:0  w:100 h:160");
  EXPECT_EQ(f.ui.StatusBar1.panels.at(3), "Size : w:100 h:180");

  // Undo brings back the size and the rectangle from before the change,
  // Redo the clamped one.
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.pixels(), PixelArray(200, 160, kInk));
  EXPECT_EQ(f.ui.StatusBar1.panels.at(3), "Size : w:200 h:160");
  EXPECT_EQ(f.state.Picture1Image.at(0, 0), kInk);
  EXPECT_EQ(f.state.Picture2.rect().lineXE, 200);
  EXPECT_EQ(f.ui.StatusBar1.panels.at(2), "Selected Area : l:0 t:0  w:200 h:160");
  menuClick(f.form, MenuId::mnuEdetRedo);
  EXPECT_EQ(f.state.Picture2.width(), 100);
  EXPECT_EQ(f.state.Picture2.rect().lineXE, 100);
  EXPECT_EQ(f.state.Picture2.rect().lineYB, 160);
}

TEST(PictureTools, NothingIsErasedOrUndoneWhileARunHoldsThePicture) {
  PictureForm f;
  ASSERT_TRUE(f.load("ink.bmp", PixelArray(40, 40, kInk)));
  PushUndoSnapshot(f.form, kUndoPicture);
  const WorkingPicture::RunHold hold = f.state.Picture2.holdForRun();
  menuClick(f.form, MenuId::mnuErase);
  eraserPress(f.form, 10, 10);
  eraserMove(f.form, 12, 10, true);
  EXPECT_EQ(f.state.Picture2.pixels(), PixelArray(40, 40, kInk));
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.app.undoRing->undoCount(), 1);
}

}  // namespace
}  // namespace plotvane
