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

// Points TMPDIR somewhere else for one test.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& folder) {
    if (const char* old = std::getenv("TMPDIR")) old_ = old;
    setenv("TMPDIR", folder.c_str(), 1);
  }
  ~TemporaryFolder() {
    if (old_)
      setenv("TMPDIR", old_->c_str(), 1);
    else
      unsetenv("TMPDIR");
  }

 private:
  std::optional<std::string> old_;
};

TEST(Workbook, CellsAreSplitAtTabsAndLineEndsWithNumbersAsNumbers) {
  // CR LF, LF and CR all end a line; an empty piece makes no cell; a number
  // beyond the double range stays the text it was.
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

TEST(Workbook, ChartOfEachKind) {
  const struct {
    ChartKind kind;
    bool chart, markersOff, lineOff;
  } cases[] = {
      {.kind = ChartKind::None, .chart = false, .markersOff = false, .lineOff = false},
      {.kind = ChartKind::Line, .chart = true, .markersOff = true, .lineOff = false},
      {.kind = ChartKind::Point, .chart = true, .markersOff = false, .lineOff = true},
  };
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
    EXPECT_TRUE(has("<c:scatterChart><c:scatterStyle val=\"lineMarker\"/>"));
    EXPECT_EQ(has("<c:marker><c:symbol val=\"none\"/></c:marker>"), c.markersOff);
    EXPECT_EQ(has("<c:spPr><a:ln w=\"28575\"><a:noFill/></a:ln></c:spPr>"), c.lineOff);
    EXPECT_TRUE(has("<c:tx><c:strRef><c:f>Sheet1!$B$1</c:f>"));
    EXPECT_TRUE(has("<c:xVal><c:numRef><c:f>Sheet1!$A$2:$A$3</c:f>"));
    EXPECT_TRUE(has("<c:yVal><c:numRef><c:f>Sheet1!$B$2:$B$3</c:f>"));
    EXPECT_TRUE(has("<c:axPos val=\"b\"/><c:title>"));
    EXPECT_TRUE(has("<a:t>Data:X</a:t>"));
    EXPECT_TRUE(has("<a:t>Data:Y</a:t>"));
    EXPECT_TRUE(has("<c:autoTitleDeleted val=\"1\"/>"));
    EXPECT_FALSE(has("<c:legend>"));
    EXPECT_TRUE(has("<c:spPr><a:noFill/></c:spPr></c:plotArea>"));
    // Axis titles and numbers: four runs of text, all in 10 point.
    std::size_t sizes = 0;
    for (std::size_t at = chart.find("sz=\""); at != std::string::npos;
         at = chart.find("sz=\"", at + 1)) {
      EXPECT_EQ(chart.compare(at, 10, "sz=\"1000\" "), 0);
      ++sizes;
    }
    EXPECT_EQ(sizes, 6u);  // two title runs with their paragraph defaults, two number styles
    // Embedded in Sheet1 with its corner at F2, beside the data.
    EXPECT_NE(part(parts, "xl/drawings/drawing1.xml")
                  .find("<xdr:from><xdr:col>5</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>1</"
                        "xdr:row>"),
              std::string::npos);
  }
}

TEST(Workbook, NoDataRowsGiveNoChartButKeepTheData) {
  for (const ChartKind kind : {ChartKind::Line, ChartKind::Point}) {
    const WorkbookBytes book = makeWorkbook("Data:X\tData:Y\r\n", kind);
    ASSERT_EQ(book.error, 0);
    EXPECT_TRUE(book.chartMissing);
    const Parts parts = workbookParts(book.bytes);
    EXPECT_EQ(chartPart(parts), "");
    EXPECT_EQ(sheetCells(parts), (Cells{{"A1", "Data:X"}, {"B1", "Data:Y"}}));
  }
}

TEST(Workbook, TemporaryFileGoesAwayAndAMissingTemporaryFolderIsReported) {
  TempWorkingDir dir;
  {
    const TemporaryFolder temporary(dir.path());
    const WorkbookBytes book = makeWorkbook(kTwoPoints, ChartKind::Line);
    EXPECT_EQ(book.error, 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  }
  const TemporaryFolder temporary(dir.file("missing"));
  const WorkbookBytes book = makeWorkbook(kTwoPoints, ChartKind::Line);
  EXPECT_EQ(book.error, ENOENT);
  EXPECT_EQ(book.bytes, "");
  EXPECT_FALSE(book.chartMissing);
}

}  // namespace
}  // namespace plotvane
