// The workbook of a spreadsheet export as an .xlsx file: the transfer text
// pasted at A1 of its first sheet "Sheet1" and, on request, an XY chart of
// columns A and B embedded beside the data.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace plotvane {

// What the export draws from the data: nothing, a line through the points
// in list order (no markers), or the points alone (markers, no line).
enum class ChartKind : std::uint8_t { None = 0, Line = 1, Point = 2 };

struct WorkbookBytes {
  std::string bytes;          // the whole .xlsx file; empty when it could not be made
  FileError error = 0;        // why bytes is empty (an errno value)
  bool chartMissing = false;  // a chart was asked for and could not be made; the data is there
};

// Splits the text into rows at line ends (CR LF, LF or CR) and into cells at
// tabs, as a paste does: a cell whose whole text is a finite number becomes a
// number cell holding that value, any other a text cell, an empty one no cell.
// The chart's series takes X from column A and Y from column B of rows 2 to
// the last, its name from B1; a text without such rows gets no chart.
// The library writes through a temporary file in the system's temporary
// folder, removed again before this returns.
WorkbookBytes makeWorkbook(const std::string& transferText, ChartKind kind);

}  // namespace plotvane
