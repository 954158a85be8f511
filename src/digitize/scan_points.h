// Plot All Points: one point per connected dark blob inside the reference
// rectangle, at the blob's centre of mass. The pixel work only; the handler
// owns the controls, the list and the red squares on the view.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "base/data_point.h"
#include "base/pixel_array.h"
#include "digitize/conversion.h"

namespace plotvane {

// A cell of the scan grid, in picture pixels (y downwards).
struct PictureCell {
  int x = 0;
  int y = 0;
  bool operator==(const PictureCell&) const = default;
};

struct ScanPointsParams {
  // The rectangle to scan and the scale values that PixelToData uses.
  Calibration calibration;
  // H, the picture height as the view scales it: yPixel counts rows upward
  // from row H - 1.
  float pictureHeight = 0;
  // Collect every red square in painting order (a cell can repeat).
  bool recordPainted = false;
};

enum class ScanStage {
  Marking,  // after an even column of the marking pass
  Row,      // after an even row of the blob pass
  Blob,     // after a blob's fill, before its point is added
};

// What the run shows at a yield point. The spans cover everything found so
// far (valid during the call only), so a handler can append points and paint
// squares as the run goes.
struct ScanPointsProgress {
  ScanStage stage = ScanStage::Marking;
  int position = 0;      // the column (Marking), the row (Row) or the blob's start row (Blob)
  int progressBar = -1;  // the value the progress bar shows; -1 before the first one
  std::span<const DataPoint> points;
  std::span<const PictureCell> painted;
};

// Called at every yield point; returning false stops the run as a Cancel does.
using ScanPointsYield = std::function<bool(const ScanPointsProgress&)>;

enum class ScanPointsStatus {
  Completed,
  Stopped,   // the yield callback returned false
  SumError,  // a blob's spans held no dark cell: "SumX,SumY ERROR", the run ends
};

struct ScanPointsResult {
  ScanPointsStatus status = ScanPointsStatus::Completed;
  std::vector<DataPoint> points;     // in the order the list receives them
  std::vector<PictureCell> painted;  // only with recordPainted
};

// Finds the blobs of pixels with r + g + b <= 600 inside the rectangle (its
// row and column ranges clamped to the picture), top row first, each row left
// to right, and returns one point per blob.
ScanPointsResult scanPoints(const PixelArray& picture, const ScanPointsParams& params,
                            const ScanPointsYield& yield = {});

// The value the marking pass shows on the progress bar at column x, or none
// when the bar stays as it is: pct = (x - lineXS) / (lineXE - lineXS) * 100 in
// single precision, shown as Int(pct), within 0 to 100, when pct rounded
// (halves to even) is a multiple of 5.
std::optional<int> scanProgressValue(int x, float lineXS, float lineXE);

// The red square of a visited cell on the view, in display pixels, corners
// rounded (halves to even) and ordered; both corners are inside the square.
struct DisplayBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const DisplayBox&) const = default;
};
DisplayBox visitedCellBox(PictureCell cell, float zoom, int hScroll, int vScroll);

}  // namespace plotvane
