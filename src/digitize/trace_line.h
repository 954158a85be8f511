// Trace Line: one point per sampled column of a line graph, at the middle of
// the darkest band of the column.
#pragma once

#include "base/pixel_array.h"
#include "digitize/column_scan.h"

namespace plotvane {

// Samples the reference rectangle in n + 1 columns; in each, the rows darker
// than 200 (of 255) compete and the point lies midway between the first and
// the last darkest row, on the centre of the pixel row. A column with nothing
// darker gives the bottom line. `onYield` runs at every even column of the
// scan pass and at every hundredth column of the points pass.
// Throws std::invalid_argument for parameters that checkTraceParams refuses.
TraceResult traceLine(const PixelArray& picture, const TraceParams& params,
                      const TraceYieldFn& onYield = {});

}  // namespace plotvane
