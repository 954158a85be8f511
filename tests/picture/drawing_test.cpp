#include "picture/drawing.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace plotvane {
namespace {

constexpr std::uint32_t kPaper = 0xFFFFFF;
constexpr std::uint32_t kInk = 0x123456;

// The textbook incremental form, unclipped: decision variable, step along
// the minor axis when it is positive. Every pixel is kept, inside the image
// or not.
struct Pixel {
  long long x, y;
};
std::vector<Pixel> textbookLine(long long x1, long long y1, long long x2, long long y2) {
  std::vector<Pixel> pixels;
  const long long dx = std::llabs(x2 - x1), dy = std::llabs(y2 - y1);
  const long long sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
  if (dx >= dy) {
    long long d = 2 * dy - dx, y = y1;
    for (long long x = x1; x != x2; x += sx) {
      pixels.push_back({x, y});
      if (d > 0) {
        y += sy;
        d -= 2 * dx;
      }
      d += 2 * dy;
    }
  } else {
    long long d = 2 * dx - dy, x = x1;
    for (long long y = y1; y != y2; y += sy) {
      pixels.push_back({x, y});
      if (d > 0) {
        x += sx;
        d -= 2 * dy;
      }
      d += 2 * dx;
    }
  }
  return pixels;
}

PixelArray expectedLine(int width, int height, int x1, int y1, int x2, int y2) {
  PixelArray image(width, height, kPaper);
  for (const Pixel& p : textbookLine(x1, y1, x2, y2))
    if (p.x >= 0 && p.x < width && p.y >= 0 && p.y < height)
      image.set(static_cast<int>(p.x), static_cast<int>(p.y), kInk);
  return image;
}

// '#' for ink, '.' for paper, one string per row.
std::vector<std::string> picture(const PixelArray& image) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) row += image.at(x, y) == kPaper ? '.' : '#';
    rows.push_back(row);
  }
  return rows;
}

TEST(DrawLine, LeavesOutTheLastPointInEveryDirection) {
  struct Case {
    int x1, y1, x2, y2;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {1, 1, 5, 1, {"......", ".####.", "......"}},
      {5, 1, 1, 1, {"......", "..####", "......"}},
      {1, 0, 1, 2, {".#....", ".#....", "......"}},
      {0, 0, 3, 3, {"#.....", ".#....", "..#..."}},
      {2, 2, 2, 2, {"......", "......", "......"}},
      // A slope of 1/2 passes halfway between two rows at columns 1 and 3
      // from the start; there it keeps the row nearer the start.
      {0, 0, 4, 2, {"##....", "..##..", "......"}},
      {4, 2, 0, 0, {"......", ".##...", "...##."}},
  };
  for (const Case& c : cases) {
    PixelArray image(6, 3, kPaper);
    drawLine(image, c.x1, c.y1, c.x2, c.y2, kInk);
    EXPECT_EQ(picture(image), c.rows) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
  }
}

TEST(DrawLine, ClippedLinesKeepTheUnclippedPixels) {
  struct Case {
    int x1, y1, x2, y2;
  };
  // Crossing the view from outside on every side, steep and shallow, both
  // ways, with ends at the far 16-bit corners.
  std::vector<Case> cases = {
      {-50, 5, 150, 5},
      {150, 17, -50, 3},
      {7, -40, 11, 90},
      {-32768, -32768, 32767, 32767},
      {32767, -32768, -32768, 32767},
      {-32000, 20, 32767, 21},
      {13, 32767, 14, -32768},
      {-3, -3, 64, 48},
      {63, 47, 63, 48},
      {-1, 0, 64, 0},
      {0, 48, 64, -1},
  };
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> near(-80, 140);
  std::uniform_int_distribution<int> far(-32768, 32767);
  for (int i = 0; i < 400; ++i)
    cases.push_back({near(random), near(random), near(random), near(random)});
  for (int i = 0; i < 200; ++i)
    cases.push_back({far(random), near(random), far(random), near(random)});
  for (int i = 0; i < 200; ++i)
    cases.push_back({near(random), far(random), near(random), far(random)});

  for (const Case& c : cases) {
    PixelArray image(64, 48, kPaper);
    drawLine(image, c.x1, c.y1, c.x2, c.y2, kInk);
    ASSERT_EQ(image, expectedLine(64, 48, c.x1, c.y1, c.x2, c.y2))
        << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
  }
}

TEST(DrawLine, EndsBeyondTheExactRangeDrawNothing) {
  PixelArray image(8, 8, kPaper);
  drawLine(image, -kMaxLineCoordinate - 1, 3, 5, 3, kInk);
  drawLine(image, 1, 1, 1, 2147483647, kInk);
  EXPECT_EQ(image, PixelArray(8, 8, kPaper));
  PixelArray empty;
  drawLine(empty, 0, 0, 5, 5, kInk);  // no pixels, no fault
}

TEST(DrawBox, CornersRoundHalfToEvenInAnyOrderAndBothAreFilled) {
  struct Case {
    double x1, y1, x2, y2;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {0.5, 0.5, 2.5, 1.5, {"###...", "###...", "###...", "......"}},  // 0..2, 0..2
      {3.5, 1.5, 1.5, 2.5, {"......", "......", "..###.", "......"}},  // 2..4, 2..2
      {4.4, 3.6, 4.6, 3.4, {"......", "......", "......", "....##"}},  // 4..5, 3..4 (clipped)
      {-9, -9, -2, 2, {"......", "......", "......", "......"}},
      {7, 0, 30, 3, {"......", "......", "......", "......"}},
      {NAN, 0, 3, 3, {"......", "......", "......", "......"}},
      {1, 3, 1, 3, {"......", "......", "......", ".#...."}},
  };
  for (const Case& c : cases) {
    PixelArray image(6, 4, kPaper);
    drawBox(image, c.x1, c.y1, c.x2, c.y2, kInk);
    EXPECT_EQ(picture(image), c.rows) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
  }
}

TEST(FillBox, BoxesWhollyBesideTheImageDrawNothing) {
  PixelArray image(5, 5, kPaper);
  for (const auto& [l, t, r, b] : {std::array{7, 0, 9, 4}, std::array{-9, 0, -6, 4},
                                   std::array{0, 6, 4, 8}, std::array{0, -4, 4, -1}})
    fillBox(image, l, t, r, b, kInk);
  EXPECT_EQ(image, PixelArray(5, 5, kPaper));
}

}  // namespace
}  // namespace plotvane
