#include "shell/form1_events.h"

#include "app/panes.h"
#include "app/settings.h"
#include "app/window_design.h"
#include "base/number_text.h"
#include "data/data_export.h"
#include "data/data_list.h"
#include "data/spreadsheet_export.h"
#include "digitize/graph_type.h"
#include "digitize/run_control.h"
#include "digitize/scale_fields.h"
#include "filters/colour_mask_dialog.h"
#include "filters/contrast_dialog.h"
#include "loading/file_pane.h"
#include "loading/load_picture.h"
#include "shell/about.h"
#include "shell/captions.h"
#include "shell/help.h"
#include "view/picture_tools.h"
#include "view/rotate_dialog.h"
#include "view/save_picture.h"
#include "view/selection.h"
#include "view/undo_commands.h"
#include "view/view.h"

namespace plotvane {
namespace {

// The picture pane follows the window: viewport, scroll bars, view.
void layoutPictureArea(Form1& form) {
  relayoutView(form);
}

void closeDialogs(Form1& form) {
  if (form.dialog(DialogId::About)) aboutUnload(form);
  filterUnload(form, DialogId::Contrast);
  filterUnload(form, DialogId::ColourMask);
  if (form.dialog(DialogId::Message)) messageUnload(form);
  if (form.dialog(DialogId::Rotate)) rotateUnload(form);
}

// The three spreadsheet commands. A run that yields is rebuilding the list;
// it sends the list itself when it completes.
void sendListToSpreadsheet(Form1& form, ChartKind kind) {
  if (!form.state.runActive) ExportToSpreadsheet(form, kind);
}

SettingsValues settingsOf(const AppState& app) {
  return {app.language, app.undoBufferSize, app.undoBufferSizeSaved};
}

}  // namespace

std::optional<std::string> pictureArgument(const std::optional<std::string>& argument) {
  if (!argument || argument->empty() || *argument == "\"") return std::nullopt;
  const std::string& text = *argument;
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    if (text.size() == 2) return std::nullopt;
    return std::string(text.begin() + 1, text.end() - 1);
  }
  return text;
}

void formLoad(Form1& form, bool useSettingsFile) {
  AppState& app = form.app;
  FormState& state = form.state;
  Form1Controls& ui = form.ui;

  state.settingsDir = form.platform.currentDirectory();
  app.language = languageFromLocale(form.platform);
  app.cancelRequested = false;
  state.dragSnapshotTaken = false;
  state.tool = PictureTool::Scale;

  installCalibrationHandlers(form);
  installDataListHandlers(form);
  form.ui.txtSmpX.onLostFocus = [&form] { txtSmpXLostFocus(form); };
  form.ui.txtStpX.onLostFocus = [&form] { txtStpXLostFocus(form); };
  ui.txtSmpX.setText("200");
  ui.txtStpX.setText(doubleText(0.005));
  ui.txtMaxLabelX.setText("1");
  ui.txtMaxLabelY.setText("1");
  ui.txtMinLabelX.setText("0");
  ui.txtMinLabelY.setText("0");

  state.startDir = form.platform.currentDirectory();
  app.onGrid = 1;
  app.gridStep = 0.5f;
  app.undoBufferSize = 50;
  app.undoBufferSizeSaved = 50;

  SettingsValues settings = settingsOf(app);
  if (useSettingsFile) readSettings(form.platform, state.settingsDir, settings, app.language);
  app.language = settings.language;
  app.undoBufferSize = settings.undoBufferSize;
  app.undoBufferSizeSaved = settings.undoBufferSizeSaved;

  ui.txtGrid.setText(singleText(app.gridStep));
  ui.chkOnGrid.value = app.onGrid;

  createUndoRing(form);

  for (MenuId id : {MenuId::mnuDataSave, MenuId::mnuDataExcelData, MenuId::mnuDataExcelLine,
                    MenuId::mnuDataExcelPoint, MenuId::mnuDataExcel})
    form.setCommandEnabled(id, false);
  ui.cmdSaveData.enabled = false;
  ui.cmdSendExcel.enabled = false;

  ui.ListView1.columns = {
      {"No", 400}, {"Xﾃﾞｰﾀ", 900}, {"Yﾃﾞｰﾀ", 900}, {"Xﾋﾟｸｾﾙ", 900}, {"Yﾋﾟｸｾﾙ", 900}};

  ui.cmbGraphType.items.assign(5, std::string());
  ui.cmbGraphType.selected = kTraceLine;

  initFilePane(form);
  showPane(form, Pane::Setting);
  cmbGraphTypeClick(form);
  disablePictureCommands(form);

  if (app.language != 0)
    mnuLangENGClick(form);
  else
    mnuLangJPClick(form);

  form.platform.yieldEvents();
}

void formShown(Form1& form, const std::optional<std::string>& argument) {
  if (const auto path = pictureArgument(argument)) openPictureFrom(form, *path);
}

void formUnload(Form1& form) {
  writeSettings(form.platform, form.state.settingsDir, settingsOf(form.app), form.app.language);
  closeDialogs(form);
  form.state.closed = true;
}

void toolbarButtonClick(Form1& form, int position) {
  if (position < 1 || position > kToolbarPositions) return;
  const ToolbarEntry& entry = kToolbarTable[static_cast<std::size_t>(position - 1)];
  if (entry.command) menuClick(form, *entry.command);
}

void menuClick(Form1& form, MenuId id) {
  switch (id) {
    case MenuId::mnuFileExit:
      formUnload(form);
      break;
    case MenuId::mnuLangJP:
      mnuLangJPClick(form);
      break;
    case MenuId::mnuLangENG:
      mnuLangENGClick(form);
      break;
    // Menus of the bar and submenu parents have no command of their own.
    case MenuId::mnuFile:
    case MenuId::mnuEdet:
    case MenuId::mnuPict:
    case MenuId::munExe:
    case MenuId::mnuLang:
    case MenuId::mnuHelp:
    case MenuId::mnuDataExcel:
    case MenuId::mnuFilter:
      break;
    case MenuId::mnuFileOpen:
      mnuFileOpenClick(form);
      break;
    case MenuId::mnuFileRedraw:
      mnuFileRedrawClick(form);
      break;
    case MenuId::mnuSelectAll:
      mnuSelectAllClick(form);
      break;
    case MenuId::mnuEdetUndo:
      mnuEdetUndoClick(form);
      break;
    case MenuId::mnuEdetRedo:
      mnuEdetRedoClick(form);
      break;
    case MenuId::mnuScale:
      mnuScaleClick(form);
      break;
    case MenuId::mnuErase:
      mnuEraseClick(form);
      break;
    case MenuId::mnuZoomIn:
      mnuZoomInClick(form);
      break;
    case MenuId::mnuZoomOut:
      mnuZoomOutClick(form);
      break;
    case MenuId::mnuFileSave:
      mnuFileSaveClick(form);
      break;
    case MenuId::mnuPictRot:
      mnuPictRotClick(form);
      break;
    case MenuId::mnuHelpHelp:
      mnuHelpHelpClick(form);
      break;
    case MenuId::mnuFilterContrast:
      mnuFilterContrastClick(form);
      break;
    case MenuId::mnuFilterColormask:
      mnuFilterColormaskClick(form);
      break;
    case MenuId::mnuHelpV:
      mnuHelpVClick(form);
      break;
    case MenuId::mnuDataDelSelect:
      mnuDataDelSelectClick(form);
      break;
    case MenuId::mnuDataDelAll:
      mnuDataDelAllClick(form);
      break;
    case MenuId::mnuDataSave:
      saveData(form);
      break;
    case MenuId::mnuDataExcelData:
      sendListToSpreadsheet(form, ChartKind::None);
      break;
    case MenuId::mnuDataExcelLine:
      sendListToSpreadsheet(form, ChartKind::Line);
      break;
    case MenuId::mnuDataExcelPoint:
      sendListToSpreadsheet(form, ChartKind::Point);
      break;
    case MenuId::mnuExeStart:
      mnuExeStartClick(form);
      // The window was closed while the run yielded: it closes now.
      if (form.state.closeRequested && !form.state.runActive) formUnload(form);
      break;
    case MenuId::mnuExeCancel:
      mnuExeCancelClick(form);
      break;
  }
}

void formResize(Form1& form, int clientWidthTwips, int clientHeightTwips) {
  FormState& state = form.state;
  Form1Controls& ui = form.ui;
  state.clientWidth = clientWidthTwips;
  state.clientHeight = clientHeightTwips;
  const int fh = clientHeightTwips;

  ui.TabStrip1.geometry.left = design::kTabStripLeft;
  ui.TabStrip1.geometry.top = design::kTabStripTop;
  ui.TabStrip1.geometry.width = design::kTabStripWidth;
  for (Control* pane : {&ui.frameSetting, &ui.frameFile, &ui.frameList}) {
    pane->geometry.left = design::kPaneLeft;
    pane->geometry.top = design::kPaneTop;
    pane->geometry.width = design::kPaneWidth;
  }
  ui.ListView1.geometry.left = design::kListViewLeft;
  ui.ListView1.geometry.top = design::kListViewTop;
  ui.ListView1.geometry.width = design::kPaneWidth - 2 * design::kListViewLeft;

  // A folder list dragged tall gives way first, so that the panes still
  // follow a window made smaller and the file list stays in sight.
  fitFilePaneToHeight(form, fh - ui.frameFile.geometry.top - 390);
  if (fh - ui.frameFile.geometry.top - 390 - ui.File1.geometry.top > 0) {
    ui.frameFile.geometry.height = fh - ui.frameFile.geometry.top - 390;
    ui.frameSetting.geometry.height = fh - ui.frameSetting.geometry.top - 390;
    ui.frameList.geometry.height = fh - ui.frameSetting.geometry.top - 390;
    ui.TabStrip1.geometry.height = fh - ui.TabStrip1.geometry.top - 315;
    ui.File1.geometry.height =
        static_cast<int>(
            fixPart((ui.frameFile.geometry.height - ui.File1.geometry.top - 270) / 180.0)) *
            180 +
        270;
    ui.ListView1.geometry.height = ui.frameList.geometry.height - ui.ListView1.geometry.top - 60;
  }
  fitFilePaneToFrame(form);

  ui.StatusBar1.geometry = {0, fh - design::kStatusBarHeight, clientWidthTwips,
                            design::kStatusBarHeight};
  const int statusTop = fh - 240;
  ui.Text1.geometry = {design::kText1Left, statusTop, design::kReadOutWidth,
                       design::kStatusFieldHeight};
  ui.Text2.geometry = {design::kText2Left, statusTop, design::kReadOutWidth,
                       design::kStatusFieldHeight};
  ui.ProgressBar1.geometry = {design::kProgressBarLeft, statusTop, design::kProgressBarWidth,
                              design::kStatusFieldHeight};

  layoutPictureArea(form);
}

}  // namespace plotvane
