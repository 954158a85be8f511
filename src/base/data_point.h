// One point of the data list: its two axis values and its picture position,
// with YPixel counted upward from the bottom row (picture row =
// (picture height - 1) - YPixel).
#pragma once

namespace plotvane {

struct DataPoint {
  float XData = 0;
  float YData = 0;
  float XPixel = 0;
  float YPixel = 0;
  bool operator==(const DataPoint&) const = default;
};

}  // namespace plotvane
