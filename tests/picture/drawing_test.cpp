#include "picture/drawing.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace plotvane {
namespace {

constexpr std::uint32_t kPaper = 0xFFFFFF, kInk = 0x123456;
constexpr int kW = 64, kH = 48;

// The textbook incremental line, unclipped, last point left out, then cut to a kW x kH image.
PixelArray textbookLine(long long x1, long long y1, long long x2, long long y2) {
  PixelArray image(kW, kH, kPaper);
  const bool steep = std::llabs(y2 - y1) > std::llabs(x2 - x1);
  if (steep) std::swap(x1, y1), std::swap(x2, y2);
  const long long dx = std::llabs(x2 - x1), dy = std::llabs(y2 - y1);
  const long long sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
  for (long long x = x1, y = y1, d = 2 * dy - dx; x != x2; x += sx, d += 2 * dy) {
    const long long px = steep ? y : x, py = steep ? x : y;
    if (px >= 0 && px < kW && py >= 0 && py < kH)
      image.set(static_cast<int>(px), static_cast<int>(py), kInk);
    if (d > 0) y += sy, d -= 2 * dx;
  }
  return image;
}

// '#' for ink, '.' for paper, each row ended by '/'.
std::string rows(const PixelArray& image) {
  std::string text;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) text += image.at(x, y) == kPaper ? '.' : '#';
    text += '/';
  }
  return text;
}

// Halfway between two rows (0,0 to 4,2) the row nearer the start is kept.
TEST(DrawLine, LeavesOutTheLastPointInEveryDirection) {
  struct Case {
    int x1, y1, x2, y2;
    const char* rows;
  };
  const Case cases[] = {
      {1, 1, 5, 1, "....../.####./....../"}, {5, 1, 1, 1, "....../..####/....../"},
      {1, 0, 1, 2, ".#..../.#..../....../"}, {0, 0, 3, 3, "#...../.#..../..#.../"},
      {2, 2, 2, 2, "....../....../....../"}, {0, 0, 4, 2, "##..../..##../....../"},
      {4, 2, 0, 0, "....../.##.../...##./"}};
  for (const Case& c : cases) {
    PixelArray image(6, 3, kPaper);
    drawLine(image, c.x1, c.y1, c.x2, c.y2, kInk);
    EXPECT_EQ(rows(image), c.rows) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
  }
}

TEST(DrawLine, ClippedLinesKeepTheUnclippedPixels) {
  // Crossing the view from every side, steep and shallow, both ways, ends at the 16-bit corners.
  const int lo = -32768, hi = 32767;
  std::vector<std::array<int, 4>> cases = {
      {-50, 5, 150, 5}, {150, 17, -50, 3},    {7, -40, 11, 90}, {lo, lo, hi, hi},
      {hi, lo, lo, hi}, {-32000, 20, hi, 21}, {13, hi, 14, lo}, {-3, -3, 64, 48},
      {63, 47, 63, 48}, {-1, 0, 64, 0},       {0, 48, 64, -1}};
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> near(-80, 140), far(-32768, 32767);
  for (int i = 0; i < 800; ++i) {
    const bool farX = i % 4 == 1, farY = i % 4 == 2;
    cases.push_back({farX ? far(random) : near(random), farY ? far(random) : near(random),
                     farX ? far(random) : near(random), farY ? far(random) : near(random)});
  }
  for (const auto& [x1, y1, x2, y2] : cases) {
    PixelArray image(kW, kH, kPaper);
    drawLine(image, x1, y1, x2, y2, kInk);
    ASSERT_EQ(image, textbookLine(x1, y1, x2, y2)) << x1 << "," << y1 << " to " << x2 << "," << y2;
  }
}

TEST(DrawBox, CornersRoundHalfToEvenInAnyOrderAndBothAreFilled) {
  struct Case {
    double x1, y1, x2, y2;
    const char* rows;
  };
  const Case cases[] = {
      {0.5, 0.5, 2.5, 1.5, "###.../###.../###.../....../"},  // 0..2, 0..2
      {3.5, 1.5, 1.5, 2.5, "....../....../..###./....../"},  // 2..4, 2..2
      {4.4, 3.6, 4.6, 3.4, "....../....../....../....##/"},  // 4..5, 3..4 (clipped)
      {1, 3, 1, 3, "....../....../....../.#..../"}};
  for (const Case& c : cases) {
    PixelArray image(6, 4, kPaper);
    drawBox(image, c.x1, c.y1, c.x2, c.y2, kInk);
    EXPECT_EQ(rows(image), c.rows) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
  }
}

TEST(Drawing, NothingBesideTheImageOrBeyondTheExactRange) {
  PixelArray image(6, 4, kPaper), empty;
  drawLine(image, -kMaxLineCoordinate - 1, 3, 5, 3, kInk);
  drawLine(image, 1, 1, 1, 2147483647, kInk);
  const double boxes[][4] = {
      {-9, -9, -2, 2}, {7, 0, 30, 3}, {0, 5, 4, 8}, {0, -4, 4, -1}, {NAN, 0, 3, 3}};
  for (const auto& [x1, y1, x2, y2] : boxes) drawBox(image, x1, y1, x2, y2, kInk);
  EXPECT_EQ(image, PixelArray(6, 4, kPaper));
  drawLine(empty, 0, 0, 5, 5, kInk);  // no pixels, no fault
  drawBox(empty, 0, 0, 5, 5, kInk);
}

}  // namespace
}  // namespace plotvane
