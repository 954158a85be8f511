#include "data/spreadsheet_export.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "data/data_list.h"
#include "platform/headless_platform.h"
#include "shell/captions.h"
#include "shell/form1_events.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "support/workbook_parts.h"

namespace plotvane {
namespace {

using namespace testing;
namespace fs = std::filesystem;
using Op = HeadlessPlatform::FileOperation;
using Names = std::set<std::string>;

const std::string kHeader = "Data:X\tData:Y\tSource:X\tSource:Y\r\n";
const std::string kTwoPointText = kHeader + "1.5\t2\t10\t20\r\n3\t4\t30\t40\r\n";
const std::string kUnreachable = "Excelにアクセスできません。";
const std::string kNoData = "This version of Excel is not supported by Plotvane";
const LocalTime kNow{2024, 3, 5, 14, 7, 9};
const std::string kName = "Plotvane 2024-03-05 14-07-09";

class SpreadsheetExport : public ::testing::Test {
 protected:
  SpreadsheetExport() {
    mnuLangENGClick(form);
    installDataListHandlers(form);
    platform.setLocalTime(kNow);
    platform.setClockStepPerYield(0.125);  // exact in binary: the half-second wait is four yields
  }
  void addTwoPoints() {
    ASSERT_EQ(appendDataPoint(form, 1.5f, 2, 10, 20), AddResult::Added);
    ASSERT_EQ(appendDataPoint(form, 3, 4, 30, 40), AddResult::Added);
  }
  std::string workbook(const std::string& name = kName) const {
    return dir.file("Plotvane/" + name + ".xlsx");
  }
  Names names() const {
    Names found;
    if (fs::exists(folder))
      for (const auto& entry : fs::directory_iterator(folder))
        found.insert(entry.path().filename());
    return found;
  }
  // The one message the command showed.
  void expectMessage(MenuId command, const std::string& text, MessageIcon icon) {
    platform.clearMessages();
    menuClick(form, command);
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(platform.messages()[0].text, text);
    EXPECT_EQ(platform.messages()[0].icon, icon);
  }
  // Nothing handed over and the message window gone.
  void expectNothingSent() const {
    EXPECT_TRUE(platform.openedDocuments().empty());
    EXPECT_TRUE(platform.clipboardTexts().empty());
    EXPECT_EQ(form.dialog(DialogId::Message), nullptr);
  }

  TempWorkingDir dir;
  const std::string folder = dir.file("Plotvane");
  HeadlessPlatform platform;
  Form1 form{platform};
};

// What the message window showed at each yield.
struct Shown {
  bool visible;
  std::string text;
  bool operator==(const Shown&) const = default;
};

// Kind 0 has no chart; the line chart has no markers, the point chart has them.
TEST_F(SpreadsheetExport, EachCommandWritesAWorkbookOpensItAndPutsTheTextOnTheClipboard) {
  addTwoPoints();
  // clang-format off
  const struct { MenuId command; std::string name; bool chart, markersOff; } cases[] = {
      {MenuId::mnuDataExcelData, kName, false, false}, {MenuId::mnuDataExcelLine, kName + " (2)", true, true},
      {MenuId::mnuDataExcelPoint, kName + " (3)", true, false}};
  // clang-format on
  const Shown busy{true, "Don't operate Excel now. Plotvane is operating Excel."};
  const Shown done{true, "Exit successfully"};
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
    EXPECT_EQ(shown, (std::vector<Shown>{busy, done, done, done, done}));
    EXPECT_EQ(form.dialog(DialogId::Message), nullptr);
    EXPECT_EQ(platform.openedDocuments().back(), workbook(c.name));
    EXPECT_EQ(platform.clipboardTexts().back(), kTwoPointText);
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_TRUE(form.ui.menu(MenuId::mnuExeStart).enabled);
    const std::string chart = chartPart(workbookPartsOf(workbook(c.name)));
    EXPECT_EQ(!chart.empty(), c.chart);
    EXPECT_EQ(chart.find("<c:symbol val=\"none\"/>") != std::string::npos, c.markersOff);
  }
}

// An empty list shows message 1 for every kind; a chart that cannot be made keeps the data.
TEST_F(SpreadsheetExport, AnEmptyListShowsMessageOneAndWritesNoChart) {
  for (MenuId command :
       {MenuId::mnuDataExcelData, MenuId::mnuDataExcelLine, MenuId::mnuDataExcelPoint})
    expectMessage(command, kNoData, MessageIcon::None);
  expectNothingSent();
  EXPECT_FALSE(fs::exists(folder));
  platform.clearMessages();
  std::string text = kHeader;
  EXPECT_EQ(SendToSpreadsheet(form, text, ChartKind::Line), kSpreadsheetChartFailed);
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, kNoData);
  EXPECT_EQ(text, "");
  EXPECT_EQ(platform.clipboardTexts(), std::vector<std::string>{kHeader});
  ASSERT_EQ(platform.openedDocuments(), std::vector<std::string>{workbook()});
  const Parts parts = workbookPartsOf(workbook());
  EXPECT_EQ(chartPart(parts), "");
  EXPECT_EQ(sheetCells(parts).size(), 4u);
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
  EXPECT_FALSE(fs::exists(folder));
  expectNothingSent();
  EXPECT_TRUE(platform.messages().empty());
  EXPECT_FALSE(form.ui.menu(MenuId::mnuExeStart).enabled);
}

// The workbooks stay in the folder for the user; the text is left as it was.
TEST_F(SpreadsheetExport, NothingToOpenTheWorkbookShowsTheSameMessageInBothLanguages) {
  addTwoPoints();
  platform.setDocumentsOpen(false);
  for (const bool japanese : {false, true}) {
    japanese ? mnuLangJPClick(form) : mnuLangENGClick(form);
    expectMessage(MenuId::mnuDataExcelLine, kUnreachable, MessageIcon::None);
  }
  EXPECT_EQ(form.dialog(DialogId::Message), nullptr);
  EXPECT_FALSE(form.ui.menu(MenuId::mnuExeStart).enabled);
  EXPECT_TRUE(platform.clipboardTexts().empty());
  EXPECT_EQ(names(), (Names{kName + ".xlsx", kName + " (2).xlsx"}));
  std::string text = kTwoPointText;
  EXPECT_EQ(SendToSpreadsheet(form, text, ChartKind::None), kSpreadsheetUnreachable);
  EXPECT_EQ(text, kTwoPointText);
}

// Each failing step, a disk that fills up while the workbook is written (the writer's own files
// stop part way), and a file where the folder should be.
TEST_F(SpreadsheetExport, WriteFailuresNameTheReasonAndLeaveNoFileBehind) {
  addTwoPoints();
  const auto failure = [&](const std::string& path, const char* reason) {
    return kUnreachable + "\n\n" + path + ": " + reason;
  };
  // clang-format off
  const struct { Op operation; std::string path; FileError error; } cases[] = {
      {Op::Folder, folder, EACCES}, {Op::Write, workbook(), ENOSPC}, {Op::Rename, workbook(), EACCES}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    platform.injectFailure(c.operation, c.path, c.error);
    expectMessage(MenuId::mnuDataExcelPoint, failure(c.path, std::strerror(c.error)),
                  MessageIcon::Exclamation);
    EXPECT_TRUE(names().empty());
  }
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{}, limited{};
  getrlimit(RLIMIT_FSIZE, &saved), limited = {1000, saved.rlim_max};
  setrlimit(RLIMIT_FSIZE, &limited);
  expectMessage(MenuId::mnuDataExcelLine, failure(workbook(), std::strerror(EFBIG)),
                MessageIcon::Exclamation);
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_TRUE(names().empty());
  fs::remove_all(folder);
  writeAll(folder, "x");
  expectMessage(MenuId::mnuDataExcelData, failure(folder, "Not a directory"),
                MessageIcon::Exclamation);
  expectNothingSent();
}

TEST_F(SpreadsheetExport, OneExportAtATime) {
  addTwoPoints();
  platform.setYieldHook([this] { menuClick(form, MenuId::mnuDataExcelData); });
  menuClick(form, MenuId::mnuDataExcelData);
  EXPECT_EQ(platform.openedDocuments().size(), 1u);
}

// Cut to 200 bytes, not inside the three bytes of a character.
TEST(WorkbookFileName, PictureNameDateAndTime) {
  const std::string at = " 2024-03-05 14-07-09.xlsx";
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {  // picture, workbook
      {"/charts/a.b.gif", "a.b" + at}, {"/charts/..hidden.jpg", "hidden" + at},
      {"/charts.d/.bmp", "bmp" + at}, {"/charts/...", "Plotvane" + at},
      {"/c/x" + std::string(198, 'a') + "\xE3\x81\x82.bmp", "x" + std::string(198, 'a') + at}};
  // clang-format on
  for (const auto& [picture, name] : cases)
    EXPECT_EQ(workbookFileName(picture, kNow), name) << picture;
}

}  // namespace
}  // namespace plotvane
