#include "loading/file_pane.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
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

// The 0-based index of a name among Dir1's entries, -1 when it is not there.
int entryOf(const Form1& form, const std::string& name) {
  const auto& entries = form.ui.Dir1.entries;
  const auto found = std::find(entries.begin(), entries.end(), name);
  return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

TEST(FilePaneNames, PatternsMatchAnyCaseAndOnlyWholeNames) {
  for (const char* name :
       {"chart.bmp", "CHART.BMP", "scan.Jpg", "photo.JPEG", "plot.pNg", "anim.GIF", "a.b.jpg"})
    EXPECT_TRUE(matchesPattern(name, kPictureFilePattern)) << name;
  for (const char* name :
       {"chart.bmp.txt", "chart.bmpx", "chart.jpe", "chart.tif", "bmp", "chart.jpg ", ""})
    EXPECT_FALSE(matchesPattern(name, kPictureFilePattern)) << name;

  const struct {
    const char *name, *patterns;
    bool matches;
  } wildcards[] = {{"abc", "a?c", true},     {"ac", "a?c", false}, {"aXbYc", "a*b*c", true},
                   {"aXbY", "a*b*c", false}, {"", "*", true},      {"x.gif", ";;*.gif", true},
                   {"x.gif", "", false},     {"aab", "*ab", true}, {"ab", "*a", false}};
  for (const auto& c : wildcards)
    EXPECT_EQ(matchesPattern(c.name, c.patterns), c.matches) << c.name << " / " << c.patterns;
}

TEST(FilePaneNames, ListsSortIgnoringCaseAndLeaveHiddenNamesOut) {
  const std::vector<FolderEntry> listing = {
      {"b.bmp", false, false}, {"A.png", false, false},     {"a.gif", false, false},
      {"C.JPG", false, false}, {"notes.txt", false, false}, {".hidden.png", false, true},
      {"B.bmp", false, false}, {"Zeta", true, false},       {"alpha", true, false},
      {".git", true, true},    {"Beta", true, false},       {"folder.bmp", true, false},
  };
  EXPECT_EQ(matchingFiles(listing, kPictureFilePattern),
            (Names{"a.gif", "A.png", "B.bmp", "b.bmp", "C.JPG"}));
  EXPECT_EQ(visibleFolders(listing), (Names{"alpha", "Beta", "folder.bmp", "Zeta"}));
}

TEST(FilePaneNames, ParentFoldersAndDrives) {
  const struct {
    const char* folder;
    const char* parent;
  } parents[] = {{"/home/user/charts", "/home/user"}, {"/home", "/"}, {"/", ""}, {"/a/b/", "/a"}};
  for (const auto& c : parents) EXPECT_EQ(parentFolder(c.folder), c.parent) << c.folder;

  const Names drives = {"/", "/media/u/USB", "/media/u/USB2", "/mnt"};
  const struct {
    const char* folder;
    const char* drive;
  } cases[] = {
      {"/home/user", "/"},
      {"/media/u/USB", "/media/u/USB"},
      {"/media/u/USB/charts", "/media/u/USB"},
      {"/media/u/USB2/x", "/media/u/USB2"},
      {"/media/u/USB-old", "/"},  // a name that only begins like a volume
      {"/mnt", "/mnt"},
      {"relative", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(driveOf(drives, c.folder), c.drive) << c.folder;
}

TEST(FilePaneNames, UserVolumesAreTheRootAndTheRemovableMounts) {
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
  EXPECT_EQ(entries, (std::vector<FolderEntry>{{".cache", true, true},
                                               {"chart.bmp", false, false},
                                               {"linked", true, false},
                                               {"sub", true, false}}));
  EXPECT_EQ(posix_files::listFolder(dir.file("missing"), entries), ENOENT);
  EXPECT_EQ(entries.size(), 4u);  // untouched by the failure
}

TEST(BorderDrag, ArmingSnappingAndThePointer) {
  const int height = 2400;
  const struct {
    int y;
    bool arms, near;
  } presses[] = {
      {height - 150, true, true},   {height - 250, false, false}, {height - 199, true, true},
      {height - 200, false, false}, {height + 99, true, true},    {height + 100, false, true},
      {height + 199, false, true},  {height + 200, false, false}, {0, false, false},
  };
  for (const auto& c : presses) {
    EXPECT_EQ(border_drag::arms(c.y, height), c.arms) << c.y;
    EXPECT_EQ(border_drag::nearBorder(c.y, height), c.near) << c.y;
  }

  // Int((y - 300) / 210 + 0.5) * 210 + 300.
  const struct {
    int y;
    long long height;
  } snaps[] = {{1000, 930}, {300, 300}, {404, 300},  {405, 510},
               {194, 90},   {-15, 90},  {-16, -120}, {2400, 2400}};
  for (const auto& c : snaps) EXPECT_EQ(border_drag::snappedHeight(c.y), c.height) << c.y;
}

TEST(BorderDrag, TheLargestHeightLeavesFile1OneRowInThePane) {
  for (int paneHeight : {10350, 5000, 3600, 1500, 0}) {
    const int top = 900;
    const int most = border_drag::maximumHeight(paneHeight, top);
    EXPECT_GE(most, border_drag::kMinimumHeight);
    EXPECT_EQ((most - 300) % 210, 0) << paneHeight;
    if (paneHeight - top - 30 - 270 >= 300) {
      const int file1Top = top + most + 30;
      EXPECT_LE(file1Top + 270, paneHeight);
      EXPECT_GE(border_drag::file1Height(paneHeight, file1Top), 270);
      EXPECT_GT(file1Top + 210 + 270, paneHeight) << "one step more would still fit";
    } else {
      EXPECT_EQ(most, border_drag::kMinimumHeight) << paneHeight;
    }
  }
}

TEST(BorderDrag, DraggingTheBorderResizesDir1AndFile1) {
  PictureForm f;  // 18000 x 12000 twips: the file pane is 10350 high
  const int pane = f.ui.frameFile.geometry.height;
  ASSERT_EQ(pane, 12000 - 1260 - 390);
  ASSERT_EQ(f.ui.Dir1.geometry.height, 2400);
  const Geometry file1Before = f.ui.File1.geometry;

  // A press 250 twips above the bottom does not arm; moving then does nothing.
  dir1MouseDown(f.form, true, 2400 - 250);
  EXPECT_EQ(f.state.dragTarget, 0);
  EXPECT_EQ(f.ui.txtMD.text, "0");
  dir1MouseMove(f.form, true, 1000);
  EXPECT_EQ(f.ui.Dir1.geometry.height, 2400);
  EXPECT_FALSE(f.ui.Dir1.resizePointer);

  // Other buttons change nothing.
  dir1MouseDown(f.form, false, 2400 - 150);
  EXPECT_EQ(f.state.dragTarget, 0);

  dir1MouseDown(f.form, true, 2400 - 150);
  EXPECT_EQ(f.state.dragTarget, 1);
  EXPECT_EQ(f.ui.txtMD.text, "1");
  dir1MouseMove(f.form, true, 2380);
  EXPECT_TRUE(f.ui.Dir1.resizePointer);

  dir1MouseMove(f.form, true, 1000);
  EXPECT_EQ(f.ui.Dir1.geometry.height, 930);
  EXPECT_EQ(f.ui.File1.geometry.top, 900 + 930 + 30);
  EXPECT_EQ(f.ui.File1.geometry.height, (pane - 1860 - 270) / 180 * 180 + 270);
  EXPECT_EQ(f.ui.File1.geometry.left, file1Before.left);
  EXPECT_EQ(f.ui.File1.geometry.width, file1Before.width);
  EXPECT_FALSE(f.ui.Dir1.resizePointer);  // the pointer is far from the border now

  // Near the top the height stops at 300 (the snap alone would give 90 or
  // nothing); far down it stops where File1 keeps one row.
  for (int y : {194, 100, -15, -500}) {
    dir1MouseMove(f.form, true, y);
    EXPECT_EQ(f.ui.Dir1.geometry.height, 300) << y;
  }
  dir1MouseMove(f.form, true, 50000);
  EXPECT_EQ(f.ui.Dir1.geometry.height, border_drag::maximumHeight(pane, 900));
  EXPECT_LE(f.ui.File1.geometry.top + 270, pane);
  EXPECT_EQ(f.ui.File1.geometry.height, 270);

  // Without the left button held the border stays.
  const int held = f.ui.Dir1.geometry.height;
  dir1MouseMove(f.form, false, 1000);
  EXPECT_EQ(f.ui.Dir1.geometry.height, held);

  dir1MouseUp(f.form);
  EXPECT_EQ(f.state.dragTarget, 0);
  dir1MouseMove(f.form, true, 1000);
  EXPECT_EQ(f.ui.Dir1.geometry.height, held);
  EXPECT_EQ(f.ui.txtMD.text, "1");  // written at presses only

  // A drag target left by the picture does not move the border on a hover.
  f.state.dragTarget = 1;
  dir1MouseMove(f.form, false, 1000);
  EXPECT_EQ(f.ui.Dir1.geometry.height, held);
}

TEST(BorderDrag, TheWindowsSizeKeepsFile1InSightAndGivesTheHeightBack) {
  PictureForm f;
  dir1MouseDown(f.form, true, 2400 - 100);
  dir1MouseMove(f.form, true, 5000);
  dir1MouseUp(f.form);
  const int dragged = f.ui.Dir1.geometry.height;
  ASSERT_EQ(dragged, 4920);

  // A pane still taller than File1's top, but without room for Dir1 and a
  // row of File1.
  formResize(f.form, 18000, 7700);
  const int pane = f.ui.frameFile.geometry.height;
  ASSERT_EQ(pane, 7700 - 1260 - 390);
  EXPECT_LT(f.ui.Dir1.geometry.height, dragged);
  EXPECT_EQ(f.ui.Dir1.geometry.height, border_drag::maximumHeight(pane, 900));
  EXPECT_EQ(f.ui.File1.geometry.top, 900 + f.ui.Dir1.geometry.height + 30);
  EXPECT_LE(f.ui.File1.geometry.top + f.ui.File1.geometry.height, pane);
  EXPECT_GE(f.ui.File1.geometry.height, 270);

  formResize(f.form, 18000, 12000);
  EXPECT_EQ(f.ui.Dir1.geometry.height, dragged);
  EXPECT_EQ(f.ui.File1.geometry.top, 900 + dragged + 30);
  EXPECT_EQ(f.ui.File1.geometry.height,
            (f.ui.frameFile.geometry.height - f.ui.File1.geometry.top - 270) / 180 * 180 + 270);
}

// A working folder with charts in a subfolder, and the pane pointed at it.
class FilePane : public ::testing::Test {
 protected:
  FilePane() {
    fs::create_directories(f.folder.file("charts/Old"));
    fs::create_directory(f.folder.file("charts/.thumbs"));
    fs::create_directory(f.folder.file("data"));
    for (const char* name :
         {"line.BMP", "Area.jpg", "scatter.png", "photo.jpeg", "logo.Gif", "readme.txt", ".x.bmp"})
      touch(f.folder.file(std::string("charts/") + name));
    showWorkingDirectoryInFilePane(f.form);
  }

  void open(const std::string& name) {
    const int entry = entryOf(f.form, name);
    ASSERT_GE(entry, 0) << name;
    dir1Open(f.form, entry);
  }

  PictureForm f;
};

TEST_F(FilePane, StartsAtTheWorkingDirectoryAndOpensFolders) {
  EXPECT_EQ(f.ui.Dir1.path, f.folder.path());
  EXPECT_EQ(f.ui.Dir1.entries, (Names{"..", "charts", "data"}));
  EXPECT_EQ(f.ui.File1.path, f.folder.path());
  EXPECT_TRUE(f.ui.File1.files.empty());
  EXPECT_EQ(f.ui.Drive1.items.front(), "/");
  EXPECT_EQ(f.ui.Drive1.selected, 1);

  open("charts");
  EXPECT_EQ(f.ui.Dir1.path, f.folder.file("charts"));
  EXPECT_EQ(f.ui.Dir1.entries, (Names{"..", "Old"}));
  EXPECT_EQ(f.ui.File1.path, f.folder.file("charts"));
  EXPECT_EQ(f.ui.File1.files,
            (Names{"Area.jpg", "line.BMP", "logo.Gif", "photo.jpeg", "scatter.png"}));

  open("..");
  EXPECT_EQ(f.ui.Dir1.path, f.folder.path());
  EXPECT_EQ(f.ui.File1.path, f.folder.path());
  EXPECT_EQ(fs::current_path(), f.folder.path());  // browsing leaves the working directory
  EXPECT_TRUE(f.platform.messages().empty());

  // A folder that cannot be read gives the system's message; Dir1 stays.
  f.platform.injectFailure(HeadlessPlatform::FileOperation::List, f.folder.file("data"), EACCES);
  open("data");
  ASSERT_EQ(f.platform.messages().size(), 1u);
  EXPECT_EQ(f.platform.messages()[0].text, Platform::errorText(EACCES));
  EXPECT_EQ(f.platform.messages()[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(f.ui.Dir1.path, f.folder.path());
  EXPECT_EQ(f.ui.Dir1.entries, (Names{"..", "charts", "data"}));

  // Entries out of range do nothing.
  dir1Open(f.form, -1);
  dir1Open(f.form, 99);
  file1Click(f.form, 0);
  file1Click(f.form, 99);
  EXPECT_EQ(f.ui.Dir1.path, f.folder.path());
  EXPECT_TRUE(f.platform.pictureReads().empty());
}

TEST_F(FilePane, AClickLoadsThePictureAndMakesItsFolderTheWorkingDirectory) {
  open("charts");
  const std::string charts = f.folder.file("charts");
  f.platform.setPicture(charts + "/line.BMP", codedPicture(64, 48));
  touch(charts + "/new.bmp");  // appears after the folder was read

  file1Click(f.form, 2);  // line.BMP
  EXPECT_EQ(f.state.picturePath, charts + "/line.BMP");
  EXPECT_EQ(f.state.Picture2, codedPicture(64, 48));
  EXPECT_EQ(fs::current_path(), charts);
  EXPECT_TRUE(f.platform.messages().empty());
  // The load points the lists at the working directory, read afresh, and
  // the clicked file stays selected.
  EXPECT_EQ(f.ui.Dir1.path, charts);
  EXPECT_EQ(f.ui.File1.files,
            (Names{"Area.jpg", "line.BMP", "logo.Gif", "new.bmp", "photo.jpeg", "scatter.png"}));
  EXPECT_EQ(f.ui.File1.selected, 2);

  // A file the reader refuses: message 5, and the old picture stays.
  file1Click(f.form, 1);  // Area.jpg
  ASSERT_EQ(f.platform.messages().size(), 1u);
  EXPECT_EQ(f.platform.messages()[0].text, f.form.message(5));
  EXPECT_EQ(f.state.picturePath, charts + "/line.BMP");

  // A picture loaded from elsewhere brings the lists back to the working
  // directory, wherever the user had browsed.
  open("..");
  open("data");
  ASSERT_TRUE(f.load("/elsewhere/drop.bmp", codedPicture(8, 8)));
  EXPECT_EQ(f.ui.Dir1.path, charts);
  EXPECT_EQ(f.ui.File1.path, charts);
}

TEST_F(FilePane, AFolderThatIsGoneIsReportedAndNothingLoads) {
  open("charts");
  const std::string charts = f.folder.file("charts");
  f.platform.setPicture(charts + "/line.BMP", codedPicture(4, 4));
  fs::remove_all(charts);
  file1Click(f.form, 2);
  ASSERT_EQ(f.platform.messages().size(), 1u);
  EXPECT_EQ(f.platform.messages()[0].text, Platform::errorText(ENOENT));
  EXPECT_EQ(f.platform.messages()[0].icon, MessageIcon::Exclamation);
  EXPECT_TRUE(f.platform.pictureReads().empty());
  EXPECT_EQ(fs::current_path(), f.folder.path());
}

TEST_F(FilePane, AFileInTheRootFolderGetsASingleSeparator) {
  f.platform.setFolderListing("/", {{"chart.gif", false, false}, {"tmp", true, false}});
  f.platform.setPicture("/chart.gif", codedPicture(10, 10));
  f.ui.Drive1.selected = 1;
  drive1Change(f.form);
  EXPECT_EQ(f.ui.Dir1.path, "/");
  EXPECT_EQ(f.ui.Dir1.entries, (Names{"tmp"}));  // no way up from the root
  ASSERT_EQ(f.ui.File1.files, (Names{"chart.gif"}));

  file1Click(f.form, 1);
  EXPECT_EQ(f.state.picturePath, "/chart.gif");
  EXPECT_EQ(f.platform.pictureReads(), (Names{"/chart.gif"}));
  EXPECT_EQ(fs::current_path(), "/");
}

TEST_F(FilePane, ChoosingADriveShowsItsRootAndAVanishedOneIsPassedOverSilently) {
  const std::string stick = f.folder.file("stick");
  const std::string gone = f.folder.file("gone");
  fs::create_directories(stick + "/plots");
  touch(stick + "/curve.jpg");
  fs::create_directory(gone);
  f.platform.setMountedVolumes({"/", gone, stick});
  refreshDrive1(f.form);
  ASSERT_EQ(f.ui.Drive1.items, (Names{"/", gone, stick}));
  EXPECT_EQ(f.ui.Drive1.selected, 1);
  open("charts");

  f.ui.Drive1.selected = 3;
  drive1Change(f.form);
  EXPECT_EQ(f.ui.Dir1.path, stick);
  EXPECT_EQ(f.ui.Dir1.entries, (Names{"..", "plots"}));
  EXPECT_EQ(f.ui.File1.files, (Names{"curve.jpg"}));
  EXPECT_EQ(f.ui.Drive1.selected, 3);
  open("plots");
  EXPECT_EQ(f.ui.Drive1.selected, 3);  // still on that drive

  fs::remove(gone);
  f.ui.Drive1.selected = 2;
  drive1Change(f.form);
  EXPECT_TRUE(f.platform.messages().empty());
  EXPECT_EQ(f.ui.Dir1.path, stick + "/plots");
  EXPECT_EQ(f.ui.Drive1.selected, 3);  // back on the drive Dir1 shows
  EXPECT_EQ(fs::current_path(), f.folder.path());

  // Dir1 going up out of a drive's root lands on the drive holding it.
  open("..");
  open("..");
  EXPECT_EQ(f.ui.Dir1.path, f.folder.path());
  EXPECT_EQ(f.ui.Drive1.selected, 1);
}

}  // namespace
}  // namespace plotvane
