#include "digitize/trace_line.h"

#include <algorithm>

namespace plotvane {

namespace {

// Only rows darker than this take part.
constexpr std::uint8_t kDarkLimit = 200;

// Per column of a block: the darkest intensity so far and the first and last
// row that hold it (-1 while nothing darker than the limit was seen).
struct DarkestRows {
  std::vector<std::uint8_t> darkest;
  std::vector<int> first, last;

  void reset(std::size_t count) {
    darkest.assign(count, kDarkLimit);
    first.assign(count, -1);
    last.assign(count, -1);
  }

  void update(int row, const std::uint8_t* values) {
    const std::size_t count = darkest.size();
    std::uint8_t* dark = darkest.data();
    int* top = first.data();
    int* bottom = last.data();
    for (std::size_t k = 0; k < count; ++k) {
      const std::uint8_t value = values[k];
      const std::uint8_t current = dark[k];
      // While current is the limit itself, an equal value does not count.
      const bool darker = value < current;
      const bool asDark = value <= current && value < kDarkLimit;
      top[k] = darker ? row : top[k];
      bottom[k] = asDark ? row : bottom[k];
      dark[k] = darker ? value : current;
    }
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
