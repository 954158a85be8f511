// "Save Data As": the data list written as a delimited text file, one header
// line and one line per point, every line ending in CR LF.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/form1.h"

namespace plotvane {

// The four value texts of a row: XData, YData, XPixel, YPixel.
using DataRowTexts = std::array<std::string, 4>;

// The file types of the save dialog, in order, in the current language.
std::vector<FileFilter> dataFileFilters(const Form1& form);

// The delimiter of a file type (1-based): 2 tab, 3 space, any other comma.
char dataFileDelimiter(int filterIndex);

// The value texts of the first pointCount rows of the list as they stand
// (the point number is not part of the file). Missing cells read as empty.
std::vector<DataRowTexts> listRowTexts(const ListViewControl& list, int pointCount);

// The bytes of a data file. goOn runs after every tenth row; when it answers
// false the text is abandoned and nothing is returned.
std::optional<std::string> dataFileText(const std::vector<DataRowTexts>& rows, char delimiter,
                                        const std::function<bool()>& goOn = {});

// Click of mnuDataSave: asks for a file name (and whether to replace or
// append to an existing file), then writes the list. The rows are taken in
// one pass once the name is settled and the file is touched only when the
// whole text is built: a Cancel while it is built leaves the disk as it was.
void saveData(Form1& form);

}  // namespace plotvane
