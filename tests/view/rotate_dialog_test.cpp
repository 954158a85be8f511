#include "view/rotate_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "picture/rotation.h"
#include "shell/captions.h"
#include "support/picture_form.h"
#include "view/selection.h"
#include "view/view.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::PictureForm;

const std::string& panel(const PictureForm& f, StatusPanel which) {
  return f.ui.StatusBar1.panels.at(static_cast<std::size_t>(which));
}

RotateDialog* rotateDialog(PictureForm& f) {
  return f.form.dialogAs<RotateDialog>(DialogId::Rotate);
}

// Opens the dialog, sets the direction and the angle, and gives OK.
void rotateBy(PictureForm& f, bool clockwise, const std::string& angle) {
  menuClick(f.form, MenuId::mnuPictRot);
  ASSERT_NE(rotateDialog(f), nullptr);
  rotateOptionClick(f.form, clockwise);
  rotateDialog(f)->txtRot.setText(angle);
  rotateOkClick(f.form);
}

TEST(RotateDialog, OpensWithItsCaptionsInEitherLanguageAndTheStartValues) {
  struct Texts {
    MenuId language;
    const char *title, *frame, *ccw, *cw, *label, *cancel;
  };
  // clang-format off
  const Texts cases[] = {
      {.language = MenuId::mnuLangENG, .title = "Rotate", .frame = "Set Rotate Angle", .ccw = "CCW",
       .cw = "CW", .label = "Angle (0.001～360deg)", .cancel = "Cancel"},
      {.language = MenuId::mnuLangJP, .title = "回転処理", .frame = "角度指定", .ccw = "反時計回り",
       .cw = "時計回り", .label = "回転角度 (0.001～360)", .cancel = "ｷｬﾝｾﾙ"}};
  // clang-format on
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(6, 4)));
  for (const Texts& c : cases) {
    SCOPED_TRACE(c.title);
    menuClick(f.form, c.language);
    menuClick(f.form, MenuId::mnuPictRot);
    const RotateDialog* dialog = rotateDialog(f);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->window.text, c.title);
    EXPECT_EQ(dialog->Frame1.text, c.frame);
    EXPECT_EQ(dialog->Option2.text, c.ccw);
    EXPECT_EQ(dialog->Option1.text, c.cw);
    EXPECT_EQ(dialog->Label1.text, c.label);
    EXPECT_EQ(dialog->CancelButton.text, c.cancel);
    EXPECT_EQ(dialog->OKButton.text, "OK");
    EXPECT_EQ(dialog->txtRot.text, "1");
    EXPECT_EQ(dialog->Option1.value, 1);
    EXPECT_EQ(dialog->Option2.value, 0);
    EXPECT_FALSE(f.ui.form.enabled);

    // Loaded afresh each time: what the user changed does not come back.
    rotateOptionClick(f.form, false);
    rotateDialog(f)->txtRot.setText("15");
    rotateCancelClick(f.form);
    EXPECT_EQ(rotateDialog(f), nullptr);
    EXPECT_TRUE(f.ui.form.enabled);
    EXPECT_EQ(f.state.Picture2.pixels(), codedPicture(6, 4));
  }
}

TEST(RotateDialog, NeedsAPictureThatNoRunHolds) {
  PictureForm empty;
  menuClick(empty.form, MenuId::mnuPictRot);
  EXPECT_EQ(rotateDialog(empty), nullptr);
  EXPECT_TRUE(empty.ui.form.enabled);

  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(6, 4)));
  {
    const WorkingPicture::RunHold hold = f.state.Picture2.holdForRun();
    menuClick(f.form, MenuId::mnuPictRot);
    EXPECT_EQ(rotateDialog(f), nullptr);
  }
  menuClick(f.form, MenuId::mnuPictRot);
  EXPECT_NE(rotateDialog(f), nullptr);
}

// The direction and the text give the angle; the picture is the pure
// rotation's result for that angle.
TEST(RotateDialog, OkTurnsThePictureByTheAngleOfTheDirectionAndTheText) {
  struct Case {
    const char* name;
    bool clockwise;
    const char* text;
    float angle;
    int width, height;
  };
  // clang-format off
  const Case cases[] = {
      {.name = "CCW 90", .clockwise = false, .text = "90", .angle = 90, .width = 4, .height = 6},
      {.name = "CCW 180", .clockwise = false, .text = "180", .angle = 180, .width = 6, .height = 4},
      {.name = "CW 30", .clockwise = true, .text = "30", .angle = 330, .width = 7, .height = 6},
      {.name = "CCW 30", .clockwise = false, .text = "30", .angle = 30, .width = 7, .height = 6},
      {.name = "empty", .clockwise = true, .text = "", .angle = 0, .width = 6, .height = 4},
      {.name = "no number", .clockwise = false, .text = "abc", .angle = 0, .width = 6, .height = 4},
      {.name = "CCW 360", .clockwise = false, .text = "360", .angle = 360, .width = 6, .height = 4},
      {.name = "CW 360", .clockwise = true, .text = "360", .angle = 0, .width = 6, .height = 4},
      {.name = "CW 450", .clockwise = true, .text = " 4 50", .angle = 270, .width = 4, .height = 6}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PictureForm f;
    const PixelArray source = codedPicture(6, 4);
    ASSERT_TRUE(f.load("chart.bmp", source));
    rotateBy(f, c.clockwise, c.text);
    const WorkingPicture& picture = f.state.Picture2;
    EXPECT_EQ(picture.width(), c.width);
    EXPECT_EQ(picture.height(), c.height);
    EXPECT_EQ(picture.pixels(), RotatePicture(source, c.angle).value());
    EXPECT_EQ(f.app.undoRing->undoCount(), 1);
    EXPECT_TRUE(f.ui.menu(MenuId::mnuEdetUndo).enabled);
    EXPECT_EQ(f.app.rotationBase, 0);
    EXPECT_EQ(rotateDialog(f), nullptr);
    EXPECT_TRUE(f.ui.form.enabled);
    EXPECT_FALSE(f.ui.ProgressBar1.visible);
    EXPECT_EQ(panel(f, StatusPanel::PictureSize),
              "Size : w:" + std::to_string(c.width) + " h:" + std::to_string(c.height));
  }
}

// A 40 x 20 picture selected whole, turned a quarter: the rectangle is cut
// to the 20 x 40 result, and Undo brings back picture, size and rectangle.
TEST(RotateDialog, TheRectangleStaysInsideTheTurnedPictureAndUndoBringsItBack) {
  PictureForm f;
  const PixelArray source = codedPicture(40, 20);
  ASSERT_TRUE(f.load("chart.bmp", source));
  const PixelRect whole{0, 40, 0, 20};
  ASSERT_EQ(f.state.Picture2.rect(), whole);
  rotateBy(f, false, "90");
  const PixelRect clamped{0, 20, 0, 20};
  EXPECT_EQ(f.state.Picture2.rect(), clamped);
  EXPECT_EQ(panel(f, StatusPanel::SelectedArea), "Selected Area : l:0 t:0  w:20 h:20");
  // The right edge's line follows onto the view: the last column at zoom 1.
  ASSERT_EQ(f.app.zoom, 1);
  EXPECT_EQ(f.ui.Line2.x1, 19);

  struct Step {
    MenuId command;
    int width;
    PixelRect rect;
    const char* readOut;
  };
  // clang-format off
  const Step steps[] = {
      {.command = MenuId::mnuEdetUndo, .width = 40, .rect = whole,
       .readOut = "Selected Area : l:0 t:0  w:40 h:20"},
      {.command = MenuId::mnuEdetRedo, .width = 20, .rect = clamped,
       .readOut = "Selected Area : l:0 t:0  w:20 h:20"}};
  // clang-format on
  for (const Step& step : steps) {
    SCOPED_TRACE(step.readOut);
    menuClick(f.form, step.command);
    EXPECT_EQ(f.state.Picture2.width(), step.width);
    EXPECT_EQ(f.state.Picture2.rect(), step.rect);
    EXPECT_EQ(panel(f, StatusPanel::SelectedArea), step.readOut);
  }
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.pixels(), source);
}

// 500 x 300 at zoom 64 is 32 000 display pixels wide; turned by 45 degrees
// it is 566 x 566, too wide for 16 bits at 64: the view steps out to 32 and
// shows the new picture.
TEST(RotateDialog, AGrownPictureIsShownAtAZoomThatFits) {
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(500, 300)));
  while (f.app.zoom < 64) menuClick(f.form, MenuId::mnuZoomIn);
  rotateBy(f, false, "45");
  ASSERT_EQ(f.state.Picture2.width(), 566);
  EXPECT_EQ(f.app.zoom, 32);
  EXPECT_EQ(panel(f, StatusPanel::Magnification), "Magnification : 32");
  // Inside the turned picture, away from its white corners.
  f.ui.HScroll1.value = f.ui.HScroll1.maximum / 2;
  f.ui.VScroll1.value = f.ui.VScroll1.maximum / 2;
  scrollBarChange(f.form);
  const int x = f.ui.HScroll1.value / 32, y = f.ui.VScroll1.value / 32;
  const PixelArray& turned = f.state.Picture2.pixels();
  ASSERT_NE(turned.at(x, y), 0xFFFFFFu);
  EXPECT_EQ(f.state.Picture1Image.at(0, 0), turned.at(x, y));
  EXPECT_EQ(f.state.Picture1Image.at(31, 31), turned.at(x, y));
  EXPECT_EQ(f.state.Picture1Image.at(32, 64), turned.at(x + 1, y + 2));
}

TEST(RotateDialog, EnterInTheDialogRunsOkAndOtherKeysDoNothing) {
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(6, 4)));
  menuClick(f.form, MenuId::mnuPictRot);
  rotateDialog(f)->txtRot.setText("90");
  rotateKeyPress(f.form, 'a');
  ASSERT_NE(rotateDialog(f), nullptr);
  EXPECT_EQ(f.state.Picture2.width(), 6);
  rotateKeyPress(f.form, 13);
  EXPECT_EQ(rotateDialog(f), nullptr);
  EXPECT_EQ(f.state.Picture2.width(), 4);
}

// The rotation yields once per column; the dialog's commands given then wait
// for it, and the main window stays disabled until the dialog unloads.
TEST(RotateDialog, CommandsGivenWhileTheRotationYieldsAreIgnored) {
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(30, 20)));
  menuClick(f.form, MenuId::mnuPictRot);
  rotateDialog(f)->txtRot.setText("90");
  int yields = 0;
  bool windowEnabledDuringRun = false;
  bool barShown = true;
  f.platform.setYieldHook([&] {
    ++yields;
    windowEnabledDuringRun = windowEnabledDuringRun || f.ui.form.enabled;
    barShown = barShown && f.ui.ProgressBar1.visible;
    rotateOkClick(f.form);
    rotateKeyPress(f.form, 13);
    rotateCancelClick(f.form);
    rotateOptionClick(f.form, true);
  });
  rotateOkClick(f.form);
  f.platform.setYieldHook({});
  EXPECT_EQ(yields, 20);  // one per result column
  EXPECT_FALSE(windowEnabledDuringRun);
  EXPECT_TRUE(barShown);
  EXPECT_EQ(f.ui.ProgressBar1.value, 100);
  EXPECT_EQ(f.state.Picture2.width(), 20);
  EXPECT_EQ(f.app.undoRing->undoCount(), 1);
  EXPECT_EQ(rotateDialog(f), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
}

// A shut-down during the rotation's yields unloads the dialog; the rotation
// finishes without touching the dialog again.
TEST(RotateDialog, AShutDownDuringTheRotationUnloadsTheDialog) {
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(8, 6)));
  menuClick(f.form, MenuId::mnuPictRot);
  rotateDialog(f)->txtRot.setText("90");
  f.platform.setYieldHook([&] {
    if (!f.state.closed) formUnload(f.form);
  });
  rotateOkClick(f.form);
  f.platform.setYieldHook({});
  EXPECT_TRUE(f.state.closed);
  EXPECT_EQ(rotateDialog(f), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
}

// 24 000 x 1 turned by 45 degrees would need 16 971 x 16 971 pixels (over
// 1 GiB): refused before anything changes, and the dialog stays open.
TEST(RotateDialog, AResultBeyondThePictureLimitsIsRefused) {
  PictureForm f;
  ASSERT_TRUE(f.load("wide.bmp", PixelArray(24000, 1, 0xFFFFFF)));
  rotateBy(f, false, "45");
  ASSERT_EQ(f.platform.messages().size(), 1u);
  EXPECT_EQ(f.platform.messages()[0].text, "The rotated picture would be too large.");
  EXPECT_EQ(f.state.Picture2.width(), 24000);
  EXPECT_FALSE(f.app.undoRing->canUndo());
  EXPECT_NE(rotateDialog(f), nullptr);
  EXPECT_FALSE(f.ui.form.enabled);
}

}  // namespace
}  // namespace plotvane
