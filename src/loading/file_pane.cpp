#include "loading/file_pane.h"

#include <algorithm>
#include <cstdlib>

#include "app/window_design.h"
#include "base/number_text.h"

namespace plotvane {
namespace {

char folded(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// One pattern against the whole name; after a "*" the match retries from
// the next name position, so the work stays within name x pattern steps.
bool matchesOne(std::string_view name, std::string_view pattern) {
  std::size_t n = 0, p = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || folded(pattern[p]) == folded(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// Folder paths as Dir1 and File1 hold them: no trailing "/" except the root.
std::string normalFolder(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

int indexOf(const std::vector<std::string>& items, const std::string& item) {
  const auto found = std::find(items.begin(), items.end(), item);
  return found == items.end() ? 0 : static_cast<int>(found - items.begin()) + 1;
}

// File1's folder := folder. Its selection stays on the same name when the
// folder is read again.
void showFolderInFile1(Form1& form, const std::string& folder) {
  FileListControl& file1 = form.ui.File1;
  std::vector<FolderEntry> entries;
  const FileError error = form.platform.listFolder(folder, entries);
  const std::string selectedName = (file1.path == folder && file1.selected >= 1 &&
                                    file1.selected <= static_cast<int>(file1.files.size()))
                                       ? file1.files[static_cast<std::size_t>(file1.selected - 1)]
                                       : std::string();
  file1.path = folder;
  file1.files = error ? std::vector<std::string>() : matchingFiles(entries, file1.pattern);
  file1.selected = selectedName.empty() ? 0 : indexOf(file1.files, selectedName);
}

// Dir1's folder := folder, when it can be read; its Change runs when the
// folder is another one.
FileError showFolderInDir1(Form1& form, const std::string& path) {
  FolderListControl& dir1 = form.ui.Dir1;
  const std::string folder = normalFolder(path);
  std::vector<FolderEntry> entries;
  if (const FileError error = form.platform.listFolder(folder, entries)) return error;
  std::vector<std::string> shown;
  if (!parentFolder(folder).empty()) shown.push_back("..");
  for (std::string& name : visibleFolders(entries)) shown.push_back(std::move(name));
  dir1.entries = std::move(shown);
  if (dir1.path == folder) return 0;
  dir1.path = folder;
  dir1Change(form);
  return 0;
}

void selectDriveOfDir1(Form1& form) {
  ComboControl& drive1 = form.ui.Drive1;
  drive1.selected = indexOf(drive1.items, driveOf(drive1.items, form.ui.Dir1.path));
  drive1.text = drive1.selected ? drive1.items[static_cast<std::size_t>(drive1.selected - 1)] : "";
}

// Dir1 at its height, File1 below it down to the pane's bottom row.
void placeFile1BelowDir1(Form1& form, int dir1Height) {
  Form1Controls& ui = form.ui;
  ui.Dir1.geometry.height = dir1Height;
  ui.File1.geometry.top = ui.Dir1.geometry.top + dir1Height + border_drag::kGap;
}

void fitFile1Height(Form1& form) {
  Form1Controls& ui = form.ui;
  const int height = border_drag::file1Height(ui.frameFile.geometry.height, ui.File1.geometry.top);
  if (height > 0) ui.File1.geometry.height = height;
}

}  // namespace

bool matchesPattern(std::string_view name, std::string_view patterns) {
  while (true) {
    const std::size_t end = patterns.find(';');
    const std::string_view pattern = patterns.substr(0, end);
    if (!pattern.empty() && matchesOne(name, pattern)) return true;
    if (end == std::string_view::npos) return false;
    patterns.remove_prefix(end + 1);
  }
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(folded(a[i]));
    const auto y = static_cast<unsigned char>(folded(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::vector<std::string> visibleFolders(const std::vector<FolderEntry>& entries) {
  std::vector<std::string> names;
  for (const FolderEntry& entry : entries)
    if (entry.folder && !entry.hidden) names.push_back(entry.name);
  std::sort(names.begin(), names.end(), lessIgnoringCase);
  return names;
}

std::vector<std::string> matchingFiles(const std::vector<FolderEntry>& entries,
                                       std::string_view patterns) {
  std::vector<std::string> names;
  for (const FolderEntry& entry : entries)
    if (!entry.folder && !entry.hidden && matchesPattern(entry.name, patterns))
      names.push_back(entry.name);
  std::sort(names.begin(), names.end(), lessIgnoringCase);
  return names;
}

std::string parentFolder(const std::string& folder) {
  const std::string path = normalFolder(folder);
  const std::size_t slash = path.rfind('/');
  if (path == "/" || slash == std::string::npos) return {};
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string driveOf(const std::vector<std::string>& drives, const std::string& folder) {
  const std::string path = normalFolder(folder);
  std::string best;
  for (const std::string& drive : drives) {
    const std::string root = normalFolder(drive);
    const bool holds = root == "/" ? !path.empty() && path.front() == '/'
                                   : path.compare(0, root.size(), root) == 0 &&
                                         (path.size() == root.size() || path[root.size()] == '/');
    if (holds && root.size() > best.size()) best = drive;
  }
  return best;
}

namespace border_drag {

bool arms(int y, int height) {
  const long long below = static_cast<long long>(y) - height;
  return below > -200 && below < 100;
}

bool nearBorder(int y, int height) {
  return std::llabs(static_cast<long long>(y) - height) < 200;
}

long long snappedHeight(int y) {
  // Int((y - 300) / 210 + 0.5) = Int((y - 195) / 210), a floor division.
  const long long shifted = static_cast<long long>(y) - 195;
  long long steps = shifted / 210;
  if (shifted % 210 != 0 && shifted < 0) --steps;
  return steps * 210 + 300;
}

int maximumHeight(int paneHeight, int dir1Top) {
  // File1's top may go down to where its 270 twips still fit in the pane.
  const long long room = static_cast<long long>(paneHeight) - dir1Top - kGap - 270 - kMinimumHeight;
  if (room < 0) return kMinimumHeight;
  return static_cast<int>(room / 210 * 210 + kMinimumHeight);
}

int clampedHeight(long long height, int paneHeight, int dir1Top) {
  return static_cast<int>(
      std::clamp<long long>(height, kMinimumHeight, maximumHeight(paneHeight, dir1Top)));
}

int file1Height(int paneHeight, int file1Top) {
  // Integer division truncates toward zero, as Fix does.
  return (paneHeight - file1Top - 270) / 180 * 180 + 270;
}

}  // namespace border_drag

void initFilePane(Form1& form) {
  Form1Controls& ui = form.ui;
  using namespace design;
  ui.Label20.geometry = {kFileListLeft, kLabel20Top, kLabel20Width, kLabel20Height};
  ui.txtMD.geometry = {kTxtMDLeft, kTxtMDTop, kTxtMDWidth, kTxtMDHeight};
  ui.Drive1.geometry = {kFileListLeft, kDrive1Top, kFileListWidth, kDrive1Height};
  ui.Dir1.geometry = {kFileListLeft, kDir1Top, kFileListWidth, kDir1Height};
  ui.Dir1.preferredHeight = kDir1Height;
  ui.File1.geometry.left = kFileListLeft;
  ui.File1.geometry.top = kFile1Top;
  ui.File1.geometry.width = kFileListWidth;
  ui.File1.pattern = std::string(kPictureFilePattern);
  showWorkingDirectoryInFilePane(form);
}

void fitFilePaneToFrame(Form1& form) {
  fitFilePaneToHeight(form, form.ui.frameFile.geometry.height);
}

void fitFilePaneToHeight(Form1& form, int paneHeight) {
  Form1Controls& ui = form.ui;
  if (paneHeight <= 0) return;  // no layout yet
  const int height =
      border_drag::clampedHeight(ui.Dir1.preferredHeight, paneHeight, ui.Dir1.geometry.top);
  if (height != ui.Dir1.geometry.height) placeFile1BelowDir1(form, height);
  fitFile1Height(form);
}

void refreshDrive1(Form1& form) {
  ComboControl& drive1 = form.ui.Drive1;
  std::vector<std::string> drives = form.platform.mountedVolumes();
  drives.erase(std::remove(drives.begin(), drives.end(), "/"), drives.end());
  drives.insert(drives.begin(), "/");
  drive1.items = std::move(drives);
  selectDriveOfDir1(form);
}

void drive1Change(Form1& form) {
  ComboControl& drive1 = form.ui.Drive1;
  if (drive1.selected >= 1 && drive1.selected <= static_cast<int>(drive1.items.size())) {
    const std::string root = drive1.items[static_cast<std::size_t>(drive1.selected - 1)];
    if (showFolderInDir1(form, root) == 0) {
      drive1.text = root;
      return;
    }
  }
  selectDriveOfDir1(form);
}

void dir1Open(Form1& form, int entry) {
  FolderListControl& dir1 = form.ui.Dir1;
  if (entry < 0 || entry >= static_cast<int>(dir1.entries.size())) return;
  const std::string& name = dir1.entries[static_cast<std::size_t>(entry)];
  const std::string folder =
      name == ".." ? parentFolder(dir1.path) : Platform::joinPath(dir1.path, name);
  if (folder.empty()) return;
  if (const FileError error = showFolderInDir1(form, folder)) {
    form.platform.messageBox(Platform::errorText(error), MessageButtons::Ok,
                             MessageIcon::Exclamation);
    return;
  }
  selectDriveOfDir1(form);
}

void dir1Change(Form1& form) {
  showFolderInFile1(form, form.ui.Dir1.path);
}

void dir1MouseDown(Form1& form, bool leftButton, int y) {
  if (!leftButton) return;
  form.state.dragTarget = border_drag::arms(y, form.ui.Dir1.geometry.height) ? 1 : 0;
  form.ui.txtMD.setText(singleText(form.state.dragTarget));
}

void dir1MouseMove(Form1& form, bool leftButtonHeld, int y) {
  Form1Controls& ui = form.ui;
  ui.Dir1.resizePointer = border_drag::nearBorder(y, ui.Dir1.geometry.height);
  // dragTarget also serves the picture's drags: only a held left button
  // that pressed on the border moves it.
  if (!leftButtonHeld || form.state.dragTarget != 1) return;
  const int height = border_drag::clampedHeight(border_drag::snappedHeight(y),
                                                ui.frameFile.geometry.height, ui.Dir1.geometry.top);
  ui.Dir1.preferredHeight = height;
  placeFile1BelowDir1(form, height);
  fitFile1Height(form);
}

void dir1MouseUp(Form1& form) {
  form.state.dragTarget = 0;
}

void showWorkingDirectoryInFilePane(Form1& form) {
  const std::string folder = normalFolder(form.platform.currentDirectory());
  if (folder.empty()) return;
  const bool sameFolder = form.ui.Dir1.path == folder;
  if (showFolderInDir1(form, folder) != 0) return;
  // Dir1's Change did not run: File1 reads its folder again all the same,
  // since the files there may have changed.
  if (sameFolder) showFolderInFile1(form, folder);
  refreshDrive1(form);
}

}  // namespace plotvane
