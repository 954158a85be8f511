#include "picture/drawing.h"

#include <algorithm>

namespace plotvane {

void fillBox(PixelArray& image, int left, int top, int right, int bottom, std::uint32_t colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image.width() - 1);
  bottom = std::min(bottom, image.height() - 1);
  for (int y = top; y <= bottom; ++y) {
    std::uint32_t* row = image.row(y);
    std::fill(row + left, row + right + 1, colour & kRgbMask);
  }
}

}  // namespace plotvane
