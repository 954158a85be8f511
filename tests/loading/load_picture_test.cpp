#include "loading/load_picture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
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

TEST(LoadPicture, FitUsesTheWindowsRealSizeAndExecuteFollowsTheGraphType) {
  const int exact = 4740 + 100 + 640 * 15;  // client width - viewport left - 100 = 640 pixels
  // clang-format off
  const struct { GraphType type; int clientWidth; float zoom; bool execute; } cases[] = {
      {.type = kTraceLine, .clientWidth = exact, .zoom = 1, .execute = true},
      {.type = kPlotAllPoints, .clientWidth = exact - 1, .zoom = 0.5f, .execute = true},
      {.type = kPlotOnePoint, .clientWidth = exact - 1, .zoom = 0.5f, .execute = false}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::graphTypeName(c.type));
    PictureForm f(c.clientWidth, 800 * 15);
    f.ui.cmbGraphType.selected = c.type;
    cmbGraphTypeClick(f.form);
    ASSERT_TRUE(f.load("chart.bmp", codedPicture(640, 480)));
    EXPECT_EQ(f.app.zoom, c.zoom);
    EXPECT_EQ(f.ui.menu(MenuId::mnuExeStart).enabled, c.execute);
  }
  EXPECT_EQ(fitZoom(640, 480, 0, -5),
            1.0f / 64);  // no room: the smallest zoom, not endless halving
}

const std::string& panel(const PictureForm& f, StatusPanel panel) {
  return f.ui.StatusBar1.panels.at(static_cast<std::size_t>(panel));
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
  EXPECT_EQ(panel(f, StatusPanel::PictureSize), "Size : w:640 h:480");
  EXPECT_EQ(f.app.undoRing->undoCount(), 0);
  EXPECT_EQ(f.app.undoRing->redoCount(), 0);
  EXPECT_EQ(f.app.undoRing->undoCursor(), 0);
  EXPECT_FALSE(f.ui.menu(MenuId::mnuEdetUndo).enabled);
  EXPECT_EQ(f.app.pointCount, 0);
  EXPECT_TRUE(f.ui.ListView1.rows.empty());

  // Select All takes the whole picture again, as one undoable step; again, it changes nothing.
  f.state.Picture2.setRect({.lineXS = 12, .lineXE = 15.5f, .lineYT = 4, .lineYB = 480});
  for (int click = 0; click < 3; ++click) menuClick(f.form, MenuId::mnuSelectAll);
  EXPECT_EQ(f.state.Picture2.rect(), (PixelRect{0, 640, 0, 480}));
  EXPECT_EQ(panel(f, StatusPanel::SelectedArea), "Selected Area : l:0 t:0  w:640 h:480");
  EXPECT_EQ(f.app.undoRing->undoCount(), 1);
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.rect(), (PixelRect{12, 15.5f, 4, 480}));
}

// The ways a picture is loaded: the open dialog, a drop of it and another file, the command
// line, or Restore of the current picture.
enum Source { kOpenDialog, kDrop, kCommandLine, kRestore };
const char* const kSourceNames[] = {"open dialog", "drop", "command line", "Restore"};

void loadBy(Source source, PictureForm& f, const std::string& path) {
  if (source == kOpenDialog) f.platform.queueOpenFile(path);
  if (source == kOpenDialog) menuClick(f.form, MenuId::mnuFileOpen);
  if (source == kDrop) formDropFiles(f.form, {path, "/a/second.gif"});
  if (source == kCommandLine) formShown(f.form, "\"" + path + "\"");
  if (source == kRestore) menuClick(f.form, MenuId::mnuFileRedraw);
}

// Each source takes the file pane and the next open dialog to the picture's folder; a relative
// command line names a file of the start folder, which Restore reads again after the move.
TEST(LoadPicture, EverySourceLoadsAndTakesThePaneToThePicturesFolder) {
  for (Source source : {kOpenDialog, kDrop, kCommandLine}) {
    SCOPED_TRACE(kSourceNames[source]);
    PictureForm f;
    const std::string charts = f.folder.file("charts"), whole = charts + "/with space.tif";
    std::filesystem::create_directory(charts);
    f.platform.setPicture(whole, codedPicture(20, 10));
    loadBy(source, f, source == kCommandLine ? "charts/with space.tif" : whole);
    EXPECT_EQ(f.state.picturePath, whole);
    EXPECT_EQ(f.platform.pictureReads(), Names{whole});
    EXPECT_EQ(f.platform.currentDirectory(), charts);
    EXPECT_EQ(f.ui.Dir1.path, charts);
    EXPECT_EQ(f.ui.File1.path, charts);
    menuClick(f.form, MenuId::mnuFileOpen);
    EXPECT_EQ(f.platform.fileDialogs().back().folder, charts);
    loadBy(kRestore, f, "");
    EXPECT_EQ(f.platform.pictureReads(), (Names{whole, whole}));
    EXPECT_TRUE(f.platform.messages().empty());
  }
  // A cancelled open dialog, an empty drop and Restore before any picture do nothing.
  PictureForm f;
  menuClick(f.form, MenuId::mnuFileOpen);
  formDropFiles(f.form, {});
  loadBy(kRestore, f, "");
  EXPECT_TRUE(f.platform.pictureReads().empty());
  EXPECT_TRUE(f.platform.messages().empty());
  // Restore reads the file again: edits and zoom go.
  ASSERT_TRUE(f.load("/a/restore.bmp", codedPicture(300, 200)));
  f.state.Picture2.editRegion(5, 5, 6, 6, [](PixelArray& p) { p.set(5, 5, 0xFFFFFF); });
  menuClick(f.form, MenuId::mnuZoomIn);
  loadBy(kRestore, f, "");
  EXPECT_EQ(f.state.Picture2.pixels(), codedPicture(300, 200));
  EXPECT_EQ(f.app.zoom, 1);
}

TEST(LoadPicture, WhileAPictureIsReadTheWindowSaysSoAndThePictureShownIsCounted) {
  PictureForm f;
  ASSERT_TRUE(f.load("/charts/first.bmp", codedPicture(900, 700)));
  struct {
    bool busy = false;
    std::string panel;
  } during;
  f.platform.setPictureReadHook([&] {
    during.busy = f.platform.busy();
    during.panel = panel(f, StatusPanel::PictureSize);
  });
  ASSERT_TRUE(f.load("/charts/second.bmp", codedPicture(30, 20)));
  EXPECT_TRUE(during.busy);
  EXPECT_EQ(during.panel, "Loading : second.bmp");
  EXPECT_EQ(f.platform.lastPictureLimits().heldBytes, 900u * 700 * 4);
  EXPECT_FALSE(f.platform.busy());
  EXPECT_EQ(panel(f, StatusPanel::PictureSize), "Size : w:30 h:20");
  // A failed read puts the size back, and says why.
  EXPECT_FALSE(LoadPictureFile(f.form, "/charts/missing.bmp"));
  EXPECT_EQ(during.panel, "Loading : missing.bmp");
  EXPECT_FALSE(f.platform.busy());
  EXPECT_EQ(panel(f, StatusPanel::PictureSize), "Size : w:30 h:20");
  EXPECT_EQ(f.state.pictureFailure, "No such file or directory");
}

// Everything of a load that the user sees or the handlers read, to check that a failed one
// changed none of it.
auto shown(const Form1& f) {
  std::vector<bool> enabled;
  for (const Control& menu : f.ui.menus) enabled.push_back(menu.enabled);
  return std::tuple(f.state.picturePath, f.state.Picture2.pixels(), f.state.Picture1Image,
                    f.app.zoom, f.ui.StatusBar1.panels, f.state.Picture2.rect(),
                    f.ui.HScroll1.value, f.ui.VScroll1.value, f.app.pointCount,
                    f.app.undoRing->undoCount(), enabled);
}
const char* const kShownNames[] = {"picture path", "working picture", "view",
                                   "zoom",         "status panels",   "reference rectangle",
                                   "HScroll1",     "VScroll1",        "point count",
                                   "undo steps",   "menus enabled"};

template <std::size_t... i>
void expectUnchanged(const auto& after, const auto& before, std::index_sequence<i...>) {
  const auto same = [](bool equal, const char* name) { EXPECT_TRUE(equal) << name << " changed"; };
  (same(std::get<i>(after) == std::get<i>(before), kShownNames[i]), ...);
}

TEST(LoadPicture, EveryFailureShowsMessageFiveAndChangesNothing) {
  // Unreadable, wider or taller than 32 766 pixels; from every source, with a
  // picture shown (Restore then finds its file gone bad) and without one.
  const PixelArray bad[] = {PixelArray(), PixelArray(32767, 1, 0), PixelArray(2, 32767, 0)};
  for (bool pictureBefore : {false, true})
    for (Source source : {kOpenDialog, kDrop, kCommandLine, kRestore}) {
      if (source == kRestore && !pictureBefore) continue;
      for (const PixelArray& picture : bad) {
        SCOPED_TRACE(::testing::Message()
                     << kSourceNames[source] << ", " << picture.width() << " x " << picture.height()
                     << (pictureBefore ? ", a picture shown" : ""));
        PictureForm f;
        if (pictureBefore) {
          ASSERT_TRUE(f.load("/good.bmp", codedPicture(900, 700)));
          menuClick(f.form, MenuId::mnuZoomIn);
          f.ui.HScroll1.value = 30;
          scrollBarChange(f.form);
          f.app.pointCount = 4;
          PushUndoSnapshot(f.form, kUndoPicture);
        }
        const std::string path = source == kRestore ? "/good.bmp" : "/bad.bmp";
        picture.empty() ? f.platform.removePicture(path) : f.platform.setPicture(path, picture);
        const auto before = shown(f.form);
        loadBy(source, f, path);
        expectUnchanged(shown(f.form), before, std::make_index_sequence<std::size(kShownNames)>());
        ASSERT_EQ(f.platform.messages().size(), 1u);
        EXPECT_EQ(f.platform.messages()[0].text, "Tthis type of file is not supported.");
      }
    }
}

TEST(LoadPicture, AFailedOpenStaysInTheFolderItWasIn) {
  PictureForm f;
  const std::string start = f.folder.path();
  std::filesystem::create_directory(f.folder.file("elsewhere"));
  menuClick(f.form, MenuId::mnuFileOpen);
  EXPECT_EQ(f.platform.fileDialogs().back().folder, "");  // no picture: the working directory
  formDropFiles(f.form, {f.folder.file("elsewhere/missing.png")});
  EXPECT_EQ(f.platform.messages().size(), 1u);
  EXPECT_EQ(f.platform.currentDirectory(), start);
  EXPECT_EQ(f.ui.File1.path, start);
  // A folder that cannot be entered keeps the working directory; the picture loads.
  f.platform.setPicture("/nowhere/chart.png", codedPicture(8, 8));
  formDropFiles(f.form, {"/nowhere/chart.png"});
  EXPECT_EQ(f.state.picturePath, "/nowhere/chart.png");
  EXPECT_EQ(f.platform.currentDirectory(), start);
}

}  // namespace
}  // namespace plotvane
