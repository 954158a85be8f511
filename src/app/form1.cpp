#include "app/form1.h"

namespace plotvane {

Form1Controls::Form1Controls() {
  for (const MenuEntry& entry : kMenuTable) menu(entry.id).name = std::string(entry.name);
  for (const ToolbarEntry& entry : kToolbarTable)
    toolButton(entry.position).key = std::string(entry.key);

  // What the controls hold from the creation of the window.
  txtErs.text = "5";
  txtPicUpRange.text = "10";
  cmbFRange.items = {"1", "3", "5", "7", "9", "11", "13"};
  cmbFRange.text = "1";
  for (MenuId id : {MenuId::mnuEdetUndo, MenuId::mnuEdetRedo, MenuId::mnuExeStart}) {
    menu(id).enabled = false;
    if (const auto position = toolbarPositionOf(id)) toolButton(*position).enabled = false;
  }
  menu(MenuId::mnuScale).value = 1;
  toolButton(*toolbarPositionOf(MenuId::mnuScale)).value = 1;
  HScroll1.visible = false;
  VScroll1.visible = false;
  ProgressBar1.visible = false;
  // The on-picture value fields appear with the reference lines.
  for (Control* field : {&txtLXS, &txtLXE, &txtLYT, &txtLYB}) field->visible = false;
}

bool Form1Controls::editingText() const {
  if (!focused) return false;
  for (const Control* field : {&txtMaxLabelX, &txtMinLabelX, &txtSmpX, &txtStpX, &txtMaxLabelY,
                               &txtMinLabelY, static_cast<const Control*>(&cmbFRange), &txtGrid,
                               &txtErs, &txtPicUpRange, &txtLXS, &txtLXE, &txtLYT, &txtLYB})
    if (focused == field) return true;
  return false;
}

void Form1::loadDialog(std::shared_ptr<Dialog> model) {
  if (model->exclusive) ui.form.enabled = false;
  dialogs[static_cast<std::size_t>(model->id)] = std::move(model);
}

void Form1::unloadDialog(DialogId id) {
  std::shared_ptr<Dialog>& slot = dialogs[static_cast<std::size_t>(id)];
  if (slot && slot->exclusive) ui.form.enabled = true;
  slot.reset();
}

void Form1::setCommandEnabled(MenuId id, bool enabled) {
  ui.menu(id).enabled = enabled;
  if (const auto position = toolbarPositionOf(id)) ui.toolButton(*position).enabled = enabled;
}

void Form1::setPanel(StatusPanel panel, std::string text) {
  auto& panels = ui.StatusBar1.panels;
  const auto index = static_cast<std::size_t>(panel);
  if (panels.size() <= index) panels.resize(index + 1);
  panels[index] = std::move(text);
}

void Form1::showMessage(const std::string& text) {
  platform.messageBox(text, MessageButtons::Ok, MessageIcon::None);
}

}  // namespace plotvane
