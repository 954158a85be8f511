#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/data_list.h"
#include "data/spreadsheet_export.h"
#include "digitize/digitize_handlers.h"
#include "digitize/graph_type.h"
#include "digitize/run_control.h"
#include "shell/form1_events.h"
#include "support/picture_form.h"
#include "support/workbook_parts.h"

namespace plotvane {
namespace {

using testing::PictureForm;

// A white picture with a black horizontal line at row 10.
PixelArray lineChart(int width, int height) {
  PixelArray picture(width, height, 0xFFFFFF);
  for (int x = 0; x < width; ++x) picture.set(x, 10, 0);
  return picture;
}

class Execute : public ::testing::Test {
 protected:
  Execute() {
    EXPECT_TRUE(f.load(f.folder.file("chart.bmp"), lineChart(40, 30)));
    f.ui.txtSmpX.setText("4");
  }

  // The charts of the workbooks that the runs sent to the spreadsheet since
  // the last call.
  std::vector<ChartKind> exports() {
    const std::vector<std::string>& opened = f.platform.openedDocuments();
    std::vector<ChartKind> kinds;
    for (; exportsSeen < opened.size(); ++exportsSeen) {
      const std::string chart = testing::chartPart(testing::workbookPartsOf(opened[exportsSeen]));
      kinds.push_back(chart.empty() ? ChartKind::None
                      : chart.find("<c:symbol val=\"none\"/>") != std::string::npos
                          ? ChartKind::Line
                          : ChartKind::Point);
    }
    return kinds;
  }

  void selectType(GraphType type) {
    f.ui.cmbGraphType.selected = type;
    cmbGraphTypeClick(f.form);
  }

  // Puts two points in the list, so a refused Execute can be seen to keep it.
  void fillList() {
    ASSERT_EQ(appendDataPoint(f.form, 1, 2, 3, 4), AddResult::Added);
    ASSERT_EQ(appendDataPoint(f.form, 5, 6, 7, 8), AddResult::Added);
  }

  PictureForm f;
  std::size_t exportsSeen = 0;
};

TEST_F(Execute, TraceLineReplacesTheListAndShowsTheDataPane) {
  fillList();
  f.ui.chkExcel.value = 1;
  menuClick(f.form, MenuId::mnuExeStart);

  EXPECT_EQ(f.ui.TabStrip1.selected, static_cast<int>(Pane::Data));
  EXPECT_TRUE(f.ui.ListView1.visible);
  ASSERT_EQ(f.app.pointCount, 5);
  ASSERT_EQ(f.ui.ListView1.rows.size(), 5u);
  // Row 10 of 30, counted from the bottom and centred: 29 - 10 - 0.5.
  for (const ListRow& row : f.ui.ListView1.rows) EXPECT_EQ(row.cells[4], "18.5");
  EXPECT_EQ(f.ui.ListView1.rows[4].cells[3], "40");
  EXPECT_TRUE(f.ui.menu(MenuId::mnuExeStart).enabled);
  EXPECT_TRUE(f.ui.menu(MenuId::mnuDataSave).enabled);
  EXPECT_TRUE(f.ui.cmdSaveData.enabled);
  EXPECT_FALSE(f.state.runActive);
  EXPECT_EQ(exports(), std::vector<ChartKind>{ChartKind::Line});
  EXPECT_TRUE(f.platform.messages().empty());
}

TEST_F(Execute, RefusesBadParametersAndKeepsTheList) {
  using enum Message;
  // A message, or none when the run does not start.
  // clang-format off
  const struct {
    GraphType type; const char* division; const char* filter;
    std::optional<Message> message = {};
  } cases[] = {
      {.type = kTraceLine, .division = "0", .filter = "1", .message = WholeNumberRequired},
      {.type = kTraceLine, .division = "40000", .filter = "1", .message = CountOutOfRange},
      {.type = kTraceSurface, .division = "abc", .filter = "1", .message = WholeNumberRequired},
      {.type = kTraceLine, .division = "4", .filter = "2", .message = FilterOddNumber},
      {.type = kTraceSurface, .division = "4", .filter = "129", .message = FilterOddNumber},
      {.type = kTraceLine, .division = "4", .filter = "x", .message = FilterOddNumber},
      {.type = kPlotOnePoint, .division = "4", .filter = "1"},
      {.type = kManualPlotting, .division = "4", .filter = "1"}};
  // clang-format on
  fillList();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::graphTypeName(c.type) + ", division " + c.division + ", filter " +
                 c.filter);
    f.platform.clearMessages();
    selectType(c.type);
    f.ui.txtSmpX.text = c.division;
    f.ui.cmbFRange.text = c.filter;
    f.ui.TabStrip1.selected = static_cast<int>(Pane::Setting);
    menuClick(f.form, MenuId::mnuExeStart);
    EXPECT_EQ(f.app.pointCount, 2);
    EXPECT_EQ(f.ui.TabStrip1.selected, static_cast<int>(Pane::Setting));
    if (!c.message) {
      EXPECT_TRUE(f.platform.messages().empty());
    } else {
      ASSERT_EQ(f.platform.messages().size(), 1u);
      EXPECT_EQ(f.platform.messages()[0].text, f.form.message(*c.message));
    }
  }
  // Plot All Points uses neither the count nor the filter.
  selectType(kPlotAllPoints);
  menuClick(f.form, MenuId::mnuExeStart);
  EXPECT_EQ(f.app.pointCount, 1);  // the line is one blob
}

TEST_F(Execute, ChecksTheFocusedFieldBeforeRunning) {
  f.ui.txtSmpX.text = "2.7";
  f.ui.focused = &f.ui.txtSmpX;
  menuClick(f.form, MenuId::mnuExeStart);
  EXPECT_EQ(f.ui.txtSmpX.text, "2");
  EXPECT_EQ(f.ui.txtStpX.text, "0.5");
  EXPECT_EQ(f.app.pointCount, 3);
}

TEST_F(Execute, CancelInEachPassAndExecuteIsEnabledAgain) {
  f.ui.chkExcel.value = 1;
  f.ui.txtSmpX.setText("250");
  // The scan pass yields at the 126 even columns, the points pass at 0, 100
  // and 200: a cancel at its second yield keeps columns 0 to 99.
  // clang-format off
  const struct { int cancelAtYield, points; } cases[] = {
      {.cancelAtYield = 1, .points = 0}, {.cancelAtYield = 126, .points = 0},
      {.cancelAtYield = 127, .points = 0}, {.cancelAtYield = 128, .points = 100},
      {.cancelAtYield = 129, .points = 200}, {.cancelAtYield = 100000, .points = 251}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "Cancel at yield " << c.cancelAtYield);
    int yields = 0;
    f.platform.setYieldHook([&] {
      EXPECT_TRUE(f.state.runActive);
      // A successful export at the end enables Execute while it shows its
      // message; the run still refuses a second start then.
      if (!f.form.dialog(DialogId::Message)) {
        EXPECT_FALSE(f.ui.menu(MenuId::mnuExeStart).enabled);
      }
      if (++yields == c.cancelAtYield) menuClick(f.form, MenuId::mnuExeCancel);
    });
    menuClick(f.form, MenuId::mnuExeStart);
    EXPECT_EQ(f.app.pointCount, c.points);
    EXPECT_TRUE(f.ui.menu(MenuId::mnuExeStart).enabled);
    EXPECT_TRUE(testing::toolButtonOf(f.ui, MenuId::mnuExeStart).enabled);
    EXPECT_FALSE(f.ui.ProgressBar1.visible);
    EXPECT_FALSE(f.ui.Line5.visible);
    EXPECT_EQ(exports().size(), c.points == 251 ? 1u : 0u);
  }
}

TEST_F(Execute, CommandsDuringARunAreRefusedOrWaitForIt) {
  f.ui.txtSmpX.setText("100");
  int yields = 0;
  f.platform.setYieldHook([&] {
    ++yields;
    if (yields == 3) {
      menuClick(f.form, MenuId::mnuExeStart);  // no second run inside the first
      EXPECT_FALSE(LoadPictureFile(f.form, f.folder.file("chart.bmp")));
      f.ui.cmbGraphType.selected = kPlotOnePoint;
      cmbGraphTypeClick(f.form);
      EXPECT_EQ(f.ui.cmbGraphType.selected, kTraceLine);
      EXPECT_FALSE(f.ui.menu(MenuId::mnuExeStart).enabled);
    }
    if (yields == 5) {
      // Closing the window asks the run to stop and closes when it has.
      f.state.closeRequested = true;
      f.app.cancelRequested = true;
    }
  });
  menuClick(f.form, MenuId::mnuExeStart);
  EXPECT_EQ(yields, 5);
  EXPECT_EQ(f.app.pointCount, 0);
  EXPECT_TRUE(f.state.closed);
}

TEST_F(Execute, PlotAllPointsExportsEvenWithoutPointsAndStopsWhenTheListIsFull) {
  selectType(kPlotAllPoints);
  f.ui.chkExcel.value = 1;
  menuClick(f.form, MenuId::mnuExeStart);  // the line is one blob
  EXPECT_EQ(exports(), std::vector<ChartKind>{ChartKind::Point});
  // Without points, the export has nothing to send and says so.
  ASSERT_TRUE(f.load(f.folder.file("white.bmp"), PixelArray(20, 20, 0xFFFFFF)));
  menuClick(f.form, MenuId::mnuExeStart);
  EXPECT_EQ(f.app.pointCount, 0);
  EXPECT_TRUE(exports().empty());
  ASSERT_EQ(f.platform.messages().size(), 1u);
  EXPECT_EQ(f.platform.messages()[0].text, f.form.message(Message::ExcelUnsupported));

  // 200 x 200 separate dots: 40 000 blobs, more than the list holds.
  PixelArray dots(400, 400, 0xFFFFFF);
  for (int y = 0; y < 400; y += 2)
    for (int x = 0; x < 400; x += 2) dots.set(x, y, 0);
  ASSERT_TRUE(f.load(f.folder.file("dots.bmp"), std::move(dots)));
  f.platform.clearMessages();
  menuClick(f.form, MenuId::mnuExeStart);
  EXPECT_EQ(f.app.pointCount, kMaxPointCount);
  ASSERT_EQ(f.platform.messages().size(), 1u);
  EXPECT_EQ(f.platform.messages()[0].text, f.form.message(Message::ListFull));
  EXPECT_TRUE(exports().empty());
  EXPECT_TRUE(f.ui.menu(MenuId::mnuExeStart).enabled);
}

}  // namespace
}  // namespace plotvane
