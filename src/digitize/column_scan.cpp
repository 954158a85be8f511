#include "digitize/column_scan.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "base/number_text.h"

namespace plotvane {

std::optional<int> yFilterHeight(const std::string& text) {
  const std::optional<double> value = strictNumber(text);
  if (!value || !(*value >= 1 && *value <= 127) || *value != std::floor(*value))
    return std::nullopt;
  const int height = static_cast<int>(*value);
  if (height % 2 == 0) return std::nullopt;
  return height;
}

namespace {

constexpr int kRowLimit = 1 << 30;

// sum / 3 for sums up to 765, as a 16-bit multiply-high that vectorises:
// 21846 / 65536 exceeds 1/3 by 1/196608, too little to reach the next
// integer below 766.
constexpr std::uint8_t thirdOf(std::uint16_t sum) {
  return static_cast<std::uint8_t>((static_cast<std::uint32_t>(sum) * 21846u) >> 16);
}
static_assert([] {
  for (std::uint16_t sum = 0; sum <= 765; ++sum)
    if (thirdOf(sum) != sum / 3) return false;
  return true;
}());

template <bool kBlackAsOne>
inline std::uint8_t intensity(std::uint32_t pixel) {
  const auto sum =
      static_cast<std::uint16_t>(((pixel >> 16) & 255u) + ((pixel >> 8) & 255u) + (pixel & 255u));
  if constexpr (kBlackAsOne) {
    if (sum == 0) return 1;
  }
  return thirdOf(sum);
}

template <bool kBlackAsOne>
void readContiguous(const std::uint32_t* pixels, int count, std::uint8_t* out) {
  for (int k = 0; k < count; ++k) out[k] = intensity<kBlackAsOne>(pixels[k]);
}

template <bool kBlackAsOne>
void readGathered(const std::uint32_t* row, const int* columns, int count, std::uint8_t* out) {
  for (int k = 0; k < count; ++k) out[k] = intensity<kBlackAsOne>(row[columns[k]]);
}

bool contiguous(std::span<const int> columns) {
  for (std::size_t k = 1; k < columns.size(); ++k)
    if (columns[k] != columns[0] + static_cast<int>(k)) return false;
  return true;
}

}  // namespace

void checkTraceParams(const TraceParams& p) {
  if (p.divisions < 1 || p.divisions > 32766)
    throw std::invalid_argument("division count outside 1 to 32766");
  if (p.filter < 1 || p.filter > 127 || p.filter % 2 == 0)
    throw std::invalid_argument("Y-filtering is not an odd number from 1 to 127");
  for (const float value :
       {p.rect.lineXS, p.rect.lineXE, p.rect.lineYT, p.rect.lineYB, p.minX, p.minY, p.maxY})
    if (!std::isfinite(value)) throw std::invalid_argument("rectangle or scale value not finite");
  if (!std::isfinite(p.pitch)) throw std::invalid_argument("pitch not finite");
}

float columnStep(const TraceParams& p) {
  return (p.rect.lineXE - p.rect.lineXS) / static_cast<float>(p.divisions);
}

std::vector<int> sampledColumns(const TraceParams& p, int pictureWidth) {
  const float step = columnStep(p);
  std::vector<int> columns(static_cast<std::size_t>(p.divisions) + 1);
  for (int i = 0; i <= p.divisions; ++i) {
    const float x = std::floor(columnPosition(i, step, p.rect.lineXS));
    int column = 0;
    if (x >= static_cast<float>(pictureWidth))
      column = pictureWidth - 1;
    else if (x > 0)
      column = static_cast<int>(x);
    columns[static_cast<std::size_t>(i)] = std::max(column, 0);
  }
  return columns;
}

float columnXData(const TraceParams& p, int column) {
  return toSingle(column * p.pitch + static_cast<double>(p.minX));
}

TraceResult makeTracePoints(const TraceParams& p, int pictureHeight, std::span<const float> yPixels,
                            const TraceYieldFn& onYield) {
  const float step = columnStep(p);
  const float bottomLine = static_cast<float>(pictureHeight - 1) - p.rect.lineYB;
  const float height = p.rect.lineYB - p.rect.lineYT;
  // Every point is made before the first one is reported, so that a value
  // beyond the single-precision range refuses the whole run and no point of
  // it reaches the list.
  std::vector<DataPoint> points;
  points.reserve(yPixels.size());
  for (int i = 0; i < static_cast<int>(yPixels.size()); ++i) {
    const float yPixel = yPixels[static_cast<std::size_t>(i)];
    const float yData =
        height > 0 ? (yPixel - bottomLine) * (p.maxY - p.minY) / height + p.minY : 0;
    if (!std::isfinite(yData)) throw OverflowError();
    points.push_back({columnXData(p, i), yData, columnPosition(i, step, p.rect.lineXS), yPixel});
  }
  TraceResult result;
  for (int i = 0; i < static_cast<int>(points.size()); i += 100) {
    const std::span<const DataPoint> made(points.data(), static_cast<std::size_t>(i));
    if (!goOn(onYield, {TracePass::Points, i, std::nullopt, made})) {
      points.resize(static_cast<std::size_t>(i));
      result.end = TraceEnd::CancelledInPoints;
      break;
    }
  }
  result.points = std::move(points);
  return result;
}

int roundRow(float value) {
  const double rounded = std::nearbyint(static_cast<double>(value));
  if (!(rounded > -kRowLimit)) return -kRowLimit;
  if (rounded > kRowLimit) return kRowLimit;
  return static_cast<int>(rounded);
}

RowPlan smoothingRows(const TraceParams& p, int first, int last) {
  const int half = (p.filter - 1) / 2;
  RowPlan plan{first, last, 1, 0, half};
  if (p.filter != 1) {
    plan.smoothFirst = roundRow(static_cast<float>(half) + p.rect.lineYT);
    plan.smoothLast = roundRow(p.rect.lineYB - static_cast<float>(half) - 1.0f);
  }
  return plan;
}

ColumnScan::ColumnScan(const PixelArray& picture, const RowPlan& plan, int filter, bool blackAsOne)
    : picture_(picture),
      blackAsOne_(blackAsOne),
      filter_(filter),
      half_(plan.half),
      inverseFilter_(1.0f / static_cast<float>(filter)) {
  const int bottomRow = picture.width() > 0 ? picture.height() - 1 : -1;
  first_ = std::max(plan.first, 0);
  last_ = std::min(plan.last, bottomRow);
  readFirst_ = first_;
  readLast_ = last_;
  smoothFirst_ = std::max(plan.smoothFirst, first_);
  smoothLast_ = std::min(plan.smoothLast, last_);
  if (filter_ == 1 || first_ > last_ || smoothFirst_ > smoothLast_) {
    smoothFirst_ = 1;
    smoothLast_ = 0;
    return;
  }
  // The windows of the first and last smoothed rows may reach one row past
  // the used rows (halves round to even on both ends); those rows are read
  // from the picture too. Windows that would leave the picture are not
  // smoothed.
  readFirst_ = std::max(0, std::min(first_, smoothFirst_ - half_));
  readLast_ = std::min(bottomRow, std::max(last_, smoothLast_ + half_));
  smoothFirst_ = std::max(smoothFirst_, readFirst_ + half_);
  smoothLast_ = std::min(smoothLast_, readLast_ - half_);
}

void ColumnScan::readRow(int row, std::span<const int> columns, bool adjacent,
                         std::uint8_t* out) const {
  const std::uint32_t* pixels = picture_.row(row);
  const int count = static_cast<int>(columns.size());
  if (adjacent) {
    if (blackAsOne_)
      readContiguous<true>(pixels + columns[0], count, out);
    else
      readContiguous<false>(pixels + columns[0], count, out);
    return;
  }
  // Sampled columns lie a cache line apart or more: ask for the same columns
  // a few rows ahead while this row is read.
  constexpr int kRowsAhead = 8;
  if (row + kRowsAhead < picture_.height()) {
    const std::uint32_t* ahead = picture_.row(row + kRowsAhead);
    for (int i = 0; i < count; ++i) __builtin_prefetch(ahead + columns[i]);
  }
  if (blackAsOne_)
    readGathered<true>(pixels, columns.data(), count, out);
  else
    readGathered<false>(pixels, columns.data(), count, out);
}

void ColumnScan::scan(std::span<const int> columns, const Visit& visit) {
  const std::size_t count = columns.size();
  if (count == 0 || first_ > last_) return;
  values_.resize(count);
  std::uint8_t* values = values_.data();
  // Adjacent columns (every column sampled) read as one run of the row.
  const bool adjacent = contiguous(columns);

  if (smoothFirst_ > smoothLast_) {
    for (int row = first_; row <= last_; ++row) {
      readRow(row, columns, adjacent, values);
      visit(row, values);
    }
    return;
  }

  // A ring of the last F rows read and, per column, the sum over the ring:
  // when row r is read the window centred on r - half is complete.
  ring_.assign(count * static_cast<std::size_t>(filter_), 0);
  sums_.assign(count, 0);
  std::uint16_t* sums = sums_.data();
  const auto ringRow = [&](int row) {
    return ring_.data() + static_cast<std::size_t>((row - readFirst_) % filter_) * count;
  };
  const auto emit = [&](int row) {
    if (row < first_ || row > last_) return;
    if (row >= smoothFirst_ && row <= smoothLast_) {
      for (std::size_t k = 0; k < count; ++k)
        values[k] = static_cast<std::uint8_t>(smoothedIntensity(sums[k], inverseFilter_));
      visit(row, values);
    } else {
      visit(row, ringRow(row));
    }
  };

  for (int row = readFirst_; row <= readLast_; ++row) {
    std::uint8_t* slot = ringRow(row);
    readRow(row, columns, adjacent, values);
    for (std::size_t k = 0; k < count; ++k) {
      sums[k] = static_cast<std::uint16_t>(sums[k] + values[k] - slot[k]);
      slot[k] = values[k];
    }
    emit(row - half_);
  }
  // The last rows, too near the end of the read rows to be smoothed.
  for (int row = std::max(first_, readLast_ - half_ + 1); row <= last_; ++row) emit(row);
}

}  // namespace plotvane
