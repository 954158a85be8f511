// The edits of the working picture: the scale and eraser tools, the eraser, the rotation dialog,
// and saving the picture.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "picture/bitmap_file.h"
#include "picture/rotation.h"
#include "support/file_bytes.h"
#include "support/picture_form.h"
#include "view/picture_tools.h"
#include "view/rotate_dialog.h"
#include "view/save_picture.h"
#include "view/undo_commands.h"
#include "view/view.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::PictureForm;

constexpr std::uint32_t kWhite = 0xFFFFFF, kInk = 0x102030;

const std::string& panel(const PictureForm& f, StatusPanel which) {
  return f.ui.StatusBar1.panels.at(static_cast<std::size_t>(which));
}

// The tool and the checks of the menu commands and the toolbar buttons, scale then eraser.
void expectTool(PictureForm& f, PictureTool tool) {
  const auto checks = [&](MenuId id) {
    return std::pair(f.ui.menu(id).value, testing::toolButtonOf(f.ui, id).value);
  };
  const auto on = [](bool b) { return std::pair(b ? 1 : 0, b ? 1 : 0); };
  EXPECT_EQ(std::tuple(f.state.tool, checks(MenuId::mnuScale), checks(MenuId::mnuErase)),
            std::tuple(tool, on(tool == PictureTool::Scale), on(tool == PictureTool::Eraser)));
}

// The white pixels of a picture as runs "y:x0-x1", a row's runs joined by ','.
std::string whiteRuns(const PixelArray& picture) {
  std::string text;
  for (int y = 0; y < picture.height(); ++y) {
    std::string row;
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.at(x, y) != kWhite || (x > 0 && picture.at(x - 1, y) == kWhite)) continue;
      int end = x;
      while (end + 1 < picture.width() && picture.at(end + 1, y) == kWhite) ++end;
      row += (row.empty() ? "" : ",") + std::to_string(x) + "-" + std::to_string(end);
    }
    if (!row.empty()) text += (text.empty() ? "" : " ") + std::to_string(y) + ":" + row;
  }
  return text;
}

// Size 3 at zoom 1: radius 2 around (10, 10); size 5 at zoom 2: radius 4 / 2 = 2 around (10, 10.5);
// size 3 at zoom 1/2: radius 2 / 0.5 = 4 around (10, 10); size 1: the pixel alone.
TEST(PictureTools, AnEraserDabWhitensTheDiscOnTheWorkingPicture) {
  // clang-format off
  const struct { float zoom; const char* size; float x, y; const char* white; } cases[] = {
      {1, "3", 10, 10, "8:10-10 9:9-11 10:8-12 11:9-11 12:10-10"},
      {2, "5", 20, 21, "9:9-11 10:9-11 11:9-11 12:9-11"},
      {0.5f, "3", 5, 5, "6:10-10 7:8-12 8:7-13 9:7-13 10:6-14 11:7-13 12:7-13 13:8-12 14:10-10"},
      {1, "1", 3, 4, "4:3-3"}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "size " << c.size << " at zoom " << c.zoom);
    PictureForm f;
    ASSERT_TRUE(f.load("ink.bmp", PixelArray(24, 24, kInk)));
    f.app.zoom = c.zoom;
    f.ui.txtErs.setText(c.size);
    EraserDab(f.form, c.x, c.y);  // on the view, not scrolled
    EXPECT_EQ(whiteRuns(f.state.Picture2.pixels()), c.white);
  }
}

// Scale and eraser are never both on and may both be off.
TEST(PictureTools, ToolsAndAStrokeShownAtOnceAndUndoneInOneStep) {
  PictureForm f;
  expectTool(f, PictureTool::Scale);
  menuClick(f.form, MenuId::mnuErase);
  expectTool(f, PictureTool::Eraser);
  menuClick(f.form, MenuId::mnuErase);
  expectTool(f, PictureTool::None);
  toolbarButtonClick(f.form, *toolbarPositionOf(MenuId::mnuScale));
  expectTool(f, PictureTool::Scale);
  menuClick(f.form, MenuId::mnuScale);
  expectTool(f, PictureTool::None);
  menuClick(f.form, MenuId::mnuErase);
  menuClick(f.form, MenuId::mnuScale);
  expectTool(f, PictureTool::Scale);
  ASSERT_TRUE(f.load("ink.bmp", PixelArray(300, 200, kInk)));
  ASSERT_EQ(f.app.zoom, 1);
  menuClick(f.form, MenuId::mnuErase);
  f.ui.txtErs.setText("4");
  eraserPress(f.form, 50, 50);
  EXPECT_EQ(std::pair(f.state.Picture1Image.at(53, 50), f.state.Picture1Image.at(54, 50)),
            std::pair(kWhite, kInk));  // radius 3 on the view
  for (float x = 52; x <= 120; x += 2) eraserMove(f.form, x, 50, true);
  eraserMove(f.form, 200, 100, false);  // the footprint follows without painting
  EXPECT_EQ(std::tuple(f.ui.shapEraseRange.left, f.ui.shapEraseRange.visible),
            std::tuple(198, true));
  eraserRelease(f.form);
  EXPECT_EQ(
      std::pair(f.state.Picture2.pixels().at(120, 52), f.state.Picture2.pixels().at(200, 100)),
      std::pair(kWhite, kInk));
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.pixels(), PixelArray(300, 200, kInk));
  EXPECT_EQ(f.state.Picture1Image.at(53, 50), kInk);
  EXPECT_FALSE(f.ui.menu(MenuId::mnuEdetUndo).enabled);
  menuClick(f.form, MenuId::mnuEdetRedo);
  EXPECT_EQ(f.state.Picture2.pixels().at(120, 52), kWhite);
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
  menuClick(f.form, MenuId::mnuPictRot);  // nor rotated
  EXPECT_EQ(f.form.dialog(DialogId::Rotate), nullptr);
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

// Loaded afresh each time: what the user changed does not come back; only Enter runs OK, turning
// the picture by the angle of the direction and the text.
TEST(RotateDialog, OpensWithTheStartValuesOnlyOverAPictureAndEnterRunsOk) {
  PictureForm empty;
  menuClick(empty.form, MenuId::mnuPictRot);
  EXPECT_EQ(rotateDialog(empty), nullptr);
  PictureForm f;
  const PixelArray source = codedPicture(6, 4);
  ASSERT_TRUE(f.load("chart.bmp", source));
  for (int opening = 0; opening < 2; ++opening) {
    menuClick(f.form, MenuId::mnuPictRot);
    ASSERT_NE(rotateDialog(f), nullptr);
    EXPECT_EQ(
        std::tuple(rotateDialog(f)->txtRot.text, rotateDialog(f)->Option1.value, f.ui.form.enabled),
        std::tuple("1", 1, false));
    rotateOptionClick(f.form, false);
    rotateDialog(f)->txtRot.setText("15");
    rotateKeyPress(f.form, 'a');
    rotateCancelClick(f.form);
    EXPECT_EQ(rotateDialog(f), nullptr);
    EXPECT_TRUE(f.ui.form.enabled);
    EXPECT_EQ(f.state.Picture2.pixels(), source);
  }
  menuClick(f.form, MenuId::mnuPictRot);
  rotateDialog(f)->txtRot.setText(" 4 0");
  rotateOptionClick(f.form, false);
  rotateKeyPress(f.form, 13);
  EXPECT_EQ(f.state.Picture2.pixels(), RotatePicture(source, 40).value());
  EXPECT_EQ(panel(f, StatusPanel::PictureSize), "Size : w:7 h:7");
  EXPECT_EQ(f.app.undoRing->undoCount(), 1);
  EXPECT_EQ(rotateDialog(f), nullptr);
}

// A 40 x 20 picture selected whole, turned a quarter: the rectangle is cut to the 20 x 40 result,
// and Undo brings back picture, size, rectangle and view.
TEST(RotateDialog, TheRectangleStaysInsideTheTurnedPictureAndUndoBringsItBack) {
  PictureForm f;
  const PixelArray source = codedPicture(40, 20);
  ASSERT_TRUE(f.load("chart.bmp", source));
  const PixelRect whole{0, 40, 0, 20}, clamped{0, 20, 0, 20};
  ASSERT_EQ(f.state.Picture2.rect(), whole);
  rotateBy(f, false, "90");
  ASSERT_EQ(f.app.zoom, 1);
  EXPECT_EQ(f.ui.Line2.x1, 19);  // the right edge's line follows onto the view: the last column
  const auto expectState = [&](const char* when, int width, PixelRect rect, const char* size) {
    EXPECT_EQ(f.state.Picture2.width(), width) << when;
    EXPECT_EQ(f.state.Picture2.rect(), rect) << when;
    EXPECT_EQ(panel(f, StatusPanel::SelectedArea), std::string("Selected Area : l:0 t:0  ") + size)
        << when;
  };
  expectState("turned", 20, clamped, "w:20 h:20");
  menuClick(f.form, MenuId::mnuEdetUndo);
  expectState("undone", 40, whole, "w:40 h:20");
  menuClick(f.form, MenuId::mnuEdetRedo);
  expectState("redone", 20, clamped, "w:20 h:20");
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.pixels(), source);
  EXPECT_EQ(panel(f, StatusPanel::PictureSize), "Size : w:40 h:20");
  EXPECT_EQ(f.state.Picture1Image.at(39, 0), source.at(39, 0));
}

// 500 x 300 at zoom 64 is 32 000 display pixels wide; turned by 45 degrees it is 566 x 566, too
// wide for 16 bits at 64: the view steps out to 32 and shows the new picture.
TEST(RotateDialog, AGrownPictureIsShownAtAZoomThatFits) {
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(500, 300)));
  while (f.app.zoom < 64) menuClick(f.form, MenuId::mnuZoomIn);
  rotateBy(f, false, "45");
  ASSERT_EQ(f.state.Picture2.width(), 566);
  EXPECT_EQ(f.app.zoom, 32);
  f.ui.HScroll1.value = f.ui.HScroll1.maximum / 2;  // inside, away from the white corners
  f.ui.VScroll1.value = f.ui.VScroll1.maximum / 2;
  scrollBarChange(f.form);
  const int x = f.ui.HScroll1.value / 32, y = f.ui.VScroll1.value / 32;
  const PixelArray& turned = f.state.Picture2.pixels();
  ASSERT_NE(turned.at(x, y), kWhite);
  EXPECT_EQ(f.state.Picture1Image.at(0, 0), turned.at(x, y));
  EXPECT_EQ(f.state.Picture1Image.at(31, 31), turned.at(x, y));
  EXPECT_EQ(f.state.Picture1Image.at(32, 64), turned.at(x + 1, y + 2));
}

// The rotation yields once per column; the dialog's commands given then wait for it, and the main
// window stays disabled until the dialog unloads.
TEST(RotateDialog, CommandsGivenWhileTheRotationYieldsAreIgnoredAndAShutDownUnloadsIt) {
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(30, 20)));
  menuClick(f.form, MenuId::mnuPictRot);
  rotateDialog(f)->txtRot.setText("90");
  int yields = 0;
  bool windowEnabledDuringRun = false, barShown = true;
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
  EXPECT_FALSE(f.ui.ProgressBar1.visible);
  EXPECT_EQ(f.state.Picture2.width(), 20);
  EXPECT_EQ(rotateDialog(f), nullptr);
  // A shut-down during the yields unloads the dialog; the rotation finishes without touching it.
  f.platform.setYieldHook([&] {
    if (!f.state.closed) formUnload(f.form);
  });
  rotateBy(f, false, "90");
  f.platform.setYieldHook({});
  EXPECT_TRUE(f.state.closed);
  EXPECT_EQ(rotateDialog(f), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
}

// 24 000 x 1 turned by 45 degrees would need 16 971 x 16 971 pixels (over 1 GiB): refused before
// anything changes, and the dialog stays open.
TEST(RotateDialog, AResultBeyondThePictureLimitsIsRefused) {
  PictureForm f;
  ASSERT_TRUE(f.load("wide.bmp", PixelArray(24000, 1, kWhite)));
  rotateBy(f, false, "45");
  EXPECT_EQ(f.platform.messages().size(), 1u);
  EXPECT_EQ(f.state.Picture2.width(), 24000);
  EXPECT_FALSE(f.app.undoRing->canUndo());
  EXPECT_NE(rotateDialog(f), nullptr);
  EXPECT_FALSE(f.ui.form.enabled);
}

using testing::codedPicture;
using testing::readAll;
using testing::writeAll;
using Op = HeadlessPlatform::FileOperation;
using R = MessageResult;
using Names = std::set<std::string>;

const std::string kOld = "the picture that was there";

class SavePicture : public ::testing::Test {
 protected:
  SavePicture() { EXPECT_TRUE(f.load("chart.bmp", codedPicture(6, 4))); }

  // Queues the dialog's answers (nothing = cancelled) and the question's, then runs the command
  // with the messages cleared.
  void save(const std::vector<std::optional<std::string>>& names, const std::vector<R>& answers) {
    f.platform.clearMessages();
    for (const auto& name : names)
      f.platform.queueSaveFile(name ? std::optional(SaveDialogChoice{*name, 1}) : std::nullopt);
    for (R answer : answers) f.platform.queueAnswer(answer);
    menuClick(f.form, MenuId::mnuFileSave);
  }
  Names names() const {
    Names found;
    for (const auto& entry : std::filesystem::directory_iterator(f.folder.path()))
      found.insert(entry.path().filename());
    return found;
  }

  testing::PictureForm f;
};

// A new name is written without a question, a cancelled dialog writes nothing; over an existing
// file Yes replaces, No writes nothing, Cancel shows the dialog again.
TEST_F(SavePicture, TheAnswersToTheOverwriteQuestion) {
  const std::string target = f.folder.file("saved.bmp");
  // clang-format off
  const struct { const char* name; bool existed = true; std::vector<R> answers; bool written; } cases[] = {
      {.name = "new name", .existed = false, .answers = {}, .written = true},
      {.name = "Yes", .answers = {R::Yes}, .written = true},
      {.name = "No", .answers = {R::No}, .written = false},
      {.name = "Cancel, Yes", .answers = {R::Cancel, R::Yes}, .written = true},
      {.name = "Cancel, No", .answers = {R::Cancel, R::No}, .written = false}};
  // clang-format on
  save({std::nullopt}, {});
  EXPECT_TRUE(names().empty());
  EXPECT_TRUE(f.platform.messages().empty());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(target);
    if (c.existed) writeAll(target, kOld);
    const std::size_t dialogs = f.platform.saveDialogs().size(), shown = c.existed ? 0 : 1;
    save(std::vector<std::optional<std::string>>(c.answers.size() + shown, target), c.answers);
    EXPECT_EQ(readAll(target), c.written ? bitmapFileBytes(codedPicture(6, 4)) : kOld);
    EXPECT_EQ(f.platform.saveDialogs().size() - dialogs, c.answers.size() + shown);
    ASSERT_EQ(f.platform.messages().size(), c.answers.size());
    for (const ShownMessage& question : f.platform.messages())
      EXPECT_EQ(question.buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(names(), Names{"saved.bmp"});
  }
}

// The working picture as it is now (turned CW by 90, which is 270), none of the view's overlays.
TEST_F(SavePicture, TheFileIsTheWorkingPictureAfterARotation) {
  menuClick(f.form, MenuId::mnuPictRot);
  f.form.dialogAs<RotateDialog>(DialogId::Rotate)->txtRot.setText("90");
  rotateOkClick(f.form);
  save({f.folder.file("turned.bmp")}, {});
  EXPECT_EQ(readAll(f.folder.file("turned.bmp")),
            bitmapFileBytes(RotatePicture(codedPicture(6, 4), 270).value()));
}

// Every failure is reported with the system's description and the exclamation icon; the file that
// was there stays byte for byte, and no temporary file is left.
TEST_F(SavePicture, AFailedWriteIsReportedAndKeepsTheOldFile) {
  const std::string kept = f.folder.file("kept.bmp"), fresh = f.folder.file("fresh.bmp");
  // clang-format off
  const struct { std::string path; Op failing; FileError error; } cases[] = {
      {kept, Op::Write, ENOSPC}, {kept, Op::Close, EIO}, {kept, Op::Rename, EACCES},
      {fresh, Op::Write, ENOSPC}, {kept, Op::Exists, EACCES}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.path << " failing in " << int(c.failing));
    writeAll(kept, kOld);
    f.platform.injectFailure(c.failing, c.path, c.error);
    const bool asked = c.path == kept && c.failing != Op::Exists;
    save({c.path}, asked ? std::vector<R>{R::Yes} : std::vector<R>{});
    EXPECT_EQ(readAll(kept), kOld);
    EXPECT_EQ(names(), Names{"kept.bmp"});
    ASSERT_EQ(f.platform.messages().size(), asked ? 2u : 1u);
    const ShownMessage& report = f.platform.messages().back();
    EXPECT_EQ(std::pair(report.text, report.icon),
              std::pair(std::string(std::strerror(c.error)), MessageIcon::Exclamation));
  }
}

}  // namespace
}  // namespace plotvane
