// A picture opened from outside the file pane takes the pane and the next
// open dialog to its folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "loading/file_pane.h"
#include "loading/load_picture.h"
#include "shell/form1_events.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::PictureForm;

enum class Source { OpenDialog, Drop, CommandLine };

void openBy(Source source, PictureForm& f, const std::string& path) {
  switch (source) {
    case Source::OpenDialog:
      f.platform.queueOpenFile(path);
      menuClick(f.form, MenuId::mnuFileOpen);
      break;
    case Source::Drop:
      formDropFiles(f.form, {path});
      break;
    case Source::CommandLine:
      formShown(f.form, path);
      break;
  }
}

TEST(PictureFolder, TheFilePaneAndTheOpenDialogFollowTheOpenedPicture) {
  // clang-format off
  const struct { const char* name; Source source; bool relative; } cases[] = {
      {.name = "open dialog", .source = Source::OpenDialog, .relative = false},
      {.name = "drop", .source = Source::Drop, .relative = false},
      {.name = "relative command line", .source = Source::CommandLine, .relative = true}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PictureForm f;
    const std::string charts = f.folder.file("charts");
    std::filesystem::create_directory(charts);
    const std::string whole = charts + "/scan.tif";
    f.platform.setPicture(whole, codedPicture(20, 10));
    EXPECT_TRUE(f.platform.fileDialogs().empty());

    openBy(c.source, f, c.relative ? std::string("charts/scan.tif") : whole);
    EXPECT_EQ(f.state.picturePath, whole);
    EXPECT_EQ(f.platform.currentDirectory(), charts);
    EXPECT_EQ(f.ui.Dir1.path, charts);
    EXPECT_EQ(f.ui.File1.path, charts);

    menuClick(f.form, MenuId::mnuFileOpen);
    EXPECT_EQ(f.platform.fileDialogs().back().folder, charts);
    // Restore reads the same file although the working directory moved.
    menuClick(f.form, MenuId::mnuFileRedraw);
    EXPECT_TRUE(f.platform.messages().empty());
  }
}

TEST(PictureFolder, AFailedOpenStaysWhereItWas) {
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
