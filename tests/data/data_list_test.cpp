#include "data/data_list.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/language.h"
#include "base/number_text.h"
#include "base/pixel_array.h"
#include "loading/load_picture.h"
#include "platform/headless_platform.h"
#include "shell/form1_events.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

using Flags = std::vector<bool>;

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
  // The number column, then XData of elements 1 and up, stale ones included: "1 2 | 1 2 3".
  std::string listed() const {
    std::string text;
    for (const ListRow& row : ui.ListView1.rows) text += row.cells.at(0) + " ";
    text += "|";
    for (std::size_t i = 1; i < app.dataPoints.size(); ++i)
      text += " " + std::to_string(int(app.dataPoints[i].XData));
    return text;
  }
  Flags dataCommands() const {  // the seven data commands
    Flags flags{ui.cmdSaveData.enabled, ui.cmdSendExcel.enabled};
    for (MenuId id : {MenuId::mnuDataSave, MenuId::mnuDataExcel, MenuId::mnuDataExcelData,
                      MenuId::mnuDataExcelLine, MenuId::mnuDataExcelPoint})
      flags.push_back(ui.menu(id).enabled);
    return flags;
  }

  HeadlessPlatform platform;
  Form1 form{platform};
  Form1Controls& ui = form.ui;
  AppState& app = form.app;
};

TEST_F(DataList, DeleteSelectedKeepsNumbersShiftsPointsAndLeavesStaleElements) {
  mnuDataDelSelectClick(form);  // no points
  addPoints(5);
  mnuDataDelSelectClick(form);                             // no row selected
  selectRow(ui.ListView1, 2), ListView1KeyDown(form, 45);  // Insert: nothing
  EXPECT_EQ(listed(), "1 2 3 4 5 | 1 2 3 4 5");
  ListView1KeyDown(form, kDeleteKey);  // point 3
  EXPECT_EQ(std::tuple(listed(), selectedRow(ui.ListView1).has_value(), dataCommands()),
            std::tuple("1 2 4 5 | 1 2 4 5 5", false, Flags(7, true)));
  ASSERT_EQ(appendDataPoint(form, 99, 0, 0, 0), AddResult::Added);  // numbered on from the count
  EXPECT_EQ(listed(), "1 2 4 5 5 | 1 2 4 5 99");
  selectRow(ui.ListView1, 0), menuClick(form, MenuId::mnuDataDelSelect);
  EXPECT_EQ(listed(), "2 4 5 5 | 2 4 5 99 99");
  app.pointCount = 0, selectRow(ui.ListView1, 0);  // rows but no points: the count decides
  mnuDataDelSelectClick(form);
  EXPECT_EQ(ui.ListView1.rows.size(), 4u);
}

TEST_F(DataList, EveryWayOfEmptyingTheListLeavesStaleElements) {
  platform.setPicture("chart.bmp", PixelArray(40, 30, 0xFFFFFF));
  // how, points before, the data commands after, the list after
  const std::tuple<void (*)(Form1&), int, bool, std::string> ways[] = {
      {[](Form1& f) { menuClick(f, MenuId::mnuDataDelAll); }, 4, false, "| 1 2 3 4"},
      {[](Form1& f) { f.ui.cmdListDelAll.onChange(); }, 4, false, "| 1 2 3 4"},
      {[](Form1& f) { ASSERT_TRUE(LoadPictureFile(f, "chart.bmp")); }, 2, false, "| 1 2"},
      {mnuDataDelSelectClick, 1, false, "| 1"},  // the only point, selected
      {removeAllPoints, 3, true, "| 1 2 3"}};    // for a run
  for (const auto& [run, count, commandsAfter, stale] : ways) {
    addPoints(count), selectRow(ui.ListView1, 0);
    const auto removals = ui.ListView1.removals;
    run(form);
    EXPECT_EQ(std::tuple(ui.ListView1.removals - removals, listed(), dataCommands()),
              std::tuple(1u, stale, Flags(7, commandsAfter)));
    addPoints(1);  // an add resizes to exactly 0 ... n + 1
    EXPECT_EQ(std::tuple(listed(), dataCommands()), std::tuple("1 | 1", Flags(7, true)));
    mnuDataDelAllClick(form);
  }
}

TEST_F(DataList, RowsShowNumberTextsOfSinglesAndTheListHoldsAtMost32767Points) {
  EXPECT_THROW((void)AddDataPoint(form, -1, 0, 0, 0, 0), std::out_of_range);  // not counted
  const std::pair<DataPoint, std::vector<std::string>> cases[] = {
      {{1.5f, -2, 12.5f, 3}, {"1", "1.5", "-2", "12.5", "3"}},
      {{12345678, 1e-5f, 0.1f, 1.0f / 3}, {"2", "1.234568E+07", "1E-05", "0.1", "0.3333333"}}};
  for (const auto& [p, cells] : cases) {
    ASSERT_EQ(appendDataPoint(form, p.XData, p.YData, p.XPixel, p.YPixel), AddResult::Added);
    EXPECT_EQ(ui.ListView1.rows.back().cells, cells);
  }
  addPoints(kMaxPointCount - 2);
  EXPECT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::ListFull);
  app.language = 0, SetLngage(app);
  EXPECT_EQ(AddDataPoint(form, 32767, 1, 2, 3, 4), AddResult::ListFull);
  EXPECT_EQ(std::tuple(platform.messages().size(), platform.messages().at(0).text,
                       platform.messages().at(1).text, app.pointCount, ui.ListView1.rows.size(),
                       app.dataPoints.size(), app.dataPoints.back().XData),
            std::tuple(2u, "The data list is full (32767 points).",
                       "ﾃﾞｰﾀの数が上限 (32767) に達しました。", 32767, 32767u, 32768u, 32767));
  selectRow(ui.ListView1, 0), mnuDataDelSelectClick(form);  // after a delete there is room again
  EXPECT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::Added);
  EXPECT_EQ(ui.ListView1.rows.back().cells[0], "32767");
}

TEST(PointGeometry, ZoomedTargetScrollValueAndMarkerArms) {
  // xPixel, yPixel, zoom, picture height -> xz, yz, py (row 0 at the top)
  const std::tuple<float, float, float, int, int, int, float> targets[] = {
      {12.5f, 3, 1, 200, 13, 196, 196},        {12.5f, 3, 4, 200, 50, 787, 196},
      {12.5f, 3, 0.5f, 200, 6, 98, 196},       {2.5f, 2.5f, 1, 100, 3, 96, 96.5f},
      {0.25f, 0.4f, 0.25f, 100, 0, 24, 98.6f}, {99, 99.5f, 2, 100, 198, -1, -0.5f}};
  for (const auto& [x, y, zoom, height, xz, yz, py] : targets) {
    const PointTarget t = pointTarget(x, y, zoom, height);
    EXPECT_EQ(std::tuple(t.xz, t.yz, t.px, t.py), std::tuple(xz, yz, x, py)) << x << " " << zoom;
  }
  EXPECT_THROW(pointTarget(20000, 0, 2, 100), OverflowError);
  // value, minimum, maximum, target, viewport -> value (314.5 ties to even; below the minimum:
  // kept)
  const std::tuple<int, int, int, int, double, int> scrolls[] = {
      {0, 0, 1000, 799, 499.5, 314}, {0, 0, 200, 800, 500, 200}, {100, 0, 1000, 300, 500, 100},
      {300, 0, 1000, 5, 500, 5},     {300, 0, 1000, 10, 500, 0}, {50, 100, 1000, 20, 500, 50}};
  for (const auto& [value, minimum, maximum, target, viewport, expected] : scrolls) {
    ScrollBarControl bar;
    bar.value = value, bar.minimum = minimum, bar.maximum = maximum;
    EXPECT_EQ(scrollValueToShow(bar, target, viewport), expected) << target << " from " << value;
  }
  // zoom, scroll values -> marker centre on the screen, arm; floor(37 / 4) = 9 pixels scrolled
  const std::tuple<float, int, int, float, float, float> markers[] = {
      {0.5f, 0, 0, 20, 98, 12}, {4, 37, 10, 124, 776, 48}, {0.25f, 3, 3, 7, 46, 12}};
  for (const auto& [zoom, h, v, sx, sy, arm] : markers) {
    const MarkerLines lines = pointMarkerLines(40, 196, zoom, h, v);
    EXPECT_EQ(std::pair(lines.vertical, lines.horizontal),
              std::pair(LineEnds{sx, sy - arm, sx, sy + arm}, LineEnds{sx - arm, sy, sx + arm, sy}))
        << zoom;
  }
}

TEST_F(DataList, RowClickSelectsScrollsAndShowsTheMarker) {
  addPoints(3);                                              // point 3 at XPixel 30, YPixel 6
  ListView1ItemClick(form, 0), ShowPointMarker(form, 1, 1);  // without a picture: only selects
  EXPECT_EQ(std::tuple(selectedRow(ui.ListView1), ui.Line5.visible), std::tuple(0u, false));
  form.state.Picture2.replace(PixelArray(200, 100, 0xFFFFFF));
  app.zoom = 4;
  ui.Picture3.geometry.width = ui.Picture3.geometry.height = 50 * kTwipsPerPixel;
  for (ScrollBarControl* bar : {&ui.HScroll1, &ui.VScroll1}) bar->maximum = 1000, bar->value = 0;
  ListView1ItemClick(form, 2);
  // xz = 120: 120 - 50 + 15 = 85, snapped to whole pixels; yz = 400 - 1 - 24 = 375: 375 - 50 + 15.
  // The marker on picture row 99 - 6 = 93, with 85 rows and 21 columns scrolled away.
  EXPECT_EQ(std::tuple(selectedRow(ui.ListView1), ui.HScroll1.value, ui.VScroll1.value,
                       ui.Line5.visible && ui.Line6.visible, ui.Line5.x1, ui.Line6.y1,
                       ui.Line5.y2 - ui.Line5.y1, ui.Line6.x2 - ui.Line6.x1),
            std::tuple(2u, 84, 340, true, (30 - 21) * 4, (93 - 85) * 4, 96, 96));
  ListView1MouseMove(form);  // the list gaining the focus hides the marker
  EXPECT_EQ(std::tuple(ui.focused == &ui.ListView1, ui.Line5.visible || ui.Line6.visible),
            std::tuple(true, false));
  ListView1ItemClick(form, 0);  // 10 pixels inside the near edge: 40 - 10, snapped
  ListView1MouseMove(form);     // already focused: the marker stays
  ListView1ItemClick(form, 7);  // no such row: nothing changes
  EXPECT_EQ(std::tuple(ui.HScroll1.value, ui.Line5.visible, selectedRow(ui.ListView1)),
            std::tuple(28, true, 0u));
}

}  // namespace
}  // namespace plotvane
