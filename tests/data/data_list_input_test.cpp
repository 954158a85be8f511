// What reaches the data list: no value beyond the single-precision range, and
// no keyboard focus taken from a text field being edited.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/language.h"
#include "base/number_text.h"
#include "data/data_list.h"
#include "platform/headless_platform.h"

namespace plotvane {
namespace {

class DataListInput : public ::testing::Test {
 protected:
  DataListInput() {
    SetLngage(form.app);
    installDataListHandlers(form);
    setDataCommandsEnabled(form, false);
  }

  HeadlessPlatform platform;
  Form1 form{platform};
  Form1Controls& ui = form.ui;
};

TEST_F(DataListInput, AValueThatIsNotFiniteAddsNothing) {
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    const char* name;
    float xData, yData;
  };
  const Case cases[] = {
      {.name = "Y above the range", .xData = 1, .yData = kInfinity},
      {.name = "X below the range", .xData = -kInfinity, .yData = 1},
      {.name = "Y not a number", .xData = 1, .yData = kNaN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW((void)appendDataPoint(form, c.xData, c.yData, 1, 2), OverflowError);
    EXPECT_EQ(form.app.pointCount, 0);
    EXPECT_TRUE(ui.ListView1.rows.empty());
    EXPECT_FALSE(ui.menu(MenuId::mnuDataSave).enabled);
  }
  EXPECT_EQ(appendDataPoint(form, std::numeric_limits<float>::max(), 0, 1, 2), AddResult::Added);
}

TEST_F(DataListInput, HoverTakesTheFocusOnlyWhenNoTextFieldIsBeingEdited) {
  struct Case {
    const char* name;
    const Control* focused;
    bool takes;
  };
  const Case cases[] = {
      {.name = "nothing focused", .focused = nullptr, .takes = true},
      {.name = "the picture", .focused = &ui.Picture1, .takes = true},
      {.name = "the division field", .focused = &ui.txtSmpX, .takes = false},
      {.name = "a value field on the picture", .focused = &ui.txtLXE, .takes = false},
      {.name = "the Y-filtering combo", .focused = &ui.cmbFRange, .takes = false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui.focused = c.focused;
    ui.Line5.visible = ui.Line6.visible = true;  // a row's marker is shown
    ListView1MouseMove(form);
    EXPECT_EQ(ui.focused, c.takes ? &ui.ListView1 : c.focused);
    EXPECT_EQ(ui.Line5.visible, !c.takes);
  }
}

}  // namespace
}  // namespace plotvane
