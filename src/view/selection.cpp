#include "view/selection.h"

#include "base/number_text.h"
#include "view/overlays.h"

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
  picture.setRect(
      {0, static_cast<float>(picture.width()), 0, static_cast<float>(picture.height())});
  showReferenceRectangle(form);
}

}  // namespace plotvane
