#include "digitize/graph_type.h"

namespace plotvane {

void cmbGraphTypeClick(Form1& form) {
  struct Enabling {
    bool divisionAndPitch, filter, pickUp, autoExport, execute;
  };
  static constexpr Enabling kTable[] = {
      {true, true, false, true, true},      // Trace Line
      {false, false, false, true, true},    // Plot All Points
      {false, false, true, false, false},   // Plot 1 Point
      {true, true, false, true, true},      // Trece Surface
      {false, false, false, false, false},  // Manual Plotting
  };
  // The type cannot change under a running routine.
  if (form.state.runActive) {
    form.ui.cmbGraphType.selected = form.state.runGraphType;
    return;
  }
  const int selected = form.ui.cmbGraphType.selected;
  if (selected < 1 || selected > 5) return;
  const Enabling& row = kTable[selected - 1];
  Form1Controls& ui = form.ui;
  ui.Label9.enabled = ui.txtSmpX.enabled = ui.Label10.enabled = ui.txtStpX.enabled =
      row.divisionAndPitch;
  ui.Label1.enabled = ui.cmbFRange.enabled = row.filter;
  ui.Label21.enabled = ui.txtPicUpRange.enabled = row.pickUp;
  ui.chkExcel.enabled = row.autoExport;
  form.setCommandEnabled(MenuId::mnuExeStart, row.execute && !form.state.picturePath.empty());
}

}  // namespace plotvane
