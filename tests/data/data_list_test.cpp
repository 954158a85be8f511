#include "data/data_list.h"

#include <gtest/gtest.h>

#include <string>
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

class DataList : public ::testing::Test {
 protected:
  DataList() {
    SetLngage(form.app);
    installDataListHandlers(form);
    setDataCommandsEnabled(form, false);
  }

  // Adds points 1 ... count with XData = number and XPixel = 10 * number.
  void addPoints(int count) {
    for (int i = 0; i < count; ++i) {
      const float number = static_cast<float>(form.app.pointCount + 1);
      ASSERT_EQ(appendDataPoint(form, number, -number, 10 * number, 2 * number), AddResult::Added);
    }
  }

  std::vector<std::string> numberColumn() const {
    std::vector<std::string> numbers;
    for (const ListRow& row : ui.ListView1.rows) numbers.push_back(row.cells.at(0));
    return numbers;
  }

  // The seven data commands, each as enabled or not.
  std::vector<bool> dataCommands() const {
    std::vector<bool> states;
    for (MenuId id : {MenuId::mnuDataSave, MenuId::mnuDataExcel, MenuId::mnuDataExcelData,
                      MenuId::mnuDataExcelLine, MenuId::mnuDataExcelPoint})
      states.push_back(ui.menu(id).enabled);
    states.push_back(ui.cmdSaveData.enabled);
    states.push_back(ui.cmdSendExcel.enabled);
    return states;
  }

  void select(std::size_t row) { selectRow(form.ui.ListView1, row); }

  HeadlessPlatform platform;
  Form1 form{platform};
  Form1Controls& ui = form.ui;
  AppState& app = form.app;
  const std::vector<bool> allEnabled = std::vector<bool>(7, true);
  const std::vector<bool> allDisabled = std::vector<bool>(7, false);
};

TEST_F(DataList, FirstPointEnablesTheDataCommandsOnce) {
  EXPECT_EQ(dataCommands(), allDisabled);
  ASSERT_EQ(AddDataPoint(form, 0, 1.5f, 2.5f, 12.5f, 3), AddResult::Added);
  EXPECT_EQ(app.pointCount, 0);  // the caller counts
  ++app.pointCount;
  ASSERT_EQ(app.dataPoints.size(), 2u);
  EXPECT_EQ(app.dataPoints[1].XData, 1.5f);
  EXPECT_EQ(app.dataPoints[1].YPixel, 3);
  EXPECT_EQ(dataCommands(), allEnabled);

  ui.cmdSaveData.enabled = false;  // only the first point enables
  ASSERT_EQ(appendDataPoint(form, 4, 5, 6, 7), AddResult::Added);
  EXPECT_FALSE(ui.cmdSaveData.enabled);
  EXPECT_EQ(app.pointCount, 2);
  EXPECT_EQ(app.dataPoints.size(), 3u);
}

TEST_F(DataList, RowTextsAreNumberTextsOfSingles) {
  struct Case {
    DataPoint point;
    std::vector<std::string> cells;
  };
  const Case cases[] = {
      {{1.5f, -2, 12.5f, 3}, {"1", "1.5", "-2", "12.5", "3"}},
      {{12345678, 1e-5f, 0.1f, 1.0f / 3}, {"2", "1.234568E+07", "1E-05", "0.1", "0.3333333"}},
      {{-0.0f, 1e20f, 1234567, 0.0001f}, {"3", "0", "1E+20", "1234567", "0.0001"}},
  };
  for (const Case& c : cases) {
    const DataPoint& p = c.point;
    ASSERT_EQ(appendDataPoint(form, p.XData, p.YData, p.XPixel, p.YPixel), AddResult::Added);
    EXPECT_EQ(ui.ListView1.rows.back().cells, c.cells);
  }
}

TEST_F(DataList, DeleteSelectedKeepsNumbersAndShiftsPoints) {
  addPoints(5);
  select(2);  // point 3
  const auto removals = ui.ListView1.removals;
  menuClick(form, MenuId::mnuDataDelSelect);
  EXPECT_EQ(app.pointCount, 4);
  EXPECT_EQ(ui.ListView1.removals, removals + 1);  // the window rebuilds its rows
  EXPECT_EQ(numberColumn(), (std::vector<std::string>{"1", "2", "4", "5"}));
  ASSERT_EQ(app.dataPoints.size(), 6u);  // deleting keeps the size
  const float expectedX[] = {1, 2, 4, 5};
  for (std::size_t i = 1; i <= 4; ++i) EXPECT_EQ(app.dataPoints[i].XData, expectedX[i - 1]);
  EXPECT_EQ(app.dataPoints[5].XData, 5);  // stale
  EXPECT_EQ(dataCommands(), allEnabled);
  EXPECT_FALSE(selectedRow(ui.ListView1).has_value());

  ASSERT_EQ(appendDataPoint(form, 99, 0, 0, 0), AddResult::Added);
  EXPECT_EQ(numberColumn(), (std::vector<std::string>{"1", "2", "4", "5", "5"}));
  EXPECT_EQ(app.dataPoints[5].XData, 99);
  EXPECT_EQ(ui.ListView1.rows[4].cells[1], "99");

  // The last row, then the first.
  select(4);
  mnuDataDelSelectClick(form);
  select(0);
  mnuDataDelSelectClick(form);
  EXPECT_EQ(numberColumn(), (std::vector<std::string>{"2", "4", "5"}));
  EXPECT_EQ(app.dataPoints[1].XData, 2);
  EXPECT_EQ(app.dataPoints[3].XData, 5);
  EXPECT_EQ(app.pointCount, 3);
}

TEST_F(DataList, DeleteKeyActsLikeTheMenuCommand) {
  addPoints(3);
  select(1);
  ListView1KeyDown(form, 45);  // Insert: nothing
  EXPECT_EQ(app.pointCount, 3);
  ListView1KeyDown(form, kDeleteKey);
  EXPECT_EQ(app.pointCount, 2);
  EXPECT_EQ(numberColumn(), (std::vector<std::string>{"1", "3"}));
  EXPECT_EQ(app.dataPoints[2].XData, 3);
}

TEST_F(DataList, DeleteSelectedWithoutSelectionOrPointsDoesNothing) {
  mnuDataDelSelectClick(form);
  EXPECT_EQ(app.pointCount, 0);
  addPoints(2);
  mnuDataDelSelectClick(form);
  EXPECT_EQ(app.pointCount, 2);
  EXPECT_EQ(ui.ListView1.rows.size(), 2u);

  // A row but no points (the list out of step): the count decides.
  app.pointCount = 0;
  select(0);
  mnuDataDelSelectClick(form);
  EXPECT_EQ(ui.ListView1.rows.size(), 2u);
}

TEST_F(DataList, DeletingTheOnlyPointEmptiesTheList) {
  addPoints(1);
  select(0);
  mnuDataDelSelectClick(form);
  EXPECT_EQ(app.pointCount, 0);
  EXPECT_TRUE(ui.ListView1.rows.empty());
  EXPECT_EQ(dataCommands(), allDisabled);
  addPoints(1);
  EXPECT_EQ(dataCommands(), allEnabled);
  EXPECT_EQ(numberColumn(), std::vector<std::string>{"1"});
}

TEST_F(DataList, BothDeleteAllCommandsEmptyTheListAndLeaveStaleElements) {
  const struct {
    const char* what;
    void (*run)(Form1&);
  } commands[] = {
      {"menu", [](Form1& f) { menuClick(f, MenuId::mnuDataDelAll); }},
      {"button", [](Form1& f) { f.ui.cmdListDelAll.onChange(); }},
  };
  for (const auto& command : commands) {
    SCOPED_TRACE(command.what);
    addPoints(4);
    const auto removals = ui.ListView1.removals;
    command.run(form);
    EXPECT_EQ(ui.ListView1.removals, removals + 1);
    EXPECT_EQ(app.pointCount, 0);
    EXPECT_TRUE(ui.ListView1.rows.empty());
    EXPECT_EQ(dataCommands(), allDisabled);
    ASSERT_EQ(app.dataPoints.size(), 5u);
    EXPECT_EQ(app.dataPoints[4].XData, 4);  // stale until the next add

    addPoints(1);
    EXPECT_EQ(app.dataPoints.size(), 2u);  // an add resizes to exactly 0 ... n + 1
    EXPECT_EQ(numberColumn(), std::vector<std::string>{"1"});
    mnuDataDelAllClick(form);
  }
}

TEST_F(DataList, RemovingAllPointsForARunKeepsTheCommands) {
  addPoints(3);
  removeAllPoints(form);
  EXPECT_EQ(app.pointCount, 0);
  EXPECT_TRUE(ui.ListView1.rows.empty());
  EXPECT_EQ(dataCommands(), allEnabled);
  EXPECT_EQ(app.dataPoints.size(), 4u);
}

TEST_F(DataList, ListHoldsAtMost32767Points) {
  addPoints(kMaxPointCount);
  ASSERT_EQ(app.pointCount, 32767);
  EXPECT_TRUE(platform.messages().empty());
  EXPECT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::ListFull);
  EXPECT_EQ(AddDataPoint(form, 32767, 1, 2, 3, 4), AddResult::ListFull);
  ASSERT_EQ(platform.messages().size(), 2u);
  EXPECT_EQ(platform.messages()[0].text, "The data list is full (32767 points).");
  EXPECT_EQ(app.pointCount, 32767);
  EXPECT_EQ(ui.ListView1.rows.size(), 32767u);
  EXPECT_EQ(ui.ListView1.rows.back().cells[0], "32767");
  EXPECT_EQ(app.dataPoints.size(), 32768u);
  EXPECT_EQ(app.dataPoints[32767].XData, 32767);

  form.app.language = 0;
  SetLngage(form.app);
  EXPECT_EQ(AddDataPoint(form, 32767, 1, 2, 3, 4), AddResult::ListFull);
  EXPECT_EQ(platform.messages().back().text, "ﾃﾞｰﾀの数が上限 (32767) に達しました。");

  // After a delete there is room again.
  select(0);
  mnuDataDelSelectClick(form);
  EXPECT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::Added);
  EXPECT_EQ(ui.ListView1.rows.back().cells[0], "32767");
}

TEST_F(DataList, NegativeNumberIsRefusedWithoutChange) {
  EXPECT_THROW((void)AddDataPoint(form, -1, 0, 0, 0, 0), std::out_of_range);
  EXPECT_TRUE(ui.ListView1.rows.empty());
  EXPECT_TRUE(app.dataPoints.empty());
}

TEST(PointTarget, ZoomedPositionAndMarkerRow) {
  struct Case {
    float xPixel, yPixel, zoom;
    int height;
    int xz, yz;
    float py;
  };
  const Case cases[] = {
      {12.5f, 3, 1, 200, 13, 196, 196},    {12.5f, 3, 4, 200, 50, 787, 196},
      {12.5f, 3, 0.5f, 200, 6, 98, 196},   {0, 0, 1, 100, 0, 99, 99},
      {2.5f, 2.5f, 1, 100, 3, 96, 96.5f},  {0.25f, 0.4f, 0.25f, 100, 0, 24, 98.6f},
      {99, 99.5f, 2, 100, 198, -1, -0.5f},
  };
  for (const Case& c : cases) {
    const PointTarget t = pointTarget(c.xPixel, c.yPixel, c.zoom, c.height);
    EXPECT_EQ(t.xz, c.xz) << c.xPixel << " at zoom " << c.zoom;
    EXPECT_EQ(t.yz, c.yz) << c.yPixel << " at zoom " << c.zoom;
    EXPECT_EQ(t.px, c.xPixel);
    EXPECT_EQ(t.py, c.py);
  }
  EXPECT_THROW(pointTarget(20000, 0, 2, 100), OverflowError);
}

TEST(ScrollValueToShow, Table) {
  struct Case {
    int value, minimum, maximum;
    int target;
    double viewport;
    int expected;
  };
  const Case cases[] = {
      {0, 0, 1000, 800, 500, 315},      // 15 pixels inside the far edge
      {0, 0, 1000, 800, 500.4, 315},    // 314.6 rounds to 315
      {0, 0, 1000, 799, 499.5, 314},    // 314.5: ties to even
      {0, 0, 200, 800, 500, 200},       // as far as the range allows
      {100, 0, 1000, 300, 500, 100},    // already in view
      {300, 0, 1000, 200, 500, 190},    // 10 pixels inside the near edge
      {300, 0, 1000, 5, 500, 5},        // near the picture's edge: xz, not the minimum
      {300, 0, 1000, 10, 500, 0},       // exactly 10 in
      {600, 0, 1000, 1600, 500, 1000},  // to the maximum
      {50, 100, 1000, 20, 500, 50},     // xz below the minimum is refused
  };
  for (const Case& c : cases) {
    ScrollBarControl bar;
    bar.value = c.value;
    bar.minimum = c.minimum;
    bar.maximum = c.maximum;
    EXPECT_EQ(scrollValueToShow(bar, c.target, c.viewport), c.expected)
        << "target " << c.target << " from " << c.value;
  }
}

TEST(PointMarker, ArmsAreTwelveScreenPixelsOrLongerWhenZoomedIn) {
  struct Case {
    float zoom;
    int hScroll, vScroll;
    float sx, sy, arm;
  };
  const Case cases[] = {
      {1, 0, 0, 40, 196, 12},   {0.5f, 0, 0, 20, 98, 12},
      {4, 0, 0, 160, 784, 48},  {4, 37, 10, 124, 776, 48},  // floor(37 / 4) = 9 pixels
      {0.25f, 3, 3, 7, 46, 12},
  };
  for (const Case& c : cases) {
    const MarkerLines lines = pointMarkerLines(40, 196, c.zoom, c.hScroll, c.vScroll);
    EXPECT_EQ(lines.vertical, (LineEnds{c.sx, c.sy - c.arm, c.sx, c.sy + c.arm})) << c.zoom;
    EXPECT_EQ(lines.horizontal, (LineEnds{c.sx - c.arm, c.sy, c.sx + c.arm, c.sy})) << c.zoom;
  }
}

TEST_F(DataList, RowClickSelectsScrollsAndShowsTheMarker) {
  addPoints(3);  // point 3 at XPixel 30, YPixel 6
  form.state.Picture2 = PixelArray(200, 100, 0xFFFFFF);
  app.zoom = 4;
  ui.Picture3.geometry.width = 50 * kTwipsPerPixel;
  ui.Picture3.geometry.height = 50 * kTwipsPerPixel;
  for (ScrollBarControl* bar : {&ui.HScroll1, &ui.VScroll1}) {
    bar->maximum = 1000;
    bar->value = 0;
  }
  ListView1ItemClick(form, 2);
  EXPECT_EQ(selectedRow(ui.ListView1), 2u);
  // xz = 120: 120 - 50 + 15 = 85, snapped to whole picture pixels.
  EXPECT_EQ(ui.HScroll1.value, 84);
  // yz = 100 * 4 - 1 - 6 * 4 = 375: 375 - 50 + 15 = 340.
  EXPECT_EQ(ui.VScroll1.value, 340);
  EXPECT_TRUE(ui.Line5.visible);
  EXPECT_TRUE(ui.Line6.visible);
  // Picture row 99 - 6 = 93, with 85 rows and 21 columns scrolled away.
  EXPECT_EQ(ui.Line5.x1, (30 - 21) * 4);
  EXPECT_EQ(ui.Line6.y1, (93 - 85) * 4);
  EXPECT_EQ(ui.Line5.y2 - ui.Line5.y1, 96);
  EXPECT_EQ(ui.Line6.x2 - ui.Line6.x1, 96);

  // The list gaining the focus hides the marker; moving over it again
  // changes nothing more.
  ListView1MouseMove(form);
  EXPECT_EQ(ui.focused, &ui.ListView1);
  EXPECT_FALSE(ui.Line5.visible);
  EXPECT_FALSE(ui.Line6.visible);
  ListView1ItemClick(form, 0);
  EXPECT_EQ(selectedRow(ui.ListView1), 0u);
  EXPECT_EQ(ui.HScroll1.value, 28);  // 10 pixels inside the near edge: 40 - 10, snapped
  ListView1MouseMove(form);
  EXPECT_TRUE(ui.Line5.visible);

  ListView1ItemClick(form, 7);  // no such row
  EXPECT_EQ(selectedRow(ui.ListView1), 0u);
}

TEST_F(DataList, RowClickWithoutPictureOnlySelects) {
  addPoints(1);
  ListView1ItemClick(form, 0);
  EXPECT_EQ(selectedRow(ui.ListView1), 0u);
  EXPECT_FALSE(ui.Line5.visible);
  ShowPointMarker(form, 1, 1);
  EXPECT_FALSE(ui.Line5.visible);
}

TEST(DataListLoading, LoadingAPictureEmptiesTheList) {
  testing::TempWorkingDir dir;
  HeadlessPlatform platform;
  platform.setEnvironment("LANG", "en_US.UTF-8");
  Form1 form{platform};
  formLoad(form);
  formResize(form, 15000, 9000);
  platform.setPicture(dir.file("chart.bmp"), PixelArray(40, 30, 0xFFFFFF));
  ASSERT_TRUE(LoadPictureFile(form, dir.file("chart.bmp")));
  ASSERT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::Added);
  ASSERT_EQ(appendDataPoint(form, 5, 6, 7, 8), AddResult::Added);
  ASSERT_TRUE(form.ui.cmdSaveData.enabled);

  ASSERT_TRUE(LoadPictureFile(form, dir.file("chart.bmp")));
  EXPECT_EQ(form.app.pointCount, 0);
  EXPECT_TRUE(form.ui.ListView1.rows.empty());
  EXPECT_FALSE(form.ui.cmdSaveData.enabled);
  EXPECT_FALSE(form.ui.menu(MenuId::mnuDataSave).enabled);
}

}  // namespace
}  // namespace plotvane
