// The conversion and grid snapping as the handlers use them: the reference
// rectangle of the working picture, the scale values read from the scale
// fields' texts, the grid setting and zoom of the application state.
#pragma once

#include <cstdint>

#include "app/form1.h"
#include "digitize/conversion.h"

namespace plotvane {

// The rectangle and the four scale texts, read again with the leading-number
// parse at every call: the conversion follows what the fields show, even
// text that the user is still typing. OverflowError when a scale text holds
// a value beyond the single-precision range.
Calibration currentCalibration(const Form1& form);

// The conversion as every caller uses it: (0, 0) when there is no result.
DataValue PixelToData(const Form1& form, float px, float py);

// gridPosition with the grid setting and zoom of the application state.
float SnapToGrid(const Form1& form, int offset, std::int16_t d, float extent);

}  // namespace plotvane
