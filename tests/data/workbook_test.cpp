#include "data/workbook.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/temp_dir.h"
#include "support/workbook_parts.h"

namespace plotvane {
namespace {

using namespace testing;

const std::string kTwoPoints =
    "Data:X\tData:Y\tSource:X\tSource:Y\r\n1.5\t2\t10\t20\r\n3\t4\t30\t40\r\n";

// CR LF, LF and CR all end a line; an empty piece makes no cell; a number beyond the double range
// stays the text it was.
TEST(Workbook, CellsAreSplitAtTabsAndLineEndsWithNumbersAsNumbers) {
  const std::string text =
      "Data:X\tData:Y\r\n1.5\t-2\n1.5E+07\t1E-05\r0\t\tabc\r\n 7 \t1E+999\r\n\r\nlast";
  const WorkbookBytes book = makeWorkbook(text, ChartKind::None);
  ASSERT_EQ(book.error, 0);
  const Cells expected{{"A1", "Data:X"}, {"B1", "Data:Y"}, {"A2", 1.5},   {"B2", -2.0},
                       {"A3", 1.5e7},    {"B3", 1e-5},     {"A4", 0.0},   {"C4", "abc"},
                       {"A5", 7.0},      {"B5", "1E+999"}, {"A7", "last"}};
  EXPECT_EQ(sheetCells(workbookParts(book.bytes)), expected);
  EXPECT_FALSE(book.chartMissing);
}

// A scatter chart of column B over column A; the line chart has no markers, the point chart no
// line.
TEST(Workbook, ChartOfEachKind) {
  const std::string common[] = {"<c:xVal><c:numRef><c:f>Sheet1!$A$2:$A$3</c:f>",
                                "<c:yVal><c:numRef><c:f>Sheet1!$B$2:$B$3</c:f>"};
  // clang-format off
  const struct { ChartKind kind; bool chart, markersOff = false, lineOff = false; } cases[] = {
      {ChartKind::None, false}, {ChartKind::Line, true, true}, {ChartKind::Point, true, false, true}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    const WorkbookBytes book = makeWorkbook(kTwoPoints, c.kind);
    ASSERT_EQ(book.error, 0);
    EXPECT_FALSE(book.chartMissing);
    const Parts parts = workbookParts(book.bytes);
    EXPECT_EQ(sheetCells(parts).size(), 12u);
    const std::string chart = chartPart(parts);
    EXPECT_EQ(!chart.empty(), c.chart);
    if (!c.chart) continue;
    const auto has = [&chart](const std::string& piece) {
      return chart.find(piece) != std::string::npos;
    };
    for (const std::string& piece : common) EXPECT_TRUE(has(piece)) << piece;
    EXPECT_EQ(has("<c:marker><c:symbol val=\"none\"/></c:marker>"), c.markersOff);
    EXPECT_EQ(has("<c:spPr><a:ln w=\"28575\"><a:noFill/></a:ln></c:spPr>"), c.lineOff);
  }
}

// The writer's temporary file goes away; a missing temporary folder is reported.
TEST(Workbook, TemporaryFileGoesAwayAndAMissingTemporaryFolderIsReported) {
  TempWorkingDir dir;
  const char* old = std::getenv("TMPDIR");
  const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
  setenv("TMPDIR", dir.path().c_str(), 1);
  EXPECT_EQ(makeWorkbook(kTwoPoints, ChartKind::Line).error, 0);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  setenv("TMPDIR", dir.file("missing").c_str(), 1);
  const WorkbookBytes book = makeWorkbook(kTwoPoints, ChartKind::Line);
  saved ? setenv("TMPDIR", saved->c_str(), 1) : unsetenv("TMPDIR");
  EXPECT_EQ(book.error, ENOENT);
  EXPECT_EQ(book.bytes, "");
  EXPECT_FALSE(book.chartMissing);
}

}  // namespace
}  // namespace plotvane
