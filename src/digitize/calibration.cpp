#include "digitize/calibration.h"

#include "base/number_text.h"

namespace plotvane {

Calibration currentCalibration(const Form1& form) {
  const Form1Controls& ui = form.ui;
  return {form.state.Picture2.rect(), toSingle(leadingNumber(ui.txtMinLabelX.text)),
          toSingle(leadingNumber(ui.txtMaxLabelX.text)),
          toSingle(leadingNumber(ui.txtMinLabelY.text)),
          toSingle(leadingNumber(ui.txtMaxLabelY.text))};
}

DataValue PixelToData(const Form1& form, float px, float py) {
  return axisValuesAt(currentCalibration(form), px, py).value_or(DataValue{});
}

float SnapToGrid(const Form1& form, int offset, std::int16_t d, float extent) {
  return gridPosition({form.app.onGrid, form.app.gridStep, form.app.zoom}, offset, d, extent);
}

}  // namespace plotvane
