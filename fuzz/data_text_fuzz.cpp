// The data file's text from any row texts: the first byte picks the
// delimiter, the rest are cell texts separated by NUL, four to a row. The
// file has a header line and one line per row, each ending in CR LF.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/data_export.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char delimiter = plotvane::dataFileDelimiter(data[0] % 6);
  std::vector<plotvane::DataRowTexts> rows(1);
  std::size_t cell = 0;
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] != 0) {
      rows.back()[cell] += static_cast<char>(data[i]);
    } else if (++cell == 4) {
      cell = 0;
      rows.emplace_back();
    }
  }
  int calls = 0;
  const std::optional<std::string> text =
      plotvane::dataFileText(rows, delimiter, [&calls] { return ++calls < 1000000; });
  if (!text || !text->ends_with("\r\n")) std::abort();
  std::size_t length = 0;
  for (const auto& row : rows)
    for (const std::string& value : row) length += value.size() + 1;
  const std::size_t header = std::string("Data:X,Data:Y,Source:X,Source:Y\r\n").size();
  if (text->size() != header + length + rows.size()) std::abort();
  if (static_cast<std::size_t>(calls) != rows.size() / 10) std::abort();
  return 0;
}
