#include "loading/load_picture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form1_events.h"
#include "digitize/graph_type.h"
#include "picture/picture_form.h"
#include "picture/selection.h"
#include "picture/view.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::PictureForm;

std::string panel(const Form1& form, std::size_t number) {
  const auto& panels = form.ui.StatusBar1.panels;
  return panels.size() >= number ? panels[number - 1] : std::string();
}

TEST(FitZoom, HalvesUntilThePictureFitsAndStopsAtOneSixtyFourth) {
  struct Case {
    int width, height, freeWidth, freeHeight;
    float zoom;
  };
  const Case cases[] = {
      {640, 480, 9600, 7200, 1},     // exactly as wide and as high as the room
      {640, 480, 9599, 7200, 0.5f},  // one twip less
      {640, 480, 9600, 7199, 0.5f},
      {800, 200, 3000, 3000, 0.25f},     // four times wider, as high: the width decides
      {800, 2000, 3000, 3000, 0.0625f},  // the height loop goes on from the width's result
      {10, 10, 100000, 100000, 1},       // never enlarged
      {640, 480, 0, 7200, 1.0f / 64},    // no room: the floor, not an endless loop
      {640, 480, -500, -500, 1.0f / 64},
      {32766, 32766, 100, 100, 1.0f / 64},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fitZoom(c.width, c.height, c.freeWidth, c.freeHeight), c.zoom)
        << c.width << "x" << c.height << " in " << c.freeWidth << "x" << c.freeHeight;
}

TEST(LoadPicture, FitUsesTheWindowsRealSize) {
  // Free width = client width - viewport left (4740) - 100.
  const int exact = 4740 + 100 + 640 * 15;
  PictureForm fits(exact, 800 * 15);
  ASSERT_TRUE(fits.load("chart.bmp", codedPicture(640, 480)));
  EXPECT_EQ(fits.app.zoom, 1);
  PictureForm narrower(exact - 1, 800 * 15);
  ASSERT_TRUE(narrower.load("chart.bmp", codedPicture(640, 480)));
  EXPECT_EQ(narrower.app.zoom, 0.5f);
}

TEST(LoadPicture, AGoodPictureResetsTheApplicationToAFreshOne) {
  PictureForm f;
  f.app.undoCount = 3;
  f.app.redoCount = 2;
  f.app.undoCursor = 5;
  f.app.undoSnapshots.at(1).kind = 1;
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
  for (const Control* field : {&f.ui.txtLXS, &f.ui.txtLXE, &f.ui.txtLYT, &f.ui.txtLYB})
    EXPECT_TRUE(field->visible) << field->name;
  EXPECT_EQ(panel(f.form, 3), "Selected Area : l:0 t:0  w:640 h:480");
  EXPECT_EQ(panel(f.form, 4), "Size : w:640 h:480");
  EXPECT_EQ(panel(f.form, 5), "Magnification : 1");
  EXPECT_EQ(f.app.lineXS, 0);
  EXPECT_EQ(f.app.lineXE, 640);
  EXPECT_EQ(f.app.lineYT, 0);
  EXPECT_EQ(f.app.lineYB, 480);

  EXPECT_EQ(f.app.undoCount, 0);
  EXPECT_EQ(f.app.redoCount, 0);
  EXPECT_EQ(f.app.undoCursor, 0);
  EXPECT_EQ(f.app.undoSnapshots.at(1).pixels.size(), 1u);
  EXPECT_EQ(f.app.undoSnapshots.at(1).kind, 1);
  EXPECT_FALSE(f.ui.menu(MenuId::mnuEdetUndo).enabled);
  EXPECT_FALSE(f.ui.menu(MenuId::mnuEdetRedo).enabled);
  EXPECT_EQ(listClears, 1);

  for (MenuId id : {MenuId::mnuZoomIn, MenuId::mnuZoomOut, MenuId::mnuSelectAll, MenuId::mnuErase,
                    MenuId::mnuPictRot, MenuId::mnuFilter, MenuId::mnuFileSave,
                    MenuId::mnuFileRedraw, MenuId::mnuExeCancel, MenuId::mnuExeStart})
    EXPECT_TRUE(f.ui.menu(id).enabled) << f.ui.menu(id).name;
  EXPECT_TRUE(f.platform.messages().empty());

  // An empty list is not cleared again.
  f.app.pointCount = 0;
  ASSERT_TRUE(f.load("/charts/other.bmp", codedPicture(20, 10)));
  EXPECT_EQ(listClears, 1);
  EXPECT_EQ(panel(f.form, 4), "Size : w:20 h:10");
}

TEST(LoadPicture, ExecuteFollowsTheGraphType) {
  const bool executeEnabled[] = {true, true, false, true, false};
  for (int type = 1; type <= 5; ++type) {
    PictureForm f;
    f.ui.cmbGraphType.selected = type;
    cmbGraphTypeClick(f.form);
    ASSERT_TRUE(f.load("chart.bmp", codedPicture(30, 20)));
    EXPECT_EQ(f.ui.menu(MenuId::mnuExeStart).enabled, executeEnabled[type - 1]) << type;
  }
}

TEST(LoadPicture, EverySourceLoads) {
  {
    PictureForm f;
    f.platform.setPicture("/a/dialog.bmp", codedPicture(30, 20));
    f.platform.queueOpenFile("/a/dialog.bmp");
    menuClick(f.form, MenuId::mnuFileOpen);
    EXPECT_EQ(f.state.picturePath, "/a/dialog.bmp");
  }
  {
    PictureForm f;
    f.platform.setPicture("/a/first.gif", codedPicture(30, 20));
    f.platform.setPicture("/a/second.gif", codedPicture(40, 20));
    formDropFiles(f.form, {"/a/first.gif", "/a/second.gif"});
    EXPECT_EQ(f.state.picturePath, "/a/first.gif");
    EXPECT_EQ(f.platform.pictureReads(), std::vector<std::string>{"/a/first.gif"});
    formDropFiles(f.form, {});
    EXPECT_EQ(f.platform.pictureReads().size(), 1u);
  }
  {
    PictureForm f;
    f.platform.setPicture("/a/with space.jpg", codedPicture(30, 20));
    formShown(f.form, std::string("\"/a/with space.jpg\""));
    EXPECT_EQ(f.state.picturePath, "/a/with space.jpg");
  }
  {
    // Restore reads the file again: edits, zoom and undo state go.
    PictureForm f;
    ASSERT_TRUE(f.load("/a/restore.bmp", codedPicture(300, 200)));
    f.state.Picture2.set(5, 5, 0xFFFFFF);
    menuClick(f.form, MenuId::mnuZoomIn);
    f.app.undoCount = 1;
    f.form.setCommandEnabled(MenuId::mnuEdetUndo, true);
    menuClick(f.form, MenuId::mnuFileRedraw);
    EXPECT_EQ(f.state.Picture2, codedPicture(300, 200));
    EXPECT_EQ(f.app.zoom, 1);
    EXPECT_EQ(f.app.undoCount, 0);
    EXPECT_FALSE(f.ui.menu(MenuId::mnuEdetUndo).enabled);
  }
}

TEST(LoadPicture, OpenDialogShowsTheFiveChoicesAndCancelDoesNothing) {
  PictureForm f;
  menuClick(f.form, MenuId::mnuFileOpen);  // nothing queued: cancelled
  ASSERT_EQ(f.platform.fileDialogs().size(), 1u);
  const FileDialogRequest& request = f.platform.fileDialogs().front();
  EXPECT_EQ(request.title, "Open Picture File");
  const std::vector<std::string> texts = {"All Picture Files (*.*)", "Windows Bitmap (*.bmp)",
                                          "JPEG Files (*.jpg)", "GIF Filesk (*.gif)",
                                          "All Files (*.*)"};
  const std::vector<std::vector<std::string>> patterns = {
      {"*.bmp", "*.jpg", "*.jpeg", "*.gif", "*.png"}, {"*.bmp"}, {"*.jpg"}, {"*.gif"}, {"*"}};
  ASSERT_EQ(request.filters.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(request.filters[i].text, texts[i]);
    EXPECT_EQ(request.filters[i].patterns, patterns[i]);
  }
  EXPECT_TRUE(f.platform.pictureReads().empty());
  EXPECT_TRUE(f.platform.messages().empty());
  EXPECT_TRUE(f.state.picturePath.empty());
  EXPECT_EQ(f.app.zoom, 0);

  menuClick(f.form, MenuId::mnuLangJP);
  menuClick(f.form, MenuId::mnuFileOpen);
  EXPECT_EQ(f.platform.fileDialogs().back().title, "画像を開く");
  EXPECT_EQ(f.platform.fileDialogs().back().filters[3].text, "GIFﾌｧｲﾙ (*.gif)");
}

TEST(LoadPicture, RestoreBeforeAnyPictureReadsNothing) {
  PictureForm f;
  menuClick(f.form, MenuId::mnuFileRedraw);
  EXPECT_TRUE(f.platform.pictureReads().empty());
  EXPECT_TRUE(f.platform.messages().empty());
}

// Everything a load changes, to check that a failed one changed none of it.
struct Snapshot {
  explicit Snapshot(const Form1& form)
      : path(form.state.picturePath),
        picture(form.state.Picture2),
        view(form.state.Picture1Image),
        zoom(form.app.zoom),
        panels(form.ui.StatusBar1.panels),
        rectangle{form.app.lineXS, form.app.lineXE, form.app.lineYT, form.app.lineYB},
        scroll{form.ui.HScroll1.value, form.ui.VScroll1.value},
        undoCount(form.app.undoCount),
        pointCount(form.app.pointCount) {
    for (const Control& menu : form.ui.menus) enabled.push_back(menu.enabled);
  }
  bool operator==(const Snapshot&) const = default;

  std::string path;
  PixelArray picture, view;
  float zoom;
  std::vector<std::string> panels;
  std::vector<float> rectangle;
  std::vector<int> scroll;
  int undoCount, pointCount;
  std::vector<bool> enabled;
};

TEST(LoadPicture, EveryFailureShowsMessageFiveAndChangesNothing) {
  using Source = void (*)(PictureForm&, const std::string&);
  const std::pair<const char*, Source> sources[] = {
      {"open dialog",
       [](PictureForm& f, const std::string& path) {
         f.platform.queueOpenFile(path);
         menuClick(f.form, MenuId::mnuFileOpen);
       }},
      {"drop", [](PictureForm& f, const std::string& path) { formDropFiles(f.form, {path}); }},
      {"command line",
       [](PictureForm& f, const std::string& path) { formShown(f.form, "\"" + path + "\""); }},
      {"restore of a file gone bad",
       [](PictureForm& f, const std::string&) {
         f.platform.removePicture(f.state.picturePath);
         menuClick(f.form, MenuId::mnuFileRedraw);
       }},
  };
  // Unreadable, wider or taller than 32 766 pixels.
  const std::pair<const char*, PixelArray> bad[] = {
      {"/bad/unreadable.bmp", PixelArray()},
      {"/bad/wide.bmp", PixelArray(32767, 1, 0)},
      {"/bad/tall.bmp", PixelArray(2, 32767, 0)},
  };
  for (bool pictureBefore : {false, true})
    for (const auto& [sourceName, source] : sources)
      for (const auto& [path, picture] : bad) {
        PictureForm f;
        if (pictureBefore) {
          ASSERT_TRUE(f.load("/good/chart.bmp", codedPicture(900, 700)));
          menuClick(f.form, MenuId::mnuZoomIn);
          f.ui.HScroll1.value = 30;
          scrollBarChange(f.form);
          f.app.pointCount = 4;
          f.app.undoCount = 2;
        } else if (std::string(sourceName) == "restore of a file gone bad") {
          continue;  // nothing to restore yet
        }
        if (!picture.empty()) f.platform.setPicture(path, picture);
        const Snapshot before(f.form);
        f.platform.clearMessages();
        source(f, path);
        EXPECT_TRUE(Snapshot(f.form) == before) << sourceName << " " << path;
        ASSERT_EQ(f.platform.messages().size(), 1u) << sourceName << " " << path;
        EXPECT_EQ(f.platform.messages()[0].text, "Tthis type of file is not supported.");
        EXPECT_EQ(f.platform.messages()[0].icon, MessageIcon::None);
        EXPECT_EQ(f.platform.messages()[0].buttons, MessageButtons::Ok);
      }
}

TEST(SelectAll, WholePictureWithoutAnUndoSnapshot) {
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(640, 480)));
  f.app.lineXS = 12;
  f.app.lineXE = 300.5f;
  f.app.lineYT = 40;
  f.app.lineYB = 41;
  const int undoCount = f.app.undoCount;
  toolbarButtonClick(f.form, 8);  // btnSelectAll
  EXPECT_EQ(f.app.lineXS, 0);
  EXPECT_EQ(f.app.lineXE, 640);
  EXPECT_EQ(f.app.lineYT, 0);
  EXPECT_EQ(f.app.lineYB, 480);
  EXPECT_EQ(panel(f.form, 3), "Selected Area : l:0 t:0  w:640 h:480");
  EXPECT_EQ(f.app.undoCount, undoCount);
  EXPECT_EQ(f.app.undoSnapshots.at(0).kind, 0);

  menuClick(f.form, MenuId::mnuLangJP);
  mnuSelectAllClick(f.form);
  EXPECT_EQ(panel(f.form, 3), "選択領域 : l:0 t:0  w:640 h:480");
}

}  // namespace
}  // namespace plotvane
