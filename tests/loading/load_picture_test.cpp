#include "loading/load_picture.h"

#include <gtest/gtest.h>

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

TEST(FitZoom, HalvesUntilThePictureFitsAndStopsAtOneSixtyFourth) {
  // A twip short halves the zoom; no room stops at 1/64.
  // clang-format off
  const struct { int width, height, freeWidth, freeHeight; float zoom; } cases[] = {
      {.width = 640, .height = 480, .freeWidth = 9600, .freeHeight = 7199, .zoom = 0.5f},
      {.width = 800, .height = 2000, .freeWidth = 3000, .freeHeight = 3000, .zoom = 1.0f / 16},
      {.width = 640, .height = 480, .freeWidth = 0, .freeHeight = -5, .zoom = 1.0f / 64}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(fitZoom(c.width, c.height, c.freeWidth, c.freeHeight), c.zoom)
        << c.width << "x" << c.height << " in " << c.freeWidth << "x" << c.freeHeight;
}

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

  // Select All takes the whole picture again, as one undoable step.
  f.state.Picture2.setRect({.lineXS = 12, .lineXE = 15.5f, .lineYT = 4, .lineYB = 480});
  const std::size_t selectAll = toolbarPositionOf(MenuId::mnuSelectAll).value();
  toolbarButtonClick(f.form, selectAll);
  const PixelRect rect = f.state.Picture2.rect();
  EXPECT_EQ(rect.lineXS, 0);
  EXPECT_EQ(rect.lineXE, 640);
  EXPECT_EQ(rect.lineYT, 0);
  EXPECT_EQ(rect.lineYB, 480);
  EXPECT_EQ(panel(f, StatusPanel::SelectedArea), "Selected Area : l:0 t:0  w:640 h:480");
  EXPECT_TRUE(f.ui.menu(MenuId::mnuEdetUndo).enabled);
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.rect().lineXS, 12);
  EXPECT_EQ(f.state.Picture2.rect().lineXE, 15.5f);
  // Again on the whole picture, it changes nothing and takes no snapshot.
  toolbarButtonClick(f.form, selectAll);
  toolbarButtonClick(f.form, selectAll);
  EXPECT_EQ(f.app.undoRing->undoCount(), 1);
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

TEST(LoadPicture, EverySourceLoadsAndRestoreReadsTheFileAgain) {
  for (Source source : {kOpenDialog, kDrop, kCommandLine}) {
    SCOPED_TRACE(kSourceNames[source]);
    PictureForm f;
    f.platform.setPicture("/a/with space.gif", codedPicture(30, 20));
    loadBy(source, f, "/a/with space.gif");
    EXPECT_EQ(f.state.picturePath, "/a/with space.gif");
    EXPECT_EQ(f.platform.pictureReads(), Names{"/a/with space.gif"});
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

}  // namespace
}  // namespace plotvane
