#include "digitize/conversion.h"

#include <cmath>

#include "base/number_text.h"
#include "platform/controls.h"

namespace plotvane {

std::optional<DataValue> axisValuesAt(const Calibration& c, float px, float py) {
  const PixelRect& r = c.rect;
  if (r.height() <= 0 || r.width() <= 0) return std::nullopt;
  const double x =
      (double(px) - r.lineXS) * (double(c.x1) - c.x0) / (double(r.lineXE) - r.lineXS) + c.x0;
  const double y =
      (double(r.lineYB) - py) * (double(c.y1) - c.y0) / (double(r.lineYB) - r.lineYT) + c.y0;
  return DataValue{toSingle(x), toSingle(y)};
}

float gridPosition(const GridSnap& grid, int offset, int d, float extent) {
  if (!(grid.zoom > 0)) return 0;
  const double display = double(offset) + d;
  double p;
  if (grid.onGrid != 0 && grid.gridStep > 0)
    p = std::floor(display / grid.gridStep / grid.zoom + 0.5) * grid.gridStep;
  else
    p = display / grid.zoom;
  if (p < 0) p = 0;
  if (p >= extent) p = extent;
  return static_cast<float>(p);
}

int valueFieldWidth(std::string_view text) {
  int characters = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;  // not a UTF-8 continuation
  return 6 * characters * kTwipsPerPixel;
}

}  // namespace plotvane
