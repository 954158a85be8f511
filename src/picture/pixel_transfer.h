// The three transfers of the working picture: into an array, back from an
// array, and the nearest-neighbour scaled copy that produces the view.
#pragma once

#include <cstdint>

#include "base/pixel_array.h"

namespace plotvane {

// The array becomes a copy of the picture, top bytes 0.
void ReadPixels(const PixelArray& picture, PixelArray& array);

// The picture becomes a copy of the array (its size included); top bytes are
// dropped.
void WritePixels(PixelArray& picture, const PixelArray& array);

// How a scaled copy covers a view of the given size: cols x rows picture
// pixels (one more than fits each way) to a destW x destH rectangle at the
// view's top-left corner. OverflowError when a count leaves 16 bits;
// std::domain_error for a zoom that is not positive.
struct BlitExtent {
  int cols = 0, rows = 0;
  int destW = 0, destH = 0;
};
BlitExtent blitExtent(int viewWidth, int viewHeight, float zoom);

// Every 2^shift-th pixel of every 2^shift-th row, from (0, 0): what the
// view shows at zoom 2^-shift, so that view is a plain copy from it.
PixelArray reducePicture(const PixelArray& picture, int shift);

// Fills the whole view: display pixel (dx, dy) inside the destination
// rectangle shows picture pixel (round(srcX) + floor(dx / zoom),
// round(srcY) + floor(dy / zoom)); everything else, including positions past
// the picture's edges, is the background colour. No blending.
void BlitZoomed(const PixelArray& picture, PixelArray& view, float zoom, float srcX, float srcY,
                std::uint32_t background);

}  // namespace plotvane
