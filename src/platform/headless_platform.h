// A scripted platform without a display: message boxes are recorded and
// answered from a queue, environment variables come from the caller, and file
// operations can be made to fail on purpose.
#pragma once

#include <deque>
#include <functional>
#include <map>
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
  enum class FileOperation { Read, Remove, Write };

  MessageResult messageBox(const std::string& text, MessageButtons buttons,
                           MessageIcon icon) override;
  void yieldEvents() override;
  std::string environmentVariable(const std::string& name) override;
  std::string currentDirectory() override;
  FileError setCurrentDirectory(const std::string& path) override;
  FileError readFile(const std::string& path, std::string& bytes) override;
  FileError removeFile(const std::string& path) override;
  FileError writeNewFile(const std::string& path, const std::string& bytes) override;

  // Script.
  void setEnvironment(const std::string& name, const std::string& value) {
    environment_[name] = value;
  }
  void queueAnswer(MessageResult answer) { answers_.push_back(answer); }
  // The next operation of this kind on this path fails with the errno value.
  void injectFailure(FileOperation operation, const std::string& path, FileError error) {
    failures_[{operation, path}] = error;
  }
  // Called at every yield, so a test can act "while a loop runs".
  void setYieldHook(std::function<void()> hook) { yieldHook_ = std::move(hook); }

  // Record.
  const std::vector<ShownMessage>& messages() const { return messages_; }
  void clearMessages() { messages_.clear(); }
  int yieldCount() const { return yieldCount_; }

 private:
  FileError takeFailure(FileOperation operation, const std::string& path);

  std::map<std::string, std::string> environment_;
  std::deque<MessageResult> answers_;
  std::map<std::pair<FileOperation, std::string>, FileError> failures_;
  std::vector<ShownMessage> messages_;
  std::function<void()> yieldHook_;
  int yieldCount_ = 0;
};

}  // namespace plotvane
