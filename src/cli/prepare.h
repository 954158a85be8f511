// The command line's picture preparation: the steps the window's picture
// commands take, run in the order given, each with the routine the window's
// command runs.
#pragma once

#include <variant>
#include <vector>

#include "base/pixel_array.h"
#include "filters/colour_mask.h"

namespace plotvane {

// A rotation by the angle the rotate dialog stores (normalised to 0 ... 360).
struct RotateStep {
  float angle = 0;
};

// One pass of the brightness and contrast dialog with both sliders set.
struct BrightnessContrastStep {
  int contrast = 0;
  int brightness = 0;
};

// One pass of the colour mask dialog.
struct ColourMaskStep {
  ColourMaskParams params;
};

// One eraser dab at zoom 1 on an unscrolled view: the pointer position (in
// single precision, as pointer events carry it) and the eraser size.
struct EraseStep {
  float x = 0, y = 0;
  double size = 1;
};

using PrepareStep = std::variant<RotateStep, BrightnessContrastStep, ColourMaskStep, EraseStep>;

// The angle the rotate dialog applies for a signed angle: positive as "CCW",
// negative as "CW" with its magnitude. OverflowError when it leaves the
// single-precision range.
float rotateDialogAngle(double degrees);

// Runs the steps on the picture. OverflowError and std::bad_alloc as
// RotatePicture throws them; the picture is then left at some step.
void preparePicture(PixelArray& picture, const std::vector<PrepareStep>& steps);

}  // namespace plotvane
