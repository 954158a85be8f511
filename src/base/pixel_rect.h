// A rectangle on the working picture in picture pixels: the reference
// rectangle, a scanned area, an undo record's rectangle. Edges may be
// fractional; the left and top edges are inclusive positions, the right and
// bottom edges the positions just past the last pixel.
#pragma once

namespace plotvane {

struct PixelRect {
  float lineXS = 0;  // left
  float lineXE = 0;  // right
  float lineYT = 0;  // top
  float lineYB = 0;  // bottom

  float width() const { return lineXE - lineXS; }
  float height() const { return lineYB - lineYT; }
  bool operator==(const PixelRect&) const = default;
};

}  // namespace plotvane
