// Sending the data list to the spreadsheet: the list as tab-separated text,
// written into a new workbook (with a line or a point chart on request) that
// the desktop's spreadsheet opens, and put on the clipboard. The message
// window dlgMessage tells the user what is going on.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "data/data_export.h"
#include "data/workbook.h"

namespace plotvane {

// dlgMessage: one label, shown without disabling the main window. Loaded
// exactly while an export runs; its close box does nothing.
struct MessageDialog : Dialog {
  MessageDialog() : Dialog(DialogId::Message, "dlgMessage") {}
  Control Label1{"Label1"};
};

// Results of SendToSpreadsheet.
inline constexpr std::int16_t kSpreadsheetDone = 0;
// The workbook could not be written, or no application opened it.
inline constexpr std::int16_t kSpreadsheetUnreachable = 1;
// A chart was asked for and could not be made; the data went.
inline constexpr std::int16_t kSpreadsheetChartFailed = 2;

// The message for kSpreadsheetUnreachable, the same in both languages.
inline constexpr const char* kSpreadsheetUnreachableText = "Excelにアクセスできません。";

// How long the success message stays, in seconds.
inline constexpr double kSuccessMessageSeconds = 0.5;

// The text sent: the header "Data:X", "Data:Y", "Source:X", "Source:Y", then
// one line per row, the four texts joined by tabs, every line ending in CR
// LF. goOn runs after every tenth row; when it answers false nothing is
// returned.
std::optional<std::string> transferText(const std::vector<DataRowTexts>& rows,
                                        const std::function<bool()>& goOn = {});

// The file name of a workbook: the picture's name without its extension (at
// most 200 bytes, no leading dots; "Plotvane" without one), a space, the date
// and the time, as in "line 2024-03-05 14-07-09.xlsx".
std::string workbookFileName(const std::string& picturePath, const LocalTime& time);

// Writes the text into a new workbook in the platform's workbook folder (a
// name no file has yet: " (2)" and up are added after the time when needed),
// with the chart of the kind, and opens it with the desktop's application.
// Only then is the clipboard replaced by the text, and the text emptied.
// Shows dlgMessage while it works, when the export loaded it.
// kSpreadsheetUnreachable: nothing written (the message names the system's
// reason; a partly written file is removed) or nothing opened it.
// kSpreadsheetChartFailed: the workbook holds the data alone; message 1.
std::int16_t SendToSpreadsheet(Form1& form, std::string& text, ChartKind kind);

// Click of mnuDataExcelData, mnuDataExcelLine and mnuDataExcelPoint (kinds
// None, Line, Point), and the export at the end of a run: message 1 for an
// empty list; otherwise the list's texts, taken in one pass, become the
// transfer text (yielding every 10 rows; a Cancel then sends nothing) and
// go to SendToSpreadsheet. After a success, dlgMessage shows the success
// message for half a second while events run, and Execute is enabled.
// Nothing while an export is already under way.
void ExportToSpreadsheet(Form1& form, ChartKind kind);

// Unload of dlgMessage (the end of an export, or the main window's
// shut-down).
void messageUnload(Form1& form);

}  // namespace plotvane
