#include "digitize/scan_points.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plotvane {

namespace {

// Directions in turning order: right, down, left, up (y grows downwards), so
// a right turn is +1 and a left turn is +3.
constexpr int kDirX[4] = {1, 0, -1, 0};
constexpr int kDirY[4] = {0, 1, 0, -1};

// Columns per block of the marking pass: the block is read row by row, whole
// rows of most pictures, which streams from memory; then its columns report
// progress and yield in order. A multiple of 64, so blocks start on a word.
constexpr int kMarkBlock = 8192;

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

// Bit k of the result: pixel k of the 64 (fewer at the end of a run) is dark.
std::uint64_t darkBits(const std::uint32_t* pixels, int count) {
  std::uint64_t bits = 0;
  int k = 0;
#if defined(__SSE2__)
  const __m128i lowBytes = _mm_set1_epi32(0x00FF00FF), lowByte = _mm_set1_epi32(0xFF);
  const __m128i ones = _mm_set1_epi16(1), limit = _mm_set1_epi16(600);
  const auto sums = [&](int at) {  // r + g + b of four pixels, as 32-bit lanes
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + at));
    const __m128i blueRed = _mm_and_si128(four, lowBytes);
    const __m128i green = _mm_and_si128(_mm_srli_epi32(four, 8), lowByte);
    return _mm_madd_epi16(_mm_add_epi16(blueRed, green), ones);
  };
  for (; k + 16 <= count; k += 16) {
    // Sums up to 765 survive the signed packing; light pixels compare true.
    const __m128i light0 = _mm_cmpgt_epi16(_mm_packs_epi32(sums(k), sums(k + 4)), limit);
    const __m128i light1 = _mm_cmpgt_epi16(_mm_packs_epi32(sums(k + 8), sums(k + 12)), limit);
    const auto light = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(light0, light1)));
    bits |= static_cast<std::uint64_t>(~light & 0xFFFFu) << k;
  }
#endif
  for (; k < count; ++k)
    if (isDark(pixels[k])) bits |= std::uint64_t{1} << k;
  return bits;
}

// A cell grid as rows of 64-bit words, zero at the start. calloc hands out
// zeroed memory that the system fills lazily, so a large grid costs nothing
// until its cells are set.
class BitGrid {
 public:
  BitGrid() = default;
  BitGrid(std::size_t rows, std::size_t wordsPerRow)
      : words_(static_cast<std::uint64_t*>(std::calloc(rows * wordsPerRow, sizeof(std::uint64_t)))),
        wordsPerRow_(wordsPerRow) {
    if (!words_) throw std::bad_alloc();
  }

  std::uint64_t* row(int y) { return words_.get() + static_cast<std::size_t>(y) * wordsPerRow_; }
  bool test(int x, int y) const {
    return (words_[static_cast<std::size_t>(y) * wordsPerRow_ + static_cast<std::size_t>(x) / 64] >>
            (x % 64)) &
           1u;
  }
  void set(int x, int y) {
    words_[static_cast<std::size_t>(y) * wordsPerRow_ + static_cast<std::size_t>(x) / 64] |=
        std::uint64_t{1} << (x % 64);
  }

 private:
  struct Free {
    void operator()(std::uint64_t* words) const { std::free(words); }
  };
  std::unique_ptr<std::uint64_t[], Free> words_;
  std::size_t wordsPerRow_ = 0;
};

// The bits lo to hi (0 to 63, lo <= hi) of a word.
constexpr std::uint64_t bitRange(int lo, int hi) {
  return (~std::uint64_t{0} >> (63 - hi)) & (~std::uint64_t{0} << lo);
}

// Where a walk stands and which way it looks, in grid cells.
struct WalkState {
  int x = 0, y = 0, direction = 0;
  bool operator==(const WalkState&) const = default;
};

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
  // picture. The grid adds never-dark cells around it, which is all the walk
  // can reach: a row above and below, and a word on either side, so that the
  // area's columns start on a word.
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
    gridX0_ = scanX0_ - 64;
    gridY0_ = scanY0_ - 1;
    if (columns > 0 && rows > 0) {
      const auto gridRows = static_cast<std::size_t>(rows) + 2;
      const std::size_t wordsPerRow = static_cast<std::size_t>(columns + 63) / 64 + 2;
      dark_ = BitGrid(gridRows, wordsPerRow);
      visited_ = BitGrid(gridRows, wordsPerRow);
      spanLeft_.assign(gridRows, INT_MAX);
      spanRight_.assign(gridRows, INT_MIN);
    }
    return true;
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
    const bool haveCells = !spanLeft_.empty();
    for (int bx = scanX0_; bx <= scanX1_; bx += kMarkBlock) {
      const int ex = std::min(scanX1_, bx + kMarkBlock - 1);
      for (int y = scanY0_; y <= scanY1_ && haveCells; ++y) {
        const std::uint32_t* source = picture_.row(y);
        std::uint64_t* words = dark_.row(y - gridY0_) + (bx - gridX0_) / 64;
        for (int x = bx; x <= ex; x += 64)
          *words++ = darkBits(source + x, std::min(64, ex - x + 1));
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

  // The first column from `from` on in grid row y whose cell is dark and not
  // visited, or INT_MAX.
  int nextBlobStart(int y, int from) {
    const int last = scanX1_ - gridX0_;
    const std::uint64_t* dark = dark_.row(y);
    const std::uint64_t* visited = visited_.row(y);
    for (int w = from / 64; w <= last / 64; ++w) {
      std::uint64_t open = dark[w] & ~visited[w];
      if (w == from / 64) open &= ~std::uint64_t{0} << (from % 64);
      if (open != 0) return w * 64 + std::countr_zero(open);
    }
    return INT_MAX;
  }

  void blobPass() {
    const bool haveCells = !spanLeft_.empty();
    for (int y = scanY0_; y <= scanY1_; ++y) {
      if (haveCells) {
        const int gy = y - gridY0_;
        for (int gx = nextBlobStart(gy, scanX0_ - gridX0_); gx != INT_MAX;
             gx = nextBlobStart(gy, gx + 1)) {
          if (!processBlob(gx, gy)) return;
        }
      }
      if ((y & 1) == 0 && !goOn(ScanStage::Row, y)) {
        result_.status = ScanPointsStatus::Stopped;
        return;
      }
    }
  }

  // The walk's rule: on a dark cell, step back and turn left; elsewhere turn
  // right if the cell on the right is not dark. `stand` is where the walker
  // then stands and which way it looks; the result is the next state, one
  // cell ahead.
  WalkState step(const WalkState& s, WalkState& stand) const {
    if (dark_.test(s.x, s.y)) {
      stand = {s.x - kDirX[s.direction], s.y - kDirY[s.direction], (s.direction + 3) & 3};
    } else {
      const int right = (s.direction + 1) & 3;
      stand = {s.x, s.y, dark_.test(s.x + kDirX[right], s.y + kDirY[right]) ? s.direction : right};
    }
    return {stand.x + kDirX[stand.direction], stand.y + kDirY[stand.direction], stand.direction};
  }

  WalkState step(const WalkState& s) const {
    WalkState stand;
    return step(s, stand);
  }

  // Walks around the blob found at grid cell (x, y), keeping it on the
  // right, from the cell above it until back on that cell or in a state it
  // had before; fills the rows' spans of the walk and adds the blob's point.
  // False when the run ends here.
  bool processBlob(int x, int y) {
    const WalkState start{x, y - 1, 0};
    int lowRow = y, highRow = start.y;
    paintedAtStep_.clear();
    // A walk that comes back to a state it already had would repeat for ever
    // without reaching its start (its start cell can be dark when an earlier
    // blob's spans swallowed it), so that ends the walk too. The states form
    // a path into a loop; the loop is found by comparing each state with one
    // saved at steps 1, 2, 4, 8 ... (Brent), then the walk counts as ending
    // at the first repeated state. Steps after it repeat earlier ones, which
    // change the spans and the visited cells no further; only their painted
    // cells are taken back.
    WalkState state = start, saved = start;
    int power = 1, length = 1;
    for (;;) {
      if (params_.recordPainted) paintedAtStep_.push_back(result_.painted.size());
      if (!dark_.test(state.x, state.y)) visited_.set(state.x, state.y);
      WalkState stand;
      state = step(state, stand);
      lowRow = std::max(lowRow, stand.y);
      highRow = std::min(highRow, stand.y);
      const auto spanRow = static_cast<std::size_t>(stand.y);
      spanLeft_[spanRow] = std::min(spanLeft_[spanRow], stand.x);
      spanRight_[spanRow] = std::max(spanRight_[spanRow], stand.x);
      if (params_.recordPainted && visited_.test(stand.x, stand.y))
        result_.painted.push_back({stand.x + gridX0_, stand.y + gridY0_});
      if (state.x == start.x && state.y == start.y) break;
      if (state == saved) {
        if (params_.recordPainted) {
          const std::size_t ending = static_cast<std::size_t>(firstRepeat(start, length));
          result_.painted.resize(ending < paintedAtStep_.size() ? paintedAtStep_[ending]
                                                                : result_.painted.size());
        }
        break;
      }
      if (power == length) {
        saved = state;
        power *= 2;
        length = 0;
      }
      ++length;
    }

    // Every cell inside the spans from the row above the start down to the
    // lowest row counts, including dark cells of other marks.
    long long sumX = 0, sumY = 0, count = 0;
    for (int r = start.y; r <= lowRow; ++r) {
      const auto spanRow = static_cast<std::size_t>(r);
      const int left = spanLeft_[spanRow], right = spanRight_[spanRow];
      if (left > right) continue;
      const std::uint64_t* dark = dark_.row(r);
      std::uint64_t* visited = visited_.row(r);
      long long rowCount = 0;
      for (int w = left / 64; w <= right / 64; ++w) {
        const std::uint64_t span =
            bitRange(w == left / 64 ? left % 64 : 0, w == right / 64 ? right % 64 : 63);
        for (std::uint64_t bits = dark[w] & span; bits != 0; bits &= bits - 1) {
          sumX += w * 64 + std::countr_zero(bits);
          ++rowCount;
        }
        visited[w] |= span;
      }
      sumX += rowCount * gridX0_;
      sumY += rowCount * (r + gridY0_);
      count += rowCount;
    }
    for (int r = highRow; r <= lowRow; ++r) {
      spanLeft_[static_cast<std::size_t>(r)] = INT_MAX;
      spanRight_[static_cast<std::size_t>(r)] = INT_MIN;
    }

    if (!goOn(ScanStage::Blob, y + gridY0_)) {
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

  // The number of states a walk from `start` goes through before the first
  // one it had before, given the length of the loop it ends in.
  int firstRepeat(const WalkState& start, int loop) const {
    WalkState ahead = start, behind = start;
    for (int i = 0; i < loop; ++i) ahead = step(ahead);
    int before = 0;
    for (; !(ahead == behind); ++before) {
      ahead = step(ahead);
      behind = step(behind);
    }
    return before + loop;
  }

  const PixelArray& picture_;
  const ScanPointsParams& params_;
  const ScanPointsYield& yield_;
  ScanPointsResult result_;
  int scanX0_ = 0, scanX1_ = -1, scanY0_ = 0, scanY1_ = -1;
  int gridX0_ = 0, gridY0_ = 0;
  int progressBar_ = -1;
  BitGrid dark_, visited_;
  std::vector<int> spanLeft_, spanRight_;  // per grid row, in grid columns
  std::vector<std::size_t> paintedAtStep_;
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
