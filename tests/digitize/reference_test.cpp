// Trace Line, Trace Surface and Plot All Points against plain versions kept here, bit for bit, on
// generated charts of every kind and rectangles of every kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "digitize/scan_points.h"
#include "digitize/trace_line.h"
#include "digitize/trace_surface.h"

namespace plotvane {
namespace {

enum class Chart { Line, Area, Scatter, Noise };

// Colours at the limits the routines test: intensities 199 to 201, r + g + b of 600 and 601, pure
// black and (0, 0, 1), drops of 10 and 11 from white.
constexpr std::uint32_t kPalette[] = {0x000000, 0x000001, 0xC7C7C7, 0xC8C8C8, 0xC9C8C8, 0xC8C8C9,
                                      0x5AFFFF, 0x5BFFFF, 0xF5F5F5, 0xF4F4F4, 0x141E5A, 0x305090,
                                      0xD7D7E6, 0xFAFAFA, 0x808080, 0xFFFFFF};

// A chart of the kind over grid lines, with specks, and top bytes that the routines must ignore.
PixelArray makeChart(Chart kind, int w, int h, unsigned seed) {
  PixelArray picture(w, h, 0xFFFFFF);
  std::mt19937 random(seed);
  const auto below = [&](int n) { return n > 0 ? static_cast<int>(random() % unsigned(n)) : 0; };
  const auto colour = [&] { return kPalette[below(std::size(kPalette))]; };
  const auto fill = [&](int x, int y, int fw, int fh, std::uint32_t c) {
    for (int yy = std::max(y, 0); yy < std::min(y + fh, h); ++yy)
      for (int xx = std::max(x, 0); xx < std::min(x + fw, w); ++xx) picture.set(xx, yy, c);
  };
  for (int y = 0; y < h; y += 5 + below(40)) fill(0, y, w, 1, colour());
  for (int x = 0; x < w; x += 5 + below(60)) fill(x, 0, 1, h, colour());
  // Lines, or areas under a curve; full-width bars far apart give equal darkest rows.
  for (int line = 0; line < (kind == Chart::Line ? 3 : kind == Chart::Area); ++line) {
    const double period = 3.0 + below(300), phase = below(7);
    const int thick = kind == Chart::Area ? h : 1 + below(4);
    const std::uint32_t ink = colour();
    for (int x = 0; x < w; ++x)
      fill(x, int(h / 2 + h / 3.0 * std::sin(x / period + phase)), 1, thick, ink);
  }
  for (int y = below(60); kind == Chart::Line && y < h; y += 200 + below(150))
    fill(0, y, w, 2, kPalette[0]);
  for (int band = 0; kind == Chart::Area && band < 4; ++band)
    fill(0, below(h), w, 1 + below(h / 4 + 1), colour());
  // Discs and rings.
  for (int disc = 0; kind == Chart::Scatter && disc < w * h / 120; ++disc) {
    const int cx = below(w), cy = below(h), r = below(6), ring = below(4) == 0;
    const std::uint32_t ink = colour();
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx)
        if (dx * dx + dy * dy <= r * r && (!ring || dx * dx + dy * dy >= (r - 1) * (r - 1)))
          fill(cx + dx, cy + dy, 1, 1, ink);
  }
  for (int i = 0; i < (kind == Chart::Noise ? w * h : w * h / 50); ++i)
    fill(below(w), below(h), 1, 1, below(3) == 0 ? static_cast<std::uint32_t>(random()) : colour());
  for (std::size_t i = 0; i < picture.size(); i += 1 + below(5))
    picture.data()[i] |= random() << 24;
  return picture;
}

// Tall pictures cross many row bands, wide ones more than one block of columns; the smallest have
// fewer columns than a vector holds.
// clang-format off
constexpr struct { Chart kind; int width, height; } kSamples[] = {
    {Chart::Line, 300, 200}, {Chart::Area, 300, 200}, {Chart::Scatter, 300, 200},
    {Chart::Noise, 300, 200}, {Chart::Line, 37, 700}, {Chart::Area, 37, 700},
    {Chart::Scatter, 37, 700}, {Chart::Noise, 37, 700}, {Chart::Line, 8300, 14},
    {Chart::Area, 8300, 14}, {Chart::Noise, 8300, 14}, {Chart::Scatter, 1100, 60},
    {Chart::Line, 9, 5}, {Chart::Area, 15, 3}, {Chart::Noise, 1, 1}};
// clang-format on

// The rectangles of a W x H picture: whole (two ways), fractional, halves, partly outside, one
// column and row, reversed, beyond the picture, huge.
std::vector<PixelRect> rectangles(float w, float h) {
  // clang-format off
  return {{0, w, 0, h}, {0, w - 1, 0, h}, {10.5f, w - 39.25f, 20.25f, h - 10.5f},
          {2.5f, w / 3 + 0.5f, 2.5f, h - 3.5f}, {-20.5f, w + 13.75f, -7.25f, h + 9.5f},
          {w / 2, w / 2, h / 3, h / 3 + 1}, {5, w - 5, h - 4, 3}, {w + 5, w + 50, h + 2, h + 40},
          {-1e6f, 1e6f, -1e9f, 1e12f}};
  // clang-format on
}

std::vector<std::uint32_t> bits(const std::vector<DataPoint>& points) {
  std::vector<std::uint32_t> out;
  for (const DataPoint& p : points)
    for (const float f : {p.XData, p.YData, p.XPixel, p.YPixel})
      out.push_back(std::bit_cast<std::uint32_t>(f));
  return out;
}

::testing::Message where(int width, int height, const PixelRect& r) {
  return ::testing::Message() << width << 'x' << height << " rect " << r.lineXS << ',' << r.lineYT
                              << ',' << r.lineXE << ',' << r.lineYB;
}

// ---- Traces, column by column ---------------------------------------------

int intensity(std::uint32_t pixel, bool blackAsOne) {
  const int sum = redOf(pixel) + greenOf(pixel) + blueOf(pixel);
  return blackAsOne && sum == 0 ? 1 : sum / 3;
}

std::vector<DataPoint> referenceTrace(const PixelArray& picture, const TraceParams& p,
                                      bool surface) {
  const int width = picture.width(), height = picture.height(), half = (p.filter - 1) / 2;
  // Rows used, clamped to the picture; rows whose whole window lies in the picture and between
  // round(half + YT) and round(YB - half - 1) are smoothed.
  const int first = std::max(roundRow(p.rect.lineYT), 0);
  const int last =
      std::min(surface ? roundRow(p.rect.lineYB - 2.0f) + 1 : roundRow(p.rect.lineYB - 1.0f),
               width > 0 ? height - 1 : -1);
  const bool smooth = p.filter > 1;
  const int smoothFirst = smooth ? std::max(roundRow(float(half) + p.rect.lineYT), half) : 1;
  const int smoothLast =
      smooth ? std::min(roundRow(p.rect.lineYB - float(half) - 1.0f), height - 1 - half) : 0;
  const float step = (p.rect.lineXE - p.rect.lineXS) / float(p.divisions);
  const float bottomLine = float(height - 1) - p.rect.lineYB, span = p.rect.lineYB - p.rect.lineYT;
  std::vector<int> column(std::max(height, 0)), sums(column.size() + 1);
  std::vector<DataPoint> points;
  for (int i = 0; i <= p.divisions; ++i) {
    const float xPixel = float(i) * step + p.rect.lineXS, fx = std::floor(xPixel);
    const int x = fx >= float(width) ? width - 1 : fx > 0 ? int(fx) : 0;
    for (int y = 0; y < height && x >= 0; ++y) {
      column[y] = intensity(picture.at(x, y), surface);
      sums[y + 1] = sums[y] + column[y];
    }
    const auto value = [&](int y) {  // F is odd: a mean never ends in exactly one half
      if (y < smoothFirst || y > smoothLast) return column[y];
      return (sums[y + half + 1] - sums[y - half] + half) / p.filter;
    };
    float yPixel = 0;
    if (surface) {
      int steepest = -10, row = -1;
      for (int y = first + 1; y <= last; ++y)
        if (value(y) - value(y - 1) < steepest) steepest = value(y) - value(y - 1), row = y;
      yPixel = row < 0 ? std::nearbyint(bottomLine) : float(height - 1 - row);
    } else {
      int darkest = 200, top = -1, bottom = -1;
      for (int y = first; y <= last; ++y) {
        const int v = value(y);
        if (v < darkest) darkest = v, top = y;
        if (v == darkest && v < 200) bottom = y;
      }
      const auto up = [&](int row) { return row < 0 ? bottomLine : float(height - 1 - row - 0.5); };
      yPixel = (up(top) + up(bottom)) / 2;
    }
    const float yData = span > 0 ? (yPixel - bottomLine) * (p.maxY - p.minY) / span + p.minY : 0;
    points.push_back({float(i * p.pitch + double(p.minX)), yData, xPixel, yPixel});
  }
  return points;
}

TEST(ReferenceTraces, AgreeBitForBit) {
  unsigned seed = 1;
  for (const auto& s : kSamples) {
    const PixelArray picture = makeChart(s.kind, s.width, s.height, seed++);
    for (const PixelRect& rect : rectangles(float(s.width), float(s.height)))
      for (const int n : {1, 7, std::max(s.width - 1, 1), 2 * s.width + 3})
        for (const int filter : {1, 3, 5, 127}) {
          const TraceParams p{rect, -3, 2, -5, n, 0.37, filter};
          SCOPED_TRACE(where(s.width, s.height, rect) << " n " << n << " F " << filter);
          const TraceResult line = traceLine(picture, p), surface = traceSurface(picture, p);
          EXPECT_EQ(line.end, TraceEnd::Completed);
          EXPECT_EQ(bits(line.points), bits(referenceTrace(picture, p, false)));
          EXPECT_EQ(surface.end, TraceEnd::Completed);
          EXPECT_EQ(bits(surface.points), bits(referenceTrace(picture, p, true)));
        }
  }
}

// Every window height on one picture, every column sampled.
TEST(ReferenceTraces, AgreeForEveryFilter) {
  const PixelArray picture = makeChart(Chart::Noise, 70, 300, 99);
  for (int filter = 1; filter <= 127; filter += 2) {
    const TraceParams p{{0.5f, 69.5f, 3.5f, 290.5f}, 0, 0, 1, 69, 1, filter};
    EXPECT_EQ(bits(traceLine(picture, p).points), bits(referenceTrace(picture, p, false)))
        << filter;
    EXPECT_EQ(bits(traceSurface(picture, p).points), bits(referenceTrace(picture, p, true)))
        << filter;
  }
}

// ---- Plot All Points, cell by cell ----------------------------------------

// What a run returned and what it showed at each yield.
struct ScanRun {
  ScanPointsResult result;
  std::vector<std::string> log;
};

std::string logEntry(ScanStage stage, int position, int bar, std::size_t points,
                     std::size_t painted) {
  return std::to_string(int(stage)) + ' ' + std::to_string(position) + ' ' + std::to_string(bar) +
         ' ' + std::to_string(points) + ' ' + std::to_string(painted);
}

// The scan on a grid of one byte per cell (dark, visited), stopped at yield `stopAt` (counted from
// 1; 0 never).
ScanRun referenceScan(const PixelArray& picture, const ScanPointsParams& params, int stopAt) {
  constexpr std::uint8_t kDark = 1, kVisited = 2;
  ScanRun out;
  ScanPointsResult& result = out.result;
  const PixelRect& r = params.calibration.rect;
  const auto round = [](float v) { return std::clamp(std::nearbyint(double{v}), -1e9, 1e9); };
  const int left = int(std::max(round(r.lineXS), 0.0)),
            right = int(std::min(round(r.lineXE - 1), picture.width() - 1.0));
  const int top = int(std::max(round(r.lineYT), 0.0)),
            bottom = int(std::min(round(r.lineYB - 1), picture.height() - 1.0));
  const int width = right - left + 3;  // a border of one cell all round
  std::vector<std::uint8_t> grid(std::size_t(std::max(width, 0)) * std::max(bottom - top + 3, 0));
  const auto cell = [&](int x, int y) -> std::uint8_t& {
    return grid[std::size_t(y - top + 1) * width + x - left + 1];
  };
  int bar = -1;
  const auto goOn = [&](ScanStage stage, int position) {
    out.log.push_back(logEntry(stage, position, bar, result.points.size(), result.painted.size()));
    if (int(out.log.size()) == stopAt) result.status = ScanPointsStatus::Stopped;
    return int(out.log.size()) != stopAt;
  };
  // Walks around the blob keeping it on the right, from the cell above (x, y), until back at that
  // cell or in a state it had before; then counts the dark cells within the rows' spans of the
  // walk. False ends the run.
  const auto blob = [&](int x, int y) {
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
        if (!(cell(cx + dx[(d + 1) % 4], cy + dy[(d + 1) % 4]) & kDark)) d = (d + 1) % 4;
      }
      lowest = std::max(lowest, cy);
      const auto at = span.try_emplace(cy, cx, cx).first;
      at->second = {std::min(at->second.first, cx), std::max(at->second.second, cx)};
      if (params.recordPainted && (cell(cx, cy) & kVisited)) result.painted.push_back({cx, cy});
      cx += dx[d], cy += dy[d];
      if ((cx == x && cy == y - 1) || !seen.insert({&cell(cx, cy), d}).second) break;
    }
    long long sumX = 0, sumY = 0, count = 0;
    for (const auto& [row, columns] : span) {
      if (row < y - 1 || row > lowest) continue;
      for (int c = columns.first; c <= columns.second; ++c) {
        if (cell(c, row) & kDark) sumX += c, sumY += row, ++count;
        cell(c, row) |= kVisited;
      }
    }
    if (!goOn(ScanStage::Blob, y)) return false;
    if (count == 0) return result.status = ScanPointsStatus::SumError, false;
    const double mx = double(sumX) / double(count), my = double(sumY) / double(count);
    const float px = static_cast<float>(mx + 0.5), py = static_cast<float>(my + 0.5);
    const DataValue v = axisValuesAt(params.calibration, px, py).value_or(DataValue{});
    result.points.push_back({v.x, v.y, px, float(double{params.pictureHeight - 1.0f} - my - 0.5)});
    return true;
  };
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      const std::uint32_t v = picture.at(x, y);
      cell(x, y) = redOf(v) + greenOf(v) + blueOf(v) <= 600 ? kDark : 0;
    }
  for (int x = left; x <= right; ++x) {
    if (const auto shown = scanProgressValue(x, r.lineXS, r.lineXE)) bar = *shown;
    if (x % 2 == 0 && !goOn(ScanStage::Marking, x)) return out;
  }
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x)
      if ((cell(x, y) & (kDark | kVisited)) == kDark && !blob(x, y)) return out;
    if (y % 2 == 0 && !goOn(ScanStage::Row, y)) return out;
  }
  return out;
}

// stopAt: -1 without a callback, 0 with one that always goes on.
ScanRun scanWith(const PixelArray& picture, const ScanPointsParams& params, int stopAt) {
  ScanRun run;
  if (stopAt < 0) return {scanPoints(picture, params), {}};
  run.result = scanPoints(picture, params, [&](const ScanPointsProgress& p) {
    run.log.push_back(
        logEntry(p.stage, p.position, p.progressBar, p.points.size(), p.painted.size()));
    return int(run.log.size()) != stopAt;
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
  for (const auto& s : kSamples) {
    const PixelArray picture = makeChart(s.kind, s.width, s.height, seed++);
    for (const PixelRect& rect : rectangles(float(s.width), float(s.height)))
      for (const bool painted : {false, true}) {
        const ScanPointsParams params{{rect, -3, 7, 2, -5}, float(s.height) + 0.5f, painted};
        const ScanRun whole = referenceScan(picture, params, 0);
        // Without a callback, with one that goes on, and stopped halfway.
        for (const int stopAt : {-1, 0, int(whole.log.size() / 2) + 1}) {
          SCOPED_TRACE(where(s.width, s.height, rect) << " stop " << stopAt);
          const ScanRun want = stopAt <= 0 ? whole : referenceScan(picture, params, stopAt);
          const ScanRun got = scanWith(picture, params, stopAt);
          EXPECT_EQ(got.result.status, want.result.status);
          EXPECT_EQ(bits(got.result.points), bits(want.result.points));
          EXPECT_EQ(cells(got.result.painted), cells(want.result.painted));
          EXPECT_EQ(got.log, stopAt < 0 ? std::vector<std::string>{} : want.log);
        }
      }
  }
}

}  // namespace
}  // namespace plotvane
