// The file pane: the drive list Drive1, the folder list Dir1, the file list
// File1 and the border between Dir1 and File1 that the user drags.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/form1.h"

namespace plotvane {

// The pictures File1 lists: the program's three formats and the others the
// reader knows.
inline constexpr std::string_view kPictureFilePattern =
    "*.bmp;*.jpg;*.gif;*.jpeg;*.png;*.tif;*.tiff;*.webp";

// Whether the name matches one of the ";"-separated patterns: "*" stands for
// any run of characters, "?" for one; letters match in either case.
bool matchesPattern(std::string_view name, std::string_view patterns);

// Order of names ignoring the case of letters; names that differ only in
// case keep their byte order, so the order is total.
bool lessIgnoringCase(std::string_view a, std::string_view b);

// From a folder's listing: the subfolders to show, and the files matching
// the patterns, hidden ones left out, in lessIgnoringCase order.
std::vector<std::string> visibleFolders(const std::vector<FolderEntry>& entries);
std::vector<std::string> matchingFiles(const std::vector<FolderEntry>& entries,
                                       std::string_view patterns);

// The folder above ("/a/b" gives "/a", "/a" gives "/"); "" for the root.
std::string parentFolder(const std::string& folder);

// Of the drive roots, the one holding the folder (the longest root that is
// the folder or above it); "" when none does.
std::string driveOf(const std::vector<std::string>& drives, const std::string& folder);

// The arithmetic of the border between Dir1 and File1. Lengths are twips;
// y is the pointer's distance from the top of Dir1, height Dir1's height.
namespace border_drag {

// A press on the lowest 200 twips of Dir1 (down to 100 below it) arms the drag.
bool arms(int y, int height);
// The pointer becomes the north-south arrow this close to the border.
bool nearBorder(int y, int height);
// The height the border snaps to under the pointer: steps of 210 above 300.
long long snappedHeight(int y);
// The smallest height of Dir1, and the largest that still leaves File1 one
// row inside a pane of this height (never below the smallest).
inline constexpr int kMinimumHeight = 300;
int maximumHeight(int paneHeight, int dir1Top);
int clampedHeight(long long height, int paneHeight, int dir1Top);
// File1's height: 270 plus the whole 180-twip rows that fit below its top.
int file1Height(int paneHeight, int file1Top);
// The gap between Dir1 and File1 once the border has moved.
inline constexpr int kGap = 30;

}  // namespace border_drag

// Start-up: places the pane's controls, lists the drives and shows the
// working directory.
void initFilePane(Form1& form);

// After the window's layout: Dir1 gets back to the height the user dragged it
// to as far as the pane has room, and File1 fills the pane below it.
void fitFilePaneToFrame(Form1& form);
// The same for a pane of this height (twips), before the pane is resized.
void fitFilePaneToHeight(Form1& form, int paneHeight);

// Reads the drive list again (volumes come and go); the selection follows
// the drive of Dir1's folder.
void refreshDrive1(Form1& form);

// Change of Drive1 (after the user picked ui.Drive1.selected): Dir1 shows
// that drive's root. A drive that cannot be read is passed over silently;
// Dir1 keeps its folder and Drive1 goes back to that folder's drive.
void drive1Change(Form1& form);

// Double click or Enter on Dir1's entry (0-based): ".." goes up, any other
// entry opens that subfolder. A folder that cannot be read gives the system's
// message and Dir1 stays where it is.
void dir1Open(Form1& form, int entry);

// Change of Dir1: File1 shows Dir1's folder.
void dir1Change(Form1& form);

// The border drag, with the pointer's y in twips from the top of Dir1.
void dir1MouseDown(Form1& form, bool leftButton, int y);
void dir1MouseMove(Form1& form, bool leftButtonHeld, int y);
void dir1MouseUp(Form1& form);

// After a load: the three lists show the working directory.
void showWorkingDirectoryInFilePane(Form1& form);

}  // namespace plotvane
