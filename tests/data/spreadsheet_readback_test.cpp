// The exported workbooks as a real spreadsheet reads them: LibreOffice Calc (Debian's
// libreoffice-calc-nogui) converts them to CSV, and every cell must hold what the list shows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "base/number_text.h"
#include "data/data_list.h"
#include "platform/headless_platform.h"
#include "shell/captions.h"
#include "shell/form1_events.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

using namespace testing;

std::string quoted(const std::string& text) {
  return "'" + text + "'";
}

// Every row of the list against the spreadsheet's: the header as text, the values as the same
// numbers.
void expectSameCells(const ListViewControl& list, const std::string& csv) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream fields(line);
    rows.emplace_back();
    for (std::string field; std::getline(fields, field, ',');) rows.back().push_back(field);
  }
  ASSERT_EQ(rows.size(), list.rows.size() + 1);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"Data:X", "Data:Y", "Source:X", "Source:Y"}));
  int mismatches = 0;
  for (std::size_t row = 0; row < list.rows.size(); ++row) {
    const std::vector<std::string>& read = rows[row + 1];
    const std::vector<std::string>& shown = list.rows[row].cells;
    bool same = read.size() == 4;
    for (std::size_t column = 0; same && column < 4; ++column)
      same = strictNumber(read[column]) == strictNumber(shown[column + 1]);
    if (!same && ++mismatches <= 5)
      ADD_FAILURE() << "row " << row + 2 << ": " << shown[1] << " " << shown[2] << " " << shown[3]
                    << " " << shown[4] << " read as " << read[0];
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(SpreadsheetReadBack, EveryCellOfASmallAndAFullListAsTheListShowsIt) {
  ASSERT_EQ(std::system("command -v soffice > /dev/null"), 0)
      << "soffice not found: install libreoffice-calc-nogui (make deps)";
  TempWorkingDir dir;
  HeadlessPlatform platform;
  Form1 form{platform};
  mnuLangENGClick(form);
  installDataListHandlers(form);
  // Values in every form the list writes: fractions, negatives, exponents both ways, the largest
  // single.
  // clang-format off
  const float small[][4] = {{1.5f, 2, 10, 20}, {3, 4, 30, 40}, {1.5e7f, -1e-5f, 0.5f, 0},
                            {123456.7f, -0.1234567f, 3, 4}, {3.402823e38f, 1e-30f, 1, 2}};
  // clang-format on
  for (const auto& p : small)
    ASSERT_EQ(appendDataPoint(form, p[0], p[1], p[2], p[3]), AddResult::Added);
  menuClick(form, MenuId::mnuDataExcelLine);
  const ListViewControl smallList = form.ui.ListView1;
  menuClick(form, MenuId::mnuDataDelAll);
  for (int i = 0; i < kMaxPointCount; ++i) {
    const float x = static_cast<float>(i);
    ASSERT_EQ(
        appendDataPoint(form, x * 0.0137f, std::sin(x / 300) * 1234.5f,
                        static_cast<float>(i % 8000) + 0.5f, static_cast<float>(i % 6000) * 1e-3f),
        AddResult::Added);
  }
  menuClick(form, MenuId::mnuDataExcelPoint);
  const std::vector<std::string>& books = platform.openedDocuments();
  ASSERT_EQ(books.size(), 2u);
  ASSERT_TRUE(platform.messages().empty());
  // One start of the spreadsheet for both, with a profile of its own so that a spreadsheet already
  // running elsewhere is not disturbed.
  const std::string command = "soffice -env:UserInstallation=file://" + dir.file("profile") +
                              " --headless --convert-to csv --outdir " + quoted(dir.file("csv")) +
                              " " + quoted(books[0]) + " " + quoted(books[1]) + " > /dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const auto csvOf = [&](const std::string& workbook) {
    const std::string name = workbook.substr(workbook.rfind('/') + 1);
    return readAll(dir.file("csv/" + name.substr(0, name.size() - 5) + ".csv"));
  };
  expectSameCells(smallList, csvOf(books[0]));
  expectSameCells(form.ui.ListView1, csvOf(books[1]));
}

}  // namespace
}  // namespace plotvane
