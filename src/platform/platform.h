// The services the core needs from the machine it runs on. The Qt layer
// implements them for real; HeadlessPlatform scripts them for the tests and
// the batch command line.
#pragma once

#include <string>

namespace plotvane {

enum class MessageIcon { None, Exclamation, Question, Information, Critical };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

// Outcome of a file operation: 0 on success, otherwise an errno value.
using FileError = int;

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

  // Byte-level file service.
  virtual FileError readFile(const std::string& path, std::string& bytes) = 0;
  virtual FileError removeFile(const std::string& path) = 0;
  // Creates (or truncates) the file and writes the bytes; a failed write or
  // close is reported like a failed create.
  virtual FileError writeNewFile(const std::string& path, const std::string& bytes) = 0;

  // The system's description of a file error ("No such file or directory").
  static std::string errorText(FileError error);

  // The platform's path separator joined between a folder and a name; a
  // folder that already ends in the separator does not get a second one.
  static std::string joinPath(const std::string& folder, const std::string& name);
};

// Real POSIX implementations of the file service, shared by the Qt and the
// headless platform.
namespace posix_files {
std::string currentDirectory();
FileError setCurrentDirectory(const std::string& path);
FileError readFile(const std::string& path, std::string& bytes);
FileError removeFile(const std::string& path);
FileError writeNewFile(const std::string& path, const std::string& bytes);
}  // namespace posix_files

}  // namespace plotvane
