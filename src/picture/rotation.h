// Turning a picture by any angle: nearest-pixel resampling into a new
// picture just large enough for the turned one, its corners white. A positive
// angle turns the picture counter-clockwise on the screen.
#pragma once

#include <functional>
#include <optional>

#include "base/pixel_array.h"

namespace plotvane {

// The angle in degrees that the rotate dialog applies: base minus the entered
// angle for clockwise, base plus it for counter-clockwise, stored in single
// precision. OverflowError when the sum leaves the single-precision range.
float rotationAngle(float base, double entered, bool clockwise);

// Whole turns taken off or added in single precision until the angle lies in
// 0 ... 360: 360 stays 360, 720 gives 360, -360 gives 0, -1e-10 gives 360.
// Where 360 is too small to change a huge angle, its exact remainder is taken
// instead of stepping forever. Infinity and NaN come back unchanged.
float normaliseAngle(float angle);

// What a rotation of a width x height picture works with: the sine and cosine
// of the normalised angle, the result size and the offset of the result's
// origin. OverflowError for an angle that is not finite and for a result size
// beyond 32 bits.
struct RotationGeometry {
  float angle = 0;  // normalised
  float sinA = 0;
  float cosA = 1;
  int newWidth = 0;
  int newHeight = 0;
  int offsetX = 0;
  int offsetY = 0;
};
RotationGeometry rotationGeometry(int width, int height, float angle);

// Called once for each result column, left to right, when that column is
// complete, with its share of the whole in percent (column / (newWidth - 1)
// * 100, single precision); nothing for a result one column wide. Columns are
// made a strip of many at a time, so the calls come in runs. A rotation
// cannot be cancelled.
using RotateYield = std::function<void(std::optional<float> progress)>;

// Result pixel (x, y) is source pixel (sx, sy) with
//   sx = round(cosA * (x - offsetX) - sinA * (y - offsetY)),
//   sy = round(sinA * (x - offsetX) + cosA * (y - offsetY))
// in double precision, halves to even, when 0 <= sx < width - 1 and
// 0 <= sy < height - 1, and white otherwise: the source's last column and
// last row are never sampled. An empty source gives nothing: the picture is
// to stay as it is. OverflowError as rotationGeometry; std::bad_alloc when
// the result does not fit in memory.
std::optional<PixelArray> RotatePicture(const PixelArray& source, float angle,
                                        const RotateYield& yield = {});

}  // namespace plotvane
