#include "qt/qt_platform.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>
#include <cstdlib>

namespace plotvane {

MessageResult QtPlatform::messageBox(const std::string& text, MessageButtons buttons,
                                     MessageIcon icon) {
  if (beforeEvents_) beforeEvents_();
  QMessageBox box(dialogParent_);
  box.setWindowTitle(QStringLiteral("Plotvane"));
  box.setText(QString::fromStdString(text));
  switch (icon) {
    case MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MessageIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Critical:
      box.setIcon(QMessageBox::Critical);
      break;
  }
  switch (buttons) {
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MessageButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case MessageButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MessageResult::Yes;
    case QMessageBox::No:
      return MessageResult::No;
    case QMessageBox::Cancel:
      return MessageResult::Cancel;
    default:
      return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
  }
}

void QtPlatform::yieldEvents() {
  if (beforeEvents_) beforeEvents_();
  QCoreApplication::processEvents();
}

std::string QtPlatform::environmentVariable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? std::string(value) : std::string();
}

std::string QtPlatform::currentDirectory() {
  return posix_files::currentDirectory();
}

FileError QtPlatform::setCurrentDirectory(const std::string& path) {
  return posix_files::setCurrentDirectory(path);
}

FileError QtPlatform::readFile(const std::string& path, std::string& bytes) {
  return posix_files::readFile(path, bytes);
}

FileError QtPlatform::removeFile(const std::string& path) {
  return posix_files::removeFile(path);
}

FileError QtPlatform::writeNewFile(const std::string& path, const std::string& bytes) {
  return posix_files::writeNewFile(path, bytes);
}

}  // namespace plotvane
