// How a filter pass over a picture reports progress and learns of a cancel.
// The filters map every pixel of a source picture into a result picture that
// the caller takes over only when the pass ran to the end.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>

#include "base/pixel_array.h"

namespace plotvane {

// Called after every tenth column (0, 10, 20, ...) with that column and the
// value the progress bar shows (0 to 100); returning false cancels the pass.
// An empty function never cancels.
using FilterYield = std::function<bool(int column, int progress)>;

inline constexpr int kFilterYieldStep = 10;

// floor(column / (width - 1) * 100) in double precision. A picture one column
// wide reports 100: its only column is also its last.
inline int filterProgress(int column, int width) {
  if (width <= 1) return 100;
  return static_cast<int>(std::floor(double(column) / double(width - 1) * 100));
}

// Runs mapRows(firstRow, endRow) over all rows of a width x height picture in
// bands, calling yield where a column-by-column pass would: before the yield
// after column x, the rows done are the share (x + 1) / width of the picture,
// rounded up. Returns false when yield cancels; the rows after that are not
// mapped.
template <class MapRows>
bool runFilterPass(int width, int height, const FilterYield& yield, MapRows&& mapRows) {
  int rowsDone = 0;
  for (std::int64_t x = 0; x < width; x += kFilterYieldStep) {
    const auto rowsDue = static_cast<int>(((x + 1) * height + width - 1) / width);
    if (rowsDue > rowsDone) {
      mapRows(rowsDone, rowsDue);
      rowsDone = rowsDue;
    }
    const int column = static_cast<int>(x);
    if (yield && !yield(column, filterProgress(column, width))) return false;
  }
  if (rowsDone < height) mapRows(rowsDone, height);
  return true;
}

// Gives result the picture's size, keeping its storage when the size is the
// same: a reused result saves the system's first touch of fresh pages, which
// on a large picture costs more than the pass itself.
inline void sizeResultLike(const PixelArray& picture, PixelArray& result) {
  if (result.width() != picture.width() || result.height() != picture.height())
    result = PixelArray(picture.width(), picture.height());
}

}  // namespace plotvane
