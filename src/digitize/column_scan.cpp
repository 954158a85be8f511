#include "digitize/column_scan.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// r + g + b of four pixels, one per 32-bit lane, the top bytes ignored:
// blue + green and red in the two 16-bit halves of a lane, then added.
inline __m128i channelSums(const std::uint32_t* pixels) {
  const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
  const __m128i blueRed = _mm_and_si128(four, _mm_set1_epi32(0x00FF00FF));
  const __m128i green = _mm_and_si128(_mm_srli_epi32(four, 8), _mm_set1_epi32(0xFF));
  return _mm_madd_epi16(_mm_add_epi16(blueRed, green), _mm_set1_epi16(1));
}

// The intensities of eight pixels as 16-bit lanes (sums up to 765 survive
// the signed packing).
template <bool kBlackAsOne>
inline __m128i eightIntensities(const std::uint32_t* pixels) {
  const __m128i sums = _mm_packs_epi32(channelSums(pixels), channelSums(pixels + 4));
  __m128i third = _mm_mulhi_epu16(sums, _mm_set1_epi16(21846));
  if constexpr (kBlackAsOne)
    third = _mm_sub_epi16(third, _mm_cmpeq_epi16(sums, _mm_setzero_si128()));
  return third;
}

// smoothedIntensity of eight window sums of an odd F from 3 to 127, in
// integers: F odd keeps a mean off exactly one half, so the rounded mean is
// (sum + half) / F. That dividend stays below 2^15 (255 * 127 + 63), where
// (x * multiplier) >> (16 + shift), with multiplier = ceil(2^(15 + l) / F)
// and 2^(l - 1) < F < 2^l, is the exact quotient and the multiplier fits the
// 16 bits of a multiply-high.
class EightMeans {
 public:
  explicit EightMeans(int filter) {
    int l = 1;
    while ((1 << l) < filter) ++l;
    half_ = _mm_set1_epi16(static_cast<short>((filter - 1) / 2));
    multiplier_ = _mm_set1_epi16(static_cast<short>(((1 << (15 + l)) + filter - 1) / filter));
    shift_ = _mm_cvtsi32_si128(l - 1);
  }

  __m128i operator()(__m128i sums) const {
    return _mm_srl_epi16(_mm_mulhi_epu16(_mm_add_epi16(sums, half_), multiplier_), shift_);
  }

 private:
  __m128i half_, multiplier_, shift_;
};
#endif

template <bool kBlackAsOne>
void readContiguous(const std::uint32_t* pixels, int count, std::uint8_t* out) {
  int k = 0;
#if defined(__SSE2__)
  for (; k + 16 <= count; k += 16) {
    const __m128i sixteen = _mm_packus_epi16(eightIntensities<kBlackAsOne>(pixels + k),
                                             eightIntensities<kBlackAsOne>(pixels + k + 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), sixteen);
  }
#endif
  for (; k < count; ++k) out[k] = intensity<kBlackAsOne>(pixels[k]);
}

template <bool kBlackAsOne>
void readGathered(const std::uint32_t* row, const int* columns, int count, std::uint8_t* out) {
  for (int k = 0; k < count; ++k) out[k] = intensity<kBlackAsOne>(row[columns[k]]);
}

// Moves the windows of a run of columns one or two rows down: row `in` goes
// into the sums and row `out` comes out, then, with two rows, `in2` goes in
// and `out2` comes out. With `means` (`means2`), the windows' smoothed
// intensities after the first (second) move are stored there. This work
// leaves the memory bus idle, so meanwhile the pixels of the rows to come,
// `ahead` and `ahead2`, are asked into the cache.
template <bool kTwoRows>
void slideWindows(const std::uint8_t* in, const std::uint8_t* out, const std::uint8_t* in2,
                  const std::uint8_t* out2, std::size_t count, std::uint16_t* sums, int filter,
                  float inverseFilter, std::uint8_t* means, std::uint8_t* means2,
                  const std::uint32_t* ahead, const std::uint32_t* ahead2) {
  std::size_t k = 0;
#if defined(__SSE2__)
  const EightMeans eightMeans(filter);
  const __m128i zero = _mm_setzero_si128();
  const auto move = [&](const std::uint8_t* added, const std::uint8_t* removed, __m128i& low,
                        __m128i& high) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(added + k));
    const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(removed + k));
    low = _mm_add_epi16(low, _mm_sub_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(r, zero)));
    high =
        _mm_add_epi16(high, _mm_sub_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(r, zero)));
  };
  for (; k + 16 <= count; k += 16) {
    if (ahead) _mm_prefetch(reinterpret_cast<const char*>(ahead + k), _MM_HINT_T2);
    if (ahead2) _mm_prefetch(reinterpret_cast<const char*>(ahead2 + k), _MM_HINT_T2);
    auto* sum = reinterpret_cast<__m128i*>(sums + k);
    __m128i low = _mm_loadu_si128(sum), high = _mm_loadu_si128(sum + 1);
    move(in, out, low, high);
    if (means) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(means + k),
                       _mm_packus_epi16(eightMeans(low), eightMeans(high)));
    }
    if constexpr (kTwoRows) {
      move(in2, out2, low, high);
      if (means2) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(means2 + k),
                         _mm_packus_epi16(eightMeans(low), eightMeans(high)));
      }
    }
    _mm_storeu_si128(sum, low);
    _mm_storeu_si128(sum + 1, high);
  }
#else
  (void)filter, (void)ahead, (void)ahead2;
#endif
  for (; k < count; ++k) {
    sums[k] = static_cast<std::uint16_t>(sums[k] + in[k] - out[k]);
    if (means) means[k] = static_cast<std::uint8_t>(smoothedIntensity(sums[k], inverseFilter));
    if constexpr (kTwoRows) {
      sums[k] = static_cast<std::uint16_t>(sums[k] + in2[k] - out2[k]);
      if (means2) means2[k] = static_cast<std::uint8_t>(smoothedIntensity(sums[k], inverseFilter));
    }
  }
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
  // Adjacent columns (every column sampled) read as one run of the row.
  const bool adjacent = contiguous(columns);

  if (smoothFirst_ > smoothLast_) {
    values_.resize(count);
    for (int row = first_; row <= last_; ++row) {
      readRow(row, columns, adjacent, values_.data());
      visit(row, values_.data());
    }
    return;
  }

  // Rows are read in pairs into a ring of F + 2 rows: the pair and the F rows
  // before it, the oldest two of which leave the windows as the pair comes
  // in. The window sums go over both rows in one pass. When row r is in,
  // the window centred on r - half is complete. Rows before the first read
  // row take their slots of zeros.
  const int slots = filter_ + 2;
  ring_.assign(count * static_cast<std::size_t>(slots), 0);
  sums_.assign(count, 0);
  values_.resize(2 * count);
  const auto ringRow = [&](int row) {
    return ring_.data() + static_cast<std::size_t>((row - readFirst_ + slots) % slots) * count;
  };
  const auto smoothed = [&](int centre, std::uint8_t* means) {
    return centre >= smoothFirst_ && centre <= smoothLast_ ? means : nullptr;
  };
  const auto emit = [&](int centre, const std::uint8_t* means) {
    if (means)
      visit(centre, means);
    else if (centre >= first_ && centre <= last_)
      visit(centre, ringRow(centre));
  };
  const auto later = [&](int row) {
    return adjacent && row <= readLast_ ? picture_.row(row) + columns[0] : nullptr;
  };
  for (int row = readFirst_; row <= readLast_; row += 2) {
    const int centre = row - half_;
    std::uint8_t* means = smoothed(centre, values_.data());
    readRow(row, columns, adjacent, ringRow(row));
    if (row == readLast_) {
      slideWindows<false>(ringRow(row), ringRow(row - filter_), nullptr, nullptr, count,
                          sums_.data(), filter_, inverseFilter_, means, nullptr, nullptr, nullptr);
      emit(centre, means);
      break;
    }
    std::uint8_t* means2 = smoothed(centre + 1, values_.data() + count);
    readRow(row + 1, columns, adjacent, ringRow(row + 1));
    slideWindows<true>(ringRow(row), ringRow(row - filter_), ringRow(row + 1),
                       ringRow(row + 1 - filter_), count, sums_.data(), filter_, inverseFilter_,
                       means, means2, later(row + 2), later(row + 3));
    emit(centre, means);
    emit(centre + 1, means2);
  }
  // The last rows, too near the end of the read rows to be smoothed.
  for (int row = std::max(first_, readLast_ - half_ + 1); row <= last_; ++row)
    visit(row, ringRow(row));
}

}  // namespace plotvane
