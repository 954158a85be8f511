// Trace Line, Trace Surface and Plot All Points against plain versions of
// themselves kept here (column by column for the traces, cell by cell for the
// blobs), on generated charts of every kind, with whole, fractional, halved,
// reversed and outside rectangles, several division counts and filters. The
// results must agree bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "digitize/scan_points.h"
#include "digitize/trace_line.h"
#include "digitize/trace_surface.h"

namespace plotvane {
namespace {

// ---- Generated charts -----------------------------------------------------

enum class Chart { Line, Area, Scatter, Noise };

// Colours at the limits the routines test: intensities 199 to 201, r + g + b
// of 600 and 601, pure black and (0, 0, 1), drops of 10 and 11 from white.
constexpr std::uint32_t kPalette[] = {0x000000, 0x000001, 0xC7C7C7, 0xC8C8C8, 0xC9C8C8, 0xC8C8C9,
                                      0x5AFFFF, 0x5BFFFF, 0xF5F5F5, 0xF4F4F4, 0x141E5A, 0x305090,
                                      0xD7D7E6, 0xFAFAFA, 0x808080, 0xFFFFFF};

class ChartMaker {
 public:
  ChartMaker(int width, int height, unsigned seed)
      : picture_(width, height, 0xFFFFFF), random_(seed) {}

  PixelArray make(Chart kind) {
    const int w = picture_.width(), h = picture_.height();
    for (int y = 0; y < h; y += 5 + below(40)) fillRect(0, y, w, 1, colour());
    for (int x = 0; x < w; x += 5 + below(60)) fillRect(x, 0, 1, h, colour());
    if (kind == Chart::Line) {
      for (int curve = 0; curve < 3; ++curve) {
        const double a = h / 3.0, b = 3.0 + below(300), c = below(7);
        const int thick = 1 + below(4);
        const std::uint32_t ink = colour();
        for (int x = 0; x < w; ++x)
          fillRect(x, static_cast<int>(h / 2 + a * std::sin(x / b + c)), 1, thick, ink);
      }
      // Full-width bars of one colour far apart: equal darkest rows in distant rows.
      const std::uint32_t bar = colour();
      for (int y = below(60); y < h; y += 200 + below(150)) fillRect(0, y, w, 1 + below(3), bar);
    } else if (kind == Chart::Area) {
      const double a = h / 3.0, b = 3.0 + below(300);
      const std::uint32_t fill = colour();
      for (int x = 0; x < w; ++x) {
        const int top = static_cast<int>(h / 2 + a * std::sin(x / b));
        fillRect(x, top, 1, h, fill);
      }
      for (int band = 0; band < 4; ++band) fillRect(0, below(h), w, 1 + below(h / 4 + 1), colour());
    } else if (kind == Chart::Scatter) {
      for (int disc = 0; disc < w * h / 120; ++disc) {
        const int cx = below(w), cy = below(h), r = below(6);
        const std::uint32_t ink = colour();
        const bool ring = below(4) == 0;
        for (int dy = -r; dy <= r; ++dy)
          for (int dx = -r; dx <= r; ++dx) {
            const int d = dx * dx + dy * dy;
            if (d <= r * r && (!ring || d >= (r - 1) * (r - 1)))
              fillRect(cx + dx, cy + dy, 1, 1, ink);
          }
      }
    }
    const int specks = kind == Chart::Noise ? w * h : w * h / 50;
    for (int i = 0; i < specks; ++i) {
      const std::uint32_t ink = below(3) == 0 ? static_cast<std::uint32_t>(random_()) : colour();
      fillRect(below(w), below(h), 1, 1, ink);
    }
    // The routines must ignore whatever the top byte holds.
    std::uint32_t* pixel = picture_.data();
    for (std::size_t i = 0; i < picture_.size(); i += 1 + below(5)) pixel[i] |= random_() << 24;
    return std::move(picture_);
  }

 private:
  int below(int n) { return n > 0 ? static_cast<int>(random_() % static_cast<unsigned>(n)) : 0; }
  std::uint32_t colour() { return kPalette[below(std::size(kPalette))]; }
  void fillRect(int x, int y, int w, int h, std::uint32_t colour) {
    for (int yy = std::max(y, 0); yy < std::min(y + h, picture_.height()); ++yy)
      for (int xx = std::max(x, 0); xx < std::min(x + w, picture_.width()); ++xx)
        picture_.set(xx, yy, colour);
  }

  PixelArray picture_;
  std::mt19937 random_;
};

struct Sample {
  Chart kind;
  int width, height;
};

// Tall pictures cross many row bands, wide ones more than one block of
// columns; the smallest have fewer columns than a vector holds.
constexpr Sample kSamples[] = {
    {Chart::Line, 300, 200},   {Chart::Area, 300, 200},  {Chart::Scatter, 300, 200},
    {Chart::Noise, 300, 200},  {Chart::Line, 37, 700},   {Chart::Area, 37, 700},
    {Chart::Scatter, 37, 700}, {Chart::Noise, 37, 700},  {Chart::Line, 8300, 14},
    {Chart::Area, 8300, 14},   {Chart::Noise, 8300, 14}, {Chart::Scatter, 1100, 60},
    {Chart::Line, 9, 5},       {Chart::Area, 15, 3},     {Chart::Noise, 1, 1}};

PixelArray sampleChart(const Sample& s, unsigned seed) {
  return ChartMaker(s.width, s.height, seed).make(s.kind);
}

// The rectangles of a W x H picture: whole (two ways), fractional, halves,
// partly outside, one column and row, reversed, beyond the picture, huge.
std::vector<std::array<float, 4>> rectangles(int width, int height) {
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  return {{0, w, 0, h},
          {0, w - 1, 0, h},
          {10.5f, w - 39.25f, 20.25f, h - 10.5f},
          {2.5f, w / 3 + 0.5f, 2.5f, h - 3.5f},
          {-20.5f, w + 13.75f, -7.25f, h + 9.5f},
          {w / 2, w / 2, h / 3, h / 3 + 1},
          {5, w - 5, h - 4, 3},
          {w + 5, w + 50, h + 2, h + 40},
          {-1e6f, 1e6f, -1e9f, 1e12f}};
}

std::vector<std::uint32_t> bits(const std::vector<DataPoint>& points) {
  std::vector<std::uint32_t> out;
  for (const DataPoint& p : points)
    for (const float f : {p.XData, p.YData, p.XPixel, p.YPixel})
      out.push_back(std::bit_cast<std::uint32_t>(f));
  return out;
}

// ---- Traces, column by column ---------------------------------------------

int intensity(std::uint32_t pixel, bool blackAsOne) {
  const int sum = redOf(pixel) + greenOf(pixel) + blueOf(pixel);
  return blackAsOne && sum == 0 ? 1 : sum / 3;
}

TraceResult referenceTrace(const PixelArray& picture, const TraceParams& p, bool surface) {
  const int width = picture.width(), height = picture.height(), n = p.divisions;
  const int half = (p.filter - 1) / 2;
  // Rows used, clamped to the picture; rows whose whole window lies in the
  // picture and between round(half + YT) and round(YB - half - 1) are smoothed.
  const int first = std::max(roundRow(p.rect.lineYT), 0);
  const int last =
      std::min(surface ? roundRow(p.rect.lineYB - 2.0f) + 1 : roundRow(p.rect.lineYB - 1.0f),
               width > 0 ? height - 1 : -1);
  int smoothFirst = 1, smoothLast = 0;
  if (p.filter > 1) {
    smoothFirst = std::max(roundRow(static_cast<float>(half) + p.rect.lineYT), half);
    smoothLast =
        std::min(roundRow(p.rect.lineYB - static_cast<float>(half) - 1.0f), height - 1 - half);
  }
  const float step = (p.rect.lineXE - p.rect.lineXS) / static_cast<float>(n);
  const float bottomLine = static_cast<float>(height - 1) - p.rect.lineYB;
  std::vector<int> column(static_cast<std::size_t>(std::max(height, 0)));
  std::vector<int> sums(column.size() + 1);
  TraceResult result;
  for (int i = 0; i <= n; ++i) {
    const float xPixel = static_cast<float>(i) * step + p.rect.lineXS;
    const float fx = std::floor(xPixel);
    const int x = fx >= static_cast<float>(width) ? width - 1 : fx > 0 ? static_cast<int>(fx) : 0;
    // Intensities of the column, and their running sums for the windows.
    for (int y = 0; y < height && x >= 0; ++y) {
      column[static_cast<std::size_t>(y)] = intensity(picture.at(x, y), surface);
      sums[static_cast<std::size_t>(y) + 1] =
          sums[static_cast<std::size_t>(y)] + column[static_cast<std::size_t>(y)];
    }
    const auto value = [&](int y) {
      if (y < smoothFirst || y > smoothLast) return column[static_cast<std::size_t>(y)];
      const int sum =
          sums[static_cast<std::size_t>(y + half + 1)] - sums[static_cast<std::size_t>(y - half)];
      return (sum + half) / p.filter;  // F is odd: a mean never ends in exactly one half
    };
    float yPixel = 0;
    if (surface) {
      int steepest = -10, row = -1;
      for (int y = first + 1; y <= last; ++y) {
        if (value(y) - value(y - 1) < steepest) steepest = value(y) - value(y - 1), row = y;
      }
      yPixel = row < 0 ? std::nearbyint(bottomLine) : static_cast<float>(height - 1 - row);
    } else {
      int darkest = 200, top = -1, bottom = -1;
      for (int y = first; y <= last; ++y) {
        const int v = value(y);
        if (v < darkest) darkest = v, top = y;
        if (v == darkest && v < 200) bottom = y;
      }
      const auto up = [&](int row) {
        return row < 0 ? bottomLine : static_cast<float>(height - 1 - row - 0.5);
      };
      yPixel = (up(top) + up(bottom)) / 2;
    }
    const float span = p.rect.lineYB - p.rect.lineYT;
    const float yData = span > 0 ? (yPixel - bottomLine) * (p.maxY - p.minY) / span + p.minY : 0;
    result.points.push_back(
        {static_cast<float>(i * p.pitch + static_cast<double>(p.minX)), yData, xPixel, yPixel});
  }
  return result;
}

TEST(ReferenceTraces, AgreeBitForBit) {
  unsigned seed = 1;
  for (const Sample& sample : kSamples) {
    const PixelArray picture = sampleChart(sample, seed++);
    for (const auto& [xs, xe, yt, yb] : rectangles(sample.width, sample.height)) {
      for (const int n : {1, 7, sample.width - 1, 2 * sample.width + 3}) {
        for (const int filter : {1, 3, 5, 127}) {
          const TraceParams p{{xs, xe, yt, yb}, -3, 2, -5, std::max(n, 1), 0.37, filter};
          SCOPED_TRACE(testing::Message()
                       << sample.width << 'x' << sample.height << " chart " << int(sample.kind)
                       << " rect " << xs << ',' << yt << ',' << xe << ',' << yb << " n "
                       << p.divisions << " F " << filter);
          const TraceResult line = traceLine(picture, p), surface = traceSurface(picture, p);
          EXPECT_EQ(line.end, TraceEnd::Completed);
          EXPECT_EQ(bits(line.points), bits(referenceTrace(picture, p, false).points));
          EXPECT_EQ(surface.end, TraceEnd::Completed);
          EXPECT_EQ(bits(surface.points), bits(referenceTrace(picture, p, true).points));
        }
      }
    }
  }
}

// Every window height on one picture, every column sampled.
TEST(ReferenceTraces, AgreeForEveryFilter) {
  const PixelArray picture = sampleChart({Chart::Noise, 70, 300}, 99);
  for (int filter = 1; filter <= 127; filter += 2) {
    const TraceParams p{{0.5f, 69.5f, 3.5f, 290.5f}, 0, 0, 1, 69, 1, filter};
    EXPECT_EQ(bits(traceLine(picture, p).points), bits(referenceTrace(picture, p, false).points))
        << filter;
    EXPECT_EQ(bits(traceSurface(picture, p).points), bits(referenceTrace(picture, p, true).points))
        << filter;
  }
}

// ---- Plot All Points, cell by cell ----------------------------------------

// The scan on a grid of one byte per cell: dark, visited, and the four
// directions in which the current walk stood on the cell. `stopAt` ends the
// run at that yield (counted from 1); `log` receives every yield.
class ReferenceScan {
 public:
  ReferenceScan(const PixelArray& picture, const ScanPointsParams& params, int stopAt,
                std::vector<std::string>& log)
      : picture_(picture), params_(params), stopAt_(stopAt), log_(log) {}

  ScanPointsResult run() {
    const Calibration& c = params_.calibration;
    const auto round = [](float v) -> std::optional<long long> {
      if (!std::isfinite(v)) return std::nullopt;
      return static_cast<long long>(std::clamp(std::nearbyint(double{v}), -1e9, 1e9));
    };
    const auto x0 = round(c.rect.lineXS), x1 = round(c.rect.lineXE - 1), y0 = round(c.rect.lineYT),
               y1 = round(c.rect.lineYB - 1);
    if (!x0 || !x1 || !y0 || !y1) return result_;
    left_ = static_cast<int>(std::max(*x0, 0LL));
    right_ = static_cast<int>(std::min(*x1, picture_.width() - 1LL));
    top_ = static_cast<int>(std::max(*y0, 0LL));
    bottom_ = static_cast<int>(std::min(*y1, picture_.height() - 1LL));
    width_ = right_ - left_ + 3;
    cells_.assign(static_cast<std::size_t>(std::max(width_, 0)) *
                      static_cast<std::size_t>(std::max(bottom_ - top_ + 3, 0)),
                  0);
    for (int y = top_; y <= bottom_; ++y)
      for (int x = left_; x <= right_; ++x) {
        const std::uint32_t v = picture_.at(x, y);
        cell(x, y) = redOf(v) + greenOf(v) + blueOf(v) <= 600 ? kDark : 0;
      }
    for (int x = left_; x <= right_; ++x) {
      if (const auto bar = scanProgressValue(x, c.rect.lineXS, c.rect.lineXE)) bar_ = *bar;
      if (x % 2 == 0 && !goOn(ScanStage::Marking, x)) return stopped();
    }
    for (int y = top_; y <= bottom_; ++y) {
      for (int x = left_; x <= right_; ++x)
        if ((cell(x, y) & (kDark | kVisited)) == kDark && !blob(x, y)) return result_;
      if (y % 2 == 0 && !goOn(ScanStage::Row, y)) return stopped();
    }
    return result_;
  }

 private:
  static constexpr std::uint8_t kDark = 1, kVisited = 2;

  std::uint8_t& cell(int x, int y) {
    return cells_[static_cast<std::size_t>(y - top_ + 1) * static_cast<std::size_t>(width_) +
                  static_cast<std::size_t>(x - left_ + 1)];
  }

  bool goOn(ScanStage stage, int position) {
    if (stopAt_ < 0) return true;
    log_.push_back(std::to_string(int(stage)) + ' ' + std::to_string(position) + ' ' +
                   std::to_string(bar_) + ' ' + std::to_string(result_.points.size()) + ' ' +
                   std::to_string(result_.painted.size()));
    return static_cast<int>(log_.size()) != stopAt_;
  }

  ScanPointsResult stopped() {
    result_.status = ScanPointsStatus::Stopped;
    return result_;
  }

  // Walks around the blob keeping it on the right, from the cell above
  // (x, y), until back at that cell or in a state it had before; then counts
  // the dark cells within the rows' spans of the walk.
  bool blob(int x, int y) {
    constexpr int dx[4] = {1, 0, -1, 0}, dy[4] = {0, 1, 0, -1};
    std::set<std::pair<const std::uint8_t*, int>> seen;  // cells and directions stood on
    std::map<int, std::pair<int, int>> span;             // row: leftmost, rightmost column
    int cx = x, cy = y - 1, d = 0, lowest = y;
    seen.insert({&cell(cx, cy), 0});
    for (;;) {
      if (cell(cx, cy) & kDark) {
        cx -= dx[d], cy -= dy[d], d = (d + 3) % 4;
      } else {
        cell(cx, cy) |= kVisited;
        const int r = (d + 1) % 4;
        if (!(cell(cx + dx[r], cy + dy[r]) & kDark)) d = r;
      }
      lowest = std::max(lowest, cy);
      const auto at = span.try_emplace(cy, cx, cx).first;
      at->second = {std::min(at->second.first, cx), std::max(at->second.second, cx)};
      if (params_.recordPainted && (cell(cx, cy) & kVisited)) result_.painted.push_back({cx, cy});
      cx += dx[d], cy += dy[d];
      if ((cx == x && cy == y - 1) || !seen.insert({&cell(cx, cy), d}).second) break;
    }
    long long sumX = 0, sumY = 0, count = 0;
    for (const auto& [r, columns] : span) {
      if (r < y - 1 || r > lowest) continue;
      for (int c = columns.first; c <= columns.second; ++c) {
        if (cell(c, r) & kDark) sumX += c, sumY += r, ++count;
        cell(c, r) |= kVisited;
      }
    }
    if (!goOn(ScanStage::Blob, y)) return stopped(), false;
    if (count == 0) {
      result_.status = ScanPointsStatus::SumError;
      return false;
    }
    const double mx = double(sumX) / double(count), my = double(sumY) / double(count);
    const float px = static_cast<float>(mx + 0.5), py = static_cast<float>(my + 0.5);
    const DataValue v = axisValuesAt(params_.calibration, px, py).value_or(DataValue{});
    result_.points.push_back(
        {v.x, v.y, px, static_cast<float>(double{params_.pictureHeight - 1.0f} - my - 0.5)});
    return true;
  }

  const PixelArray& picture_;
  const ScanPointsParams& params_;
  int stopAt_;
  std::vector<std::string>& log_;
  ScanPointsResult result_;
  int left_ = 0, right_ = -1, top_ = 0, bottom_ = -1, width_ = 0, bar_ = -1;
  std::vector<std::uint8_t> cells_;
};

struct ScanRun {
  ScanPointsResult result;
  std::vector<std::string> log;
};

// stopAt: -1 without a callback, 0 with one that always goes on.
ScanRun scanWith(const PixelArray& picture, const ScanPointsParams& params, int stopAt) {
  ScanRun run;
  if (stopAt < 0) {
    run.result = scanPoints(picture, params);
    return run;
  }
  run.result = scanPoints(picture, params, [&](const ScanPointsProgress& p) {
    run.log.push_back(std::to_string(int(p.stage)) + ' ' + std::to_string(p.position) + ' ' +
                      std::to_string(p.progressBar) + ' ' + std::to_string(p.points.size()) + ' ' +
                      std::to_string(p.painted.size()));
    return static_cast<int>(run.log.size()) != stopAt;
  });
  return run;
}

std::vector<int> cells(const std::vector<PictureCell>& painted) {
  std::vector<int> out;
  for (const PictureCell& c : painted) out.insert(out.end(), {c.x, c.y});
  return out;
}

TEST(ReferenceScanPoints, AgreesBitForBit) {
  unsigned seed = 100;
  for (const Sample& sample : kSamples) {
    const PixelArray picture = sampleChart(sample, seed++);
    for (const auto& [xs, xe, yt, yb] : rectangles(sample.width, sample.height)) {
      for (const bool painted : {false, true}) {
        const ScanPointsParams params{
            {{xs, xe, yt, yb}, -3, 7, 2, -5}, static_cast<float>(sample.height) + 0.5f, painted};
        std::vector<std::string> log;
        const ScanPointsResult expected = ReferenceScan(picture, params, 0, log).run();
        // Without a callback, with one that goes on, and stopped halfway.
        for (const int stopAt : {-1, 0, static_cast<int>(log.size() / 2) + 1}) {
          SCOPED_TRACE(testing::Message() << sample.width << 'x' << sample.height << " chart "
                                          << int(sample.kind) << " rect " << xs << ',' << yt << ','
                                          << xe << ',' << yb << " stop " << stopAt);
          std::vector<std::string> referenceLog;
          const ScanPointsResult reference =
              stopAt <= 0 ? expected : ReferenceScan(picture, params, stopAt, referenceLog).run();
          const ScanRun run = scanWith(picture, params, stopAt);
          EXPECT_EQ(run.result.status, reference.status);
          EXPECT_EQ(bits(run.result.points), bits(reference.points));
          EXPECT_EQ(cells(run.result.painted), cells(reference.painted));
          EXPECT_EQ(run.log, stopAt == 0 ? log : referenceLog);
        }
      }
    }
  }
}

}  // namespace
}  // namespace plotvane
