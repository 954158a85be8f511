// The count and pitch fields, the filter height, and Execute and Cancel on a loaded chart.
#include "digitize/run_control.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/handler_boundary.h"
#include "app/language.h"
#include "data/data_list.h"
#include "digitize/calibration.h"
#include "digitize/column_scan.h"
#include "digitize/graph_type.h"
#include "shell/form1_events.h"
#include "support/picture_form.h"
#include "support/workbook_parts.h"

namespace plotvane {
namespace {

using enum Message;

// Leaving the count field or the pitch field: the texts both fields hold afterwards ("old" is what
// the other field held), and the message shown.
TEST(FieldChecks, CountAndPitchChecksKeepTheFieldsInStep) {
  HeadlessPlatform platform;
  Form1 form{platform};
  SetLngage(form.app);
  // clang-format off
  const struct {
    bool pitch = false; const char* typed; float maxX = 6; const char* count = "old", *step = "old";
    std::optional<Message> message = {};
  } cases[] = {
      {.typed = "12.7", .count = "12", .step = "0.5"},
      {.typed = "200", .maxX = 1, .count = "200", .step = "0.005"},
      {.typed = "3abc", .maxX = 0.75f, .count = "3", .step = "0.25"},
      {.typed = "32766", .maxX = 32766, .count = "32766", .step = "1"},
      {.typed = "0", .count = "0", .message = WholeNumberRequired},
      {.typed = "0.4", .count = "0.4", .message = WholeNumberRequired},
      {.typed = "32767", .count = "32767", .message = CountOutOfRange},
      {.pitch = true, .typed = "0.25", .count = "24", .step = "0.25"},
      // 12.5 divisions round up.
      {.pitch = true, .typed = "0.5", .maxX = 6.25f, .count = "13", .step = "0.480769230769231"},
      // 0.7 is stored as a single-precision value; the count is 3 and the pitch follows it, so the
      // X values span the whole range.
      {.pitch = true, .typed = "0.2", .maxX = 0.7f, .count = "3", .step = "0.23333332935969"},
      {.pitch = true, .typed = "0", .step = "0", .message = ZeroNotAllowed},
      {.pitch = true, .typed = "-0.25", .step = "-0.25", .message = WholeNumberRequired},
      {.pitch = true, .typed = "1e-9", .step = "1e-9", .message = CountOutOfRange}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pitch ? "pitch " : "count ") + c.typed);
    platform.clearMessages();
    form.state.minX = 0;
    form.state.maxX = c.maxX;
    form.ui.txtSmpX.text = c.pitch ? "old" : c.typed;
    form.ui.txtStpX.text = c.pitch ? c.typed : "old";
    c.pitch ? txtStpXLostFocus(form) : txtSmpXLostFocus(form);
    EXPECT_EQ(form.ui.txtSmpX.text, c.count);
    EXPECT_EQ(form.ui.txtStpX.text, c.step);
    ASSERT_EQ(platform.messages().size(), c.message ? 1u : 0u);
    if (c.message) {
      EXPECT_EQ(platform.messages()[0].text, form.message(*c.message));
    }
  }
}

TEST(YFilterHeight, OnlyOddWholeNumbersFromOneTo127) {
  // clang-format off
  const struct { const char* text; std::optional<int> height = {}; } cases[] = {
      {.text = "1", .height = 1}, {.text = " 5.0 ", .height = 5}, {.text = "127", .height = 127},
      {.text = "129"}, {.text = "2"}, {.text = "-1"}, {.text = "3.5"}, {.text = "5x"},
      {.text = "1e400"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(yFilterHeight(c.text), c.height) << '"' << c.text << '"';
}

// A 40 x 30 white picture with a black line along row 10, X and Y 0 to 1, and two points in the
// list so that a refused run can be seen to keep it.
class Execute : public ::testing::Test {
 protected:
  Execute() {
    PixelArray chart(40, 30, 0xFFFFFF);
    for (int x = 0; x < 40; ++x) chart.set(x, 10, 0);
    EXPECT_TRUE(f.load(f.folder.file("chart.bmp"), std::move(chart)));
    EXPECT_EQ(appendDataPoint(f.form, 1, 2, 3, 4), AddResult::Added);
    EXPECT_EQ(appendDataPoint(f.form, 5, 6, 7, 8), AddResult::Added);
  }
  void selectType(GraphType type) {
    f.ui.cmbGraphType.selected = type;
    cmbGraphTypeClick(f.form);
  }
  void run() { menuClick(f.form, MenuId::mnuExeStart); }
  bool enabled(MenuId command) { return f.ui.menu(command).enabled; }
  // The messages shown since the last call, one a line.
  std::string shown() {
    std::string texts;
    for (const ShownMessage& m : f.platform.messages()) texts += m.text + "\n";
    f.platform.clearMessages();
    return texts;
  }
  std::string said(std::optional<Message> id) { return id ? f.form.message(*id) + "\n" : ""; }
  // The chart of each workbook sent to the spreadsheet since the last call: L for lines, P for
  // points, - for none.
  std::string exports() {
    std::string kinds;
    for (const auto& opened = f.platform.openedDocuments(); seen < opened.size(); ++seen) {
      const std::string chart = testing::chartPart(testing::workbookPartsOf(opened[seen]));
      kinds += chart.empty()                                                 ? '-'
               : chart.find("<c:symbol val=\"none\"/>") != std::string::npos ? 'L'
                                                                             : 'P';
    }
    return kinds;
  }

  testing::PictureForm f;
  std::size_t seen = 0;
};

// The field being edited (count or pitch) is checked first, as leaving it would; its refusal is the
// one message. Then both fields and the filter are judged again. Plot 1 Point and Manual Plotting
// have no run.
TEST_F(Execute, RefusesBadParametersWithOneMessageAndKeepsTheList) {
  enum Focus { kNone, kCount, kPitch };
  // clang-format off
  const struct {
    GraphType type = kTraceLine; const char* count = "200", *pitch = "0.005", *filter = "1";
    Focus focus = kNone; std::optional<Message> message = {};
  } cases[] = {
      {.count = "0", .focus = kCount, .message = WholeNumberRequired},
      {.count = "0", .pitch = "abc", .message = WholeNumberRequired},
      {.count = "40000", .message = CountOutOfRange},
      {.pitch = "abc", .focus = kPitch, .message = ZeroNotAllowed},
      {.pitch = "abc", .message = ZeroNotAllowed},
      {.pitch = "0.00001", .message = CountOutOfRange},  // 100 000 divisions
      {.type = kTraceSurface, .filter = "2", .message = FilterOddNumber},
      {.type = kPlotOnePoint}, {.type = kManualPlotting}};
  // clang-format on
  f.ui.chkExcel.value = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::graphTypeName(c.type) + ", count " + c.count + ", pitch " + c.pitch +
                 ", filter " + c.filter + ", focus " + std::to_string(c.focus));
    selectType(c.type);
    f.ui.TabStrip1.selected = static_cast<int>(Pane::Setting);
    f.ui.txtSmpX.text = c.count;
    f.ui.txtStpX.text = c.pitch;
    f.ui.cmbFRange.text = c.filter;
    f.ui.focused = c.focus == kCount ? &f.ui.txtSmpX : c.focus == kPitch ? &f.ui.txtStpX : nullptr;
    run();
    EXPECT_EQ(shown(), said(c.message));
    EXPECT_EQ(
        std::tuple(f.app.pointCount, f.ui.TabStrip1.selected, f.ui.txtSmpX.text, f.ui.txtStpX.text),
        std::tuple(2, static_cast<int>(Pane::Setting), c.count, c.pitch));
    EXPECT_EQ(enabled(MenuId::mnuExeStart), c.message.has_value());  // the types that run
  }
  EXPECT_EQ(exports(), "");
  // Plot All Points uses neither the count nor the filter: the line is one blob.
  selectType(kPlotAllPoints);
  run();
  EXPECT_EQ(f.app.pointCount, 1);
}

// Trace Line takes the pitch being edited as leaving its field would, replaces the list with a
// point per column and shows the data pane.
TEST_F(Execute, TraceLineUsesTheFieldBeingEditedAndReplacesTheList) {
  f.ui.txtStpX.text = "0.25";
  f.ui.focused = &f.ui.txtStpX;
  f.ui.TabStrip1.selected = static_cast<int>(Pane::Setting);
  run();
  EXPECT_EQ(std::tuple(shown(), f.ui.txtSmpX.text, f.ui.txtStpX.text), std::tuple("", "4", "0.25"));
  EXPECT_EQ(f.ui.TabStrip1.selected, static_cast<int>(Pane::Data));
  ASSERT_EQ(f.ui.ListView1.rows.size(), 5u);
  // Row 10 of 30, counted from the bottom and centred: 29 - 10 - 0.5; the last column at the right
  // end: X 1, pixel 40.
  for (const ListRow& row : f.ui.ListView1.rows) EXPECT_EQ(row.cells[4], "18.5");
  const std::vector<std::string>& last = f.ui.ListView1.rows.back().cells;
  EXPECT_EQ(std::tuple(last[1], last[3]), std::tuple("1", "40"));
}

// 250 divisions: the scan pass yields at the 126 even columns, the points pass at columns 0, 100
// and 200, having appended the points before each.
TEST_F(Execute, ACancelInEitherPassEndsTheRunAndARunDisablesWhatItWouldRefuse) {
  const auto states = [this] {  // what a run takes away, in this order
    return std::vector<bool>{enabled(MenuId::mnuFileOpen), enabled(MenuId::mnuExeStart),
                             enabled(MenuId::mnuDataSave), f.ui.File1.enabled,
                             testing::toolButtonOf(f.ui, MenuId::mnuExeStart).enabled};
  };
  // clang-format off
  const struct { int cancelAtYield; int points; } cases[] = {
      {.cancelAtYield = 126, .points = 0}, {.cancelAtYield = 127, .points = 0},
      {.cancelAtYield = 129, .points = 200}, {.cancelAtYield = 0, .points = 251}};  // 0: never
  // clang-format on
  f.ui.chkExcel.value = 1;
  f.ui.txtSmpX.setText("250");
  txtSmpXLostFocus(f.form);
  ASSERT_EQ(f.ui.txtStpX.text, "0.004");
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "Cancel at yield " << c.cancelAtYield);
    int yields = 0;
    f.platform.setYieldHook([&] {
      EXPECT_TRUE(f.state.runActive);
      // A successful export at the end shows its message with Execute enabled; the run still
      // refuses a second start then.
      if (!f.form.dialog(DialogId::Message)) {
        EXPECT_EQ(states(), std::vector<bool>(5, false));
      }
      if (++yields == c.cancelAtYield) menuClick(f.form, MenuId::mnuExeCancel);
    });
    run();
    EXPECT_EQ(f.app.pointCount, c.points);
    const bool some = c.points > 0;
    EXPECT_EQ(states(), (std::vector<bool>{1, 1, some, 1, 1}));
    EXPECT_FALSE(f.ui.ProgressBar1.visible || f.ui.Line5.visible);
    EXPECT_EQ(exports(), c.points == 251 ? "L" : "");
  }
  f.platform.setYieldHook({});
  EXPECT_EQ(shown(), "");
}

TEST_F(Execute, CommandsDuringARunAreRefusedOrWaitForIt) {
  f.ui.txtSmpX.setText("100");
  int yields = 0;
  f.platform.setYieldHook([&] {
    if (++yields == 3) {
      run();  // no second run inside the first
      EXPECT_FALSE(LoadPictureFile(f.form, f.folder.file("chart.bmp")));
      selectType(kPlotOnePoint);
      EXPECT_EQ(f.ui.cmbGraphType.selected, kTraceLine);
    }
    if (yields == 5) {  // closing the window asks the run to stop and closes when it has
      f.state.closeRequested = true;
      f.app.cancelRequested = true;
    }
  });
  run();
  EXPECT_EQ(yields, 5);
  EXPECT_EQ(f.app.pointCount, 0);
  EXPECT_TRUE(f.state.closed);
}

TEST_F(Execute, PlotAllPointsExportsEvenWithoutPointsAndStopsWhenTheListIsFull) {
  selectType(kPlotAllPoints);
  f.ui.chkExcel.value = 1;
  run();  // the line is one blob
  EXPECT_EQ(exports(), "P");
  // Without points, the export has nothing to send and says so.
  ASSERT_TRUE(f.load(f.folder.file("white.bmp"), PixelArray(20, 20, 0xFFFFFF)));
  run();
  EXPECT_EQ(f.app.pointCount, 0);
  EXPECT_EQ(exports(), "");
  EXPECT_EQ(shown(), said(ExcelUnsupported));
  // 200 x 200 separate dots: 40 000 blobs, more than the list holds.
  PixelArray dots(400, 400, 0xFFFFFF);
  for (int y = 0; y < 400; y += 2)
    for (int x = 0; x < 400; x += 2) dots.set(x, y, 0);
  ASSERT_TRUE(f.load(f.folder.file("dots.bmp"), std::move(dots)));
  run();
  EXPECT_EQ(f.app.pointCount, kMaxPointCount);
  EXPECT_EQ(shown(), said(ListFull));
  EXPECT_EQ(exports(), "");
  EXPECT_TRUE(enabled(MenuId::mnuExeStart));
}

// Three columns at rows 0, 50 and 100 above the bottom line of a rectangle 100 rows high whose
// bottom line is the picture's bottom row.
TEST(TracePoints, AValueBeyondTheSingleRangeRefusesThePointsBeforeAnyIsReported) {
  // clang-format off
  const struct { float minX; double pitch; float minY, maxY; bool refused = true; } cases[] = {
      {.minX = 0, .pitch = 1, .minY = -3e38f, .maxY = 3e38f},  // the Y range too wide
      {.minX = 0, .pitch = 1, .minY = 0, .maxY = 3e38f},       // Y scaled too far
      {.minX = 3e38f, .pitch = 3e37, .minY = 0, .maxY = 1},    // X too large
      {.minX = 3e38f, .pitch = 1e37, .minY = -1e36f, .maxY = 1e36f, .refused = false}};
  // clang-format on
  const std::vector<float> yPixels = {0, 50, 100};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.minX << " " << c.pitch << " " << c.minY << " " << c.maxY);
    const TraceParams params{.rect = {.lineXS = 0, .lineXE = 2, .lineYT = 0, .lineYB = 100},
                             .minX = c.minX,
                             .minY = c.minY,
                             .maxY = c.maxY,
                             .divisions = 2,
                             .pitch = c.pitch};
    int yields = 0;
    const TraceYieldFn count = [&](const TraceYield&) { return ++yields, true; };
    if (c.refused) {
      EXPECT_THROW(makeTracePoints(params, 101, yPixels, count), OverflowError);
      EXPECT_EQ(yields, 0);
      continue;
    }
    const TraceResult result = makeTracePoints(params, 101, yPixels, count);
    ASSERT_EQ(result.points.size(), 3u);
    EXPECT_EQ(result.points[0].YData, c.minY);
    EXPECT_FLOAT_EQ(result.points[2].YData, c.maxY);
    EXPECT_TRUE(std::isfinite(result.points[2].XData));
  }
}

TEST_F(Execute, ATraceBeyondTheSingleRangeAppendsNothingAndSaysSoInTheUsersLanguage) {
  f.ui.txtMinLabelY.setText("-3e38");
  f.ui.txtMaxLabelY.setText("3e38");
  f.ui.chkExcel.value = 1;
  menuClick(f.form, MenuId::mnuLangJP);
  for (const GraphType type : {kTraceLine, kTraceSurface}) {
    SCOPED_TRACE(testing::graphTypeName(type));
    selectType(type);
    ASSERT_EQ(appendDataPoint(f.form, 1, 2, 3, 4), AddResult::Added);
    shown();
    EXPECT_FALSE(runHandler(f.form, [&] { run(); }));
    EXPECT_EQ(shown(), said(Overflow));
    EXPECT_EQ(std::tuple(f.app.pointCount, f.state.runActive, enabled(MenuId::mnuDataSave),
                         enabled(MenuId::mnuExeStart)),
              std::tuple(0, false, false, true));
  }
  EXPECT_EQ(exports(), "");
}

// The traces read the value, the conversion reads the settings field: after a refused value both
// still agree on the value in force.
TEST_F(Execute, ASettingsValueBeyondTheSingleRangeLeavesBothFieldsAtTheValueInForce) {
  using C = Calibration;
  FormState& state = f.state;
  Form1Controls& ui = f.ui;
  // clang-format off
  const struct { Control& scale; Control& mirror; const float& value; float C::*read; } cases[] = {
      {.scale = ui.txtMaxLabelY, .mirror = ui.txtLYT, .value = state.maxY, .read = &C::y1},
      {.scale = ui.txtMinLabelX, .mirror = ui.txtLXS, .value = state.minX, .read = &C::x0}};
  // clang-format on
  menuClick(f.form, MenuId::mnuLangJP);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scale.name);
    c.scale.setText("-1000");
    const std::string pitch = ui.txtStpX.text;
    shown();
    EXPECT_FALSE(runHandler(f.form, [&] { c.scale.setText("-1e39"); }));
    EXPECT_EQ(shown(), said(Overflow));
    EXPECT_EQ(std::tuple(c.scale.text, c.mirror.text, c.value, ui.txtStpX.text),
              std::tuple("-1000", "-1000", -1000.0f, pitch));
    float read = 0;
    EXPECT_NO_THROW(read = currentCalibration(f.form).*c.read);
    EXPECT_EQ(read, c.value);
  }
}

}  // namespace
}  // namespace plotvane
