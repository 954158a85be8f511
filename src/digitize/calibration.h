// The reference rectangle and values, the one conversion from picture
// pixels to axis values, grid snapping, and the change handling of the
// calibration fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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
// again with the leading-number parse at every call. OverflowError when a
// scale text holds a value beyond the single-precision range.
Calibration currentCalibration(const Form1& form);

// Linear conversion in double precision, stored as single precision. No
// result for a rectangle without width or height; OverflowError when a
// result lies beyond the single-precision range, so that nothing is stored.
std::optional<DataValue> pixelToData(const Calibration& calibration, float px, float py);

// The conversion as every caller uses it: (0, 0) when there is no result.
DataValue PixelToData(const Form1& form, float px, float py);

// "Selected Area : l:0 t:0  w:640 h:480" in the current language.
std::string rectangleReadOut(const Form1& form);

struct GridSnap {
  std::int16_t onGrid = 1;  // 0 off, anything else on
  float gridStep = 0.5f;    // picture pixels
  float zoom = 1;
};

// The picture position of an edge dragged to display coordinate d on an axis
// scrolled by offset display pixels: with snapping on, the nearest multiple
// of the pitch (halves up); with it off, or with a pitch of 0 or less, the
// plain position. Clamped to 0 ... extent. Without a picture (zoom 0) it is 0.
float snapToGrid(const GridSnap& grid, int offset, int d, float extent);

// snapToGrid with the grid setting and zoom of the application state.
float SnapToGrid(const Form1& form, int offset, std::int16_t d, float extent);

// Width in twips of an on-picture value field holding this text: 6 display
// pixels per character. The window may draw a field wider when its font needs
// more room.
int valueFieldWidth(std::string_view text);

// Whether an on-picture value field (txtLXS, txtLXE, txtLYT, txtLYB) holds
// text that does not convert, to be shown in an error style. False for any
// other control.
bool valueFieldInvalid(const Form1& form, const Control& field);

// Installs the change handling of the four scale fields, the four on-picture
// value fields, txtGrid, chkOnGrid (its Click), txtPicUpRange and txtErs,
// and sizes the two footprints from their fields' current texts. The handlers
// keep a reference to form.
void installCalibrationHandlers(Form1& form);

}  // namespace plotvane
