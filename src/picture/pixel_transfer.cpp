#include "picture/pixel_transfer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "base/number_text.h"

namespace plotvane {

void ReadPixels(const PixelArray& picture, PixelArray& array) {
  array = picture;
  array.clearTopBytes();
}

void WritePixels(PixelArray& picture, const PixelArray& array) {
  picture = array;
  picture.clearTopBytes();
}

PixelArray reducePicture(const PixelArray& picture, int shift) {
  const int step = 1 << shift;
  PixelArray reduced((picture.width() + step - 1) >> shift, (picture.height() + step - 1) >> shift);
  for (int y = 0; y < reduced.height(); ++y) {
    const std::uint32_t* in = picture.row(y << shift);
    std::uint32_t* out = reduced.row(y);
    for (int x = 0; x < reduced.width(); ++x) out[x] = in[std::size_t(x) << shift];
  }
  return reduced;
}

BlitExtent blitExtent(int viewWidth, int viewHeight, float zoom) {
  if (!(zoom > 0)) throw std::domain_error("Division by zero");
  BlitExtent extent;
  extent.cols = roundToInt16(std::floor(viewWidth / double(zoom)) + 1);
  extent.rows = roundToInt16(std::floor(viewHeight / double(zoom)) + 1);
  extent.destW = roundToInt16(static_cast<float>(extent.cols) * zoom);
  extent.destH = roundToInt16(static_cast<float>(extent.rows) * zoom);
  return extent;
}

namespace {

// Picture column (or row) shown at display position d.
inline long long sourceIndex(long long origin, int d, double zoom) {
  return origin + static_cast<long long>(std::floor(d / zoom));
}

// The display positions [first, last) whose source index lies in [0, size).
struct Span {
  int first = 0, last = 0;
};
Span visibleSpan(long long origin, int count, double zoom, int size) {
  Span span{count, count};
  // Source indexes grow with d, so both ends are found by bisection.
  int lo = 0, hi = count;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (sourceIndex(origin, mid, zoom) >= 0)
      hi = mid;
    else
      lo = mid + 1;
  }
  span.first = lo;
  lo = span.first;
  hi = count;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (sourceIndex(origin, mid, zoom) >= size)
      hi = mid;
    else
      lo = mid + 1;
  }
  span.last = lo;
  return span;
}

}  // namespace

void BlitZoomed(const PixelArray& picture, PixelArray& view, float zoom, float srcX, float srcY,
                std::uint32_t background) {
  const int viewW = view.width();
  const int viewH = view.height();
  const BlitExtent extent = blitExtent(viewW, viewH, zoom);
  const long long originX = roundToInt32(srcX);
  const long long originY = roundToInt32(srcY);
  background &= kRgbMask;
  if (view.empty()) return;

  const double z = zoom;
  const int drawW = std::min(extent.destW, viewW);
  const int drawH = std::min(extent.destH, viewH);
  const Span xs = visibleSpan(originX, drawW, z, picture.width());
  const Span ys = visibleSpan(originY, drawH, z, picture.height());

  // Source column of every visible display column, relative to the row start.
  std::vector<std::uint32_t> columns;
  const bool straight = z == 1.0;
  if (!straight) {
    columns.resize(static_cast<std::size_t>(std::max(0, xs.last - xs.first)));
    for (int dx = xs.first; dx < xs.last; ++dx)
      columns[static_cast<std::size_t>(dx - xs.first)] =
          static_cast<std::uint32_t>(sourceIndex(originX, dx, z));
  }

  long long previousSource = -1;
  for (int dy = 0; dy < viewH; ++dy) {
    std::uint32_t* out = view.row(dy);
    if (dy < ys.first || dy >= ys.last || xs.first >= xs.last) {
      std::fill_n(out, viewW, background);
      previousSource = -1;
      continue;
    }
    const long long sy = sourceIndex(originY, dy, z);
    if (sy == previousSource) {
      std::memcpy(out, view.row(dy - 1), static_cast<std::size_t>(viewW) * sizeof *out);
      continue;
    }
    previousSource = sy;
    std::fill_n(out, xs.first, background);
    const std::uint32_t* in = picture.row(static_cast<int>(sy));
    if (straight) {
      std::memcpy(out + xs.first, in + originX + xs.first,
                  static_cast<std::size_t>(xs.last - xs.first) * sizeof *out);
    } else {
      const std::uint32_t* column = columns.data();
      std::uint32_t* target = out + xs.first;
      for (int i = 0, n = xs.last - xs.first; i < n; ++i) target[i] = in[column[i]];
    }
    std::fill(out + xs.last, out + viewW, background);
  }
}

}  // namespace plotvane
