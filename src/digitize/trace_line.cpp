#include "digitize/trace_line.h"

#include <algorithm>

#include "digitize/row_bands.h"

namespace plotvane {

namespace {

// Only rows darker than this take part.
constexpr std::uint8_t kDarkLimit = 200;

using row_bands::kBandRows;
#if defined(__SSE2__)
using row_bands::load;
using row_bands::store;
#endif

// Per column of a block: the darkest intensity so far and the first and last
// row that hold it (-1 while nothing darker than the limit was seen). Within
// a band of rows the same three are kept in bytes, the rows as offsets from
// the band's first row, so that the per-row work runs on 16 columns at once;
// each band then joins the column's result.
struct DarkestRows {
  std::vector<std::uint8_t> darkest;
  std::vector<int> first, last;
  std::vector<std::uint8_t> bandDarkest, bandFirst, bandLast;
  int bandStart = 0, bandRows = 0;

  void reset(std::size_t count) {
    darkest.assign(count, kDarkLimit);
    first.assign(count, -1);
    last.assign(count, -1);
    bandDarkest.resize(count);
    bandFirst.resize(count);
    bandLast.resize(count);
    bandRows = 0;
  }

  void update(int row, const std::uint8_t* values) {
    if (bandRows == kBandRows) finishBand();
    if (bandRows == 0) {
      bandStart = row;
      std::fill(bandDarkest.begin(), bandDarkest.end(), kDarkLimit);
      std::fill(bandFirst.begin(), bandFirst.end(), 0);
      std::fill(bandLast.begin(), bandLast.end(), 0);
    }
    const auto offset = static_cast<std::uint8_t>(bandRows++);
    const std::size_t count = bandDarkest.size();
    std::uint8_t* dark = bandDarkest.data();
    std::uint8_t* top = bandFirst.data();
    std::uint8_t* bottom = bandLast.data();
    // Offsets only grow within a band, so the larger one is the newer row. A
    // value equal to the limit itself moves the last row, but a band whose
    // darkest is the limit joins no result.
    std::size_t k = 0;
#if defined(__SSE2__)
    const __m128i offsets = _mm_set1_epi8(static_cast<char>(offset));
    for (; k + 16 <= count; k += 16) {
      const __m128i value = load(values + k), current = load(dark + k);
      const __m128i darkest = _mm_min_epu8(value, current);
      const __m128i kept = _mm_cmpeq_epi8(darkest, current);
      const __m128i reached = _mm_cmpeq_epi8(value, darkest);
      store(top + k, _mm_max_epu8(load(top + k), _mm_andnot_si128(kept, offsets)));
      store(bottom + k, _mm_max_epu8(load(bottom + k), _mm_and_si128(reached, offsets)));
      store(dark + k, darkest);
    }
#endif
    for (; k < count; ++k) {
      const std::uint8_t value = values[k], current = dark[k];
      const std::uint8_t darkest = value < current ? value : current;
      const std::uint8_t newTop = darkest != current ? offset : 0;
      const std::uint8_t newBottom = value == darkest ? offset : 0;
      top[k] = top[k] > newTop ? top[k] : newTop;
      bottom[k] = bottom[k] > newBottom ? bottom[k] : newBottom;
      dark[k] = darkest;
    }
  }

  // Joins the band of rows read so far to the columns' results.
  void finishBand() {
    if (bandRows == 0) return;
    for (std::size_t k = 0; k < darkest.size(); ++k) {
      const std::uint8_t band = bandDarkest[k];
      if (band < darkest[k]) {
        darkest[k] = band;
        first[k] = bandStart + bandFirst[k];
        last[k] = bandStart + bandLast[k];
      } else if (band == darkest[k] && band < kDarkLimit) {
        last[k] = bandStart + bandLast[k];
      }
    }
    bandRows = 0;
  }
};

}  // namespace

TraceResult traceLine(const PixelArray& picture, const TraceParams& params,
                      const TraceYieldFn& onYield) {
  checkTraceParams(params);
  const int height = picture.height();
  const int n = params.divisions;
  const float step = columnStep(params);
  const std::vector<int> columns = sampledColumns(params, picture.width());
  const RowPlan plan =
      smoothingRows(params, roundRow(params.rect.lineYT), roundRow(params.rect.lineYB - 1.0f));
  ColumnScan scan(picture, plan, params.filter, false);

  // Rows count upward from the bottom row; -0.5 centres the point on its
  // pixel row.
  const float notFound = static_cast<float>(height - 1) - params.rect.lineYB;
  const auto rowUp = [&](int row) {
    return row < 0 ? notFound : static_cast<float>((height - 1 - row) - 0.5);
  };

  std::vector<float> mids(static_cast<std::size_t>(n) + 1);
  std::optional<MarkerPosition> marker;
  DarkestRows block;
  for (int start = 0; start <= n; start += ColumnScan::kBlockColumns) {
    const int count = std::min(ColumnScan::kBlockColumns, n + 1 - start);
    block.reset(static_cast<std::size_t>(count));
    scan.scan(std::span<const int>(columns).subspan(static_cast<std::size_t>(start),
                                                    static_cast<std::size_t>(count)),
              [&](int row, const std::uint8_t* values) { block.update(row, values); });
    block.finishBand();
    for (int k = 0; k < count; ++k) {
      const int i = start + k;
      if (i % 2 == 0 && !goOn(onYield, {TracePass::Scan, i, marker, {}}))
        return {{}, TraceEnd::CancelledInScan};
      const float top = rowUp(block.first[static_cast<std::size_t>(k)]);
      const float bottom = rowUp(block.last[static_cast<std::size_t>(k)]);
      const float mid = (top + bottom) / 2;
      mids[static_cast<std::size_t>(i)] = mid;
      marker = MarkerPosition{columnPosition(i, step, params.rect.lineXS),
                              static_cast<float>(height - 1) - mid};
    }
  }
  return makeTracePoints(params, height, mids, onYield);
}

}  // namespace plotvane
