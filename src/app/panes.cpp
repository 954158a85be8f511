#include "app/panes.h"

namespace plotvane {

void tabStripClick(Form1& form) {
  Form1Controls& ui = form.ui;
  const int selected = ui.TabStrip1.selected;
  if (selected < static_cast<int>(Pane::Setting) || selected > static_cast<int>(Pane::Data)) return;
  const auto pane = static_cast<Pane>(selected);
  ui.frameSetting.visible = pane == Pane::Setting;
  ui.frameFile.visible = pane == Pane::File;
  ui.frameList.visible = pane == Pane::Data;
  ui.ListView1.visible = pane == Pane::Data;
}

void showPane(Form1& form, Pane pane) {
  form.ui.TabStrip1.selected = static_cast<int>(pane);
  tabStripClick(form);
}

}  // namespace plotvane
