#include "loading/file_pane.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/picture_form.h"

namespace plotvane {
namespace {

namespace fs = std::filesystem;
using testing::codedPicture;
using testing::PictureForm;
using Names = std::vector<std::string>;

const auto touch = [](const std::string& path) { std::ofstream(path) << "x"; };

TEST(FilePaneNames, PatternsAndDrives) {
  // clang-format off
  const struct { const char* name; const char* patterns; bool matches; } wildcards[] = {
      {.name = "ac", .patterns = "a?c", .matches = false},
      {.name = "aXbY", .patterns = "a*b*c", .matches = false},
      {.name = "aab", .patterns = "*ab", .matches = true},
      {.name = "x.gif", .patterns = ";;*.gif", .matches = true}};
  // A folder that only begins like a volume is not on it.
  const struct { const char* folder; const char* drive; } drives[] = {
      {.folder = "/media/u/USB/charts", .drive = "/media/u/USB"},
      {.folder = "/media/u/USB-old", .drive = "/"}, {.folder = "x", .drive = ""}};
  // clang-format on
  for (const auto& c : wildcards)
    EXPECT_EQ(matchesPattern(c.name, c.patterns), c.matches) << c.name << " / " << c.patterns;
  for (const auto& c : drives)
    EXPECT_EQ(driveOf({"/", "/media/u/USB", "/mnt"}, c.folder), c.drive) << c.folder;
  EXPECT_EQ(Platform::userVolumes({"/", "/boot", "/media/u/USB", "/mnt/", "/run/media/u/CARD",
                                   "/media2/x", "/run/user/1000", "/mnt/data", "/media/u/USB"}),
            (Names{"/", "/media/u/USB", "/mnt", "/mnt/data", "/run/media/u/CARD"}));
}

TEST(BorderDrag, DraggingTheBorderResizesDir1AndFile1) {
  PictureForm f;  // 18000 x 12000 twips: the file pane is 10350 high
  const Geometry file1 = f.ui.File1.geometry;
  const auto dir1Height = [&] { return f.ui.Dir1.geometry.height; };
  dir1MouseDown(f.form, true, 2400 - 250);  // too high: moving does nothing
  dir1MouseMove(f.form, true, 1000);
  EXPECT_EQ(dir1Height(), 2400);
  dir1MouseDown(f.form, false, 2400 - 150);  // not the left button
  EXPECT_EQ(f.state.dragTarget, 0);

  dir1MouseDown(f.form, true, 2400 - 150);
  EXPECT_EQ(f.ui.txtMD.text, "1");
  dir1MouseMove(f.form, true, 2380);
  EXPECT_TRUE(f.ui.Dir1.resizePointer);
  dir1MouseMove(f.form, true, 1000);
  EXPECT_EQ(dir1Height(), 930);
  EXPECT_EQ(f.ui.File1.geometry.left, file1.left);
  EXPECT_EQ(f.ui.File1.geometry.top, 1860);
  EXPECT_EQ(f.ui.File1.geometry.width, file1.width);
  EXPECT_EQ(f.ui.File1.geometry.height, (10350 - 1860 - 270) / 180 * 180 + 270);
  // Clamped: the snap alone gives 90 and less near the top.
  // clang-format off
  const struct { int y, height; } moves[] = {
      {.y = 194, .height = 300}, {.y = 50000, .height = 9120}};
  // clang-format on
  for (const auto& c : moves) {
    dir1MouseMove(f.form, true, c.y);
    EXPECT_EQ(dir1Height(), c.height) << c.y;
  }
  EXPECT_EQ(f.ui.File1.geometry.height, 270);
  dir1MouseUp(f.form);
  dir1MouseMove(f.form, true, 1000);  // released: moving does nothing
  f.state.dragTarget = 1;  // left by the picture: a move without the left button held does nothing
  dir1MouseMove(f.form, false, 1000);
  EXPECT_EQ(dir1Height(), 9120);

  // Dragged as tall as it goes, the folder list still gives way to a smaller
  // window, so the file list does not end below the pane.
  dir1MouseDown(f.form, true, 9120 - 100);
  dir1MouseMove(f.form, true, 50000);
  dir1MouseUp(f.form);
  ASSERT_EQ(dir1Height(), 9120);
  formResize(f.form, 18000, 7700);
  EXPECT_EQ(f.ui.frameFile.geometry.height, 6050);
  EXPECT_LE(f.ui.File1.geometry.top + f.ui.File1.geometry.height, 6050);
  EXPECT_EQ(dir1Height(), 4710);
  formResize(f.form, 18000, 12000);  // and the dragged height comes back
  EXPECT_EQ(dir1Height(), 9120);
}

// A working folder with charts in a subfolder, and the pane pointed at it. The lists
// match names in any case, sort them ignoring case, follow links and leave out
// hidden names, dangling links and pipes.
class FilePane : public ::testing::Test {
 protected:
  FilePane() {
    fs::create_directories(charts + "/Old.gif");
    fs::create_directory(charts + "/.thumbs");
    fs::create_directory(f.folder.file("data"));
    for (const char* name : {"line.BMP", "Area.jpg", "scatter.png", "photo.jpeg", "logo.Gif",
                             "readme.txt", "x.bmpx", ".x.bmp"})
      touch(charts + "/" + name);
    fs::create_directory_symlink(charts + "/Old.gif", charts + "/linked");
    fs::create_symlink(charts + "/gone", charts + "/broken.bmp");
    mkfifo((charts + "/pipe.bmp").c_str(), 0600);
    showWorkingDirectoryInFilePane(f.form);
  }
  void open(const std::string& name) {
    const auto& entries = f.ui.Dir1.entries;
    const auto found = std::find(entries.begin(), entries.end(), name);
    ASSERT_NE(found, entries.end()) << name;
    dir1Open(f.form, static_cast<int>(found - entries.begin()));
  }

  PictureForm f;
  const std::string charts = f.folder.file("charts");
};

TEST_F(FilePane, AClickLoadsThePictureAndMakesItsFolderTheWorkingDirectory) {
  f.platform.injectFailure(HeadlessPlatform::FileOperation::List, f.folder.file("data"), EACCES);
  open("data");  // cannot be read: reported, and Dir1 stays
  EXPECT_EQ(f.ui.Dir1.path, f.folder.path());
  open("charts");
  EXPECT_EQ(f.ui.Dir1.entries, (Names{"..", "linked", "Old.gif"}));
  EXPECT_EQ(f.ui.File1.files,
            (Names{"Area.jpg", "line.BMP", "logo.Gif", "photo.jpeg", "scatter.png"}));
  EXPECT_EQ(fs::current_path(), f.folder.path());  // browsing leaves the working directory
  dir1Open(f.form, 99);                            // out of range: nothing happens
  file1Click(f.form, 0);
  EXPECT_EQ(f.ui.Dir1.path, charts);

  f.platform.setPicture(charts + "/line.BMP", codedPicture(64, 48));
  touch(charts + "/new.bmp");  // appears after the folder was read
  file1Click(f.form, 2);
  EXPECT_EQ(f.state.picturePath, charts + "/line.BMP");
  EXPECT_EQ(fs::current_path(), charts);
  EXPECT_EQ(f.ui.File1.files.size(), 6u);  // the load reads the folder afresh
  EXPECT_EQ(f.ui.File1.selected, 2);
  file1Click(f.form, 1);  // Area.jpg, which the reader refuses: the old picture stays
  EXPECT_EQ(f.state.picturePath, charts + "/line.BMP");

  open("..");  // a load from elsewhere brings the lists back to the working directory
  ASSERT_TRUE(f.load("/elsewhere/drop.bmp", codedPicture(8, 8)));
  EXPECT_EQ(f.ui.File1.path, charts);
  fs::current_path(f.folder.path());
  fs::remove_all(charts);  // gone: reported, and the working directory stays
  file1Click(f.form, 2);
  EXPECT_EQ(fs::current_path(), f.folder.path());
  EXPECT_EQ(f.platform.pictureReads().back(), "/elsewhere/drop.bmp");
  Names texts;
  for (const auto& message : f.platform.messages()) texts.push_back(message.text);
  EXPECT_EQ(texts, (Names{Platform::errorText(EACCES), f.form.message(Message::UnsupportedFile),
                          Platform::errorText(ENOENT)}));
}

TEST_F(FilePane, DrivesShowTheirRootAVanishedOneIsPassedOverAndRootFilesGetOneSeparator) {
  const std::string stick = f.folder.file("stick"), gone = f.folder.file("gone");
  fs::create_directories(stick + "/plots");
  touch(stick + "/curve.jpg");
  fs::create_directory(gone);
  f.platform.setMountedVolumes({"/", gone, stick});
  refreshDrive1(f.form);
  ASSERT_EQ(f.ui.Drive1.items, (Names{"/", gone, stick}));
  f.ui.Drive1.selected = 3;
  drive1Change(f.form);
  EXPECT_EQ(f.ui.Dir1.entries, (Names{"..", "plots"}));
  EXPECT_EQ(f.ui.File1.files, (Names{"curve.jpg"}));

  fs::remove(gone);
  f.ui.Drive1.selected = 2;
  drive1Change(f.form);
  EXPECT_TRUE(f.platform.messages().empty());
  EXPECT_EQ(f.ui.Dir1.path, stick);
  EXPECT_EQ(f.ui.Drive1.selected, 3);  // back on the drive Dir1 shows

  f.platform.setFolderListing("/", {{"chart.gif"}, {"tmp", true}});
  f.platform.setPicture("/chart.gif", codedPicture(10, 10));
  f.ui.Drive1.selected = 1;
  drive1Change(f.form);
  EXPECT_EQ(f.ui.Dir1.entries, (Names{"tmp"}));  // no way up from the root
  file1Click(f.form, 1);
  EXPECT_EQ(f.platform.pictureReads(), (Names{"/chart.gif"}));
  EXPECT_EQ(fs::current_path(), "/");
}

}  // namespace
}  // namespace plotvane
