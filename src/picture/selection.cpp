#include "picture/selection.h"

#include "digitize/calibration.h"
#include "picture/overlays.h"

namespace plotvane {

void mnuSelectAllClick(Form1& form) {
  if (form.state.picturePath.empty()) return;
  AppState& app = form.app;
  app.lineXS = 0;
  app.lineXE = static_cast<float>(form.state.Picture2.width());
  app.lineYT = 0;
  app.lineYB = static_cast<float>(form.state.Picture2.height());
  auto& panels = form.ui.StatusBar1.panels;
  if (panels.size() < 3) panels.resize(3);
  panels[2] = rectangleReadOut(form);
  PlaceReferenceLabels(form);
  PlaceReferenceLines(form);
}

}  // namespace plotvane
