#include "picture/overlays.h"

namespace plotvane {

// The overlay module fills these in; the view calls them at the points where
// the overlays follow the picture.
void PlaceReferenceLines(Form1&) {}
void PlaceReferenceLabels(Form1&) {}
void DrawPointMarks(Form1&, std::uint32_t) {}
void DrawTracePolyline(Form1&) {}

}  // namespace plotvane
