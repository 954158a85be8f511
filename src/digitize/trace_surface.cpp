#include "digitize/trace_surface.h"

#include <algorithm>
#include <cmath>

#include "digitize/row_bands.h"

namespace plotvane {

namespace {

// A drop must be steeper than this to count: as a fall from the row above,
// more than 10.
constexpr std::uint8_t kMinimumFall = 10;

using row_bands::kBandRows;
#if defined(__SSE2__)
using row_bands::load;
using row_bands::store;
#endif

// Per column of a block: the previous row's intensity, the steepest fall so
// far and the row below it (-1 while no fall counted). Within a band of rows
// the fall and the row's offset from the band's first row are kept in bytes,
// so that the per-row work runs on 16 columns at once; each band then joins
// the column's result, where an equal fall further down does not count.
struct SteepestDrop {
  int firstRow = 0;
  std::vector<std::uint8_t> previous;
  std::vector<std::uint8_t> steepest;
  std::vector<int> row;
  std::vector<std::uint8_t> bandSteepest, bandRow;
  int bandStart = 0, bandRows = 0;

  void reset(std::size_t count, int first) {
    firstRow = first;
    previous.assign(count, 0);
    steepest.assign(count, kMinimumFall);
    row.assign(count, -1);
    bandSteepest.resize(count);
    bandRow.resize(count);
    bandRows = 0;
  }

  void update(int y, const std::uint8_t* values) {
    const std::size_t count = previous.size();
    std::uint8_t* above = previous.data();
    if (y == firstRow) {
      std::copy_n(values, count, above);
      return;
    }
    if (bandRows == kBandRows) finishBand();
    if (bandRows == 0) {
      bandStart = y;
      std::fill(bandSteepest.begin(), bandSteepest.end(), kMinimumFall);
      std::fill(bandRow.begin(), bandRow.end(), 0);
    }
    const auto offset = static_cast<std::uint8_t>(bandRows++);
    std::uint8_t* fallen = bandSteepest.data();
    std::uint8_t* surface = bandRow.data();
    // A rise counts as no fall at all. Offsets only grow within a band, so
    // the larger one is the newer row.
    std::size_t k = 0;
#if defined(__SSE2__)
    const __m128i offsets = _mm_set1_epi8(static_cast<char>(offset));
    for (; k + 16 <= count; k += 16) {
      const __m128i value = load(values + k), steepest = load(fallen + k);
      const __m128i steeper = _mm_max_epu8(_mm_subs_epu8(load(above + k), value), steepest);
      const __m128i kept = _mm_cmpeq_epi8(steeper, steepest);
      store(surface + k, _mm_max_epu8(load(surface + k), _mm_andnot_si128(kept, offsets)));
      store(fallen + k, steeper);
      store(above + k, value);
    }
#endif
    for (; k < count; ++k) {
      const std::uint8_t value = values[k], before = above[k];
      const std::uint8_t fall = before > value ? static_cast<std::uint8_t>(before - value) : 0;
      const std::uint8_t steepest = fallen[k];
      const std::uint8_t steeper = fall > steepest ? fall : steepest;
      const std::uint8_t newRow = steeper != steepest ? offset : 0;
      surface[k] = surface[k] > newRow ? surface[k] : newRow;
      fallen[k] = steeper;
      above[k] = value;
    }
  }

  // Joins the band of rows read so far to the columns' results.
  void finishBand() {
    if (bandRows == 0) return;
    for (std::size_t k = 0; k < steepest.size(); ++k) {
      if (bandSteepest[k] > steepest[k]) {
        steepest[k] = bandSteepest[k];
        row[k] = bandStart + bandRow[k];
      }
    }
    bandRows = 0;
  }
};

}  // namespace

TraceResult traceSurface(const PixelArray& picture, const TraceParams& params,
                         const TraceYieldFn& onYield) {
  checkTraceParams(params);
  const int height = picture.height();
  const int n = params.divisions;
  const float step = columnStep(params);
  const std::vector<int> columns = sampledColumns(params, picture.width());
  // Drops are taken between rows y and y + 1 for y from round(lineYT) to
  // round(lineYB - 2).
  const RowPlan plan =
      smoothingRows(params, roundRow(params.rect.lineYT), roundRow(params.rect.lineYB - 2.0f) + 1);
  ColumnScan scan(picture, plan, params.filter, true);

  // The surface row counts upward from the bottom row, as a whole number.
  const float notFound = std::nearbyint(static_cast<float>(height - 1) - params.rect.lineYB);

  std::vector<float> edges(static_cast<std::size_t>(n) + 1);
  std::optional<MarkerPosition> marker;
  SteepestDrop block;
  for (int start = 0; start <= n; start += ColumnScan::kBlockColumns) {
    const int count = std::min(ColumnScan::kBlockColumns, n + 1 - start);
    block.reset(static_cast<std::size_t>(count), scan.firstRow());
    scan.scan(std::span<const int>(columns).subspan(static_cast<std::size_t>(start),
                                                    static_cast<std::size_t>(count)),
              [&](int row, const std::uint8_t* values) { block.update(row, values); });
    block.finishBand();
    for (int k = 0; k < count; ++k) {
      const int i = start + k;
      if (i % 2 == 0 && !goOn(onYield, {TracePass::Scan, i, marker, {}}))
        return {{}, TraceEnd::CancelledInScan};
      const int row = block.row[static_cast<std::size_t>(k)];
      const float edge = row < 0 ? notFound : static_cast<float>(height - 1 - row);
      edges[static_cast<std::size_t>(i)] = edge;
      marker = MarkerPosition{columnPosition(i, step, params.rect.lineXS),
                              static_cast<float>(height - 1) - edge};
    }
  }
  return makeTracePoints(params, height, edges, onYield);
}

}  // namespace plotvane
