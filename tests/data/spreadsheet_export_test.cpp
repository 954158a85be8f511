#include "data/spreadsheet_export.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "data/data_list.h"
#include "platform/headless_platform.h"
#include "shell/captions.h"
#include "shell/form1_events.h"
#include "support/temp_dir.h"
#include "support/workbook_parts.h"

namespace plotvane {
namespace {

using namespace testing;
namespace fs = std::filesystem;
using Op = HeadlessPlatform::FileOperation;

const std::string kTwoPointText =
    "Data:X\tData:Y\tSource:X\tSource:Y\r\n1.5\t2\t10\t20\r\n3\t4\t30\t40\r\n";
const std::string kUnreachable = "Excelにアクセスできません。";
const LocalTime kNow{2024, 3, 5, 14, 7, 9};
const std::string kName = "Plotvane 2024-03-05 14-07-09";

std::set<std::string> namesIn(const std::string& folder) {
  std::set<std::string> names;
  if (!fs::exists(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

class SpreadsheetExport : public ::testing::Test {
 protected:
  SpreadsheetExport() {
    mnuLangENGClick(form);
    installDataListHandlers(form);
    platform.setLocalTime(kNow);
    // Exact in binary: the half-second wait is four yields.
    platform.setClockStepPerYield(0.125);
  }
  void addTwoPoints() {
    ASSERT_EQ(appendDataPoint(form, 1.5f, 2, 10, 20), AddResult::Added);
    ASSERT_EQ(appendDataPoint(form, 3, 4, 30, 40), AddResult::Added);
  }
  std::string workbook(const std::string& name = kName) const {
    return dir.file("Plotvane/" + name + ".xlsx");
  }

  TempWorkingDir dir;
  HeadlessPlatform platform;
  Form1 form{platform};
};

// What the message window showed at each yield.
struct Shown {
  bool visible;
  std::string text;
  bool operator==(const Shown&) const = default;
};

TEST_F(SpreadsheetExport, EachCommandWritesAWorkbookOpensItAndPutsTheTextOnTheClipboard) {
  addTwoPoints();
  const struct {
    MenuId command;
    std::string name;
    bool chart, markersOff;
  } cases[] = {
      {.command = MenuId::mnuDataExcelData, .name = kName, .chart = false, .markersOff = false},
      {.command = MenuId::mnuDataExcelLine,
       .name = kName + " (2)",
       .chart = true,
       .markersOff = true},
      {.command = MenuId::mnuDataExcelPoint,
       .name = kName + " (3)",
       .chart = true,
       .markersOff = false},
  };
  const Cells listCells{{"A1", "Data:X"}, {"B1", "Data:Y"}, {"C1", "Source:X"}, {"D1", "Source:Y"},
                        {"A2", 1.5},      {"B2", 2.0},      {"C2", 10.0},       {"D2", 20.0},
                        {"A3", 3.0},      {"B3", 4.0},      {"C3", 30.0},       {"D3", 40.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    form.setCommandEnabled(MenuId::mnuExeStart, false);
    std::vector<Shown> shown;
    platform.setYieldHook([&] {
      const auto* window = form.dialogAs<MessageDialog>(DialogId::Message);
      ASSERT_NE(window, nullptr);
      shown.push_back({window->window.visible, window->Label1.text});
      EXPECT_TRUE(form.ui.form.enabled);  // modeless
    });
    menuClick(form, c.command);

    const Shown busy{true, "Don't operate Excel now. Plotvane is operating Excel."};
    const Shown done{true, "Exit successfully"};
    EXPECT_EQ(shown, (std::vector<Shown>{busy, done, done, done, done}));
    EXPECT_EQ(form.dialog(DialogId::Message), nullptr);
    EXPECT_EQ(platform.openedDocuments().back(), workbook(c.name));
    EXPECT_EQ(platform.clipboardTexts().back(), kTwoPointText);
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_TRUE(form.ui.menu(MenuId::mnuExeStart).enabled);
    EXPECT_TRUE(form.ui.toolButton(5).enabled);
    const Parts parts = workbookPartsOf(workbook(c.name));
    EXPECT_EQ(sheetCells(parts), listCells);
    const std::string chart = chartPart(parts);
    EXPECT_EQ(!chart.empty(), c.chart);
    EXPECT_EQ(chart.find("<c:symbol val=\"none\"/>") != std::string::npos, c.markersOff);
  }
}

TEST_F(SpreadsheetExport, AnEmptyListShowsMessageOneForEveryKind) {
  for (MenuId command :
       {MenuId::mnuDataExcelData, MenuId::mnuDataExcelLine, MenuId::mnuDataExcelPoint}) {
    platform.clearMessages();
    menuClick(form, command);
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(platform.messages()[0].text, "This version of Excel is not supported by Plotvane");
    EXPECT_EQ(platform.messages()[0].icon, MessageIcon::None);
  }
  EXPECT_TRUE(platform.openedDocuments().empty());
  EXPECT_TRUE(platform.clipboardTexts().empty());
  EXPECT_FALSE(fs::exists(dir.file("Plotvane")));
  EXPECT_EQ(form.dialog(DialogId::Message), nullptr);
}

TEST_F(SpreadsheetExport, ACancelWhileTheTextIsBuiltSendsNothing) {
  for (int i = 0; i < 25; ++i) ASSERT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::Added);
  form.app.cancelRequested = true;  // a stale Cancel does not count
  int yields = 0;
  platform.setYieldHook([&] {
    if (++yields == 2) menuClick(form, MenuId::mnuExeCancel);
  });
  menuClick(form, MenuId::mnuDataExcelLine);
  EXPECT_EQ(yields, 2);  // after rows 10 and 20
  EXPECT_FALSE(fs::exists(dir.file("Plotvane")));
  EXPECT_TRUE(platform.openedDocuments().empty());
  EXPECT_TRUE(platform.clipboardTexts().empty());
  EXPECT_TRUE(platform.messages().empty());
  EXPECT_EQ(form.dialog(DialogId::Message), nullptr);
  EXPECT_FALSE(form.ui.menu(MenuId::mnuExeStart).enabled);
}

TEST_F(SpreadsheetExport, NothingToOpenTheWorkbookShowsTheSameMessageInBothLanguages) {
  addTwoPoints();
  platform.setDocumentsOpen(false);
  for (const bool japanese : {false, true}) {
    SCOPED_TRACE(japanese);
    japanese ? mnuLangJPClick(form) : mnuLangENGClick(form);
    platform.clearMessages();
    menuClick(form, MenuId::mnuDataExcelLine);
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(platform.messages()[0].text, kUnreachable);
    EXPECT_EQ(platform.messages()[0].icon, MessageIcon::None);
    EXPECT_EQ(form.dialog(DialogId::Message), nullptr);
    EXPECT_FALSE(form.ui.menu(MenuId::mnuExeStart).enabled);
  }
  EXPECT_TRUE(platform.clipboardTexts().empty());
  // The workbooks stay in the folder for the user.
  EXPECT_EQ(namesIn(dir.file("Plotvane")),
            (std::set<std::string>{kName + ".xlsx", kName + " (2).xlsx"}));

  std::string text = kTwoPointText;
  EXPECT_EQ(SendToSpreadsheet(form, text, ChartKind::None), kSpreadsheetUnreachable);
  EXPECT_EQ(text, kTwoPointText);
}

TEST_F(SpreadsheetExport, WriteFailuresNameTheReasonAndLeaveNoFileBehind) {
  addTwoPoints();
  const std::string folder = dir.file("Plotvane");
  const struct {
    Op operation;
    std::string path;
    FileError error;
  } cases[] = {
      {.operation = Op::Folder, .path = folder, .error = EACCES},
      {.operation = Op::Exists, .path = workbook(), .error = EACCES},
      {.operation = Op::Create, .path = workbook(), .error = EROFS},
      {.operation = Op::Write, .path = workbook(), .error = ENOSPC},
      {.operation = Op::Close, .path = workbook(), .error = EIO},
      {.operation = Op::Rename, .path = workbook(), .error = EACCES},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    platform.clearMessages();
    platform.injectFailure(c.operation, c.path, c.error);
    menuClick(form, MenuId::mnuDataExcelPoint);
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(platform.messages()[0].text,
              kUnreachable + "\n\n" + c.path + ": " + std::strerror(c.error));
    EXPECT_EQ(platform.messages()[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(namesIn(folder).empty());
  }
  // A disk that fills up while the workbook is written: the writer's own
  // files stop part way.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{}, limited{};
  getrlimit(RLIMIT_FSIZE, &saved), limited = {1000, saved.rlim_max};
  platform.clearMessages();
  setrlimit(RLIMIT_FSIZE, &limited);
  menuClick(form, MenuId::mnuDataExcelLine);
  setrlimit(RLIMIT_FSIZE, &saved);
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text,
            kUnreachable + "\n\n" + workbook() + ": " + std::strerror(EFBIG));
  EXPECT_TRUE(namesIn(folder).empty());
  // A file where the folder should be.
  fs::remove_all(folder);
  std::ofstream(folder) << "x";
  platform.clearMessages();
  menuClick(form, MenuId::mnuDataExcelData);
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, kUnreachable + "\n\n" + folder + ": Not a directory");
  EXPECT_TRUE(platform.openedDocuments().empty());
  EXPECT_TRUE(platform.clipboardTexts().empty());
  EXPECT_EQ(form.dialog(DialogId::Message), nullptr);
}

TEST_F(SpreadsheetExport, AChartThatCannotBeMadeKeepsTheData) {
  std::string text = "Data:X\tData:Y\tSource:X\tSource:Y\r\n";
  EXPECT_EQ(SendToSpreadsheet(form, text, ChartKind::Line), kSpreadsheetChartFailed);
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, "This version of Excel is not supported by Plotvane");
  EXPECT_EQ(text, "");
  EXPECT_EQ(platform.clipboardTexts(),
            std::vector<std::string>{"Data:X\tData:Y\tSource:X\tSource:Y\r\n"});
  ASSERT_EQ(platform.openedDocuments(), std::vector<std::string>{workbook()});
  const Parts parts = workbookPartsOf(workbook());
  EXPECT_EQ(chartPart(parts), "");
  EXPECT_EQ(sheetCells(parts).size(), 4u);
}

TEST_F(SpreadsheetExport, OneExportAtATime) {
  addTwoPoints();
  platform.setYieldHook([this] { menuClick(form, MenuId::mnuDataExcelData); });
  menuClick(form, MenuId::mnuDataExcelData);
  EXPECT_EQ(platform.openedDocuments().size(), 1u);
}

TEST(WorkbookFileName, PictureNameDateAndTime) {
  const struct {
    std::string picture, name;
  } cases[] = {
      {.picture = "/charts/line.bmp", .name = "line 2024-03-05 14-07-09.xlsx"},
      {.picture = "/charts/a.b.gif", .name = "a.b 2024-03-05 14-07-09.xlsx"},
      {.picture = "/charts/plain", .name = "plain 2024-03-05 14-07-09.xlsx"},
      {.picture = "/charts/..hidden.jpg", .name = "hidden 2024-03-05 14-07-09.xlsx"},
      {.picture = "/charts.d/.bmp", .name = "bmp 2024-03-05 14-07-09.xlsx"},
      {.picture = "", .name = "Plotvane 2024-03-05 14-07-09.xlsx"},
      {.picture = "/charts/...", .name = "Plotvane 2024-03-05 14-07-09.xlsx"},
      // Cut to 200 bytes, not inside the three bytes of a character.
      {.picture = "/c/x" + std::string(198, 'a') + "\xE3\x81\x82.bmp",
       .name = "x" + std::string(198, 'a') + " 2024-03-05 14-07-09.xlsx"},
  };
  for (const auto& c : cases) EXPECT_EQ(workbookFileName(c.picture, kNow), c.name) << c.picture;
  EXPECT_EQ(workbookFileName("/c/d.bmp", {987, 12, 31, 0, 0, 0}), "d 987-12-31 00-00-00.xlsx");
}

}  // namespace
}  // namespace plotvane
