// The colour mask: keeps the pixels whose hue is close to a chosen colour and
// paints the rest white, or whitens the close ones and keeps the rest.
#pragma once

#include <optional>

#include "base/pixel_array.h"
#include "filters/filter_pass.h"

namespace plotvane {

struct ColourMaskParams {
  // The selected colour, each component 0 to 255 (others are taken as the
  // nearer end).
  int red = 0, green = 0, blue = 0;
  float tolerance = 50;
  // True: keep the matching pixels and whiten the rest. False: whiten the
  // matching pixels and keep the rest.
  bool keepMode = true;
};

// A colour's shares: (255 - c) / (765 - r - g - b) * 255 for each component c,
// computed in double precision and rounded half to even; they add up to about
// 255 and are (85, 85, 85) for every grey. The pixel (r, g, b) matches the
// selection (sr, sg, sb) when each of its shares exceeds the selection's by at
// most tol (signed differences); a white selection has the shares (0, 0, 0).
// A white pixel is never changed; otherwise the pixel is set to white when it
// matches and keepMode is false, or does not match and keepMode is true.
// Components are 0 to 255; others are taken as the nearer end for the test.
void MaskPixel(int& r, int& g, int& b, int sr, int sg, int sb, float tol, bool keepMode);

// MaskPixel over every pixel of the picture (top byte 0). Nothing when yield
// cancels; the source is never changed.
std::optional<PixelArray> ApplyColourMask(const PixelArray& picture, const ColourMaskParams& params,
                                          const FilterYield& yield = {});

// The same into result, which takes the picture's size and keeps its storage
// when it already has that size. False when yield cancels: result then holds
// a partly done pass (or its old pixels when it is the picture itself).
bool ApplyColourMask(const PixelArray& picture, PixelArray& result, const ColourMaskParams& params,
                     const FilterYield& yield = {});

}  // namespace plotvane
