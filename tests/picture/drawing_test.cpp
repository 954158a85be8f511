#include "picture/drawing.h"

#include <gtest/gtest.h>

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
  // clang-format off
  const struct { int x1, y1, x2, y2; const char* rows; } examples[] = {
      {.x1 = 1, .y1 = 1, .x2 = 5, .y2 = 1, .rows = "....../.####./....../"},
      {.x1 = 1, .y1 = 0, .x2 = 1, .y2 = 2, .rows = ".#..../.#..../....../"},
      {.x1 = 0, .y1 = 0, .x2 = 3, .y2 = 3, .rows = "#...../.#..../..#.../"},
      {.x1 = 2, .y1 = 2, .x2 = 2, .y2 = 2, .rows = "....../....../....../"},
      {.x1 = 0, .y1 = 0, .x2 = 4, .y2 = 2, .rows = "##..../..##../....../"},
      {.x1 = 4, .y1 = 2, .x2 = 0, .y2 = 0, .rows = "....../.##.../...##./"}};
  const int lo = -32768, hi = 32767;
  const struct { int x1, y1, x2, y2; } clipped[] = {
      {.x1 = 150, .y1 = 17, .x2 = -50, .y2 = 3}, {.x1 = 7, .y1 = -40, .x2 = 11, .y2 = 90},
      {.x1 = lo, .y1 = lo, .x2 = hi, .y2 = hi}, {.x1 = -32000, .y1 = 20, .x2 = hi, .y2 = 21},
      {.x1 = 13, .y1 = hi, .x2 = 14, .y2 = lo}, {.x1 = 63, .y1 = 47, .x2 = 63, .y2 = 48}};
  // clang-format on
  for (const auto& c : examples) {
    PixelArray image(6, 3, kPaper);
    drawLine(image, c.x1, c.y1, c.x2, c.y2, kInk);
    EXPECT_EQ(rows(image), c.rows) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
  }
  for (const auto& c : clipped) {
    PixelArray image(64, 48, kPaper);
    drawLine(image, c.x1, c.y1, c.x2, c.y2, kInk);
    EXPECT_EQ(image, textbookLine(c.x1, c.y1, c.x2, c.y2))
        << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
  }
}

// Corners round half to even in any order, both filled; nothing beside the image or out of range.
TEST(Drawing, BoxesRoundHalfToEvenAndNothingIsDrawnBesideTheImage) {
  // clang-format off
  const struct { double x1, y1, x2, y2; const char* rows; } cases[] = {
      // Corners 0..2, 0..2; 2..4, 2..2; 4..5, 3..4 (clipped).
      {.x1 = 0.5, .y1 = 0.5, .x2 = 2.5, .y2 = 1.5, .rows = "###.../###.../###.../....../"},
      {.x1 = 3.5, .y1 = 1.5, .x2 = 1.5, .y2 = 2.5, .rows = "....../....../..###./....../"},
      {.x1 = 4.4, .y1 = 3.6, .x2 = 4.6, .y2 = 3.4, .rows = "....../....../....../....##/"},
      {.x1 = 1, .y1 = 3, .x2 = 1, .y2 = 3, .rows = "....../....../....../.#..../"}};
  const struct { double x1, y1, x2, y2; } outside[] = {
      {.x1 = -9, .y1 = -9, .x2 = -2, .y2 = 2}, {.x1 = 7, .y1 = 0, .x2 = 30, .y2 = 3},
      {.x1 = 0, .y1 = 5, .x2 = 4, .y2 = 8}, {.x1 = 0, .y1 = -4, .x2 = 4, .y2 = -1},
      {.x1 = NAN, .y1 = 0, .x2 = 3, .y2 = 3}};
  // clang-format on
  for (const auto& c : cases) {
    PixelArray image(6, 4, kPaper);
    drawBox(image, c.x1, c.y1, c.x2, c.y2, kInk);
    EXPECT_EQ(rows(image), c.rows) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
  }
  PixelArray image(6, 4, kPaper), empty;
  for (const auto& c : outside) drawBox(image, c.x1, c.y1, c.x2, c.y2, kInk);
  drawLine(image, -kMaxLineCoordinate - 1, 3, 5, 3, kInk);
  drawLine(image, 1, 1, 1, 2147483647, kInk);
  drawLine(empty, 0, 0, 5, 5, kInk);
  drawBox(empty, 0, 0, 5, 5, kInk);
  EXPECT_EQ(image, PixelArray(6, 4, kPaper));
}

}  // namespace
}  // namespace plotvane
