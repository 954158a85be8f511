// What is drawn over the picture: the reference rectangle's lines and value
// labels, the point crosses and the trace polyline.
#pragma once

#include <cstdint>

#include "app/form1.h"

namespace plotvane {

void PlaceReferenceLines(Form1& form);
void PlaceReferenceLabels(Form1& form);
// Draws into the view image; colour 0 means the default colour.
void DrawPointMarks(Form1& form, std::uint32_t colour);
void DrawTracePolyline(Form1& form);

}  // namespace plotvane
