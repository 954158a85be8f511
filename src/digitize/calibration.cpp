#include "digitize/calibration.h"

#include "app/number_text.h"

namespace plotvane {

Calibration currentCalibration(const Form1& form) {
  const Form1Controls& ui = form.ui;
  const AppState& app = form.app;
  return {app.lineXS,
          app.lineXE,
          app.lineYT,
          app.lineYB,
          static_cast<float>(leadingNumber(ui.txtMinLabelX.text)),
          static_cast<float>(leadingNumber(ui.txtMaxLabelX.text)),
          static_cast<float>(leadingNumber(ui.txtMinLabelY.text)),
          static_cast<float>(leadingNumber(ui.txtMaxLabelY.text))};
}

std::optional<DataValue> pixelToData(const Calibration& c, float px, float py) {
  const float height = c.lineYB - c.lineYT;
  const float width = c.lineXE - c.lineXS;
  if (height <= 0 || width <= 0) return std::nullopt;
  const double x =
      (double(px) - c.lineXS) * (double(c.x1) - c.x0) / (double(c.lineXE) - c.lineXS) + c.x0;
  const double y =
      (double(c.lineYB) - py) * (double(c.y1) - c.y0) / (double(c.lineYB) - c.lineYT) + c.y0;
  return DataValue{static_cast<float>(x), static_cast<float>(y)};
}

DataValue PixelToData(const Form1& form, float px, float py) {
  return pixelToData(currentCalibration(form), px, py).value_or(DataValue{});
}

std::string rectangleReadOut(const Form1& form) {
  const AppState& app = form.app;
  return form.caption(68) + "l:" + singleText(app.lineXS) + " t:" + singleText(app.lineYT) +
         "  w:" + singleText(app.lineXE - app.lineXS) + " h:" + singleText(app.lineYB - app.lineYT);
}

}  // namespace plotvane
