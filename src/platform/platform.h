// The services the core needs from the machine it runs on. The Qt layer
// implements them for real; HeadlessPlatform scripts them for the tests and
// the batch command line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/pixel_array.h"

namespace plotvane {

enum class MessageIcon { None, Exclamation, Question, Information, Critical };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

// Outcome of a file operation: 0 on success, otherwise an errno value or
// kNotRegularFile.
using FileError = int;

// A pipe, a device or a socket where the program reads or writes a file:
// opening one could block for good or never end, so it is refused.
inline constexpr FileError kNotRegularFile = -1;

// Pictures the reader refuses. Every routine counts view and picture pixels
// in 16 bits (and one digitizer looks one column past the rectangle), so a
// side is at most 32 766. The program keeps the picture as the working
// picture, copies it for undo, rotation and the filters: a picture above a
// quarter of the machine's memory (and above 1 GiB in any case) would not
// leave room for that. While a picture loads, the file's bytes, the
// decoder's own buffer (up to 8 bytes a pixel), the finished picture and the
// picture already shown (kept until the new one has loaded) are held at
// once: together at most twice maxBytes.
struct PictureLimits {
  int maxSide = 32766;
  std::uint64_t maxBytes = std::uint64_t{1} << 30;
  std::uint64_t maxLoadBytes = std::uint64_t{2} << 30;
  std::uint64_t heldBytes = 0;  // the picture shown while another loads

  static PictureLimits forThisMachine();
  bool accepts(long long width, long long height) const {
    return width > 0 && height > 0 && width <= maxSide && height <= maxSide &&
           static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4 <= maxBytes;
  }
  // Whether a load that holds this many bytes of its own fits beside the
  // picture already held.
  bool fitsLoad(std::uint64_t bytes) const {
    return bytes <= maxLoadBytes && heldBytes <= maxLoadBytes - bytes;
  }
  // What a load may hold of its own beside the picture already held.
  std::uint64_t loadRoom() const { return heldBytes < maxLoadBytes ? maxLoadBytes - heldBytes : 0; }
};

// One choice of a file dialog: the text shown and the name patterns it
// lists ("*.bmp"); matching ignores case.
struct FileFilter {
  std::string text;
  std::vector<std::string> patterns;
};

struct FileDialogRequest {
  std::string title;
  std::vector<FileFilter> filters;  // the first one is preselected
  std::string folder;               // where it opens; empty: the working directory
};

// What the user accepted in a save dialog: the name exactly as typed (no
// extension added) and the 1-based filter left selected.
struct SaveDialogChoice {
  std::string path;
  int filterIndex = 1;
};

// One name in a folder: a folder or a regular file (symbolic links followed).
// Hidden names are the ones the file manager hides (a leading ".").
struct FolderEntry {
  std::string name;
  bool folder = false;
  bool hidden = false;
  bool operator==(const FolderEntry&) const = default;
};

// A moment on the wall clock, in the user's time zone.
struct LocalTime {
  int year = 2000, month = 1, day = 1;  // month and day from 1
  int hour = 0, minute = 0, second = 0;
  bool operator==(const LocalTime&) const = default;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Message boxes are always titled "Plotvane".
  virtual MessageResult messageBox(const std::string& text, MessageButtons buttons,
                                   MessageIcon icon) = 0;

  // Lets pending window events run (repaint, Cancel) during a long loop.
  virtual void yieldEvents() = 0;

  // Environment variables (the locale rule reads LC_ALL, LC_MESSAGES, LANG).
  virtual std::string environmentVariable(const std::string& name) = 0;

  virtual std::string currentDirectory() = 0;
  virtual FileError setCurrentDirectory(const std::string& path) = 0;

  // Byte-level file service. Paths are the bytes the system gave, whatever
  // their encoding.
  // Reads at most maxBytes from the start of a regular file; anything else
  // is refused before it is opened (a folder with EISDIR, a pipe, a device
  // or a socket with kNotRegularFile), so a read never blocks.
  virtual FileError readFile(const std::string& path, std::size_t maxBytes, std::string& bytes) = 0;
  // 0 when a regular file is at the path (symbolic links followed);
  // otherwise why there is none: ENOENT, EISDIR, kNotRegularFile or what
  // kept the path from being looked at.
  virtual FileError regularFileCheck(const std::string& path) = 0;

  // Reads a picture file into pixels (red * 65536 + green * 256 + blue, top
  // byte 0; transparent parts laid over white; orientation tags applied).
  // False, with the picture untouched, for anything that is not a complete
  // picture the reader can decode within the limits; `failure` then says
  // why, in English, for the command line's report.
  virtual bool readPicture(const std::string& path, const PictureLimits& limits,
                           PixelArray& picture, std::string& failure) = 0;

  // A step that does not yield (a picture being read) is under way: the
  // busy pointer shows over the windows and the window shows the models as
  // they stand (the status line says what is being done), without taking
  // user input. False again when the step is done.
  virtual void showBusy(bool busy) = 0;

  // The open dialog; the full path chosen, or empty when cancelled.
  virtual std::string openFileDialog(const FileDialogRequest& request) = 0;

  // The save dialog, opening on the 1-based filter given. It never asks
  // about an existing file itself. Nothing when cancelled.
  virtual std::optional<SaveDialogChoice> saveFileDialog(const FileDialogRequest& request,
                                                         int filterIndex) = 0;

  // Whether something other than a folder is at the path (symbolic links
  // followed); a name that is not there is no error.
  virtual FileError fileExists(const std::string& path, bool& exists) = 0;
  // Makes the bytes the whole contents of the file, creating it if needed,
  // through a temporary file beside it renamed over it: on failure the old
  // file is as it was. A symbolic link keeps pointing at the replaced file,
  // which keeps its permissions; a file the user may not write is refused,
  // and so is anything but a regular file (kNotRegularFile).
  virtual FileError replaceFile(const std::string& path, const std::string& bytes) = 0;
  // Adds the bytes at the end of the file; on failure the file is cut back
  // to its old length. A file that is not there is created as by
  // replaceFile; anything but a regular file is refused before it is
  // opened (kNotRegularFile).
  virtual FileError appendFile(const std::string& path, const std::string& bytes) = 0;

  // Moves the mouse pointer by whole screen pixels; false where the platform
  // cannot move it.
  virtual bool movePointerBy(int dx, int dy) = 0;

  // The folders and regular files of a folder, without "." and "..", in no
  // particular order; anything else there (devices, pipes, broken links) is
  // left out.
  virtual FileError listFolder(const std::string& path, std::vector<FolderEntry>& entries) = 0;

  // The roots of the file system a user picks from: "/" first, then the
  // mounted volumes in sorted order.
  virtual std::vector<std::string> mountedVolumes() = 0;

  // The folder that exported workbooks go to, a "Plotvane" folder among the
  // user's documents, made with its parents when it is not there. The path
  // is given even when it cannot be made.
  virtual FileError workbookFolder(std::string& folder) = 0;

  // Opens the file with the desktop's default application for its type;
  // false when no application could be started for it.
  virtual bool openDocument(const std::string& path) = 0;

  // Replaces the clipboard's contents with the text (UTF-8), as plain text.
  virtual void setClipboardText(const std::string& text) = 0;

  // Seconds on a clock that never goes back, for short waits.
  virtual double clockSeconds() = 0;

  // The date and time now.
  virtual LocalTime localTime() = 0;

  // The folder holding the running program's executable; empty when not
  // known.
  virtual std::string programFolder() = 0;

  // The colour of button faces (red * 65536 + green * 256 + blue), the
  // background of the view where there is no picture.
  virtual std::uint32_t buttonFaceColour() = 0;

  // The colour chooser, opening on the initial colour (red * 65536 +
  // green * 256 + blue); the colour chosen, or nothing when cancelled.
  virtual std::optional<std::uint32_t> chooseColour(std::uint32_t initial) = 0;

  // The system's description of a file error ("No such file or directory"),
  // "Not a regular file" for kNotRegularFile.
  static std::string errorText(FileError error);

  // The system clock's local time.
  static LocalTime systemLocalTime();

  // The platform's path separator joined between a folder and a name; a
  // folder that already ends in the separator does not get a second one,
  // and an empty folder (one that could not be read) gives the bare name.
  static std::string joinPath(const std::string& folder, const std::string& name);

  // Of all mount points, the ones a user sees as drives: "/" first, then
  // those at or under /media, /mnt and /run/media, sorted, each once.
  static std::vector<std::string> userVolumes(const std::vector<std::string>& mountPoints);
};

// Real POSIX implementations of the file service, shared by the Qt and the
// headless platform.
namespace posix_files {
std::string currentDirectory();
FileError setCurrentDirectory(const std::string& path);
// Platform::readFile. With wholeOnly, a file longer than maxBytes is
// refused with EFBIG before anything is read. afterOpen, when given, runs
// once the file is open and its length known, before the read: the file
// may change in between, and what is read is what the file then holds.
FileError readFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                   bool wholeOnly = false, const std::function<void()>& afterOpen = {});
// The whole of a regular file.
FileError readFile(const std::string& path, std::string& bytes);
FileError regularFileCheck(const std::string& path);
FileError listFolder(const std::string& path, std::vector<FolderEntry>& entries);
// Makes the folder and any missing folders above it; a folder already there
// is no error, anything else of that name is.
FileError makeFolders(const std::string& path);

// The steps of a replace or an append that can fail; the hook, when given,
// is asked before each and a non-zero answer fails the step with that error.
enum class FileStep { Create, Write, Close, Rename };
using FileFaults = std::function<FileError(FileStep)>;
FileError fileExists(const std::string& path, bool& exists);
FileError replaceFile(const std::string& path, const std::string& bytes,
                      const FileFaults& faults = {});
FileError appendFile(const std::string& path, const std::string& bytes,
                     const FileFaults& faults = {});
}  // namespace posix_files

}  // namespace plotvane
