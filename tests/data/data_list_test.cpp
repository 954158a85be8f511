#include "data/data_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/language.h"
#include "base/number_text.h"
#include "base/pixel_array.h"
#include "data/list_copy.h"
#include "loading/load_picture.h"
#include "platform/headless_platform.h"
#include "shell/form1_events.h"

namespace plotvane {

namespace {

class DataList : public ::testing::Test {
 protected:
  DataList() {
    SetLngage(form.app);
    installDataListHandlers(form);
    setDataCommandsEnabled(form, false);
  }
  // Adds points numbered on from pointCount, with XData = number and XPixel = 10 * number.
  void addPoints(int count) {
    for (float n = app.pointCount + 1.0f, end = n + count; n < end; ++n)
      ASSERT_EQ(appendDataPoint(form, n, -n, 10 * n, 2 * n), AddResult::Added);
  }
  // The number column of the rows: "1 2 4".
  std::string numbers() const {
    std::string text;
    for (const ListRow& row : ui.ListView1.rows) text += (text.empty() ? "" : " ") + row.cells[0];
    return text;
  }
  // XData of the listed points 1 to pointCount: "1 2 4".
  std::string points() const {
    std::string text;
    for (std::size_t i = 1; i <= std::size_t(std::max<int>(app.pointCount, 0)); ++i)
      text += (i > 1 ? " " : "") + std::to_string(int(app.dataPoints.at(i).XData));
    return text;
  }
  void expectDataCommands(bool enabled, const char* when) const {  // the seven data commands
    EXPECT_EQ(ui.cmdSaveData.enabled, enabled) << when;
    EXPECT_EQ(ui.cmdSendExcel.enabled, enabled) << when;
    for (MenuId id : {MenuId::mnuDataSave, MenuId::mnuDataExcel, MenuId::mnuDataExcelData,
                      MenuId::mnuDataExcelLine, MenuId::mnuDataExcelPoint})
      EXPECT_EQ(ui.menu(id).enabled, enabled) << ui.menu(id).name << " " << when;
  }

  HeadlessPlatform platform;
  Form1 form{platform};
  Form1Controls& ui = form.ui;
  AppState& app = form.app;
};

TEST_F(DataList, DeleteSelectedKeepsNumbersAndShiftsThePoints) {
  mnuDataDelSelectClick(form);  // no points
  addPoints(5);
  mnuDataDelSelectClick(form);                             // no row selected
  selectRow(ui.ListView1, 2), ListView1KeyDown(form, 45);  // Insert: nothing
  EXPECT_EQ(numbers(), "1 2 3 4 5");
  EXPECT_EQ(points(), "1 2 3 4 5");
  ListView1KeyDown(form, kDeleteKey);  // point 3
  EXPECT_EQ(numbers(), "1 2 4 5");
  EXPECT_EQ(points(), "1 2 4 5");
  EXPECT_FALSE(selectedRow(ui.ListView1).has_value());
  expectDataCommands(true, "after a delete");
  ASSERT_EQ(appendDataPoint(form, 99, 0, 0, 0), AddResult::Added);  // numbered on from the count
  EXPECT_EQ(numbers(), "1 2 4 5 5");
  EXPECT_EQ(points(), "1 2 4 5 99");
  selectRow(ui.ListView1, 0), menuClick(form, MenuId::mnuDataDelSelect);
  EXPECT_EQ(numbers(), "2 4 5 5");
  EXPECT_EQ(points(), "2 4 5 99");
  app.pointCount = 0, selectRow(ui.ListView1, 0);  // rows but no points: the count decides
  mnuDataDelSelectClick(form);
  EXPECT_EQ(ui.ListView1.rows.size(), 4u);
}

TEST_F(DataList, EveryWayOfEmptyingTheListRemovesRowsAndPoints) {
  platform.setPicture("chart.bmp", PixelArray(40, 30, 0xFFFFFF));
  // clang-format off
  const struct { const char* how; void (*empty)(Form1&); int points; bool commandsAfter = false; } ways[] = {
      {"Delete All", [](Form1& f) { menuClick(f, MenuId::mnuDataDelAll); }, 4},
      {"cmdListDelAll", [](Form1& f) { f.ui.cmdListDelAll.onChange(); }, 4},
      {"a load", [](Form1& f) { ASSERT_TRUE(LoadPictureFile(f, "chart.bmp")); }, 2},
      {"deleting the only point, selected", mnuDataDelSelectClick, 1},
      {"the start of a run", removeAllPoints, 3, true}};
  // clang-format on
  for (const auto& c : ways) {
    SCOPED_TRACE(c.how);
    addPoints(c.points), selectRow(ui.ListView1, 0);
    const auto removals = ui.ListView1.removals;
    c.empty(form);
    EXPECT_EQ(ui.ListView1.removals - removals, 1u);
    EXPECT_EQ(numbers(), "");
    EXPECT_EQ(points(), "");
    expectDataCommands(c.commandsAfter, "after emptying");
    addPoints(1);
    EXPECT_EQ(numbers(), "1");
    EXPECT_EQ(points(), "1");
    expectDataCommands(true, "after an add");
    mnuDataDelAllClick(form);
  }
}

TEST_F(DataList, RowsShowNumberTextsOfSinglesAndTheListHoldsAtMost32767FinitePoints) {
  EXPECT_THROW((void)AddDataPoint(form, -1, 0, 0, 0, 0), std::out_of_range);  // not counted
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  for (const auto& [x, y] :
       {std::pair(-kInfinity, 1.0f), std::pair(1.0f, std::numeric_limits<float>::quiet_NaN())}) {
    EXPECT_THROW((void)appendDataPoint(form, x, y, 1, 2), OverflowError) << x << ", " << y;
    EXPECT_EQ(app.pointCount, 0);
    EXPECT_TRUE(ui.ListView1.rows.empty());
    EXPECT_FALSE(ui.menu(MenuId::mnuDataSave).enabled);
  }
  // clang-format off
  const struct { DataPoint point; std::vector<std::string> cells; } cases[] = {
      {{1.5f, -2, 12.5f, 3}, {"1", "1.5", "-2", "12.5", "3"}},
      {{12345678, 1e-5f, 0.1f, 1.0f / 3}, {"2", "1.234568E+07", "1E-05", "0.1", "0.3333333"}}};
  // clang-format on
  for (const auto& [p, cells] : cases) {
    ASSERT_EQ(appendDataPoint(form, p.XData, p.YData, p.XPixel, p.YPixel), AddResult::Added);
    EXPECT_EQ(ui.ListView1.rows.back().cells, cells);
  }
  addPoints(kMaxPointCount - 2);
  EXPECT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::ListFull);
  app.language = 0, SetLngage(app);
  EXPECT_EQ(AddDataPoint(form, 32767, 1, 2, 3, 4), AddResult::ListFull);
  ASSERT_EQ(platform.messages().size(), 2u);
  EXPECT_EQ(platform.messages()[0].text, "The data list is full (32767 points).");
  EXPECT_EQ(platform.messages()[1].text, "ﾃﾞｰﾀの数が上限 (32767) に達しました。");
  EXPECT_EQ(app.pointCount, 32767);
  EXPECT_EQ(ui.ListView1.rows.size(), 32767u);
  EXPECT_EQ(app.dataPoints.at(32767).XData, 32767);
  selectRow(ui.ListView1, 0), mnuDataDelSelectClick(form);  // after a delete there is room again
  EXPECT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::Added);
  EXPECT_EQ(ui.ListView1.rows.back().cells[0], "32767");
}

TEST_F(DataList, RowClickSelectsScrollsAndShowsTheMarker) {
  addPoints(3);                                              // point 3 at XPixel 30, YPixel 6
  ListView1ItemClick(form, 0), ShowPointMarker(form, 1, 1);  // without a picture: only selects
  EXPECT_EQ(selectedRow(ui.ListView1), 0u);
  EXPECT_FALSE(ui.Line5.visible);
  form.state.Picture2.replace(PixelArray(200, 100, 0xFFFFFF));
  app.zoom = 4;
  ui.Picture3.geometry.width = ui.Picture3.geometry.height = 50 * kTwipsPerPixel;
  for (ScrollBarControl* bar : {&ui.HScroll1, &ui.VScroll1}) bar->maximum = 1000, bar->value = 0;
  ListView1ItemClick(form, 2);
  // xz = 120: 120 - 50 + 15 = 85, snapped to whole pixels; yz = 400 - 1 - 24 = 375: 375 - 50 + 15.
  // The marker on picture row 99 - 6 = 93, with 85 rows and 21 columns scrolled away.
  EXPECT_EQ(selectedRow(ui.ListView1), 2u);
  EXPECT_EQ(ui.HScroll1.value, 84);
  EXPECT_EQ(ui.VScroll1.value, 340);
  EXPECT_TRUE(ui.Line5.visible);
  EXPECT_TRUE(ui.Line6.visible);
  EXPECT_EQ(ui.Line5.x1, (30 - 21) * 4);
  EXPECT_EQ(ui.Line6.y1, (93 - 85) * 4);
  EXPECT_EQ(ui.Line5.y2 - ui.Line5.y1, 96);
  EXPECT_EQ(ui.Line6.x2 - ui.Line6.x1, 96);
  ListView1ItemClick(form, 0);  // 10 pixels inside the near edge: 40 - 10, snapped
  ListView1ItemClick(form, 7);  // no such row: nothing changes
  EXPECT_EQ(ui.HScroll1.value, 28);
  EXPECT_TRUE(ui.Line5.visible);
  EXPECT_EQ(selectedRow(ui.ListView1), 0u);
  EXPECT_THROW(pointTarget(20000, 0, 2, 100), OverflowError);  // beyond a scroll bar's range
}

// Hovering over the list takes the focus and hides the marker, unless a text field is being
// edited or the list has the focus already.
TEST_F(DataList, HoverTakesTheFocusOnlyWhenNoTextFieldIsBeingEdited) {
  // clang-format off
  const struct { const char* name; const Control* focused; bool takes; } cases[] = {
      {"the picture", &ui.Picture1, true}, {"a value field on the picture", &ui.txtLXE, false},
      {"the Y-filtering combo", &ui.cmbFRange, false}, {"the list", &ui.ListView1, false}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ui.focused = c.focused;
    ui.Line5.visible = ui.Line6.visible = true;  // a row's marker is shown
    ListView1MouseMove(form);
    EXPECT_EQ(ui.focused, c.takes ? &ui.ListView1 : c.focused);
    EXPECT_EQ(ui.Line5.visible, !c.takes);
    EXPECT_EQ(ui.Line6.visible, !c.takes);
  }
}

// The header line, then the selected row or every row; nothing for an empty list.
TEST_F(DataList, CopyPutsTheSelectedRowOrEveryRowOnTheClipboard) {
  ListView1Copy(form);
  ASSERT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::Added);
  removeAllPoints(form);
  ListView1Copy(form);
  EXPECT_TRUE(platform.clipboardTexts().empty());
  ASSERT_EQ(appendDataPoint(form, 1.5f, -2, 10, 20), AddResult::Added);
  ASSERT_EQ(appendDataPoint(form, 3, 4.25f, 30, 40), AddResult::Added);
  const std::string header = "Data:X\tData:Y\tSource:X\tSource:Y\r\n",
                    first = "1.5\t-2\t10\t20\r\n", second = "3\t4.25\t30\t40\r\n";
  for (const auto& [selected, text] :
       {std::pair(std::optional<std::size_t>(), header + first + second),
        std::pair(std::optional<std::size_t>(0), header + first),
        std::pair(std::optional<std::size_t>(1), header + second)}) {
    selectRow(ui.ListView1, selected);
    ListView1Copy(form);
    EXPECT_EQ(platform.clipboardTexts().back(), text) << selected.value_or(99);
  }
  EXPECT_EQ(platform.clipboardTexts().size(), 3u);
}

}  // namespace
}  // namespace plotvane
