#include "data/workbook.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>

#include "base/number_text.h"

namespace plotvane {
namespace {

constexpr const char* kSheetName = "Sheet1";
// The size of a sheet.
constexpr lxw_row_t kSheetRows = 1048576;
constexpr lxw_col_t kSheetColumns = 16384;
// The chart's top left corner is F2: beside the four columns of the data,
// one row down so the header row stays clear.
constexpr lxw_row_t kChartRow = 1;
constexpr lxw_col_t kChartColumn = 5;
constexpr double kChartFontSize = 10;

// A file of a fresh name in the system's temporary folder, removed with
// this object.
class TemporaryFile {
 public:
  TemporaryFile() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error) {
      error_ = error.value();
      return;
    }
    std::string pattern = (folder / "plotvane-workbook-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
      error_ = errno;
      return;
    }
    close(fd);
    path_ = pattern;
  }
  ~TemporaryFile() {
    if (!path_.empty()) unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& path() const { return path_; }
  FileError error() const { return error_; }

 private:
  std::string path_;
  FileError error_ = 0;
};

// The text cut at line ends (CR LF, LF or CR); nothing after a final one.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    visit(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
      ++end;
    start = end + 1;
  }
}

// Writes the cells; the number of rows, or nothing when the text does not
// fit a sheet or the library refuses a cell.
std::optional<lxw_row_t> writeCells(lxw_worksheet* sheet, std::string_view text, FileError& error) {
  lxw_row_t row = 0;
  bool failed = false;
  std::string cell;
  forEachLine(text, [&](std::string_view line) {
    if (failed) return;
    if (row >= kSheetRows) {
      error = EFBIG;
      failed = true;
      return;
    }
    lxw_col_t column = 0;
    std::size_t start = 0;
    for (;;) {
      const std::size_t tab = line.find('\t', start);
      const std::string_view piece =
          line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
      if (!piece.empty()) {
        if (column >= kSheetColumns) {
          error = EFBIG;
          failed = true;
          return;
        }
        // The list's own texts: a number reads back as the value the row shows.
        const std::optional<double> number = strictNumber(piece);
        lxw_error result;
        if (number && std::isfinite(*number)) {
          result = worksheet_write_number(sheet, row, column, *number, nullptr);
        } else {
          cell.assign(piece);
          result = worksheet_write_string(sheet, row, column, cell.c_str(), nullptr);
        }
        if (result != LXW_NO_ERROR) {
          error = result == LXW_ERROR_MEMORY_MALLOC_FAILED ? ENOMEM : EINVAL;
          failed = true;
          return;
        }
      }
      if (tab == std::string_view::npos) break;
      start = tab + 1;
      ++column;
    }
    ++row;
  });
  if (failed) return std::nullopt;
  return row;
}

// An XY chart of A2:A(rows) against B2:B(rows), named by B1: no title, no
// legend, an unfilled plot area, axis titles "Data:X" and "Data:Y", text in
// 10 point. False when it cannot be made; the sheet then has no chart.
bool addChart(lxw_workbook* book, lxw_worksheet* sheet, ChartKind kind, lxw_row_t rows) {
  if (rows < 2) return false;
  lxw_chart* chart = workbook_add_chart(
      book, kind == ChartKind::Line ? LXW_CHART_SCATTER_STRAIGHT : LXW_CHART_SCATTER);
  if (!chart) return false;
  lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
  if (!series) return false;
  chart_series_set_categories(series, kSheetName, 1, 0, rows - 1, 0);
  chart_series_set_values(series, kSheetName, 1, 1, rows - 1, 1);
  chart_series_set_name_range(series, kSheetName, 0, 1);
  chart_title_off(chart);
  lxw_chart_font font{};
  font.size = kChartFontSize;
  lxw_chart_font titleFont = font;
  titleFont.bold = LXW_TRUE;
  chart_axis_set_name(chart->x_axis, "Data:X");
  chart_axis_set_name(chart->y_axis, "Data:Y");
  for (lxw_chart_axis* axis : {chart->x_axis, chart->y_axis}) {
    chart_axis_set_name_font(axis, &titleFont);
    chart_axis_set_num_font(axis, &font);
  }
  chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
  lxw_chart_fill noFill{};
  noFill.none = LXW_TRUE;
  chart_plotarea_set_fill(chart, &noFill);
  return worksheet_insert_chart(sheet, kChartRow, kChartColumn, chart) == LXW_NO_ERROR;
}

// One attempt at the whole file; chartMade tells whether a chart went in.
FileError writeWorkbookFile(const std::string& path, std::string_view text, ChartKind kind,
                            bool& chartMade) {
  chartMade = false;
  lxw_workbook* book = workbook_new(path.c_str());
  if (!book) return ENOMEM;
  lxw_worksheet* sheet = workbook_add_worksheet(book, kSheetName);
  FileError error = sheet ? 0 : ENOMEM;
  std::optional<lxw_row_t> rows;
  if (sheet) rows = writeCells(sheet, text, error);
  if (rows && kind != ChartKind::None) chartMade = addChart(book, sheet, kind, *rows);
  // The library opens and writes the file only here; errno tells why it failed.
  errno = 0;
  const lxw_error closed = workbook_close(book);
  const int closeErrno = errno;
  if (!error && closed != LXW_NO_ERROR) {
    if (closed == LXW_ERROR_MEMORY_MALLOC_FAILED)
      error = ENOMEM;
    else
      error = closeErrno ? closeErrno : EIO;
  }
  if (error) chartMade = false;
  return error;
}

}  // namespace

WorkbookBytes makeWorkbook(const std::string& transferText, ChartKind kind) {
  WorkbookBytes result;
  TemporaryFile file;
  if (file.error()) {
    result.error = file.error();
    return result;
  }
  bool chartMade = false;
  result.error = writeWorkbookFile(file.path(), transferText, kind, chartMade);
  // A chart that fails leaves the library's workbook in doubt: the data is
  // written again on its own.
  if (!result.error && kind != ChartKind::None && !chartMade) {
    result.chartMissing = true;
    result.error = writeWorkbookFile(file.path(), transferText, ChartKind::None, chartMade);
  }
  if (!result.error) result.error = posix_files::readFile(file.path(), result.bytes);
  if (result.error) {
    result.bytes.clear();
    result.chartMissing = false;
  }
  return result;
}

}  // namespace plotvane
