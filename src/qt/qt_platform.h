// The real platform: Qt message boxes, the Qt event loop for yields, the
// process environment and file system, the desktop's clipboard and its
// default applications.
#pragma once

#include <QElapsedTimer>
#include <functional>

#include "platform/platform.h"

class QWidget;

namespace plotvane {

class QtPlatform : public Platform {
 public:
  MessageResult messageBox(const std::string& text, MessageButtons buttons,
                           MessageIcon icon) override;
  void yieldEvents() override;
  std::string environmentVariable(const std::string& name) override;
  std::string currentDirectory() override;
  FileError setCurrentDirectory(const std::string& path) override;
  FileError readFile(const std::string& path, std::size_t maxBytes, std::string& bytes) override;
  FileError regularFileCheck(const std::string& path) override;
  bool readPicture(const std::string& path, const PictureLimits& limits, PixelArray& picture,
                   std::string& failure) override;
  void showBusy(bool busy) override;
  // A step that does not yield is under way (showBusy).
  bool busy() const { return busy_; }
  std::string openFileDialog(const FileDialogRequest& request) override;
  bool movePointerBy(int dx, int dy) override;
  std::uint32_t buttonFaceColour() override;
  std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
  std::optional<SaveDialogChoice> saveFileDialog(const FileDialogRequest& request,
                                                 int filterIndex) override;
  FileError fileExists(const std::string& path, bool& exists) override;
  FileError replaceFile(const std::string& path, const std::string& bytes) override;
  FileError appendFile(const std::string& path, const std::string& bytes) override;
  FileError listFolder(const std::string& path, std::vector<FolderEntry>& entries) override;
  std::vector<std::string> mountedVolumes() override;
  FileError workbookFolder(std::string& folder) override;
  bool openDocument(const std::string& path) override;
  void setClipboardText(const std::string& text) override;
  double clockSeconds() override;
  LocalTime localTime() override { return systemLocalTime(); }
  std::string programFolder() override;

  // The window mirrors its models before every yield and message box, so
  // what the user sees is the state the core is in.
  void setBeforeEvents(std::function<void()> hook) { beforeEvents_ = std::move(hook); }
  void setDialogParent(QWidget* parent) { dialogParent_ = parent; }

 private:
  std::function<void()> beforeEvents_;
  QWidget* dialogParent_ = nullptr;
  QElapsedTimer lastEvents_;
  bool busy_ = false;
};

}  // namespace plotvane
