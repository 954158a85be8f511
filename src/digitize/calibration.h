// The reference rectangle and values, and the one conversion from picture
// pixels to axis values.
#pragma once

#include <optional>
#include <string>

#include "app/form1.h"

namespace plotvane {

struct DataValue {
  float x = 0;
  float y = 0;
};

// What the conversion reads: the rectangle in picture pixels and the scale
// values at its edges (x0 left, x1 right, y0 bottom, y1 top).
struct Calibration {
  float lineXS = 0, lineXE = 0, lineYT = 0, lineYB = 0;
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};

// The rectangle of the application state and the four scale texts, read
// again with the leading-number parse at every call.
Calibration currentCalibration(const Form1& form);

// Linear conversion in double precision, stored as single precision. No
// result for a rectangle without width or height.
std::optional<DataValue> pixelToData(const Calibration& calibration, float px, float py);

// The conversion as every caller uses it: (0, 0) when there is no result.
DataValue PixelToData(const Form1& form, float px, float py);

// "Selected Area : l:0 t:0  w:640 h:480" in the current language.
std::string rectangleReadOut(const Form1& form);

}  // namespace plotvane
