// What Trace Line and Trace Surface share: their parameters, the reports at
// their yield points, their result, the placement of the sampled columns and
// the row-wise scan that reads the intensities of those columns.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/data_point.h"
#include "base/pixel_array.h"
#include "base/pixel_rect.h"

namespace plotvane {

// Everything a trace reads, taken once when the run starts.
struct TraceParams {
  PixelRect rect;            // the reference rectangle in picture pixels
  float minX = 0;            // X value of column 0
  float minY = 0, maxY = 0;  // Y values at the bottom and the top line
  int divisions = 1;         // n: columns 0 to n are sampled, 1 to 32766
  double pitch = 0;          // X value step between two columns
  int filter = 1;            // rows in the vertical smoothing window: odd, 1 to 127
};

enum class TracePass {
  Scan = 1,    // reading the columns; a cancel here appends nothing
  Points = 2,  // making the points; a cancel keeps the points made so far
};

// A picture position (x to the right, y down from the top row).
struct MarkerPosition {
  float x = 0;
  float y = 0;
};

// What a trace reports each time it yields to the event queue.
struct TraceYield {
  TracePass pass = TracePass::Scan;
  int column = 0;  // the column about to be worked on
  // Scan pass: where the marker cross stands, at the last column scanned;
  // empty before the first column.
  std::optional<MarkerPosition> marker;
  // Points pass: the points made so far (columns 0 to column - 1), in order.
  std::span<const DataPoint> points;
};

// Called at every yield point; returning false cancels the run there.
using TraceYieldFn = std::function<bool(const TraceYield&)>;

enum class TraceEnd { Completed, CancelledInScan, CancelledInPoints };

struct TraceResult {
  // One point per column, left to right, as they go into the list. Empty
  // after a cancel in the scan pass; the points made before the cancel
  // after a cancel in the points pass.
  std::vector<DataPoint> points;
  TraceEnd end = TraceEnd::Completed;
};

// The Y-filtering window height from cmbFRange's text: an odd whole number
// from 1 to 127, or nothing.
std::optional<int> yFilterHeight(const std::string& text);

// Throws std::invalid_argument for a division count outside 1 to 32766, a
// filter that is not odd from 1 to 127, or a rectangle, pitch or scale value
// that is not finite.
void checkTraceParams(const TraceParams& params);

// Distance in picture pixels between two sampled columns.
float columnStep(const TraceParams& params);

// Picture x of column i (unrounded); the sampled pixel column is its floor.
inline float columnPosition(int column, float step, float lineXS) {
  return static_cast<float>(column) * step + lineXS;
}

// The pixel column read for each of the n + 1 sampled columns, kept inside
// the picture (0 for a picture without columns).
std::vector<int> sampledColumns(const TraceParams& params, int pictureWidth);

// X value of column i: the exact grid i * pitch + minX. OverflowError when it
// lies beyond the single-precision range.
float columnXData(const TraceParams& params, int column);

// The points pass of both traces. `yPixels` holds each column's row counted
// upward from the bottom row; the Y value is the linear scale between the
// bottom and the top line, in single precision. OverflowError, before the
// first yield, when an X or Y value does not fit single precision.
TraceResult makeTracePoints(const TraceParams& params, int pictureHeight,
                            std::span<const float> yPixels, const TraceYieldFn& onYield);

// Runs onYield if there is one; false when the run is to stop.
inline bool goOn(const TraceYieldFn& onYield, const TraceYield& report) {
  return !onYield || onYield(report);
}

// Row number rounded to the nearest integer, halves to even, kept within
// +/- 2^30 so that row arithmetic cannot overflow.
int roundRow(float value);

// A window sum divided by the window height F, rounded to the nearest
// integer. For odd F a quotient never ends in exactly one half: it stays at
// least 1 / (2F) >= 1/254 from it, far beyond the error of a single-precision
// reciprocal, so this agrees with the division rounded halves to even.
inline int smoothedIntensity(int sum, float inverseFilter) {
  return static_cast<int>(static_cast<float>(sum) * inverseFilter + 0.5f);
}

// The rows of a column that a trace looks at, in picture rows before any
// clamping: the rows it uses [first, last], and the rows [smoothFirst,
// smoothLast] that take the mean of the `half` rows either side.
struct RowPlan {
  int first = 0, last = -1;
  int smoothFirst = 0, smoothLast = -1;
  int half = 0;
};

// Rows smoothed as the traces place the window: from round(half + lineYT)
// to round(lineYB - half - 1).
RowPlan smoothingRows(const TraceParams& params, int first, int last);

// Reads the intensity Int((r + g + b) / 3) of the given pixel columns row by
// row, smooths where the plan says, and hands every used row, in increasing
// order, to `visit` with one value per column. Rows outside the picture are
// never read or used; the smoothing keeps to windows that lie in the picture.
// With `blackAsOne`, pure black reads as 1.
class ColumnScan {
 public:
  using Visit = std::function<void(int row, const std::uint8_t* values)>;

  ColumnScan(const PixelArray& picture, const RowPlan& plan, int filter, bool blackAsOne);

  // The first row that reaches `visit`.
  int firstRow() const { return first_; }

  // Scans the pixel columns `columns`; may run again for other columns.
  void scan(std::span<const int> columns, const Visit& visit);

  // Columns that the traces scan at once: a block reads whole rows of most
  // pictures, which streams from memory, and its working rows stay in the
  // L2 cache.
  static constexpr int kBlockColumns = 8192;

 private:
  void readRow(int row, std::span<const int> columns, bool adjacent, std::uint8_t* out) const;

  const PixelArray& picture_;
  bool blackAsOne_;
  int filter_, half_;
  float inverseFilter_;
  int first_, last_;              // rows handed to visit
  int readFirst_, readLast_;      // rows read
  int smoothFirst_, smoothLast_;  // rows smoothed
  std::vector<std::uint8_t> ring_, values_;
  std::vector<std::uint16_t> sums_;
};

}  // namespace plotvane
