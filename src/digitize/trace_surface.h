// Trace Surface: one point per sampled column of an area graph, on the top
// surface of the dark filled region.
#pragma once

#include "base/pixel_array.h"
#include "digitize/column_scan.h"

namespace plotvane {

// Samples the reference rectangle in n + 1 columns; in each, the point is the
// first row below the largest drop in intensity between two neighbouring rows
// (the topmost among equal drops), if that drop exceeds 10. Pure black reads
// as 1. A column without such a drop gives the bottom line. Yields as
// traceLine does. Throws std::invalid_argument for parameters that
// checkTraceParams refuses.
TraceResult traceSurface(const PixelArray& picture, const TraceParams& params,
                         const TraceYieldFn& onYield = {});

}  // namespace plotvane
