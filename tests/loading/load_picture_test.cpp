#include "loading/load_picture.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "data/data_list.h"
#include "digitize/graph_type.h"
#include "shell/form1_events.h"
#include "support/picture_form.h"
#include "view/undo_commands.h"
#include "view/view.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::PictureForm;
using Names = std::vector<std::string>;

TEST(FitZoom, HalvesUntilThePictureFitsAndStopsAtOneSixtyFourth) {
  // Picture size, free size in twips, zoom: a twip short halves it; no room stops at 1/64.
  const std::tuple<int, int, int, int, float> cases[] = {
      {640, 480, 9600, 7200, 1},    {640, 480, 9599, 7200, 0.5f},
      {640, 480, 9600, 7199, 0.5f}, {800, 2000, 3000, 3000, 1.0f / 16},
      {10, 10, 100000, 100000, 1},  {640, 480, 0, -5, 1.0f / 64}};
  for (auto [width, height, freeWidth, freeHeight, zoom] : cases)
    EXPECT_EQ(fitZoom(width, height, freeWidth, freeHeight), zoom)
        << width << "x" << height << " in " << freeWidth << "x" << freeHeight;
}

TEST(LoadPicture, FitUsesTheWindowsRealSizeAndExecuteFollowsTheGraphType) {
  const int exact = 4740 + 100 + 640 * 15;  // client width - viewport left - 100 = 640 pixels
  for (int type = 1; type <= 5; ++type) {
    PictureForm f(type == 1 ? exact : exact - 1, 800 * 15);
    f.ui.cmbGraphType.selected = type;
    cmbGraphTypeClick(f.form);
    ASSERT_TRUE(f.load("chart.bmp", codedPicture(640, 480)));
    EXPECT_EQ(f.app.zoom, type == 1 ? 1 : 0.5f) << type;
    EXPECT_EQ(f.ui.menu(MenuId::mnuExeStart).enabled, type != 3 && type != 5) << type;
  }
}

TEST(LoadPicture, AGoodPictureResetsTheApplicationToAFreshOne) {
  PictureForm f;
  ASSERT_TRUE(f.load("/charts/first.bmp", codedPicture(64, 48)));
  for (int edit = 0; edit < 3; ++edit) PushUndoSnapshot(f.form, kUndoPicture);
  menuClick(f.form, MenuId::mnuEdetUndo);  // something to redo as well
  for (int point = 0; point < 12; ++point)
    ASSERT_EQ(appendDataPoint(f.form, 1, 2, 3, 4), AddResult::Added);
  f.form.setCommandEnabled(MenuId::mnuEdetUndo, true);

  ASSERT_TRUE(f.load("/charts/line.bmp", codedPicture(640, 480)));
  EXPECT_EQ(f.state.picturePath, "/charts/line.bmp");
  EXPECT_EQ(f.state.Picture1Image, codedPicture(640, 480));
  EXPECT_EQ(f.ui.StatusBar1.panels.at(3), "Size : w:640 h:480");
  EXPECT_EQ(f.app.undoRing->undoCount(), 0);
  EXPECT_EQ(f.app.undoRing->redoCount(), 0);
  EXPECT_EQ(f.app.undoRing->undoCursor(), 0);
  EXPECT_FALSE(f.ui.menu(MenuId::mnuEdetUndo).enabled || f.ui.menu(MenuId::mnuEdetRedo).enabled);
  EXPECT_EQ(f.app.pointCount, 0);
  EXPECT_TRUE(f.ui.ListView1.rows.empty());
  EXPECT_FALSE(f.ui.cmdSaveData.enabled);
  for (MenuId id : {MenuId::mnuZoomIn, MenuId::mnuZoomOut, MenuId::mnuSelectAll, MenuId::mnuErase,
                    MenuId::mnuPictRot, MenuId::mnuFilter, MenuId::mnuFileSave,
                    MenuId::mnuFileRedraw, MenuId::mnuExeCancel, MenuId::mnuExeStart})
    EXPECT_TRUE(f.ui.menu(id).enabled) << f.ui.menu(id).name;

  // Select All takes the whole picture again, as one undoable step.
  f.state.Picture2.setRect({.lineXS = 12, .lineXE = 15.5f, .lineYT = 4, .lineYB = 480});
  toolbarButtonClick(f.form, 8);  // btnSelectAll
  EXPECT_EQ(f.state.Picture2.rect(), (PixelRect{.lineXE = 640, .lineYB = 480}));
  EXPECT_EQ(f.ui.StatusBar1.panels.at(2), "Selected Area : l:0 t:0  w:640 h:480");
  EXPECT_EQ(f.app.undoRing->undoCount(), 1);
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.rect(),
            (PixelRect{.lineXS = 12, .lineXE = 15.5f, .lineYT = 4, .lineYB = 480}));
  // Again on the whole picture, it changes nothing and takes no snapshot.
  toolbarButtonClick(f.form, 8);
  toolbarButtonClick(f.form, 8);
  EXPECT_EQ(f.app.undoRing->undoCount(), 1);
}

// Loads the path as the open dialog (0), a drop of it and another file (1),
// the command line (2) or Restore of the current picture (3) does.
void loadBy(int source, PictureForm& f, const std::string& path) {
  if (source == 0) f.platform.queueOpenFile(path);
  if (source == 0) menuClick(f.form, MenuId::mnuFileOpen);
  if (source == 1) formDropFiles(f.form, {path, "/a/second.gif"});
  if (source == 2) formShown(f.form, "\"" + path + "\"");
  if (source == 3) menuClick(f.form, MenuId::mnuFileRedraw);
}

TEST(LoadPicture, EverySourceLoadsAndTheOpenDialogShowsTheFiveChoices) {
  for (int source = 0; source < 3; ++source) {
    PictureForm f;
    f.platform.setPicture("/a/with space.gif", codedPicture(30, 20));
    loadBy(source, f, "/a/with space.gif");
    EXPECT_EQ(f.state.picturePath, "/a/with space.gif") << source;
    EXPECT_EQ(f.platform.pictureReads(), Names{"/a/with space.gif"}) << source;
  }
  // A cancelled open dialog, an empty drop and Restore before any picture do nothing.
  PictureForm f;
  menuClick(f.form, MenuId::mnuFileOpen);
  formDropFiles(f.form, {});
  loadBy(3, f, "");
  EXPECT_TRUE(f.platform.pictureReads().empty() && f.platform.messages().empty());
  const FileDialogRequest& request = f.platform.fileDialogs().at(0);
  EXPECT_EQ(request.title, "Open Picture File");
  std::vector<std::pair<std::string, Names>> filters;
  for (const FileFilter& filter : request.filters)
    filters.emplace_back(filter.text, filter.patterns);
  EXPECT_EQ(filters,
            (std::vector<std::pair<std::string, Names>>{
                {"All Picture Files (*.*)", {"*.bmp", "*.jpg", "*.jpeg", "*.gif", "*.png"}},
                {"Windows Bitmap (*.bmp)", {"*.bmp"}},
                {"JPEG Files (*.jpg)", {"*.jpg"}},
                {"GIF Filesk (*.gif)", {"*.gif"}},
                {"All Files (*.*)", {"*"}}}));
  // Restore reads the file again: edits and zoom go.
  ASSERT_TRUE(f.load("/a/restore.bmp", codedPicture(300, 200)));
  f.state.Picture2.editRegion(5, 5, 6, 6, [](PixelArray& p) { p.set(5, 5, 0xFFFFFF); });
  menuClick(f.form, MenuId::mnuZoomIn);
  loadBy(3, f, "");
  EXPECT_EQ(f.state.Picture2.pixels(), codedPicture(300, 200));
  EXPECT_EQ(f.app.zoom, 1);
}

// Everything a load changes, to check that a failed one changed none of it.
auto snapshot(const Form1& f) {
  std::vector<bool> enabled;
  for (const Control& menu : f.ui.menus) enabled.push_back(menu.enabled);
  return std::tuple(f.state.picturePath, f.state.Picture2.pixels(), f.state.Picture1Image,
                    f.app.zoom, f.ui.StatusBar1.panels, f.state.Picture2.rect(),
                    f.ui.HScroll1.value, f.ui.VScroll1.value, f.app.undoRing->undoCount(),
                    f.app.pointCount, enabled);
}

TEST(LoadPicture, EveryFailureShowsMessageFiveAndChangesNothing) {
  // Unreadable, wider or taller than 32 766 pixels; from every source, with a
  // picture shown (Restore then finds its file gone bad) and without one.
  const PixelArray bad[] = {PixelArray(), PixelArray(32767, 1, 0), PixelArray(2, 32767, 0)};
  for (bool pictureBefore : {false, true})
    for (int source = 0; source < (pictureBefore ? 4 : 3); ++source)
      for (const PixelArray& picture : bad) {
        PictureForm f;
        if (pictureBefore) {
          ASSERT_TRUE(f.load("/good.bmp", codedPicture(900, 700)));
          menuClick(f.form, MenuId::mnuZoomIn);
          f.ui.HScroll1.value = 30;
          scrollBarChange(f.form);
          f.app.pointCount = 4;
          PushUndoSnapshot(f.form, kUndoPicture);
        }
        const std::string path = source == 3 ? "/good.bmp" : "/bad.bmp";
        picture.empty() ? f.platform.removePicture(path) : f.platform.setPicture(path, picture);
        const auto before = snapshot(f.form);
        loadBy(source, f, path);
        EXPECT_TRUE(snapshot(f.form) == before) << source << " " << picture.width();
        ASSERT_EQ(f.platform.messages().size(), 1u) << source << " " << picture.width();
        EXPECT_EQ(f.platform.messages()[0].text, "Tthis type of file is not supported.");
      }
}

}  // namespace
}  // namespace plotvane
