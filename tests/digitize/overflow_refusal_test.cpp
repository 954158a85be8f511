// Values beyond the single-precision range: refused with the overflow message
// in the user's language, with nothing appended and both scale fields at the
// value in force.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/handler_boundary.h"
#include "data/data_list.h"
#include "digitize/calibration.h"
#include "digitize/column_scan.h"
#include "digitize/digitize_handlers.h"
#include "digitize/graph_type.h"
#include "shell/form1_events.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::PictureForm;

// Three columns at rows 0, 50 and 100 above the bottom line of a rectangle
// 100 rows high whose bottom line is the picture's bottom row.
TEST(TracePoints, AValueBeyondTheSingleRangeRefusesThePointsBeforeAnyIsReported) {
  struct Case {
    const char* name;
    float minX;
    double pitch;
    float minY, maxY;
    bool refused = true;
  };
  const Case cases[] = {
      {.name = "Y range too wide", .minX = 0, .pitch = 1, .minY = -3e38f, .maxY = 3e38f},
      {.name = "Y scaled too far", .minX = 0, .pitch = 1, .minY = 0, .maxY = 3e38f},
      {.name = "X too large", .minX = 3e38f, .pitch = 3e37, .minY = 0, .maxY = 1},
      {.name = "close to the limit",
       .minX = 3e38f,
       .pitch = 1e37,
       .minY = -1e36f,
       .maxY = 1e36f,
       .refused = false},
  };
  const std::vector<float> yPixels = {0, 50, 100};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
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

// A white picture with a black horizontal line at row 10.
PixelArray lineChart(int width, int height) {
  PixelArray picture(width, height, 0xFFFFFF);
  for (int x = 0; x < width; ++x) picture.set(x, 10, 0);
  return picture;
}

class OverflowRefusal : public ::testing::Test {
 protected:
  OverflowRefusal() { EXPECT_TRUE(f.load(f.folder.file("chart.bmp"), lineChart(40, 30))); }

  std::string firstMessage() const {
    return f.platform.messages().empty() ? std::string() : f.platform.messages()[0].text;
  }

  PictureForm f;
};

TEST_F(OverflowRefusal, ATraceBeyondTheSingleRangeAppendsNothingAndSaysSoInTheUsersLanguage) {
  struct Case {
    const char* name;
    MenuId language;
    int graphType;
    std::string message;
  };
  const Case cases[] = {
      {.name = "Trace Line in English",
       .language = MenuId::mnuLangENG,
       .graphType = kTraceLine,
       .message = "Overflow"},
      {.name = "Trace Surface in Japanese",
       .language = MenuId::mnuLangJP,
       .graphType = kTraceSurface,
       .message = reinterpret_cast<const char*>(u8"ｵｰﾊﾞｰﾌﾛｰしました。")},
  };
  f.ui.txtMinLabelY.setText("-3e38");
  f.ui.txtMaxLabelY.setText("3e38");
  f.ui.chkExcel.value = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    menuClick(f.form, c.language);
    f.ui.cmbGraphType.selected = c.graphType;
    cmbGraphTypeClick(f.form);
    ASSERT_EQ(appendDataPoint(f.form, 1, 2, 3, 4), AddResult::Added);
    f.platform.clearMessages();
    EXPECT_FALSE(runHandler(f.form, [&] { menuClick(f.form, MenuId::mnuExeStart); }));
    EXPECT_EQ(f.platform.messages().size(), 1u);
    EXPECT_EQ(firstMessage(), c.message);
    EXPECT_EQ(f.app.pointCount, 0);
    EXPECT_TRUE(f.ui.ListView1.rows.empty());
    EXPECT_FALSE(f.ui.menu(MenuId::mnuDataSave).enabled);
    EXPECT_FALSE(f.state.runActive);
    EXPECT_TRUE(f.ui.menu(MenuId::mnuExeStart).enabled);
    EXPECT_TRUE(f.ui.menu(MenuId::mnuFileOpen).enabled);
    EXPECT_FALSE(f.ui.Line5.visible);
  }
  EXPECT_TRUE(f.platform.openedDocuments().empty());
}

TEST_F(OverflowRefusal, ASettingsValueBeyondTheSingleRangeLeavesBothFieldsAtTheValueInForce) {
  using C = Calibration;
  struct Case {
    Control* scale;
    Control* mirror;
    const float* value;
    float C::*read;  // what the conversion reads from the settings field
  };
  FormState& state = f.state;
  Form1Controls& ui = f.ui;
  const Case cases[] = {
      {.scale = &ui.txtMaxLabelY, .mirror = &ui.txtLYT, .value = &state.maxY, .read = &C::y1},
      {.scale = &ui.txtMinLabelY, .mirror = &ui.txtLYB, .value = &state.minY, .read = &C::y0},
      {.scale = &ui.txtMaxLabelX, .mirror = &ui.txtLXE, .value = &state.maxX, .read = &C::x1},
      {.scale = &ui.txtMinLabelX, .mirror = &ui.txtLXS, .value = &state.minX, .read = &C::x0},
  };
  menuClick(f.form, MenuId::mnuLangJP);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale->name);
    c.scale->setText("-1000");
    const std::string pitch = ui.txtStpX.text;
    f.platform.clearMessages();
    EXPECT_FALSE(runHandler(f.form, [&] { c.scale->setText("-1e39"); }));
    EXPECT_EQ(f.platform.messages().size(), 1u);
    EXPECT_EQ(firstMessage(), f.form.message(Message::Overflow));
    EXPECT_EQ(c.scale->text, "-1000");
    EXPECT_EQ(c.mirror->text, "-1000");
    EXPECT_EQ(*c.value, -1000.0f);
    EXPECT_EQ(ui.txtStpX.text, pitch);
    // The traces read the value, the conversion the settings field: they agree.
    float read = 0;
    EXPECT_NO_THROW(read = currentCalibration(f.form).*c.read);
    EXPECT_EQ(read, *c.value);
  }
}

}  // namespace
}  // namespace plotvane
