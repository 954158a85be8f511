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

#include "picture/picture_form.h"

namespace plotvane {
namespace {

namespace fs = std::filesystem;
using testing::codedPicture;
using testing::PictureForm;
using Names = std::vector<std::string>;

void touch(const std::string& path) {
  std::ofstream(path) << "x";
}

TEST(FilePaneNames, PatternsMatchAnyCaseAndOnlyWholeNames) {
  for (const char* name : {"CHART.BMP", "scan.Jpg", "photo.JPEG", "plot.pNg", "a.b.gif"})
    EXPECT_TRUE(matchesPattern(name, kPictureFilePattern)) << name;
  for (const char* name : {"chart.bmp.txt", "chart.bmpx", "chart.jpe", "bmp", "chart.jpg ", ""})
    EXPECT_FALSE(matchesPattern(name, kPictureFilePattern)) << name;
  const std::tuple<const char*, const char*, bool> wildcards[] = {
      {"abc", "a?c", true},     {"ac", "a?c", false}, {"aXbYc", "a*b*c", true},
      {"aXbY", "a*b*c", false}, {"", "*", true},      {"x.gif", ";;*.gif", true},
      {"x.gif", "", false},     {"aab", "*ab", true}, {"ab", "*a", false}};
  for (auto [name, patterns, matches] : wildcards)
    EXPECT_EQ(matchesPattern(name, patterns), matches) << name << " / " << patterns;
}

TEST(FilePaneNames, ListsSortIgnoringCaseHideNamesAndFindDrives) {
  const std::vector<FolderEntry> listing = {
      {"b.bmp", false, false}, {"A.png", false, false},     {"a.gif", false, false},
      {"C.JPG", false, false}, {"notes.txt", false, false}, {".hidden.png", false, true},
      {"B.bmp", false, false}, {"Zeta", true, false},       {"alpha", true, false},
      {".git", true, true},    {"folder.bmp", true, false}};
  EXPECT_EQ(matchingFiles(listing, kPictureFilePattern),
            (Names{"a.gif", "A.png", "B.bmp", "b.bmp", "C.JPG"}));
  EXPECT_EQ(visibleFolders(listing), (Names{"alpha", "folder.bmp", "Zeta"}));

  const std::pair<const char*, const char*> parents[] = {
      {"/home/user", "/home"}, {"/home", "/"}, {"/", ""}, {"/a/b/", "/a"}};
  for (auto [folder, parent] : parents) EXPECT_EQ(parentFolder(folder), parent) << folder;
  // A folder that only begins like a volume is not on it.
  const std::pair<const char*, const char*> drives[] = {{"/media/u/USB/charts", "/media/u/USB"},
                                                        {"/media/u/USB-old", "/"},
                                                        {"/mnt", "/mnt"},
                                                        {"relative", ""}};
  for (auto [folder, drive] : drives)
    EXPECT_EQ(driveOf({"/", "/media/u/USB", "/media/u/USB-", "/mnt"}, folder), drive) << folder;

  EXPECT_EQ(Platform::userVolumes({"/", "/boot", "/media/u/USB", "/mnt/", "/run/media/u/CARD",
                                   "/media2/x", "/run/user/1000", "/mnt/data", "/media/u/USB",
                                   "/proc", "/mnt"}),
            (Names{"/", "/media/u/USB", "/mnt", "/mnt/data", "/run/media/u/CARD"}));
  EXPECT_EQ(Platform::userVolumes({}), (Names{"/"}));
}

TEST(FilePaneNames, FolderListingFollowsLinksAndSkipsWhatIsNoFile) {
  testing::TempWorkingDir dir;
  fs::create_directory(dir.file("sub"));
  fs::create_directory(dir.file(".cache"));
  touch(dir.file("chart.bmp"));
  fs::create_symlink(dir.file("sub"), dir.file("linked"));
  fs::create_symlink(dir.file("gone"), dir.file("broken.bmp"));
  ASSERT_EQ(mkfifo(dir.file("pipe.bmp").c_str(), 0600), 0);
  std::vector<FolderEntry> entries;
  ASSERT_EQ(posix_files::listFolder(dir.path(), entries), 0);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  const std::vector<FolderEntry> expected = {{".cache", true, true},
                                             {"chart.bmp", false, false},
                                             {"linked", true, false},
                                             {"sub", true, false}};
  EXPECT_EQ(entries, expected);
  EXPECT_EQ(posix_files::listFolder(dir.file("missing"), entries), ENOENT);
  EXPECT_EQ(entries, expected);  // untouched by the failure
}

TEST(BorderDrag, ArmingSnappingAndClamps) {
  // Pointer y, whether a press there arms, whether it is near the border of a 2400-high Dir1.
  const std::tuple<int, bool, bool> presses[] = {
      {2400 - 150, true, true},   {2400 - 250, false, false}, {2400 - 199, true, true},
      {2400 - 200, false, false}, {2400 + 99, true, true},    {2400 + 100, false, true},
      {2400 + 200, false, false}};
  for (auto [y, arms, near] : presses) {
    EXPECT_EQ(border_drag::arms(y, 2400), arms) << y;
    EXPECT_EQ(border_drag::nearBorder(y, 2400), near) << y;
  }
  // Int((y - 300) / 210 + 0.5) * 210 + 300.
  const std::pair<int, long long> snaps[] = {{1000, 930}, {404, 300}, {405, 510},
                                             {194, 90},   {-15, 90},  {-16, -120}};
  for (auto [y, height] : snaps) EXPECT_EQ(border_drag::snappedHeight(y), height) << y;
  // The largest height leaves File1 (30 below Dir1) one 270-twip row in the pane.
  const std::pair<int, int> maxima[] = {{10350, 9120}, {1710, 510}, {1709, 300}, {0, 300}};
  for (auto [pane, most] : maxima) EXPECT_EQ(border_drag::maximumHeight(pane, 900), most) << pane;
}

TEST(BorderDrag, DraggingTheBorderResizesDir1AndFile1) {
  PictureForm f;  // 18000 x 12000 twips: the file pane is 10350 high
  ASSERT_EQ(f.ui.frameFile.geometry.height, 10350);
  ASSERT_EQ(f.ui.Dir1.geometry.height, 2400);
  const Geometry file1 = f.ui.File1.geometry;
  const auto dir1Height = [&] { return f.ui.Dir1.geometry.height; };

  dir1MouseDown(f.form, true, 2400 - 250);  // too high: moving does nothing
  dir1MouseMove(f.form, true, 1000);
  EXPECT_EQ(dir1Height(), 2400);
  EXPECT_EQ(f.ui.txtMD.text, "0");
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
  EXPECT_FALSE(f.ui.Dir1.resizePointer);
  for (auto [y, height] : {std::pair{194, 300}, {-500, 300}, {50000, 9120}}) {
    dir1MouseMove(f.form, true, y);  // clamped: the snap alone gives 90 and less near the top
    EXPECT_EQ(dir1Height(), height) << y;
  }
  EXPECT_EQ(f.ui.File1.geometry.height, 270);

  dir1MouseMove(f.form, false, 1000);  // without the left button held the border stays
  dir1MouseUp(f.form);
  EXPECT_EQ(f.state.dragTarget, 0);
  dir1MouseMove(f.form, true, 1000);
  f.state.dragTarget = 1;  // left by the picture: a hover does not move the border
  dir1MouseMove(f.form, false, 1000);
  EXPECT_EQ(dir1Height(), 9120);

  // The window's size keeps File1 in sight and then gives the dragged height back.
  dir1MouseDown(f.form, true, 9120 - 100);
  dir1MouseMove(f.form, true, 5000);
  dir1MouseUp(f.form);
  ASSERT_EQ(dir1Height(), 4920);
  formResize(f.form, 18000, 7700);  // a pane of 6050
  EXPECT_EQ(dir1Height(), 4710);
  EXPECT_EQ(f.ui.File1.geometry.top + f.ui.File1.geometry.height, 900 + 4710 + 30 + 270);
  formResize(f.form, 18000, 12000);
  EXPECT_EQ(dir1Height(), 4920);

  // Dragged as tall as it goes, the folder list still gives way to a smaller
  // window, so the file list does not end below the pane.
  dir1MouseDown(f.form, true, 4920 - 100);
  dir1MouseMove(f.form, true, 50000);
  dir1MouseUp(f.form);
  ASSERT_EQ(dir1Height(), 9120);
  formResize(f.form, 18000, 7700);
  EXPECT_EQ(f.ui.frameFile.geometry.height, 6050);
  EXPECT_LE(f.ui.File1.geometry.top + f.ui.File1.geometry.height, 6050);
}

// A working folder with charts in a subfolder, and the pane pointed at it.
class FilePane : public ::testing::Test {
 protected:
  FilePane() {
    fs::create_directories(charts + "/Old");
    fs::create_directory(charts + "/.thumbs");
    fs::create_directory(f.folder.file("data"));
    for (const char* name :
         {"line.BMP", "Area.jpg", "scatter.png", "photo.jpeg", "logo.Gif", "readme.txt", ".x.bmp"})
      touch(charts + "/" + name);
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
  open("charts");
  EXPECT_EQ(f.ui.Dir1.entries, (Names{"..", "Old"}));
  EXPECT_EQ(f.ui.File1.files,
            (Names{"Area.jpg", "line.BMP", "logo.Gif", "photo.jpeg", "scatter.png"}));
  EXPECT_EQ(fs::current_path(), f.folder.path());      // browsing leaves the working directory
  for (int entry : {-1, 99}) dir1Open(f.form, entry);  // out of range: nothing happens
  for (int item : {0, 99}) file1Click(f.form, item);
  EXPECT_EQ(f.ui.Dir1.path, charts);
  EXPECT_TRUE(f.platform.pictureReads().empty());

  f.platform.setPicture(charts + "/line.BMP", codedPicture(64, 48));
  touch(charts + "/new.bmp");  // appears after the folder was read
  file1Click(f.form, 2);
  EXPECT_EQ(f.state.picturePath, charts + "/line.BMP");
  EXPECT_EQ(f.state.Picture2, codedPicture(64, 48));
  EXPECT_EQ(fs::current_path(), charts);
  // The load shows the working directory, read afresh; the file stays selected.
  EXPECT_EQ(f.ui.File1.files,
            (Names{"Area.jpg", "line.BMP", "logo.Gif", "new.bmp", "photo.jpeg", "scatter.png"}));
  EXPECT_EQ(f.ui.File1.selected, 2);

  file1Click(f.form, 1);  // Area.jpg, which the reader refuses: the old picture stays
  ASSERT_EQ(f.platform.messages().size(), 1u);
  EXPECT_EQ(f.platform.messages()[0].text, f.form.message(5));
  EXPECT_EQ(f.state.picturePath, charts + "/line.BMP");

  open("..");  // a load from elsewhere brings the lists back to the working directory
  open("data");
  ASSERT_TRUE(f.load("/elsewhere/drop.bmp", codedPicture(8, 8)));
  EXPECT_EQ(f.ui.Dir1.path, charts);
  EXPECT_EQ(f.ui.File1.path, charts);
}

TEST_F(FilePane, FoldersThatCannotBeReadAreReportedAndNothingChanges) {
  f.platform.injectFailure(HeadlessPlatform::FileOperation::List, f.folder.file("data"), EACCES);
  open("data");
  EXPECT_EQ(f.ui.Dir1.path, f.folder.path());
  open("charts");
  fs::remove_all(charts);
  file1Click(f.form, 2);
  ASSERT_EQ(f.platform.messages().size(), 2u);
  EXPECT_EQ(f.platform.messages()[0].text, Platform::errorText(EACCES));
  EXPECT_EQ(f.platform.messages()[1].text, Platform::errorText(ENOENT));
  EXPECT_EQ(f.platform.messages()[1].icon, MessageIcon::Exclamation);
  EXPECT_TRUE(f.platform.pictureReads().empty());
  EXPECT_EQ(fs::current_path(), f.folder.path());
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
  open("plots");
  EXPECT_EQ(f.ui.Drive1.selected, 3);  // still on that drive

  fs::remove(gone);
  f.ui.Drive1.selected = 2;
  drive1Change(f.form);
  EXPECT_TRUE(f.platform.messages().empty());
  EXPECT_EQ(f.ui.Dir1.path, stick + "/plots");
  EXPECT_EQ(f.ui.Drive1.selected, 3);  // back on the drive Dir1 shows
  open("..");
  open("..");  // up out of a drive's root lands on the drive holding it
  EXPECT_EQ(f.ui.Drive1.selected, 1);

  f.platform.setFolderListing("/", {{"chart.gif", false, false}, {"tmp", true, false}});
  f.platform.setPicture("/chart.gif", codedPicture(10, 10));
  drive1Change(f.form);
  EXPECT_EQ(f.ui.Dir1.entries, (Names{"tmp"}));  // no way up from the root
  ASSERT_EQ(f.ui.File1.files, (Names{"chart.gif"}));
  file1Click(f.form, 1);
  EXPECT_EQ(f.platform.pictureReads(), (Names{"/chart.gif"}));
  EXPECT_EQ(fs::current_path(), "/");
}

}  // namespace
}  // namespace plotvane
