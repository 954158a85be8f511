// Drawing into the view image.
#pragma once

#include <cstdint>

#include "picture/pixel_array.h"

namespace plotvane {

// Fills the box from (left, top) to (right, bottom), both corners included,
// clipped to the image.
void fillBox(PixelArray& image, int left, int top, int right, int bottom, std::uint32_t colour);

}  // namespace plotvane
