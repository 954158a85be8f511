// The pure conversion from picture pixels to axis values, and grid snapping
// of a dragged edge: value types in, values out.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/pixel_rect.h"

namespace plotvane {

struct DataValue {
  float x = 0;
  float y = 0;
};

// What the conversion reads: the rectangle in picture pixels and the scale
// values at its edges (x0 left, x1 right, y0 bottom, y1 top).
struct Calibration {
  PixelRect rect;
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};

// Linear conversion in double precision, stored as single precision. No
// result for a rectangle without width or height; OverflowError when a
// result lies beyond the single-precision range, so that nothing is stored.
std::optional<DataValue> axisValuesAt(const Calibration& calibration, float px, float py);

struct GridSnap {
  std::int16_t onGrid = 1;  // 0 off, anything else on
  float gridStep = 0.5f;    // picture pixels
  float zoom = 1;
};

// The picture position of an edge dragged to display coordinate d on an axis
// scrolled by offset display pixels: with snapping on, the nearest multiple
// of the pitch (halves up); with it off, or with a pitch of 0 or less, the
// plain position. Clamped to 0 ... extent. Without a picture (zoom 0) it is 0.
float gridPosition(const GridSnap& grid, int offset, int d, float extent);

// Width in twips of an on-picture value field holding this text: 6 display
// pixels per character. The window may draw a field wider when its font needs
// more room.
int valueFieldWidth(std::string_view text);

}  // namespace plotvane
