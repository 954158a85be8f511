#include "data/data_list.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/form1_events.h"
#include "app/language.h"
#include "app/number_text.h"
#include "loading/load_picture.h"
#include "picture/pixel_array.h"
#include "platform/headless_platform.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

using Texts = std::vector<std::string>;

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
  Texts numberColumn() const {
    Texts numbers;
    for (const ListRow& row : ui.ListView1.rows) numbers.push_back(row.cells.at(0));
    return numbers;
  }
  std::vector<float> xData() const {  // elements 1 and up, stale ones included
    std::vector<float> values;
    for (std::size_t i = 1; i < app.dataPoints.size(); ++i)
      values.push_back(app.dataPoints[i].XData);
    return values;
  }
  std::vector<bool> dataCommands() const {  // the seven data commands
    return {ui.menu(MenuId::mnuDataSave).enabled,
            ui.menu(MenuId::mnuDataExcel).enabled,
            ui.menu(MenuId::mnuDataExcelData).enabled,
            ui.menu(MenuId::mnuDataExcelLine).enabled,
            ui.menu(MenuId::mnuDataExcelPoint).enabled,
            ui.cmdSaveData.enabled,
            ui.cmdSendExcel.enabled};
  }

  HeadlessPlatform platform;
  Form1 form{platform};
  Form1Controls& ui = form.ui;
  AppState& app = form.app;
};

TEST_F(DataList, FirstPointEnablesTheCommandsAndRowsShowNumberTextsOfSingles) {
  EXPECT_EQ(dataCommands(), std::vector<bool>(7, false));
  const std::pair<DataPoint, Texts> cases[] = {
      {{1.5f, -2, 12.5f, 3}, {"1", "1.5", "-2", "12.5", "3"}},
      {{12345678, 1e-5f, 0.1f, 1.0f / 3}, {"2", "1.234568E+07", "1E-05", "0.1", "0.3333333"}},
      {{-0.0f, 1e20f, 1234567, 0.0001f}, {"3", "0", "1E+20", "1234567", "0.0001"}}};
  for (const auto& [p, cells] : cases) {
    ASSERT_EQ(appendDataPoint(form, p.XData, p.YData, p.XPixel, p.YPixel), AddResult::Added);
    EXPECT_EQ(ui.ListView1.rows.back().cells, cells);
    std::vector<bool> expected(7, true);
    expected[5] = cells[0] == "1";  // cmdSaveData, disabled below: only the first point enables
    EXPECT_EQ(dataCommands(), expected);
    ui.cmdSaveData.enabled = false;
  }
  EXPECT_EQ(app.dataPoints.size(), 4u);
}

TEST_F(DataList, DeleteSelectedKeepsNumbersShiftsPointsAndLeavesStaleElements) {
  mnuDataDelSelectClick(form);  // no points
  addPoints(5);
  mnuDataDelSelectClick(form);  // no row selected
  selectRow(ui.ListView1, 2);
  ListView1KeyDown(form, 45);  // Insert: nothing
  EXPECT_EQ(app.pointCount, 5);
  const auto removals = ui.ListView1.removals;
  ListView1KeyDown(form, kDeleteKey);              // point 3
  EXPECT_EQ(ui.ListView1.removals, removals + 1);  // the window rebuilds its rows
  EXPECT_EQ(numberColumn(), (Texts{"1", "2", "4", "5"}));
  EXPECT_EQ(xData(), (std::vector<float>{1, 2, 4, 5, 5}));
  EXPECT_FALSE(selectedRow(ui.ListView1).has_value());
  EXPECT_EQ(dataCommands(), std::vector<bool>(7, true));
  ASSERT_EQ(appendDataPoint(form, 99, 0, 0, 0), AddResult::Added);
  EXPECT_EQ(numberColumn(), (Texts{"1", "2", "4", "5", "5"}));
  selectRow(ui.ListView1, 4);  // the last row, then the first
  menuClick(form, MenuId::mnuDataDelSelect);
  selectRow(ui.ListView1, 0);
  mnuDataDelSelectClick(form);
  EXPECT_EQ(numberColumn(), (Texts{"2", "4", "5"}));
  EXPECT_EQ(xData(), (std::vector<float>{2, 4, 5, 5, 99}));
  app.pointCount = 0;  // a row but no points (out of step): the count decides
  mnuDataDelSelectClick(form);
  EXPECT_EQ(ui.ListView1.rows.size(), 3u);
}

TEST_F(DataList, EveryWayOfEmptyingTheListLeavesStaleElements) {
  // how, points before, the data commands after
  const std::tuple<void (*)(Form1&), int, bool> ways[] = {
      {[](Form1& f) { menuClick(f, MenuId::mnuDataDelAll); }, 4, false},
      {[](Form1& f) { f.ui.cmdListDelAll.onChange(); }, 4, false},
      {mnuDataDelSelectClick, 1, false},  // the only point, selected
      {removeAllPoints, 3, true}};        // for a run
  for (const auto& way : ways) {
    const auto& [run, count, commandsAfter] = way;
    SCOPED_TRACE(&way - ways);
    addPoints(count);
    selectRow(ui.ListView1, 0);
    const auto removals = ui.ListView1.removals;
    run(form);
    EXPECT_EQ(ui.ListView1.removals, removals + 1);
    EXPECT_EQ(app.pointCount, 0);
    EXPECT_TRUE(ui.ListView1.rows.empty());
    EXPECT_EQ(dataCommands(), std::vector<bool>(7, commandsAfter));
    ASSERT_EQ(app.dataPoints.size(), count + 1u);
    EXPECT_EQ(app.dataPoints[count].XData, count);  // stale until the next add
    addPoints(1);
    EXPECT_EQ(app.dataPoints.size(), 2u);  // an add resizes to exactly 0 ... n + 1
    EXPECT_EQ(numberColumn(), Texts{"1"});
    EXPECT_EQ(dataCommands(), std::vector<bool>(7, true));
    mnuDataDelAllClick(form);
  }
}

TEST_F(DataList, ListHoldsAtMost32767PointsAndRefusesNegativeNumbers) {
  EXPECT_THROW((void)AddDataPoint(form, -1, 0, 0, 0, 0), std::out_of_range);
  EXPECT_TRUE(ui.ListView1.rows.empty() && app.dataPoints.empty());
  addPoints(kMaxPointCount);
  EXPECT_TRUE(platform.messages().empty());
  EXPECT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::ListFull);
  form.app.language = 0;
  SetLngage(form.app);
  EXPECT_EQ(AddDataPoint(form, 32767, 1, 2, 3, 4), AddResult::ListFull);
  ASSERT_EQ(platform.messages().size(), 2u);
  EXPECT_EQ(platform.messages()[0].text, "The data list is full (32767 points).");
  EXPECT_EQ(platform.messages()[1].text, "ﾃﾞｰﾀの数が上限 (32767) に達しました。");
  EXPECT_EQ(app.pointCount, 32767);
  EXPECT_EQ(ui.ListView1.rows.size(), 32767u);
  EXPECT_EQ(app.dataPoints.size(), 32768u);
  EXPECT_EQ(app.dataPoints[32767].XData, 32767);
  selectRow(ui.ListView1, 0);  // after a delete there is room again
  mnuDataDelSelectClick(form);
  EXPECT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::Added);
  EXPECT_EQ(ui.ListView1.rows.back().cells[0], "32767");
}

TEST(PointTarget, ZoomedPositionAndMarkerRow) {
  // xPixel, yPixel, zoom, picture height -> xz, yz, py
  const std::tuple<float, float, float, int, int, int, float> cases[] = {
      {12.5f, 3, 1, 200, 13, 196, 196},   {12.5f, 3, 4, 200, 50, 787, 196},
      {12.5f, 3, 0.5f, 200, 6, 98, 196},  {0, 0, 1, 100, 0, 99, 99},
      {2.5f, 2.5f, 1, 100, 3, 96, 96.5f}, {0.25f, 0.4f, 0.25f, 100, 0, 24, 98.6f},
      {99, 99.5f, 2, 100, 198, -1, -0.5f}};
  for (const auto& [x, y, zoom, height, xz, yz, py] : cases) {
    const PointTarget t = pointTarget(x, y, zoom, height);
    EXPECT_EQ(std::tuple(t.xz, t.yz, t.px, t.py), std::tuple(xz, yz, x, py)) << x << " " << zoom;
  }
  EXPECT_THROW(pointTarget(20000, 0, 2, 100), OverflowError);
}

TEST(ScrollValueToShow, Table) {
  // value, minimum, maximum, target, viewport -> value
  const std::tuple<int, int, int, int, double, int> cases[] = {
      {0, 0, 1000, 800, 500, 315},  // 15 pixels inside the far edge
      {0, 0, 1000, 800, 500.4, 315},   {0, 0, 1000, 799, 499.5, 314},  // 314.5: ties to even
      {0, 0, 200, 800, 500, 200},      {100, 0, 1000, 300, 500, 100},  // already in view
      {300, 0, 1000, 200, 500, 190},  // 10 pixels inside the near edge
      {300, 0, 1000, 5, 500, 5},       {300, 0, 1000, 10, 500, 0},
      {600, 0, 1000, 1600, 500, 1000}, {50, 100, 1000, 20, 500, 50}};  // below the minimum: kept
  for (const auto& [value, minimum, maximum, target, viewport, expected] : cases) {
    ScrollBarControl bar;
    bar.value = value, bar.minimum = minimum, bar.maximum = maximum;
    EXPECT_EQ(scrollValueToShow(bar, target, viewport), expected) << target << " from " << value;
  }
}

TEST(PointMarker, ArmsAreTwelveScreenPixelsOrLongerWhenZoomedIn) {
  // zoom, scroll values -> centre on the screen, arm length; floor(37 / 4) = 9 pixels scrolled
  const std::tuple<float, int, int, float, float, float> cases[] = {{1, 0, 0, 40, 196, 12},
                                                                    {0.5f, 0, 0, 20, 98, 12},
                                                                    {4, 0, 0, 160, 784, 48},
                                                                    {4, 37, 10, 124, 776, 48},
                                                                    {0.25f, 3, 3, 7, 46, 12}};
  for (const auto& [zoom, h, v, sx, sy, arm] : cases) {
    const MarkerLines lines = pointMarkerLines(40, 196, zoom, h, v);
    EXPECT_EQ(lines.vertical, (LineEnds{sx, sy - arm, sx, sy + arm})) << zoom;
    EXPECT_EQ(lines.horizontal, (LineEnds{sx - arm, sy, sx + arm, sy})) << zoom;
  }
}

TEST_F(DataList, RowClickSelectsScrollsAndShowsTheMarker) {
  addPoints(3);                 // point 3 at XPixel 30, YPixel 6
  ListView1ItemClick(form, 0);  // without a picture: only selects
  EXPECT_EQ(selectedRow(ui.ListView1), 0u);
  ShowPointMarker(form, 1, 1);
  EXPECT_FALSE(ui.Line5.visible);
  form.state.Picture2 = PixelArray(200, 100, 0xFFFFFF);
  app.zoom = 4;
  ui.Picture3.geometry.width = ui.Picture3.geometry.height = 50 * kTwipsPerPixel;
  for (ScrollBarControl* bar : {&ui.HScroll1, &ui.VScroll1}) bar->maximum = 1000, bar->value = 0;
  ListView1ItemClick(form, 2);
  EXPECT_EQ(selectedRow(ui.ListView1), 2u);
  EXPECT_EQ(ui.HScroll1.value, 84);   // xz = 120: 120 - 50 + 15 = 85, snapped to whole pixels
  EXPECT_EQ(ui.VScroll1.value, 340);  // yz = 400 - 1 - 24 = 375: 375 - 50 + 15
  EXPECT_TRUE(ui.Line5.visible && ui.Line6.visible);
  // Picture row 99 - 6 = 93, with 85 rows and 21 columns scrolled away.
  EXPECT_EQ(ui.Line5.x1, (30 - 21) * 4);
  EXPECT_EQ(ui.Line6.y1, (93 - 85) * 4);
  EXPECT_EQ(ui.Line5.y2 - ui.Line5.y1, 96);
  EXPECT_EQ(ui.Line6.x2 - ui.Line6.x1, 96);
  ListView1MouseMove(form);  // the list gaining the focus hides the marker
  EXPECT_EQ(ui.focused, &ui.ListView1);
  EXPECT_FALSE(ui.Line5.visible || ui.Line6.visible);
  ListView1ItemClick(form, 0);
  EXPECT_EQ(ui.HScroll1.value, 28);  // 10 pixels inside the near edge: 40 - 10, snapped
  ListView1MouseMove(form);          // already focused: changes nothing more
  EXPECT_TRUE(ui.Line5.visible);
  ListView1ItemClick(form, 7);  // no such row
  EXPECT_EQ(selectedRow(ui.ListView1), 0u);
}

TEST(DataListLoading, LoadingAPictureEmptiesTheList) {
  testing::TempWorkingDir dir;
  HeadlessPlatform platform;
  platform.setEnvironment("LANG", "en_US.UTF-8");
  Form1 form{platform};
  formLoad(form);
  platform.setPicture(dir.file("chart.bmp"), PixelArray(40, 30, 0xFFFFFF));
  ASSERT_TRUE(LoadPictureFile(form, dir.file("chart.bmp")));
  ASSERT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::Added);
  ASSERT_TRUE(form.ui.cmdSaveData.enabled);
  ASSERT_TRUE(LoadPictureFile(form, dir.file("chart.bmp")));
  EXPECT_EQ(form.app.pointCount, 0);
  EXPECT_TRUE(form.ui.ListView1.rows.empty());
  EXPECT_FALSE(form.ui.cmdSaveData.enabled || form.ui.menu(MenuId::mnuDataSave).enabled);
}

}  // namespace
}  // namespace plotvane
