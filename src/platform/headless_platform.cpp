#include "platform/headless_platform.h"

#include <cerrno>

namespace plotvane {

MessageResult HeadlessPlatform::messageBox(const std::string& text, MessageButtons buttons,
                                           MessageIcon icon) {
  messages_.push_back({text, buttons, icon});
  if (!answers_.empty()) {
    const MessageResult answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
      return MessageResult::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
      return MessageResult::Yes;
  }
  return MessageResult::Ok;
}

void HeadlessPlatform::yieldEvents() {
  ++yieldCount_;
  clock_ += clockStep_;
  if (yieldHook_) yieldHook_();
}

std::string HeadlessPlatform::environmentVariable(const std::string& name) {
  const auto found = environment_.find(name);
  return found == environment_.end() ? std::string() : found->second;
}

std::string HeadlessPlatform::currentDirectory() {
  return posix_files::currentDirectory();
}

FileError HeadlessPlatform::setCurrentDirectory(const std::string& path) {
  return posix_files::setCurrentDirectory(path);
}

FileError HeadlessPlatform::takeFailure(FileOperation operation, const std::string& path) {
  const auto found = failures_.find({operation, path});
  if (found == failures_.end()) return 0;
  const FileError error = found->second;
  failures_.erase(found);
  return error;
}

FileError HeadlessPlatform::readFile(const std::string& path, std::size_t maxBytes,
                                     std::string& bytes) {
  if (const FileError error = takeFailure(FileOperation::Read, path)) return error;
  return posix_files::readFile(path, maxBytes, bytes);
}

FileError HeadlessPlatform::regularFileCheck(const std::string& path) {
  if (const FileError error = takeFailure(FileOperation::Exists, path)) return error;
  return posix_files::regularFileCheck(path);
}

bool HeadlessPlatform::readPicture(const std::string& path, const PictureLimits& limits,
                                   PixelArray& picture, std::string& failure) {
  pictureReads_.push_back(path);
  lastLimits_ = limits;
  if (pictureReadHook_) pictureReadHook_();
  const auto found = pictures_.find(path);
  if (found == pictures_.end()) {
    failure = errorText(ENOENT);
    return false;
  }
  if (!limits.accepts(found->second.width(), found->second.height())) {
    failure = "picture too large";
    return false;
  }
  picture = found->second;
  picture.clearTopBytes();
  return true;
}

std::string HeadlessPlatform::openFileDialog(const FileDialogRequest& request) {
  fileDialogs_.push_back(request);
  if (openAnswers_.empty()) return {};
  std::string answer = std::move(openAnswers_.front());
  openAnswers_.pop_front();
  return answer;
}

std::optional<SaveDialogChoice> HeadlessPlatform::saveFileDialog(const FileDialogRequest& request,
                                                                 int filterIndex) {
  saveDialogs_.push_back({request, filterIndex});
  if (saveAnswers_.empty()) return std::nullopt;
  std::optional<SaveDialogChoice> answer = std::move(saveAnswers_.front());
  saveAnswers_.pop_front();
  return answer;
}

FileError HeadlessPlatform::fileExists(const std::string& path, bool& exists) {
  if (const FileError error = takeFailure(FileOperation::Exists, path)) return error;
  return posix_files::fileExists(path, exists);
}

posix_files::FileFaults HeadlessPlatform::faultsFor(const std::string& path) {
  return [this, path](posix_files::FileStep step) {
    switch (step) {
      case posix_files::FileStep::Create:
        return takeFailure(FileOperation::Create, path);
      case posix_files::FileStep::Write:
        return takeFailure(FileOperation::Write, path);
      case posix_files::FileStep::Close:
        return takeFailure(FileOperation::Close, path);
      case posix_files::FileStep::Rename:
        return takeFailure(FileOperation::Rename, path);
    }
    return FileError{0};
  };
}

FileError HeadlessPlatform::replaceFile(const std::string& path, const std::string& bytes) {
  return posix_files::replaceFile(path, bytes, faultsFor(path));
}

FileError HeadlessPlatform::appendFile(const std::string& path, const std::string& bytes) {
  return posix_files::appendFile(path, bytes, faultsFor(path));
}

FileError HeadlessPlatform::listFolder(const std::string& path, std::vector<FolderEntry>& entries) {
  if (const FileError error = takeFailure(FileOperation::List, path)) return error;
  if (const auto found = listings_.find(path); found != listings_.end()) {
    entries = found->second;
    return 0;
  }
  return posix_files::listFolder(path, entries);
}

FileError HeadlessPlatform::workbookFolder(std::string& folder) {
  folder = workbookFolder_.empty() ? joinPath(posix_files::currentDirectory(), "Plotvane")
                                   : workbookFolder_;
  if (const FileError error = takeFailure(FileOperation::Folder, folder)) return error;
  return posix_files::makeFolders(folder);
}

bool HeadlessPlatform::openDocument(const std::string& path) {
  opened_.push_back(path);
  return documentsOpen_;
}

bool HeadlessPlatform::movePointerBy(int dx, int dy) {
  if (!pointerMovable_) return false;
  pointerX_ += dx;
  pointerY_ += dy;
  return true;
}

std::optional<std::uint32_t> HeadlessPlatform::chooseColour(std::uint32_t initial) {
  colourChoosers_.push_back(initial);
  if (colourAnswers_.empty()) return std::nullopt;
  const std::optional<std::uint32_t> answer = colourAnswers_.front();
  colourAnswers_.pop_front();
  return answer;
}

}  // namespace plotvane
