// The graph types of cmbGraphType, as its 1-based selection.
#pragma once

namespace plotvane {

enum GraphType : int {
  kTraceLine = 1,
  kPlotAllPoints = 2,
  kPlotOnePoint = 3,
  kTraceSurface = 4,
  kManualPlotting = 5,
};

// The types whose result is drawn as a polyline over the picture.
constexpr bool tracesPolyline(int type) {
  return type == kTraceLine || type == kTraceSurface;
}

}  // namespace plotvane
