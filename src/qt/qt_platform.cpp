#include "qt/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPalette>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <chrono>
#include <cstdlib>

#include "qt/qt_picture_reader.h"

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
  // A loop over a large picture yields thousands of times; handling events
  // about every 10 ms keeps the window live without repainting it each time.
  if (lastEvents_.isValid() && lastEvents_.elapsed() < 10) return;
  if (beforeEvents_) beforeEvents_();
  QCoreApplication::processEvents();
  lastEvents_.start();
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

FileError QtPlatform::readFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  return posix_files::readFile(path, maxBytes, bytes);
}

FileError QtPlatform::regularFileCheck(const std::string& path) {
  return posix_files::regularFileCheck(path);
}

void QtPlatform::showBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (!busy) {
    QGuiApplication::restoreOverrideCursor();
    return;
  }
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  if (beforeEvents_) beforeEvents_();
  // Paints what the models say and shows the pointer; clicks and keys wait
  // until the step is done, so no handler runs in the middle of it.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// Qt's own dialog, so that it looks and behaves the same everywhere. Each
// filter's text already ends in its patterns as the user should read them;
// the real patterns are attached once more and hidden from view, so the
// list shows the texts exactly and still filters.
std::optional<SaveDialogChoice> QtPlatform::saveFileDialog(const FileDialogRequest& request,
                                                           int filterIndex) {
  if (beforeEvents_) beforeEvents_();
  QFileDialog dialog(dialogParent_, QString::fromStdString(request.title));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QString());
  QStringList nameFilters;
  for (const FileFilter& filter : request.filters) {
    QStringList patterns;
    for (const std::string& pattern : filter.patterns) patterns << QString::fromStdString(pattern);
    nameFilters << QString::fromStdString(filter.text) + QStringLiteral(" (") +
                       patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  dialog.setNameFilters(nameFilters);
  if (filterIndex >= 1 && filterIndex <= nameFilters.size())
    dialog.selectNameFilter(nameFilters.at(filterIndex - 1));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  SaveDialogChoice choice;
  choice.path = QFile::encodeName(files.front()).toStdString();
  // Depending on the Qt version the selected filter comes back whole or as
  // the text shown.
  const QString selected = dialog.selectedNameFilter();
  choice.filterIndex = filterIndex;
  for (qsizetype i = 0; i < nameFilters.size(); ++i) {
    const QString shown =
        QString::fromStdString(request.filters[static_cast<std::size_t>(i)].text).simplified();
    if (selected == nameFilters.at(i) || selected == shown) {
      choice.filterIndex = static_cast<int>(i) + 1;
      break;
    }
  }
  return choice;
}

FileError QtPlatform::fileExists(const std::string& path, bool& exists) {
  return posix_files::fileExists(path, exists);
}

FileError QtPlatform::replaceFile(const std::string& path, const std::string& bytes) {
  return posix_files::replaceFile(path, bytes);
}

FileError QtPlatform::appendFile(const std::string& path, const std::string& bytes) {
  return posix_files::appendFile(path, bytes);
}

FileError QtPlatform::listFolder(const std::string& path, std::vector<FolderEntry>& entries) {
  return posix_files::listFolder(path, entries);
}

std::vector<std::string> QtPlatform::mountedVolumes() {
  std::vector<std::string> mountPoints;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
    if (volume.isValid() && volume.isReady())
      mountPoints.push_back(QFile::encodeName(volume.rootPath()).toStdString());
  return userVolumes(mountPoints);
}

bool QtPlatform::readPicture(const std::string& path, const PictureLimits& limits,
                             PixelArray& picture, std::string& failure) {
  return readPictureFile(path, limits, picture, &failure);
}

std::string QtPlatform::openFileDialog(const FileDialogRequest& request) {
  if (beforeEvents_) beforeEvents_();
  QFileDialog dialog(dialogParent_, QString::fromStdString(request.title));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // Qt takes a filter's patterns from its last parentheses, which would
  // make "All Picture Files (*.*)" list every file: the real patterns are
  // appended and the details hidden, so the texts show as written.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // Named every time: Qt would otherwise open in the folder it last showed.
  dialog.setDirectory(request.folder.empty() ? QDir::currentPath()
                                             : QFile::decodeName(request.folder.c_str()));
  QStringList filters;
  for (const FileFilter& filter : request.filters) {
    QStringList patterns;
    for (const std::string& pattern : filter.patterns) patterns << QString::fromStdString(pattern);
    filters << QStringLiteral("%1 (%2)").arg(QString::fromStdString(filter.text),
                                             patterns.join(QLatin1Char(' ')));
  }
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? std::string() : QFile::encodeName(chosen.front()).toStdString();
}

std::string QtPlatform::programFolder() {
  return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

bool QtPlatform::movePointerBy(int dx, int dy) {
  const QPoint before = QCursor::pos();
  QCursor::setPos(before + QPoint(dx, dy));
  return QCursor::pos() != before;
}

std::uint32_t QtPlatform::buttonFaceColour() {
  return QGuiApplication::palette().color(QPalette::Button).rgb() & 0xFFFFFFu;
}

FileError QtPlatform::workbookFolder(std::string& folder) {
  // Documents, not the cache: the workbook is the user's to keep.
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty()) documents = QDir::homePath();
  folder = joinPath(QFile::encodeName(documents).toStdString(), "Plotvane");
  return posix_files::makeFolders(folder);
}

bool QtPlatform::openDocument(const std::string& path) {
  if (beforeEvents_) beforeEvents_();
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(path.c_str())));
}

void QtPlatform::setClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

double QtPlatform::clockSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Qt's own chooser, so that it looks and behaves the same everywhere. It
// belongs to the window asking for it (a dialog), since the main window is
// disabled while a dialog is open and would disable its children.
std::optional<std::uint32_t> QtPlatform::chooseColour(std::uint32_t initial) {
  if (beforeEvents_) beforeEvents_();
  QWidget* active = QApplication::activeWindow();
  QColorDialog dialog(QColor::fromRgb(initial & 0xFFFFFFu), active ? active : dialogParent_);
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedColor().rgb() & 0xFFFFFFu;
}

}  // namespace plotvane
