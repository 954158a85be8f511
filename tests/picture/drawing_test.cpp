#include "picture/drawing.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

namespace plotvane {
namespace {

constexpr std::uint32_t kPaper = 0xFFFFFF, kInk = 0x123456;

// The textbook incremental line, unclipped, last point left out, then cut to a 64 x 48 image.
PixelArray textbookLine(long long x1, long long y1, long long x2, long long y2) {
  PixelArray image(64, 48, kPaper);
  const bool steep = std::llabs(y2 - y1) > std::llabs(x2 - x1);
  if (steep) std::swap(x1, y1), std::swap(x2, y2);
  const long long dx = std::llabs(x2 - x1), dy = std::llabs(y2 - y1), sy = y2 >= y1 ? 1 : -1;
  for (long long x = x1, y = y1, d = 2 * dy - dx; x != x2; x += x2 > x1 ? 1 : -1, d += 2 * dy) {
    const long long px = steep ? y : x, py = steep ? x : y;
    if (px >= 0 && px < 64 && py >= 0 && py < 48) image.set(int(px), int(py), kInk);
    if (d > 0) y += sy, d -= 2 * dx;
  }
  return image;
}

// '#' for ink, '.' for paper, each row ended by '/'.
std::string rows(const PixelArray& image) {
  std::string text;
  for (int y = 0; y < image.height(); ++y, text += '/')
    for (int x = 0; x < image.width(); ++x) text += image.at(x, y) == kPaper ? '.' : '#';
  return text;
}

// Halfway between two rows (0,0 to 4,2) the row nearer the start is kept. Lines clipped on every
// side, steep and shallow, both ways, out to 16 bits, keep exactly the unclipped line's pixels.
TEST(Drawing, LinesLeaveOutTheLastPointAndClipToTheUnclippedPixels) {
  const std::pair<std::array<int, 4>, const char*> examples[] = {
      {{1, 1, 5, 1}, "....../.####./....../"}, {{1, 0, 1, 2}, ".#..../.#..../....../"},
      {{0, 0, 3, 3}, "#...../.#..../..#.../"}, {{2, 2, 2, 2}, "....../....../....../"},
      {{0, 0, 4, 2}, "##..../..##../....../"}, {{4, 2, 0, 0}, "....../.##.../...##./"}};
  for (const auto& [line, want] : examples) {
    PixelArray image(6, 3, kPaper);
    drawLine(image, line[0], line[1], line[2], line[3], kInk);
    EXPECT_EQ(rows(image), want) << ::testing::PrintToString(line);
  }
  const int lo = -32768, hi = 32767;
  const std::array<int, 4> clipped[] = {{150, 17, -50, 3},    {7, -40, 11, 90}, {lo, lo, hi, hi},
                                        {-32000, 20, hi, 21}, {13, hi, 14, lo}, {63, 47, 63, 48}};
  for (const auto& [x1, y1, x2, y2] : clipped) {
    PixelArray image(64, 48, kPaper);
    drawLine(image, x1, y1, x2, y2, kInk);
    EXPECT_EQ(image, textbookLine(x1, y1, x2, y2)) << x1 << "," << y1 << " to " << x2 << "," << y2;
  }
}

// Corners round half to even in any order, both filled; nothing beside the image or out of range.
TEST(Drawing, BoxesRoundHalfToEvenAndNothingIsDrawnBesideTheImage) {
  const std::pair<std::array<double, 4>, const char*> cases[] = {
      {{0.5, 0.5, 2.5, 1.5}, "###.../###.../###.../....../"},  // 0..2, 0..2
      {{3.5, 1.5, 1.5, 2.5}, "....../....../..###./....../"},  // 2..4, 2..2
      {{4.4, 3.6, 4.6, 3.4}, "....../....../....../....##/"},  // 4..5, 3..4 (clipped)
      {{1, 3, 1, 3}, "....../....../....../.#..../"}};
  for (const auto& [box, want] : cases) {
    PixelArray image(6, 4, kPaper);
    drawBox(image, box[0], box[1], box[2], box[3], kInk);
    EXPECT_EQ(rows(image), want) << ::testing::PrintToString(box);
  }
  PixelArray image(6, 4, kPaper), empty;
  const double outside[][4] = {
      {-9, -9, -2, 2}, {7, 0, 30, 3}, {0, 5, 4, 8}, {0, -4, 4, -1}, {NAN, 0, 3, 3}};
  for (const auto& [x1, y1, x2, y2] : outside) drawBox(image, x1, y1, x2, y2, kInk);
  drawLine(image, -kMaxLineCoordinate - 1, 3, 5, 3, kInk);
  drawLine(image, 1, 1, 1, 2147483647, kInk);
  drawLine(empty, 0, 0, 5, 5, kInk);
  drawBox(empty, 0, 0, 5, 5, kInk);
  EXPECT_EQ(image, PixelArray(6, 4, kPaper));
}

}  // namespace
}  // namespace plotvane
