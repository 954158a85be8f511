#include "digitize/graph_type.h"

#include <gtest/gtest.h>

#include "support/picture_form.h"

namespace plotvane {
namespace {

TEST(GraphType, EachTypeEnablesItsParametersAndExecuteOnlyWithAPicture) {
  // clang-format off
  const struct {
    GraphType type;
    bool division = false, filter = false, pickUp = false, excel = false, execute = false;
  } cases[] = {
      {.type = kPlotOnePoint, .pickUp = true},
      {.type = kTraceLine, .division = true, .filter = true, .excel = true, .execute = true},
      {.type = kPlotAllPoints, .excel = true, .execute = true},
      {.type = kManualPlotting},
      {.type = kTraceSurface, .division = true, .filter = true, .excel = true, .execute = true}};
  // clang-format on
  HeadlessPlatform platform;
  Form1 form(platform);
  Form1Controls& ui = form.ui;
  for (bool picture : {false, true}) {
    form.state.picturePath = picture ? "/charts/a.png" : "";
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::graphTypeName(c.type) + (picture ? " with a picture" : " without"));
      ui.cmbGraphType.selected = c.type;
      cmbGraphTypeClick(form);
      for (const Control* control : {&ui.Label9, &ui.txtSmpX, &ui.Label10, &ui.txtStpX})
        EXPECT_EQ(control->enabled, c.division) << control->name;
      EXPECT_EQ(ui.Label1.enabled, c.filter);
      EXPECT_EQ(ui.cmbFRange.enabled, c.filter);
      EXPECT_EQ(ui.Label21.enabled, c.pickUp);
      EXPECT_EQ(ui.txtPicUpRange.enabled, c.pickUp);
      EXPECT_EQ(ui.chkExcel.enabled, c.excel);
      EXPECT_EQ(ui.menu(MenuId::mnuExeStart).enabled, c.execute && picture);
      EXPECT_EQ(testing::toolButtonOf(ui, MenuId::mnuExeStart).enabled, c.execute && picture);
    }
  }
}

}  // namespace
}  // namespace plotvane
