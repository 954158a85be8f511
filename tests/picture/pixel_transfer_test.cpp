#include "picture/pixel_transfer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <tuple>

#include "base/number_text.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

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

// The worked examples at 1 and 0.25 (every fourth pixel, none blended), then the display rule:
// (dx, dy) shows (round(srcX) + floor(dx / zoom), ...), halves to even, the face beyond the
// picture.
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

}  // namespace
}  // namespace plotvane
