// The two graph types that digitize a click: Plot 1 Point takes the
// darkness-weighted centre of the pixels under the pick-up square, Manual
// Plotting the clicked position itself. Both append to the list as it is.
#pragma once

#include <optional>

#include "app/form1.h"
#include "base/pixel_array.h"

namespace plotvane {

struct PictureCentre {
  float x = 0;
  float y = 0;
};

// The centre of columns x1 ... x2 - 1 and rows y1 ... y2 - 1 weighted by
// darkness, 255 - Int((r + g + b) / 3): white weighs nothing, black 255.
// Positions outside the picture read as white. Nothing when the square holds
// no weight at all.
std::optional<PictureCentre> DarknessCentroid(const PixelArray& picture, int x1, int y1, int x2,
                                              int y2);

// The release of a click with the pick-up square shown: a point at the
// darkness-weighted centre under the square, and the marker on it. Nothing
// over a white square.
void PlotOnePoint(Form1& form);

// The release of a click with Manual Plotting: the click cross at (x, y) in
// display pixels and a point at that picture position, not rounded.
void ManualPlot(Form1& form, float x, float y);

}  // namespace plotvane
