#include "shell/captions.h"

#include "app/language.h"

namespace plotvane {
namespace {

// Consecutive table entries for consecutive items: tabs, panels, graph
// types, list columns.
Caption nthCaption(Caption first, std::size_t n) {
  return static_cast<Caption>(static_cast<int>(first) + static_cast<int>(n));
}

}  // namespace

void ApplyCaptions(Form1& form) {
  Form1Controls& ui = form.ui;
  for (const MenuEntry& entry : kMenuTable) ui.menu(entry.id).text = form.caption(entry.caption);
  for (const ToolbarEntry& entry : kToolbarTable)
    if (entry.caption) ui.toolButton(entry.position).caption = form.caption(*entry.caption);

  ui.Frame5.text = form.caption(Caption::GraphTypeFrame);
  ui.Frame1.text = form.caption(Caption::XAxisFrame);
  ui.Label8.text = form.caption(Caption::XMaxScale);
  ui.Label6.text = form.caption(Caption::XMinScale);
  ui.Label9.text = form.caption(Caption::Division);
  ui.Label10.text = form.caption(Caption::Pitch);
  ui.Frame2.text = form.caption(Caption::YAxisFrame);
  ui.Label18.text = form.caption(Caption::YMinScale);
  ui.Label19.text = form.caption(Caption::YMaxScale);
  ui.Frame4.text = form.caption(Caption::OptionFrame);
  ui.chkExcel.text = form.caption(Caption::ExcelAutoExport);
  ui.LabelErs.text = form.caption(Caption::EraserSize);
  ui.Label1.text = form.caption(Caption::YFiltering);
  ui.Label21.text = form.caption(Caption::PickUpArea);
  ui.cmdSendExcel.text = form.caption(Caption::SendExcel);
  ui.cmdSaveData.text = form.caption(Caption::SaveData);
  ui.cmdListDelAll.text = form.caption(Caption::ClearList);

  ui.StatusBar1.panels.resize(kStatusPanelCount);
  for (std::size_t panel = 0; panel < kStatusPanelCount; ++panel)
    ui.StatusBar1.panels[panel] = form.caption(nthCaption(Caption::PanelX, panel));

  ui.Label20.text = form.caption(Caption::PictureFile);

  ui.TabStrip1.tabs.resize(3);
  for (std::size_t tab = 0; tab < 3; ++tab)
    ui.TabStrip1.tabs[tab] = form.caption(nthCaption(Caption::TabSetting, tab));

  ui.cmbGraphType.items.resize(5);
  for (std::size_t item = 0; item < 5; ++item)
    ui.cmbGraphType.items[item] = form.caption(nthCaption(Caption::TraceLine, item));

  for (std::size_t column = 0; column < ui.ListView1.columns.size() && column < 5; ++column)
    ui.ListView1.columns[column].text = form.caption(nthCaption(Caption::ColumnNumber, column));

  ui.chkOnGrid.text = form.caption(Caption::OnGrid);

  // The value fields over the picture are named as their twins in the
  // settings pane: the axis, then the field's caption.
  const auto axisField = [&form](Caption axis, Caption field) {
    return form.caption(axis) + " " + form.caption(field);
  };
  ui.txtLXS.accessibleName = axisField(Caption::XAxisFrame, Caption::XMinScale);
  ui.txtLXE.accessibleName = axisField(Caption::XAxisFrame, Caption::XMaxScale);
  ui.txtLYT.accessibleName = axisField(Caption::YAxisFrame, Caption::YMaxScale);
  ui.txtLYB.accessibleName = axisField(Caption::YAxisFrame, Caption::YMinScale);
  ui.File1.accessibleName = form.caption(Caption::PictureFile);
  ui.Picture1.accessibleName = form.caption(Caption::NamePicture);
  ui.txtGrid.accessibleName = form.caption(Caption::NameGridPitch);
  ui.Text1.accessibleName = form.caption(Caption::NamePointerX);
  ui.Text2.accessibleName = form.caption(Caption::NamePointerY);
  ui.txtMD.accessibleName = form.caption(Caption::NameResizeFlag);
  ui.ListView1.accessibleName = form.caption(Caption::NameDataList);
  ui.Drive1.accessibleName = form.caption(Caption::NameDrives);
  ui.Dir1.accessibleName = form.caption(Caption::NameFolders);
}

void mnuLangENGClick(Form1& form) {
  form.app.language = 1;
  SetLngage(form.app);
  ApplyCaptions(form);
}

void mnuLangJPClick(Form1& form) {
  form.app.language = 0;
  SetLngage(form.app);
  ApplyCaptions(form);
}

}  // namespace plotvane
