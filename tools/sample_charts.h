// The sample charts that the build writes for the README's run command and
// that the end-to-end tests digitize: a line chart, a scatter plot and a
// filled area chart, 640 x 480. Light grid, no frame, and the axis ends at
// the picture's edges, so that Select All with the scale 0 to 1 on both axes
// already calibrates them.
#pragma once

#include "base/pixel_array.h"

namespace plotvane {

PixelArray lineChart();
PixelArray scatterChart();
PixelArray areaChart();

}  // namespace plotvane
