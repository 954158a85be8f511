#include "view/selection.h"

#include "base/number_text.h"
#include "view/overlays.h"
#include "view/undo_commands.h"

namespace plotvane {

std::string rectangleReadOut(const Form1& form) {
  const PixelRect& r = form.state.Picture2.rect();
  return form.caption(Caption::SelectedArea) + "l:" + singleText(r.lineXS) +
         " t:" + singleText(r.lineYT) + "  w:" + singleText(r.width()) +
         " h:" + singleText(r.height());
}

void showReferenceRectangle(Form1& form) {
  form.setPanel(StatusPanel::SelectedArea, rectangleReadOut(form));
  PlaceReferenceLabels(form);
  PlaceReferenceLines(form);
}

void mnuSelectAllClick(Form1& form) {
  if (form.state.picturePath.empty()) return;
  WorkingPicture& picture = form.state.Picture2;
  const PixelRect whole{0, static_cast<float>(picture.width()), 0,
                        static_cast<float>(picture.height())};
  // Undoable like a drag, so that Undo goes back to the rectangle it replaced.
  if (picture.rect() != whole) PushUndoSnapshot(form, kUndoRect);
  picture.setRect(whole);
  showReferenceRectangle(form);
}

}  // namespace plotvane
