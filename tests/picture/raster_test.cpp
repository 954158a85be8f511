#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>

#include "base/number_text.h"
#include "picture/bitmap_file.h"
#include "picture/drawing.h"
#include "picture/pixel_transfer.h"
#include "support/picture_form.h"

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

using testing::codedPicture;
using testing::codedPixel;

constexpr std::uint32_t kFace = 0xF0F0F0;

TEST(PixelTransfer, RoundTripByteForByteAndTheTopByteRuleDownToOnePixel) {
  PixelArray picture = codedPicture(37, 23), array(3, 3, 0x123456);
  ReadPixels(picture, array);
  ASSERT_EQ(array, codedPicture(37, 23));
  WritePixels(picture, array);
  EXPECT_EQ(std::memcmp(picture.data(), array.data(), array.size() * 4), 0);
  WritePixels(picture, codedPicture(7, 90));  // another size resizes
  EXPECT_EQ(picture, codedPicture(7, 90));
  PixelArray one(1, 1, 0), top(1, 1), back;
  top.data()[0] = 0xAB123456;  // a top byte as a decoder may leave it: ignored on write
  WritePixels(one, top);
  ReadPixels(one, back);
  EXPECT_EQ(back, PixelArray(1, 1, 0x00123456));
}

TEST(BlitExtent, CountsAndDestinationFollowTheRoundingRules) {
  // A view of 300 x 200 unless given.
  // clang-format off
  const struct {
    int viewWidth = 300, viewHeight = 200; float zoom; int cols, rows, destW, destH;
  } cases[] = {
      {.zoom = 1, .cols = 301, .rows = 201, .destW = 301, .destH = 201},
      {.zoom = 0.25f, .cols = 1201, .rows = 801, .destW = 300, .destH = 200},
      {.zoom = 2, .cols = 151, .rows = 101, .destW = 302, .destH = 202},
      {.viewWidth = 301, .viewHeight = 3, .zoom = 0.5f, .cols = 603, .rows = 7, .destW = 302,
       .destH = 4},  // to even
      {.viewWidth = 511, .viewHeight = 1, .zoom = 1.0f / 64, .cols = 32705, .rows = 65,
       .destW = 511, .destH = 1},
      {.viewWidth = 5, .viewHeight = 5, .zoom = 64, .cols = 1, .rows = 1, .destW = 64,
       .destH = 64}};
  // clang-format on
  for (const auto& c : cases) {
    const BlitExtent got = blitExtent(c.viewWidth, c.viewHeight, c.zoom);
    EXPECT_EQ(std::tuple(got.cols, got.rows, got.destW, got.destH),
              std::tuple(c.cols, c.rows, c.destW, c.destH))
        << c.viewWidth << " x " << c.viewHeight << " at " << c.zoom;
  }
  // 1024 display pixels at 1/32 need 32 769 picture columns.
  EXPECT_THROW(blitExtent(1024, 10, 1.0f / 32), OverflowError);
  EXPECT_THROW(blitExtent(10, 10, 0), std::domain_error);
}

// The worked examples at 1 and 0.25 (every fourth pixel, none blended), then the display rule: (dx,
// dy) shows (round(srcX) + floor(dx / zoom), ...), halves to even, the face beyond the picture.
TEST(BlitZoomed, ShowsThePixelsOfTheDisplayRule) {
  const PixelArray picture = codedPicture(1300, 900);
  // clang-format off
  const struct { float zoom, srcX = 0, srcY = 0; int dx, dy; std::uint32_t shown; } cases[] = {
      {.zoom = 1, .srcX = 5, .srcY = 7, .dx = 299, .dy = 199, .shown = codedPixel(304, 206)},
      {.zoom = 0.25f, .dx = 299, .dy = 199, .shown = codedPixel(1196, 796)},
      {.zoom = 0.25f, .dx = 123, .dy = 45, .shown = codedPixel(492, 180)},
      {.zoom = 2, .srcX = 2.5f, .srcY = 0.5f, .dx = 3, .dy = 3, .shown = codedPixel(3, 1)},
      {.zoom = 2, .srcX = 3.5f, .srcY = 1.5f, .dx = 0, .dy = 0, .shown = codedPixel(4, 2)},
      {.zoom = 3, .dx = 5, .dy = 8, .shown = codedPixel(1, 2)},
      {.zoom = 1, .srcX = -0.5f, .dx = 0, .dy = 0, .shown = codedPixel(0, 0)},
      {.zoom = 1, .srcX = -3, .dx = 2, .dy = 0, .shown = kFace},
      {.zoom = 0.25f, .srcX = 1000, .dx = 74, .dy = 0, .shown = codedPixel(1296, 0)},
      {.zoom = 0.25f, .srcX = 1000, .dx = 75, .dy = 0, .shown = kFace},
      {.zoom = 1, .srcY = 800, .dx = 0, .dy = 99, .shown = codedPixel(0, 899)},
      {.zoom = 1, .srcY = 800, .dx = 0, .dy = 100, .shown = kFace}};
  // clang-format on
  PixelArray view(300, 200);
  for (const auto& c : cases) {
    BlitZoomed(picture, view, c.zoom, c.srcX, c.srcY, kFace);
    EXPECT_EQ(view.at(c.dx, c.dy), c.shown) << "zoom " << c.zoom << " from " << c.srcX << ","
                                            << c.srcY << " at " << c.dx << "," << c.dy;
  }
  BlitZoomed(PixelArray(), view, 1, 0, 0, kFace);
  EXPECT_EQ(view, PixelArray(300, 200, kFace));
}

using namespace std::string_literals;

std::uint32_t field(const std::string& file, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | std::uint8_t(file[at + i]);
  return value;
}

TEST(BitmapFile, SmallPictureByteForByte) {
  PixelArray picture(3, 2);
  picture.set(0, 0, 0x112233), picture.set(1, 0, 0x445566), picture.set(2, 0, 0x778899);
  picture.set(0, 1, 0xAABBCC), picture.set(1, 1, 0xDDEEFF), picture.set(2, 1, 0x010203);
  picture.data()[4] |= 0x7F000000;  // a top byte is no part of the colour
  const std::string fileHeader = "BM\x4E\0\0\0\0\0\0\0\x36\0\0\0"s;  // 78 bytes, pixels at 54
  const std::string infoHeader =
      "\x28\0\0\0\3\0\0\0\2\0\0\0\1\0\x18\0\0\0\0\0"s         // 3 x 2 bottom-up, 24 bits
      "\x18\0\0\0\x13\x0B\0\0\x13\x0B\0\0\0\0\0\0\0\0\0\0"s;  // 24 pixel bytes, 2835/m
  const std::string bottomRow = "\xCC\xBB\xAA\xFF\xEE\xDD\x03\x02\x01\0\0\0"s;  // padded to 12
  const std::string topRow = "\x33\x22\x11\x66\x55\x44\x99\x88\x77\0\0\0"s;
  const std::string expected = fileHeader + infoHeader + bottomRow + topRow;
  EXPECT_EQ(bitmapFileBytes(picture), expected);
}

TEST(BitmapFile, LargePictureHeaderAndCornersAndSizesPastTheSizeFieldRefused) {
  PixelArray picture(4099, 1025, 0x808080);
  picture.set(0, 1024, 0x010203);  // bottom left: the first pixel in the file
  picture.set(4098, 0, 0x0A0B0C);  // top right: the last before the padding
  const std::string file = bitmapFileBytes(picture);
  const std::uint32_t stride = 12300;  // 4099 * 3 = 12297, padded
  // clang-format off
  const struct { std::size_t at; int bytes; std::uint32_t value; } fields[] = {
      {.at = 2, .bytes = 4, .value = 54 + stride * 1025}, {.at = 18, .bytes = 4, .value = 4099},
      {.at = 22, .bytes = 4, .value = 1025}, {.at = 34, .bytes = 4, .value = stride * 1025},
      {.at = 54, .bytes = 3, .value = 0x010203},
      {.at = 54 + 1024 * stride + 4098 * 3, .bytes = 3, .value = 0x0A0B0C},
      {.at = 54 + 1025 * stride - 3, .bytes = 3, .value = 0}};
  // clang-format on
  ASSERT_EQ(file.size(), 54 + stride * 1025);
  for (const auto& f : fields) EXPECT_EQ(field(file, f.at, f.bytes), f.value) << f.at;
  EXPECT_EQ(bitmapFileSize(0, 0), 54u);
  EXPECT_EQ(bitmapFileBytes(PixelArray()).size(), 54u);
  // 4 GiB - 54 bytes of pixels fit; one more row of 4 bytes does not.
  EXPECT_EQ(bitmapFileSize(1, 1073741810), 4294967294u);
  EXPECT_THROW(bitmapFileSize(1, 1073741811), std::length_error);
  EXPECT_THROW(bitmapFileSize(2'000'000'000, 2'000'000'000), std::length_error);
}

}  // namespace
}  // namespace plotvane
