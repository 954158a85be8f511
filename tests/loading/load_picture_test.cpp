#include "loading/load_picture.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/form1_events.h"
#include "digitize/graph_type.h"
#include "picture/picture_form.h"
#include "picture/view.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::PictureForm;

TEST(FitZoom, HalvesUntilThePictureFitsAndStopsAtOneSixtyFourth) {
  // Picture width and height, free width and height in twips, the zoom.
  for (auto [width, height, freeWidth, freeHeight, zoom] : {
           std::tuple{640, 480, 9600, 7200, 1.0f},  // exactly as wide and as high as the room
           {640, 480, 9599, 7200, 0.5f},            // one twip less
           {640, 480, 9600, 7199, 0.5f},
           {800, 200, 3000, 3000, 0.25f},     // the width decides
           {800, 2000, 3000, 3000, 0.0625f},  // the height goes on from the width's result
           {10, 10, 100000, 100000, 1.0f},    // never enlarged
           {640, 480, 0, 7200, 1.0f / 64},    // no room: the floor, not an endless loop
           {640, 480, -500, -500, 1.0f / 64},
       })
    EXPECT_EQ(fitZoom(width, height, freeWidth, freeHeight), zoom)
        << width << "x" << height << " in " << freeWidth << "x" << freeHeight;
}

TEST(LoadPicture, FitUsesTheWindowsRealSize) {
  // Free width = client width - viewport left (4740) - 100.
  const int exact = 4740 + 100 + 640 * 15;
  for (int width : {exact, exact - 1}) {
    PictureForm f(width, 800 * 15);
    ASSERT_TRUE(f.load("chart.bmp", codedPicture(640, 480)));
    EXPECT_EQ(f.app.zoom, width == exact ? 1 : 0.5f);
  }
}

TEST(LoadPicture, AGoodPictureResetsTheApplicationToAFreshOne) {
  PictureForm f;
  f.app.undoCount = 3;
  f.app.redoCount = 2;
  f.app.undoCursor = 5;
  f.app.undoSnapshots.at(1).pixels.assign(1000, 7);
  int listClears = 0;
  f.ui.cmdListDelAll.onChange = [&] { ++listClears; };
  f.app.pointCount = 12;
  f.form.setCommandEnabled(MenuId::mnuEdetUndo, true);

  ASSERT_TRUE(f.load("/charts/line.bmp", codedPicture(640, 480)));
  EXPECT_EQ(f.state.picturePath, "/charts/line.bmp");
  EXPECT_EQ(f.state.Picture2, codedPicture(640, 480));
  EXPECT_EQ(f.state.Picture1Image, codedPicture(640, 480));
  EXPECT_TRUE(f.ui.Picture1.visible);
  EXPECT_EQ(f.ui.StatusBar1.panels.at(2), "Selected Area : l:0 t:0  w:640 h:480");
  EXPECT_EQ(f.ui.StatusBar1.panels.at(3), "Size : w:640 h:480");
  EXPECT_EQ(f.ui.StatusBar1.panels.at(4), "Magnification : 1");
  EXPECT_EQ(std::tuple(f.app.undoCount, f.app.redoCount, f.app.undoCursor), std::tuple(0, 0, 0));
  EXPECT_EQ(f.app.undoSnapshots.at(1).pixels.size(), 1u);  // the memory goes
  EXPECT_FALSE(f.ui.menu(MenuId::mnuEdetUndo).enabled || f.ui.menu(MenuId::mnuEdetRedo).enabled);
  EXPECT_EQ(listClears, 1);
  for (MenuId id : {MenuId::mnuZoomIn, MenuId::mnuZoomOut, MenuId::mnuSelectAll, MenuId::mnuErase,
                    MenuId::mnuPictRot, MenuId::mnuFilter, MenuId::mnuFileSave,
                    MenuId::mnuFileRedraw, MenuId::mnuExeCancel, MenuId::mnuExeStart})
    EXPECT_TRUE(f.ui.menu(id).enabled) << f.ui.menu(id).name;
  EXPECT_TRUE(f.platform.messages().empty());

  f.app.pointCount = 0;  // an empty list is not cleared again
  ASSERT_TRUE(f.load("/charts/other.bmp", codedPicture(20, 10)));
  EXPECT_EQ(listClears, 1);
  EXPECT_EQ(f.ui.StatusBar1.panels.at(3), "Size : w:20 h:10");

  // Select All takes the whole picture again, without an undo snapshot.
  f.app.lineXS = 12;
  f.app.lineXE = 15.5f;
  f.app.lineYT = 4;
  toolbarButtonClick(f.form, 8);  // btnSelectAll
  EXPECT_EQ(std::tuple(f.app.lineXS, f.app.lineXE, f.app.lineYT, f.app.lineYB),
            std::tuple(0, 20, 0, 10));
  EXPECT_EQ(f.ui.StatusBar1.panels.at(2), "Selected Area : l:0 t:0  w:20 h:10");
  EXPECT_EQ(f.app.undoCount, 0);
  EXPECT_EQ(f.app.undoSnapshots.at(0).kind, 0);
}

TEST(LoadPicture, ExecuteFollowsTheGraphType) {
  for (int type = 1; type <= 5; ++type) {
    PictureForm f;
    f.ui.cmbGraphType.selected = type;
    cmbGraphTypeClick(f.form);
    ASSERT_TRUE(f.load("chart.bmp", codedPicture(30, 20)));
    EXPECT_EQ(f.ui.menu(MenuId::mnuExeStart).enabled, type != 3 && type != 5) << type;
  }
}

// Loads the path as the open dialog (0), a drop of it and another file (1),
// the command line (2) or Restore of the current picture (3) does.
void loadBy(int source, PictureForm& f, const std::string& path) {
  if (source == 0) {
    f.platform.queueOpenFile(path);
    menuClick(f.form, MenuId::mnuFileOpen);
  } else if (source == 1) {
    formDropFiles(f.form, {path, "/a/second.gif"});
  } else if (source == 2) {
    formShown(f.form, "\"" + path + "\"");
  } else {
    menuClick(f.form, MenuId::mnuFileRedraw);
  }
}

TEST(LoadPicture, EverySourceLoads) {
  for (int source = 0; source < 3; ++source) {
    PictureForm f;
    f.platform.setPicture("/a/with space.gif", codedPicture(30, 20));
    f.platform.setPicture("/a/second.gif", codedPicture(40, 20));
    loadBy(source, f, "/a/with space.gif");
    EXPECT_EQ(f.state.picturePath, "/a/with space.gif") << source;
    EXPECT_EQ(f.platform.pictureReads(), std::vector<std::string>{"/a/with space.gif"}) << source;
  }
  // An empty drop and Restore before any picture do nothing.
  PictureForm f;
  formDropFiles(f.form, {});
  loadBy(3, f, "");
  EXPECT_TRUE(f.platform.pictureReads().empty());
  EXPECT_TRUE(f.platform.messages().empty());
  // Restore reads the file again: edits, zoom and undo history go.
  ASSERT_TRUE(f.load("/a/restore.bmp", codedPicture(300, 200)));
  f.state.Picture2.set(5, 5, 0xFFFFFF);
  menuClick(f.form, MenuId::mnuZoomIn);
  f.app.undoCount = 1;
  loadBy(3, f, "");
  EXPECT_EQ(f.state.Picture2, codedPicture(300, 200));
  EXPECT_EQ(f.app.zoom, 1);
  EXPECT_EQ(f.app.undoCount, 0);
}

TEST(LoadPicture, OpenDialogShowsTheFiveChoicesAndCancelDoesNothing) {
  PictureForm f;
  menuClick(f.form, MenuId::mnuFileOpen);  // nothing queued: cancelled
  ASSERT_EQ(f.platform.fileDialogs().size(), 1u);
  const FileDialogRequest& request = f.platform.fileDialogs().front();
  EXPECT_EQ(request.title, "Open Picture File");
  const std::pair<std::string, std::vector<std::string>> filters[] = {
      {"All Picture Files (*.*)", {"*.bmp", "*.jpg", "*.jpeg", "*.gif", "*.png"}},
      {"Windows Bitmap (*.bmp)", {"*.bmp"}},
      {"JPEG Files (*.jpg)", {"*.jpg"}},
      {"GIF Filesk (*.gif)", {"*.gif"}},
      {"All Files (*.*)", {"*"}}};
  ASSERT_EQ(request.filters.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i)
    EXPECT_EQ(std::pair(request.filters[i].text, request.filters[i].patterns), filters[i]);
  EXPECT_TRUE(f.platform.pictureReads().empty());
  menuClick(f.form, MenuId::mnuLangJP);
  menuClick(f.form, MenuId::mnuFileOpen);
  EXPECT_EQ(f.platform.fileDialogs().back().title, "画像を開く");
}

// Everything a load changes, to check that a failed one changed none of it.
auto snapshot(const Form1& f) {
  std::vector<bool> enabled;
  for (const Control& menu : f.ui.menus) enabled.push_back(menu.enabled);
  return std::tuple(f.state.picturePath, f.state.Picture2, f.state.Picture1Image, f.app.zoom,
                    f.ui.StatusBar1.panels, f.app.lineXS, f.app.lineXE, f.app.lineYT, f.app.lineYB,
                    f.ui.HScroll1.value, f.ui.VScroll1.value, f.app.undoCount, f.app.pointCount,
                    enabled);
}

TEST(LoadPicture, EveryFailureShowsMessageFiveAndChangesNothing) {
  // Unreadable, wider or taller than 32 766 pixels.
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
          f.app.undoCount = 2;
        }
        // Restore finds its file gone bad.
        const std::string path = source == 3 ? "/good.bmp" : "/bad.bmp";
        if (picture.empty())
          f.platform.removePicture(path);
        else
          f.platform.setPicture(path, picture);
        const auto before = snapshot(f.form);
        f.platform.clearMessages();
        loadBy(source, f, path);
        EXPECT_TRUE(snapshot(f.form) == before) << source << " " << picture.width();
        ASSERT_EQ(f.platform.messages().size(), 1u) << source << " " << picture.width();
        EXPECT_EQ(f.platform.messages()[0].text, "Tthis type of file is not supported.");
      }
}

}  // namespace
}  // namespace plotvane
