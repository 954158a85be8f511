#include <algorithm>

#include "base/number_text.h"
#include "view/selection.h"
#include "view/undo_commands.h"
#include "view/view.h"

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

void showPictureSize(Form1& form) {
  const WorkingPicture& picture = form.state.Picture2;
  form.setPanel(StatusPanel::PictureSize,
                form.caption(Caption::PictureSize) +
                    "w:" + singleText(static_cast<float>(picture.width())) +
                    " h:" + singleText(static_cast<float>(picture.height())));
}

// A rectangle larger than the picture would send the scans outside it.
void keepRectangleInside(WorkingPicture& picture) {
  const auto w = static_cast<float>(picture.width());
  const auto h = static_cast<float>(picture.height());
  const PixelRect r = picture.rect();
  picture.setRect({std::clamp(r.lineXS, 0.0f, w), std::clamp(r.lineXE, 0.0f, w),
                   std::clamp(r.lineYT, 0.0f, h), std::clamp(r.lineYB, 0.0f, h)});
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

void showChangedPicture(Form1& form, PictureChange change) {
  FormState& state = form.state;
  Form1Controls& ui = form.ui;
  switch (change) {
    case PictureChange::Loaded: {
      for (Control* field : {&ui.txtLXS, &ui.txtLXE, &ui.txtLYT, &ui.txtLYB}) field->visible = true;
      form.app.zoom = fitZoom(state.Picture2.width(), state.Picture2.height(),
                              state.clientWidth - ui.Picture3.geometry.left - kFitMarginTwips,
                              state.clientHeight - ui.Picture3.geometry.top - kFitMarginTwips);
      ui.HScroll1.value = 0;
      ui.VScroll1.value = 0;
      pict1Reload(form);
      mnuSelectAllClick(form);
      ui.Picture1.visible = true;
      showPictureSize(form);
      // Select All took a snapshot of the old rectangle; a new picture
      // starts with nothing to undo.
      resetUndo(form);
      for (MenuId id : kPictureCommands) form.setCommandEnabled(id, true);
      form.setCommandEnabled(MenuId::mnuExeCancel, true);
      break;
    }
    case PictureChange::Resized:
      keepRectangleInside(state.Picture2);
      showPictureSize(form);
      // A larger picture may pass the display's 16-bit extent at the current
      // magnification: the view steps out until it fits.
      while (pict1Reload(form) == 0 && form.app.zoom > kMinZoom) form.app.zoom /= 2;
      showReferenceRectangle(form);
      break;
    case PictureChange::Edited:
      pict1Reload(form);
      break;
  }
}

void disablePictureCommands(Form1& form) {
  for (MenuId id : kPictureCommands) form.setCommandEnabled(id, false);
}

}  // namespace plotvane
