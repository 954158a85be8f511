#include "data/spreadsheet_export.h"

#include <cerrno>
#include <cstddef>
#include <memory>

#include "base/number_text.h"

namespace plotvane {
namespace {

// Room in a file name (255 bytes) for the date, the time, a " (99)" and
// the extension after the picture's name.
constexpr std::size_t kMaxBaseNameBytes = 200;
// Names tried for one second before giving up.
constexpr int kMaxNameTries = 99;

MessageDialog* messageWindow(Form1& form) {
  return form.dialogAs<MessageDialog>(DialogId::Message);
}

void setMessageWindowShown(Form1& form, bool shown) {
  if (MessageDialog* window = messageWindow(form)) window->window.visible = shown;
}

// At least two digits: "07".
std::string twoDigits(int value) {
  std::string text = doubleText(value);
  if (text.size() < 2) text.insert(0, 2 - text.size(), '0');
  return text;
}

// Cuts a UTF-8 text to at most the bytes, never inside a character.
void cutUtf8(std::string& text, std::size_t bytes) {
  if (text.size() <= bytes) return;
  std::size_t end = bytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
}

// A path in the folder that no file has yet, from the name with " (2)",
// " (3)" ... before the extension as needed.
FileError freePath(Platform& platform, const std::string& folder, const std::string& name,
                   std::string& path) {
  const std::string stem = name.substr(0, name.size() - 5);  // without ".xlsx"
  for (int number = 1; number <= kMaxNameTries; ++number) {
    const std::string candidate = Platform::joinPath(
        folder, number == 1 ? name : stem + " (" + doubleText(number) + ").xlsx");
    bool exists = false;
    if (const FileError error = platform.fileExists(candidate, exists)) return error;
    if (!exists) {
      path = candidate;
      return 0;
    }
  }
  return EEXIST;
}

// The workbook could not be written: the system's reason and where.
void showWriteFailure(Form1& form, const std::string& where, FileError error) {
  std::string text = kSpreadsheetUnreachableText;
  text += "\n\n";
  if (!where.empty()) text += where + ": ";
  text += Platform::errorText(error);
  form.platform.messageBox(text, MessageButtons::Ok, MessageIcon::Exclamation);
}

}  // namespace

std::optional<std::string> transferText(const std::vector<DataRowTexts>& rows,
                                        const std::function<bool()>& goOn) {
  return dataFileText(rows, '\t', goOn);
}

std::string workbookFileName(const std::string& picturePath, const LocalTime& time) {
  std::string base = picturePath.substr(picturePath.find_last_of('/') + 1);
  if (const std::size_t dot = base.find_last_of('.'); dot != std::string::npos && dot > 0)
    base.resize(dot);
  // A leading dot would hide the file from the user.
  base.erase(0, base.find_first_not_of('.'));
  cutUtf8(base, kMaxBaseNameBytes);
  if (base.empty()) base = "Plotvane";
  return base + " " + doubleText(time.year) + "-" + twoDigits(time.month) + "-" +
         twoDigits(time.day) + " " + twoDigits(time.hour) + "-" + twoDigits(time.minute) + "-" +
         twoDigits(time.second) + ".xlsx";
}

std::int16_t SendToSpreadsheet(Form1& form, std::string& text, ChartKind kind) {
  Platform& platform = form.platform;
  if (messageWindow(form)) {
    setMessageWindowShown(form, true);
    platform.yieldEvents();  // lets the window appear before the work
  }

  std::string folder;
  if (const FileError error = platform.workbookFolder(folder)) {
    setMessageWindowShown(form, false);
    showWriteFailure(form, folder, error);
    return kSpreadsheetUnreachable;
  }
  std::string path;
  const std::string name = workbookFileName(form.state.picturePath, platform.localTime());
  if (const FileError error = freePath(platform, folder, name, path)) {
    setMessageWindowShown(form, false);
    showWriteFailure(form, Platform::joinPath(folder, name), error);
    return kSpreadsheetUnreachable;
  }
  const WorkbookBytes book = makeWorkbook(text, kind);
  FileError error = book.error;
  // Written through a temporary file renamed into place: a failed write
  // leaves no part of a workbook behind.
  if (!error) error = platform.replaceFile(path, book.bytes);
  if (error) {
    setMessageWindowShown(form, false);
    showWriteFailure(form, path, error);
    return kSpreadsheetUnreachable;
  }
  // The file stays where it is: the user can still open it from the folder.
  if (!platform.openDocument(path)) {
    setMessageWindowShown(form, false);
    form.showMessage(kSpreadsheetUnreachableText);
    return kSpreadsheetUnreachable;
  }
  platform.setClipboardText(text);
  text.clear();
  if (book.chartMissing) {
    setMessageWindowShown(form, false);
    form.showMessage(form.message(Message::ExcelUnsupported));
    return kSpreadsheetChartFailed;
  }
  return kSpreadsheetDone;
}

void ExportToSpreadsheet(Form1& form, ChartKind kind) {
  // The export yields to events, which could start a second one.
  if (messageWindow(form)) return;
  if (form.app.pointCount == 0) {
    form.showMessage(form.message(Message::ExcelUnsupported));
    return;
  }
  // The list's texts as the rows show them, copied without a yield in
  // between, so a change of the list during the yields below cannot mix
  // two states of it.
  const std::vector<DataRowTexts> rows = listRowTexts(form.ui.ListView1, form.app.pointCount);
  auto window = std::make_shared<MessageDialog>();
  window->window.text = "Plotvane";
  window->window.visible = false;  // SendToSpreadsheet shows it
  window->exclusive = false;       // it leaves the main window usable
  form.loadDialog(window);

  form.app.cancelRequested = false;
  std::optional<std::string> text = transferText(rows, [&form] {
    form.platform.yieldEvents();
    return !form.app.cancelRequested;
  });
  if (text) {
    window->Label1.text = form.caption(Caption::ExcelBusy);
    if (SendToSpreadsheet(form, *text, kind) == kSpreadsheetDone) {
      window->Label1.text = form.caption(Caption::ExcelDone);
      form.setCommandEnabled(MenuId::mnuExeStart, true);
      Platform& platform = form.platform;
      const double start = platform.clockSeconds();
      while (platform.clockSeconds() < start + kSuccessMessageSeconds) platform.yieldEvents();
    }
  }
  if (messageWindow(form) == window.get()) messageUnload(form);
}

void messageUnload(Form1& form) {
  form.unloadDialog(DialogId::Message);
}

}  // namespace plotvane
