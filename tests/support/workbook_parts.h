// What an exported .xlsx holds, read from its parts: the cells of its first
// sheet and its chart.
#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <variant>
#include <vector>

#include "support/file_bytes.h"
#include "support/zip_entries.h"

namespace plotvane::testing {

using Parts = std::map<std::string, std::string>;
// A number cell's value or a text cell's text, by reference ("B2").
using CellValue = std::variant<double, std::string>;
using Cells = std::map<std::string, CellValue>;

inline Parts workbookParts(const std::string& bytes) {
  return zipEntries(bytes).value_or(Parts{});
}

inline Parts workbookPartsOf(const std::string& path) {
  return workbookParts(readAll(path));
}

inline std::string part(const Parts& parts, const std::string& name) {
  const auto found = parts.find(name);
  return found == parts.end() ? std::string() : found->second;
}

inline Cells sheetCells(const Parts& parts) {
  std::vector<std::string> shared;
  const std::string strings = part(parts, "xl/sharedStrings.xml");
  const std::regex item("<si><t[^>]*>([^<]*)</t></si>");
  for (auto it = std::sregex_iterator(strings.begin(), strings.end(), item);
       it != std::sregex_iterator(); ++it)
    shared.push_back((*it)[1]);
  Cells cells;
  const std::string sheet = part(parts, "xl/worksheets/sheet1.xml");
  const std::regex cell("<c r=\"([A-Z]+[0-9]+)\"( t=\"s\")?[^>]*><v>([^<]*)</v></c>");
  for (auto it = std::sregex_iterator(sheet.begin(), sheet.end(), cell);
       it != std::sregex_iterator(); ++it) {
    const std::string value = (*it)[3];
    if ((*it)[2].matched)
      cells[(*it)[1]] = shared.at(std::stoul(value));
    else
      cells[(*it)[1]] = std::strtod(value.c_str(), nullptr);
  }
  return cells;
}

inline std::string chartPart(const Parts& parts) {
  return part(parts, "xl/charts/chart1.xml");
}

}  // namespace plotvane::testing
