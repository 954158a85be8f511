#include "digitize/trace_surface.h"

#include <algorithm>
#include <cmath>

namespace plotvane {

namespace {

// A drop must be steeper than this to count.
constexpr std::int16_t kMinimumDrop = -10;

// Per column of a block: the previous row's intensity, the steepest drop so
// far and the row below it (-1 while no drop counted).
struct SteepestDrop {
  int firstRow = 0;
  std::vector<std::uint8_t> previous;
  std::vector<std::int16_t> steepest;
  std::vector<int> row;

  void reset(std::size_t count, int first) {
    firstRow = first;
    previous.assign(count, 0);
    steepest.assign(count, kMinimumDrop);
    row.assign(count, -1);
  }

  void update(int y, const std::uint8_t* values) {
    const std::size_t count = previous.size();
    std::uint8_t* above = previous.data();
    if (y != firstRow) {
      std::int16_t* drop = steepest.data();
      int* surface = row.data();
      for (std::size_t k = 0; k < count; ++k) {
        const std::int16_t d = static_cast<std::int16_t>(values[k] - above[k]);
        const bool steeper = d < drop[k];
        surface[k] = steeper ? y : surface[k];
        drop[k] = steeper ? d : drop[k];
      }
    }
    std::copy_n(values, count, above);
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
