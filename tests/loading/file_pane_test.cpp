#include "loading/file_pane.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/picture_form.h"

namespace plotvane {
namespace {

namespace fs = std::filesystem;
using testing::codedPicture;
using testing::PictureForm;
using Names = std::vector<std::string>;

const auto touch = [](const std::string& path) { std::ofstream(path) << "x"; };

TEST(FilePaneNames, PatternsParentsAndDrives) {
  const std::tuple<const char*, const char*, bool> wildcards[] = {
      {"abc", "a?c", true}, {"ac", "a?c", false},       {"aXbY", "a*b*c", false},
      {"aab", "*ab", true}, {"x.gif", ";;*.gif", true}, {"x.gif", "", false}};
  for (auto [name, patterns, matches] : wildcards)
    EXPECT_EQ(matchesPattern(name, patterns), matches) << name << " / " << patterns;

  for (auto [folder, parent] : {std::pair{"/home/user", "/home"}, {"/home", "/"}, {"/", ""}})
    EXPECT_EQ(parentFolder(folder), parent) << folder;
  // A folder that only begins like a volume is not on it.
  for (auto [folder, drive] :
       {std::pair{"/media/u/USB/charts", "/media/u/USB"}, {"/media/u/USB-old", "/"}, {"x", ""}})
    EXPECT_EQ(driveOf({"/", "/media/u/USB", "/mnt"}, folder), drive) << folder;
  EXPECT_EQ(Platform::userVolumes({"/", "/boot", "/media/u/USB", "/mnt/", "/run/media/u/CARD",
                                   "/media2/x", "/run/user/1000", "/mnt/data", "/media/u/USB"}),
            (Names{"/", "/media/u/USB", "/mnt", "/mnt/data", "/run/media/u/CARD"}));
}

TEST(BorderDrag, ArmingSnappingAndClamps) {
  // Pointer below the border of a 2400-high Dir1, whether a press there arms, whether it is near.
  const std::tuple<int, bool, bool> presses[] = {
      {-199, true, true}, {-200, false, false}, {99, true, true}, {100, false, true}, {200, 0, 0}};
  for (auto [dy, arms, near] : presses) {
    EXPECT_EQ(border_drag::arms(2400 + dy, 2400), arms) << dy;
    EXPECT_EQ(border_drag::nearBorder(2400 + dy, 2400), near) << dy;
  }
  // Int((y - 300) / 210 + 0.5) * 210 + 300, and Int rounds down.
  for (auto [y, height] : {std::pair{404, 300LL}, {405, 510}, {-15, 90}, {-16, -120}})
    EXPECT_EQ(border_drag::snappedHeight(y), height) << y;
  // The largest height leaves File1 (30 below Dir1) one 270-twip row in the pane.
  for (auto [pane, most] : {std::pair{1710, 510}, {1709, 300}, {0, 300}})
    EXPECT_EQ(border_drag::maximumHeight(pane, 900), most) << pane;
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
  EXPECT_EQ(f.ui.File1.geometry,
            (Geometry{file1.left, 1860, file1.width, (10350 - 1860 - 270) / 180 * 180 + 270}));
  for (auto [y, height] : {std::pair{194, 300}, {-500, 300}, {50000, 9120}}) {
    dir1MouseMove(f.form, true, y);  // clamped: the snap alone gives 90 and less near the top
    EXPECT_EQ(dir1Height(), height) << y;
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
