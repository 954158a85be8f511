#include "loading/load_picture.h"

#include <new>

#include "base/number_text.h"
#include "digitize/graph_type.h"
#include "loading/file_pane.h"
#include "picture/selection.h"
#include "picture/view.h"

namespace plotvane {
namespace {

// Free room around the fitted picture, in twips.
constexpr int kFitMarginTwips = 100;

// The commands that need a picture.
constexpr MenuId kPictureCommands[] = {
    MenuId::mnuZoomIn,         MenuId::mnuZoomOut,         MenuId::mnuSelectAll,
    MenuId::mnuErase,          MenuId::mnuPictRot,         MenuId::mnuFilter,
    MenuId::mnuFilterContrast, MenuId::mnuFilterColormask, MenuId::mnuFileSave,
    MenuId::mnuFileRedraw,
};

void resetUndo(Form1& form) {
  AppState& app = form.app;
  app.undoCursor = 0;
  app.undoCount = 0;
  app.redoCount = 0;
  for (UndoRecord& record : app.undoSnapshots) {
    // Each record keeps one element, as after start-up; the memory goes.
    std::vector<std::uint32_t>(1, 0).swap(record.pixels);
  }
}

}  // namespace

float fitZoom(int pictureWidth, int pictureHeight, int freeWidthTwips, int freeHeightTwips) {
  const double outerWidth = double(pictureWidth) * kTwipsPerPixel;
  const double outerHeight = double(pictureHeight) * kTwipsPerPixel;
  float zoom = 1;
  while (freeWidthTwips < outerWidth * zoom && zoom > kMinZoom) zoom /= 2;
  while (freeHeightTwips < outerHeight * zoom && zoom > kMinZoom) zoom /= 2;
  return zoom;
}

bool LoadPictureFile(Form1& form, const std::string& path) {
  AppState& app = form.app;
  FormState& state = form.state;
  Form1Controls& ui = form.ui;

  // A digitizing run reads the working picture while it yields.
  if (state.runActive) return false;

  // Decoded into a local picture first: a failed read leaves the picture,
  // its path, the zoom, the list and the undo history as they were.
  PixelArray picture;
  const PictureLimits limits = PictureLimits::forThisMachine();
  bool read = false;
  try {
    read = !path.empty() && form.platform.readPicture(path, limits, picture);
  } catch (const std::bad_alloc&) {
    read = false;
  }
  if (!read || !limits.accepts(picture.width(), picture.height())) {
    form.showMessage(form.message(5));
    return false;
  }

  state.picturePath = path;
  state.Picture2 = std::move(picture);
  for (Control* field : {&ui.txtLXS, &ui.txtLXE, &ui.txtLYT, &ui.txtLYB}) field->visible = true;

  const int width = state.Picture2.width();
  const int height = state.Picture2.height();
  app.zoom = fitZoom(width, height, state.clientWidth - ui.Picture3.geometry.left - kFitMarginTwips,
                     state.clientHeight - ui.Picture3.geometry.top - kFitMarginTwips);
  ui.HScroll1.value = 0;
  ui.VScroll1.value = 0;
  pict1Reload(form);
  mnuSelectAllClick(form);
  ui.Picture1.visible = true;
  auto& panels = ui.StatusBar1.panels;
  if (panels.size() < 4) panels.resize(4);
  panels[3] = form.caption(69) + "w:" + singleText(static_cast<float>(width)) +
              " h:" + singleText(static_cast<float>(height));

  resetUndo(form);
  showWorkingDirectoryInFilePane(form);

  for (MenuId id : kPictureCommands) form.setCommandEnabled(id, true);
  form.setCommandEnabled(MenuId::mnuExeCancel, true);
  // Execute follows the graph type: the click types keep it disabled.
  cmbGraphTypeClick(form);
  form.setCommandEnabled(MenuId::mnuEdetUndo, false);
  form.setCommandEnabled(MenuId::mnuEdetRedo, false);

  if (app.pointCount != 0 && ui.cmdListDelAll.onChange) ui.cmdListDelAll.onChange();
  return true;
}

FileDialogRequest openPictureDialog(const Form1& form) {
  return {form.caption(150),
          {{form.caption(151), {"*.bmp", "*.jpg", "*.jpeg", "*.gif", "*.png"}},
           {form.caption(141), {"*.bmp"}},
           {form.caption(152), {"*.jpg"}},
           {form.caption(153), {"*.gif"}},
           {form.caption(142), {"*"}}}};
}

void mnuFileOpenClick(Form1& form) {
  if (form.state.runActive) return;
  const std::string path = form.platform.openFileDialog(openPictureDialog(form));
  if (!path.empty()) LoadPictureFile(form, path);
}

void mnuFileRedrawClick(Form1& form) {
  if (form.state.picturePath.empty() || form.state.runActive) return;
  const std::string path = form.state.picturePath;
  LoadPictureFile(form, path);
}

void formDropFiles(Form1& form, const std::vector<std::string>& paths) {
  if (!paths.empty()) LoadPictureFile(form, paths.front());
}

void disablePictureCommands(Form1& form) {
  for (MenuId id : kPictureCommands) form.setCommandEnabled(id, false);
}

}  // namespace plotvane
