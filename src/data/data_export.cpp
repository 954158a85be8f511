#include "data/data_export.h"

#include <algorithm>
#include <cstddef>

#include "app/save_destination.h"

namespace plotvane {
namespace {

constexpr int kRowsPerYield = 10;

}  // namespace

std::vector<FileFilter> dataFileFilters(const Form1& form) {
  // "All Files" lists every name: on this system "*.*" would hide names
  // without a dot, which the dialog saves as typed.
  return {{form.caption(Caption::CsvCommaFiles), {"*.csv"}},
          {form.caption(Caption::TextTabFiles), {"*.txt"}},
          {form.caption(Caption::TextSpaceFiles), {"*.txt"}},
          {form.caption(Caption::TextCommaFiles), {"*.txt"}},
          {form.caption(Caption::AllFiles), {"*"}}};
}

char dataFileDelimiter(int filterIndex) {
  switch (filterIndex) {
    case 2:
      return '\t';
    case 3:
      return ' ';
    default:
      return ',';
  }
}

std::vector<DataRowTexts> listRowTexts(const ListViewControl& list, int pointCount) {
  const std::size_t count =
      std::min(list.rows.size(), static_cast<std::size_t>(std::max(pointCount, 0)));
  std::vector<DataRowTexts> rows(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::vector<std::string>& cells = list.rows[i].cells;
    for (std::size_t column = 0; column < 4; ++column)
      if (column + 1 < cells.size()) rows[i][column] = cells[column + 1];
  }
  return rows;
}

std::optional<std::string> dataFileText(const std::vector<DataRowTexts>& rows, char delimiter,
                                        const std::function<bool()>& goOn) {
  std::size_t size = 40;
  for (const DataRowTexts& row : rows)
    for (const std::string& value : row) size += value.size() + 1;
  size += rows.size();
  std::string text;
  text.reserve(size);
  const auto addLine = [&](const std::string& a, const std::string& b, const std::string& c,
                           const std::string& d) {
    text += a;
    text += delimiter;
    text += b;
    text += delimiter;
    text += c;
    text += delimiter;
    text += d;
    text += "\r\n";
  };
  addLine("Data:X", "Data:Y", "Source:X", "Source:Y");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    addLine(rows[i][0], rows[i][1], rows[i][2], rows[i][3]);
    if ((i + 1) % kRowsPerYield == 0 && goOn && !goOn()) return std::nullopt;
  }
  return text;
}

void saveData(Form1& form) {
  // The list is being rebuilt by a run that yields.
  if (form.state.runActive) return;
  const FileDialogRequest request{form.caption(Caption::SaveDataTitle), dataFileFilters(form), {}};
  const std::optional<SaveDestination> destination =
      askSaveDestination(form, request, form.state.dataFileType);
  if (!destination) return;

  // The file holds the list's texts, exactly as the rows show them, not a
  // new formatting of dataPoints. Copied without a yield in between, so a
  // delete or a run during the yields below cannot mix two states of the
  // list into one file.
  const std::vector<DataRowTexts> rows = listRowTexts(form.ui.ListView1, form.app.pointCount);
  form.app.cancelRequested = false;
  const std::optional<std::string> text =
      dataFileText(rows, dataFileDelimiter(destination->filterIndex), [&form] {
        form.platform.yieldEvents();
        return !form.app.cancelRequested;
      });
  if (!text) return;

  Platform& platform = form.platform;
  // No to the overwrite question adds the points at the end of the file.
  const FileError error = destination->existing == ExistingFile::Keep
                              ? platform.appendFile(destination->path, *text)
                              : platform.replaceFile(destination->path, *text);
  if (error) showFileError(platform, error);
}

}  // namespace plotvane
