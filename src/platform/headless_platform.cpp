#include "platform/headless_platform.h"

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

FileError HeadlessPlatform::readFile(const std::string& path, std::string& bytes) {
  if (const FileError error = takeFailure(FileOperation::Read, path)) return error;
  return posix_files::readFile(path, bytes);
}

FileError HeadlessPlatform::removeFile(const std::string& path) {
  if (const FileError error = takeFailure(FileOperation::Remove, path)) return error;
  return posix_files::removeFile(path);
}

FileError HeadlessPlatform::writeNewFile(const std::string& path, const std::string& bytes) {
  if (const FileError error = takeFailure(FileOperation::Write, path)) return error;
  return posix_files::writeNewFile(path, bytes);
}

}  // namespace plotvane
