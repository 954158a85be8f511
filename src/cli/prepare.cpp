#include "cli/prepare.h"

#include <cmath>

#include "filters/brightness_contrast.h"
#include "picture/drawing.h"
#include "picture/rotation.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

struct StepRunner {
  PixelArray& picture;

  void operator()(const RotateStep& step) const {
    // An empty picture stays as it is, as in the window.
    if (std::optional<PixelArray> turned = RotatePicture(picture, step.angle))
      picture = std::move(*turned);
  }
  void operator()(const BrightnessContrastStep& step) const {
    ApplyBrightnessContrast(picture, picture, step.contrast, step.brightness);
  }
  void operator()(const ColourMaskStep& step) const {
    ApplyColourMask(picture, picture, step.params);
  }
  void operator()(const EraseStep& step) const {
    // The eraser's dab at zoom 1 and scroll 0: centre (0 + x) / 1 in double
    // precision, radius size - 1.
    fillDisc(picture, double(step.x), double(step.y), step.size - 1, kWhite);
  }
};

}  // namespace

float rotateDialogAngle(double degrees) {
  const bool clockwise = std::signbit(degrees);
  return normaliseAngle(rotationAngle(0, std::fabs(degrees), clockwise));
}

void preparePicture(PixelArray& picture, const std::vector<PrepareStep>& steps) {
  for (const PrepareStep& step : steps) std::visit(StepRunner{picture}, step);
}

}  // namespace plotvane
