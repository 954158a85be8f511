#include "digitize/scan_points.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace plotvane {

namespace {

// One byte per cell: the dark and visited flags, and four bits that remember
// in which directions the current trace already stood on the cell.
constexpr std::uint8_t kDark = 1;
constexpr std::uint8_t kVisited = 2;
constexpr int kSeenShift = 4;
constexpr std::uint8_t kSeenMask = 0xF0;

// Directions in turning order: right, down, left, up (y grows downwards), so
// a right turn is +1 and a left turn is +3.
constexpr int kDirX[4] = {1, 0, -1, 0};
constexpr int kDirY[4] = {0, 1, 0, -1};

// Columns per block of the marking pass: the block is read row by row (a
// column-by-column walk would touch a new cache line per pixel), then its
// columns report progress and yield in order.
constexpr int kMarkBlock = 1024;

// Round to nearest, halves to even, saturated to a range that cannot overflow
// the index arithmetic. Non-finite input gives nothing.
std::optional<long long> roundCoordinate(float value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = std::nearbyint(static_cast<double>(value));
  return static_cast<long long>(std::clamp(r, -1e9, 1e9));
}

int saturatedRound(float value) {
  if (std::isnan(value)) return 0;
  const double r = std::nearbyint(static_cast<double>(value));
  return static_cast<int>(
      std::clamp(r, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

bool isDark(std::uint32_t pixel) {
  return ((pixel >> 16) & 255u) + ((pixel >> 8) & 255u) + (pixel & 255u) <= 600u;
}

// The first column in [from, to] of a grid row whose cell is dark and not
// visited, or to + 1.
int nextBlobStart(const std::uint8_t* row, int from, int to) {
  int x = from;
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kLow = 0x0101010101010101ull;
    for (; x + 8 <= to + 1; x += 8) {
      std::uint64_t word;
      std::memcpy(&word, row + x, sizeof word);
      const std::uint64_t hits = word & ~(word >> 1) & kLow;
      if (hits != 0) return x + std::countr_zero(hits) / 8;
    }
  }
  for (; x <= to; ++x) {
    if ((row[x] & (kDark | kVisited)) == kDark) return x;
  }
  return to + 1;
}

class PointScanner {
 public:
  PointScanner(const PixelArray& picture, const ScanPointsParams& params,
               const ScanPointsYield& yield)
      : picture_(picture), params_(params), yield_(yield) {}

  ScanPointsResult run() {
    if (!layOut()) return std::move(result_);
    if (!markingPass()) {
      result_.status = ScanPointsStatus::Stopped;
      return std::move(result_);
    }
    blobPass();
    return std::move(result_);
  }

 private:
  // The scan area is the rectangle's rows and columns, clamped to the
  // picture; the grid adds a never-dark border of one cell on every side,
  // which is all the walker can reach.
  bool layOut() {
    const Calibration& c = params_.calibration;
    const auto x0 = roundCoordinate(c.rect.lineXS), x1 = roundCoordinate(c.rect.lineXE - 1.0f);
    const auto y0 = roundCoordinate(c.rect.lineYT), y1 = roundCoordinate(c.rect.lineYB - 1.0f);
    if (!x0 || !x1 || !y0 || !y1) return false;
    scanX0_ = static_cast<int>(std::max(*x0, 0LL));
    scanX1_ = static_cast<int>(std::min(*x1, static_cast<long long>(picture_.width()) - 1));
    scanY0_ = static_cast<int>(std::max(*y0, 0LL));
    scanY1_ = static_cast<int>(std::min(*y1, static_cast<long long>(picture_.height()) - 1));
    const int columns = std::max(scanX1_ - scanX0_ + 1, 0);
    const int rows = std::max(scanY1_ - scanY0_ + 1, 0);
    gridX0_ = scanX0_ - 1;
    gridY0_ = scanY0_ - 1;
    gridWidth_ = columns + 2;
    gridHeight_ = rows + 2;
    if (columns > 0 && rows > 0) {
      grid_.assign(static_cast<std::size_t>(gridWidth_) * static_cast<std::size_t>(gridHeight_), 0);
    }
    return true;
  }

  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y - gridY0_) * static_cast<std::size_t>(gridWidth_) +
           static_cast<std::size_t>(x - gridX0_);
  }

  bool goOn(ScanStage stage, int position) {
    if (!yield_) return true;
    ScanPointsProgress progress;
    progress.stage = stage;
    progress.position = position;
    progress.progressBar = progressBar_;
    progress.points = result_.points;
    progress.painted = result_.painted;
    return yield_(progress);
  }

  bool markingPass() {
    for (int bx = scanX0_; bx <= scanX1_; bx += kMarkBlock) {
      const int ex = std::min(scanX1_, bx + kMarkBlock - 1);
      const int count = ex - bx + 1;
      for (int y = scanY0_; y <= scanY1_; ++y) {
        const std::uint32_t* source = picture_.row(y) + bx;
        std::uint8_t* cells = grid_.data() + index(bx, y);
        for (int i = 0; i < count; ++i) cells[i] = isDark(source[i]) ? kDark : 0;
      }
      if (!yield_) continue;
      for (int x = bx; x <= ex; ++x) {
        const Calibration& c = params_.calibration;
        if (const auto value = scanProgressValue(x, c.rect.lineXS, c.rect.lineXE))
          progressBar_ = *value;
        if ((x & 1) == 0 && !goOn(ScanStage::Marking, x)) return false;
      }
    }
    return true;
  }

  void blobPass() {
    const int rows = gridHeight_;
    spanLeft_.assign(static_cast<std::size_t>(rows), INT_MAX);
    spanRight_.assign(static_cast<std::size_t>(rows), INT_MIN);
    const bool haveCells = !grid_.empty();
    for (int y = scanY0_; y <= scanY1_; ++y) {
      if (haveCells) {
        const std::uint8_t* row = grid_.data() + index(gridX0_, y);
        const int last = scanX1_ - gridX0_;
        for (int i = nextBlobStart(row, scanX0_ - gridX0_, last); i <= last;
             i = nextBlobStart(row, i + 1, last)) {
          if (!processBlob(i + gridX0_, y)) return;
        }
      }
      if ((y & 1) == 0 && !goOn(ScanStage::Row, y)) {
        result_.status = ScanPointsStatus::Stopped;
        return;
      }
    }
  }

  // Traces the blob found at (x, y), fills its spans and adds its point.
  // False when the run ends here.
  bool processBlob(int x, int y) {
    const int startX = x, startY = y - 1;
    int cx = startX, cy = startY, direction = 0;
    int lowRow = y, highRow = startY;
    std::size_t p = index(cx, cy);
    seenCells_.clear();
    grid_[p] |= static_cast<std::uint8_t>(1u << kSeenShift);
    seenCells_.push_back(p);
    for (;;) {
      if (grid_[p] & kDark) {
        // Stepped into a blob: step back and turn left.
        cx -= kDirX[direction];
        cy -= kDirY[direction];
        p = index(cx, cy);
        direction = (direction + 3) & 3;
      } else {
        grid_[p] |= kVisited;
        const int right = (direction + 1) & 3;
        if (!(grid_[index(cx + kDirX[right], cy + kDirY[right])] & kDark)) direction = right;
      }
      lowRow = std::max(lowRow, cy);
      highRow = std::min(highRow, cy);
      const std::size_t spanRow = static_cast<std::size_t>(cy - gridY0_);
      spanLeft_[spanRow] = std::min(spanLeft_[spanRow], cx);
      spanRight_[spanRow] = std::max(spanRight_[spanRow], cx);
      if (params_.recordPainted && (grid_[p] & kVisited)) result_.painted.push_back({cx, cy});
      cx += kDirX[direction];
      cy += kDirY[direction];
      p = index(cx, cy);
      if (cx == startX && cy == startY) break;
      // A walk that comes back to a state it already had would repeat for
      // ever without reaching its start (its start cell can be dark when an
      // earlier blob's spans swallowed it), so that ends the trace too.
      const auto seen = static_cast<std::uint8_t>(1u << (kSeenShift + direction));
      if (grid_[p] & seen) break;
      if (!(grid_[p] & kSeenMask)) seenCells_.push_back(p);
      grid_[p] |= seen;
    }
    for (const std::size_t cell : seenCells_) grid_[cell] &= static_cast<std::uint8_t>(~kSeenMask);

    // Every cell inside the spans from the row above the start down to the
    // lowest row counts, including dark cells of other marks.
    long long sumX = 0, sumY = 0, count = 0;
    for (int r = startY; r <= lowRow; ++r) {
      const std::size_t spanRow = static_cast<std::size_t>(r - gridY0_);
      const int left = spanLeft_[spanRow], right = spanRight_[spanRow];
      if (left > right) continue;
      std::uint8_t* cells = grid_.data() + index(left, r);
      for (int c = left; c <= right; ++c, ++cells) {
        if (*cells & kDark) {
          sumX += c;
          sumY += r;
          ++count;
        }
        *cells |= kVisited;
      }
    }
    for (int r = highRow; r <= lowRow; ++r) {
      const std::size_t spanRow = static_cast<std::size_t>(r - gridY0_);
      spanLeft_[spanRow] = INT_MAX;
      spanRight_[spanRow] = INT_MIN;
    }

    if (!goOn(ScanStage::Blob, y)) {
      result_.status = ScanPointsStatus::Stopped;
      return false;
    }
    if (count == 0) {
      result_.status = ScanPointsStatus::SumError;
      return false;
    }
    // The centre of the mean pixel; the sums are whole numbers, exact in
    // double precision.
    const double meanX = static_cast<double>(sumX) / static_cast<double>(count);
    const double meanY = static_cast<double>(sumY) / static_cast<double>(count);
    const float px = static_cast<float>(meanX + 0.5);
    const float py = static_cast<float>(meanY + 0.5);
    const DataValue value = axisValuesAt(params_.calibration, px, py).value_or(DataValue{});
    // Rows count upward from the bottom row.
    const float yPixel =
        static_cast<float>(static_cast<double>(params_.pictureHeight - 1.0f) - meanY - 0.5);
    result_.points.push_back(DataPoint{value.x, value.y, px, yPixel});
    return true;
  }

  const PixelArray& picture_;
  const ScanPointsParams& params_;
  const ScanPointsYield& yield_;
  ScanPointsResult result_;
  int scanX0_ = 0, scanX1_ = -1, scanY0_ = 0, scanY1_ = -1;
  int gridX0_ = 0, gridY0_ = 0, gridWidth_ = 0, gridHeight_ = 0;
  int progressBar_ = -1;
  std::vector<std::uint8_t> grid_;
  std::vector<int> spanLeft_, spanRight_;
  std::vector<std::size_t> seenCells_;
};

}  // namespace

ScanPointsResult scanPoints(const PixelArray& picture, const ScanPointsParams& params,
                            const ScanPointsYield& yield) {
  return PointScanner(picture, params, yield).run();
}

std::optional<int> scanProgressValue(int x, float lineXS, float lineXE) {
  const float pct = (static_cast<float>(x) - lineXS) / (lineXE - lineXS) * 100.0f;
  if (!std::isfinite(pct)) return std::nullopt;
  const float rounded = std::nearbyint(pct);
  if (std::fmod(rounded, 5.0f) != 0.0f) return std::nullopt;
  return static_cast<int>(std::clamp(std::floor(pct), 0.0f, 100.0f));
}

DisplayBox visitedCellBox(PictureCell cell, float zoom, int hScroll, int vScroll) {
  const float h = static_cast<float>(hScroll), v = static_cast<float>(vScroll);
  const int x1 = saturatedRound(static_cast<float>(cell.x) * zoom - h);
  const int y1 = saturatedRound(static_cast<float>(cell.y) * zoom - v);
  const int x2 = saturatedRound(static_cast<float>(cell.x + 1) * zoom - 1.0f - h);
  const int y2 = saturatedRound(static_cast<float>(cell.y + 1) * zoom - 1.0f - v);
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

}  // namespace plotvane
