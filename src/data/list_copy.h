// Copy in the data list (Ctrl+C and the list's context menu): the rows as
// the spreadsheet export sends them, on the clipboard.
#pragma once

#include <string>

#include "app/form1.h"

namespace plotvane {

// The selected rows among the first pointCount rows of the list, or all of
// them when none is selected, as the export's transfer text: the header line
// and one tab-separated line per row, CR LF after each.
std::string listCopyText(const ListViewControl& list, int pointCount);

// Puts listCopyText of ListView1 on the clipboard; nothing for an empty list.
void ListView1Copy(Form1& form);

}  // namespace plotvane
