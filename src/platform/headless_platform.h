// A scripted platform without a display: message boxes are recorded and
// answered from a queue, environment variables come from the caller, file
// operations can be made to fail on purpose, pictures are the ones the test
// registered for a path, the open dialog answers from a queue, and folder
// listings and mounted volumes can be scripted; documents "open" as the
// test says and are recorded, the clipboard is recorded, and the clock moves
// only at yields.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace plotvane {

struct ShownMessage {
  std::string text;
  MessageButtons buttons;
  MessageIcon icon;
};

class HeadlessPlatform : public Platform {
 public:
  // Write is the writing step of replaceFile and appendFile; Exists is
  // fileExists and regularFileCheck; Create, Close and Rename are the other
  // steps of a replace (the temporary file) or an append (opening the file);
  // List is listFolder; Folder is making the workbook folder.
  enum class FileOperation { Read, Write, Exists, Create, Close, Rename, List, Folder };

  // A recorded save dialog: what it offered and the filter it opened on.
  struct ShownSaveDialog {
    FileDialogRequest request;
    int filterIndex;
  };

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
  void showBusy(bool busy) override { busy_ = busy; }
  std::string openFileDialog(const FileDialogRequest& request) override;
  std::optional<SaveDialogChoice> saveFileDialog(const FileDialogRequest& request,
                                                 int filterIndex) override;
  FileError fileExists(const std::string& path, bool& exists) override;
  FileError replaceFile(const std::string& path, const std::string& bytes) override;
  FileError appendFile(const std::string& path, const std::string& bytes) override;
  bool movePointerBy(int dx, int dy) override;
  std::uint32_t buttonFaceColour() override { return buttonFace_; }
  std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
  FileError listFolder(const std::string& path, std::vector<FolderEntry>& entries) override;
  std::vector<std::string> mountedVolumes() override { return volumes_; }
  FileError workbookFolder(std::string& folder) override;
  bool openDocument(const std::string& path) override;
  void setClipboardText(const std::string& text) override { clipboard_.push_back(text); }
  double clockSeconds() override { return clock_; }
  LocalTime localTime() override { return localTime_ ? *localTime_ : systemLocalTime(); }
  std::string programFolder() override { return programFolder_; }

  // Script.
  // readPicture of this path gives this picture (within the limits); any
  // other path fails as a missing file.
  void setPicture(const std::string& path, PixelArray picture) {
    pictures_[path] = std::move(picture);
  }
  void removePicture(const std::string& path) { pictures_.erase(path); }
  // The next open dialogs return these paths ("" = cancelled); an empty
  // queue cancels.
  void queueOpenFile(std::string path) { openAnswers_.push_back(std::move(path)); }
  // The next save dialogs give these answers (nothing = cancelled); an empty
  // queue cancels.
  void queueSaveFile(std::optional<SaveDialogChoice> choice) {
    saveAnswers_.push_back(std::move(choice));
  }
  // The next colour choosers give these answers (nothing = cancelled); an
  // empty queue cancels.
  void queueColour(std::optional<std::uint32_t> colour) { colourAnswers_.push_back(colour); }
  void setPointerMovable(bool movable) { pointerMovable_ = movable; }
  // The drives offered, exactly as given (a volume that is gone may be
  // among them); "/" alone until set.
  void setMountedVolumes(std::vector<std::string> volumes) { volumes_ = std::move(volumes); }
  // listFolder of this path gives these entries instead of the disk's.
  void setFolderListing(const std::string& path, std::vector<FolderEntry> entries) {
    listings_[path] = std::move(entries);
  }
  void setButtonFaceColour(std::uint32_t colour) { buttonFace_ = colour; }
  void setEnvironment(const std::string& name, const std::string& value) {
    environment_[name] = value;
  }
  void queueAnswer(MessageResult answer) { answers_.push_back(answer); }
  // The next operation of this kind on this path fails with the errno value.
  void injectFailure(FileOperation operation, const std::string& path, FileError error) {
    failures_[{operation, path}] = error;
  }
  // Workbooks go here (made if missing); "Plotvane" in the current folder
  // until set.
  void setWorkbookFolder(std::string folder) { workbookFolder_ = std::move(folder); }
  // Whether an application opens the documents given to openDocument.
  void setDocumentsOpen(bool open) { documentsOpen_ = open; }
  // Every yield moves the clock on by this many seconds (0.05 until set).
  void setClockStepPerYield(double seconds) { clockStep_ = seconds; }
  // The date and time localTime gives; the system's until set.
  void setLocalTime(LocalTime time) { localTime_ = time; }
  // Empty until set.
  void setProgramFolder(std::string folder) { programFolder_ = std::move(folder); }
  // Called at every yield, so a test can act "while a loop runs".
  void setYieldHook(std::function<void()> hook) { yieldHook_ = std::move(hook); }
  // Called at every picture read, so a test can see what shows meanwhile.
  void setPictureReadHook(std::function<void()> hook) { pictureReadHook_ = std::move(hook); }

  // Record.
  const std::vector<ShownMessage>& messages() const { return messages_; }
  void clearMessages() { messages_.clear(); }
  int yieldCount() const { return yieldCount_; }
  const std::vector<FileDialogRequest>& fileDialogs() const { return fileDialogs_; }
  const std::vector<ShownSaveDialog>& saveDialogs() const { return saveDialogs_; }
  const std::vector<std::string>& pictureReads() const { return pictureReads_; }
  // The initial colour of every colour chooser shown.
  const std::vector<std::uint32_t>& colourChoosers() const { return colourChoosers_; }
  // The limits of the last picture read.
  const PictureLimits& lastPictureLimits() const { return lastLimits_; }
  // Whether the platform shows the busy pointer now.
  bool busy() const { return busy_; }
  int pointerX() const { return pointerX_; }
  int pointerY() const { return pointerY_; }
  // Every path given to openDocument, opened or not.
  const std::vector<std::string>& openedDocuments() const { return opened_; }
  // Every text put on the clipboard, in order.
  const std::vector<std::string>& clipboardTexts() const { return clipboard_; }

 private:
  FileError takeFailure(FileOperation operation, const std::string& path);
  posix_files::FileFaults faultsFor(const std::string& path);

  std::map<std::string, std::string> environment_;
  std::deque<MessageResult> answers_;
  std::map<std::pair<FileOperation, std::string>, FileError> failures_;
  std::vector<ShownMessage> messages_;
  std::function<void()> yieldHook_;
  std::function<void()> pictureReadHook_;
  int yieldCount_ = 0;
  std::map<std::string, PixelArray> pictures_;
  std::vector<std::string> pictureReads_;
  PictureLimits lastLimits_;
  bool busy_ = false;
  std::deque<std::string> openAnswers_;
  std::vector<FileDialogRequest> fileDialogs_;
  std::deque<std::optional<SaveDialogChoice>> saveAnswers_;
  std::vector<ShownSaveDialog> saveDialogs_;
  std::deque<std::optional<std::uint32_t>> colourAnswers_;
  std::vector<std::uint32_t> colourChoosers_;
  bool pointerMovable_ = true;
  int pointerX_ = 0, pointerY_ = 0;
  std::uint32_t buttonFace_ = 0xF0F0F0;
  std::vector<std::string> volumes_{"/"};
  std::map<std::string, std::vector<FolderEntry>> listings_;
  std::string workbookFolder_;
  bool documentsOpen_ = true;
  std::vector<std::string> opened_;
  std::vector<std::string> clipboard_;
  double clock_ = 0;
  double clockStep_ = 0.05;
  std::optional<LocalTime> localTime_;
  std::string programFolder_;
};

}  // namespace plotvane
