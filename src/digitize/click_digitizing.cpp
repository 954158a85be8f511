#include "digitize/click_digitizing.h"

#include <cmath>

#include "base/number_text.h"
#include "data/data_list.h"
#include "digitize/calibration.h"
#include "view/overlays.h"

namespace plotvane {

std::optional<PictureCentre> DarknessCentroid(const PixelArray& picture, int x1, int y1, int x2,
                                              int y2) {
  // Every sum is of whole numbers far below 2^53, so it is exact in double
  // whatever the order.
  double sumWX = 0, sumWY = 0, weight = 0;
  const int left = std::max(x1, 0), right = std::min(x2, picture.width());
  const int top = std::max(y1, 0), bottom = std::min(y2, picture.height());
  for (int y = top; y < bottom; ++y) {
    const std::uint32_t* row = picture.row(y);
    for (int x = left; x < right; ++x) {
      const std::uint32_t p = row[x];
      const int w = 255 - (redOf(p) + greenOf(p) + blueOf(p)) / 3;
      sumWX += double(x) * w;
      sumWY += double(y) * w;
      weight += w;
    }
  }
  if (weight == 0) return std::nullopt;
  return PictureCentre{static_cast<float>(sumWX / weight), static_cast<float>(sumWY / weight)};
}

void PlotOnePoint(Form1& form) {
  form.app.cancelRequested = false;
  const ShapeControl& square = form.ui.shapPicUpRange;
  const std::int16_t left = roundToInt16(square.left);
  const std::int16_t right = roundToInt16(square.left + square.width);
  const std::int16_t top = roundToInt16(square.top);
  const std::int16_t bottom = roundToInt16(square.top + square.height);
  const float zoom = form.app.zoom;
  const auto h = static_cast<float>(form.ui.HScroll1.value);
  const auto v = static_cast<float>(form.ui.VScroll1.value);
  const int x1 = roundToInt16((h + left) / zoom);
  const int y1 = roundToInt16((v + top) / zoom);
  const int x2 = roundToInt16((h + right) / zoom);
  const int y2 = roundToInt16((v + bottom) / zoom);
  const std::optional<PictureCentre> centre =
      DarknessCentroid(form.state.Picture2.pixels(), x1, y1, x2, y2);
  if (!centre) return;
  const float px = centre->x + 0.5f;
  const float py = centre->y + 0.5f;
  ShowPointMarker(form, px, py);
  const DataValue value = PixelToData(form, px, py);
  const auto height = static_cast<float>(form.state.Picture2.height());
  const float yPixel = height - 1 - centre->y - 0.5f;
  (void)appendDataPoint(form, value.x, value.y, px, yPixel);
}

void ManualPlot(Form1& form, float x, float y) {
  form.app.cancelRequested = false;
  Form1Controls& ui = form.ui;
  // The click cross: arms of 12 display pixels at every zoom.
  ui.Line5.x1 = x, ui.Line5.y1 = y - 12, ui.Line5.x2 = x, ui.Line5.y2 = y + 12;
  ui.Line6.x1 = x - 12, ui.Line6.y1 = y, ui.Line6.x2 = x + 12, ui.Line6.y2 = y;
  ui.Line5.visible = ui.Line6.visible = true;
  const float zoom = form.app.zoom;
  const float px = (static_cast<float>(ui.HScroll1.value) + x) / zoom;
  const float py = (static_cast<float>(ui.VScroll1.value) + y) / zoom;
  const DataValue value = PixelToData(form, px, py);
  const float yPixel = (static_cast<float>(form.state.Picture2.height()) - 1) - py;
  if (appendDataPoint(form, value.x, value.y, px, yPixel) == AddResult::Added)
    DrawPointMarks(form, 0);
}

}  // namespace plotvane
