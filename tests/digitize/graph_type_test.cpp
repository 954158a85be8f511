#include "digitize/graph_type.h"

#include <gtest/gtest.h>

#include "platform/headless_platform.h"

namespace plotvane {
namespace {

TEST(GraphType, EachTypeEnablesItsParametersAndExecuteOnlyWithAPicture) {
  const struct {
    int type;
    bool division, filter, pickUp, autoExport, execute;
  } cases[] = {
      {kPlotOnePoint, false, false, true, false, false},
      {kTraceLine, true, true, false, true, true},
      {kPlotAllPoints, false, false, false, true, true},
      {kManualPlotting, false, false, false, false, false},
      {kTraceSurface, true, true, false, true, true},
  };
  HeadlessPlatform platform;
  Form1 form(platform);
  const Form1Controls& ui = form.ui;
  for (bool picture : {false, true}) {
    form.state.picturePath = picture ? "/charts/a.png" : "";
    for (const auto& c : cases) {
      SCOPED_TRACE(std::to_string(c.type) + (picture ? " with picture" : " without"));
      form.ui.cmbGraphType.selected = c.type;
      cmbGraphTypeClick(form);
      for (const Control* control : {&ui.Label9, &ui.txtSmpX, &ui.Label10, &ui.txtStpX})
        EXPECT_EQ(control->enabled, c.division) << control->name;
      EXPECT_EQ(ui.Label1.enabled, c.filter);
      EXPECT_EQ(ui.cmbFRange.enabled, c.filter);
      EXPECT_EQ(ui.Label21.enabled, c.pickUp);
      EXPECT_EQ(ui.txtPicUpRange.enabled, c.pickUp);
      EXPECT_EQ(ui.chkExcel.enabled, c.autoExport);
      EXPECT_EQ(ui.menu(MenuId::mnuExeStart).enabled, c.execute && picture);
      EXPECT_EQ(form.ui.toolButton(5).enabled, c.execute && picture);
    }
  }
}

}  // namespace
}  // namespace plotvane
