#include "picture/pixel_transfer.h"

#include <gtest/gtest.h>

#include <array>
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
  const std::pair<std::tuple<int, int, float>, std::array<int, 4>> cases[] = {
      {{300, 200, 1}, {301, 201, 301, 201}},      {{300, 200, 0.25f}, {1201, 801, 300, 200}},
      {{300, 200, 2}, {151, 101, 302, 202}},      {{301, 3, 0.5f}, {603, 7, 302, 4}},  // to even
      {{511, 1, 1.0f / 64}, {32705, 65, 511, 1}}, {{5, 5, 64}, {1, 1, 64, 64}}};
  for (const auto& [view, want] : cases) {
    const BlitExtent got = std::apply(blitExtent, view);
    EXPECT_EQ((std::array{got.cols, got.rows, got.destW, got.destH}), want) << std::get<2>(view);
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
  const std::tuple<float, float, float, int, int, std::uint32_t> cases[] = {
      {1, 5, 7, 299, 199, codedPixel(304, 206)},    {0.25f, 0, 0, 299, 199, codedPixel(1196, 796)},
      {0.25f, 0, 0, 123, 45, codedPixel(492, 180)}, {2, 2.5f, 0.5f, 3, 3, codedPixel(3, 1)},
      {2, 3.5f, 1.5f, 0, 0, codedPixel(4, 2)},      {3, 0, 0, 5, 8, codedPixel(1, 2)},
      {1, -0.5f, 0, 0, 0, codedPixel(0, 0)},        {1, -3, 0, 2, 0, kFace},
      {0.25f, 1000, 0, 74, 0, codedPixel(1296, 0)}, {0.25f, 1000, 0, 75, 0, kFace},
      {1, 0, 800, 0, 99, codedPixel(0, 899)},       {1, 0, 800, 0, 100, kFace}};
  PixelArray view(300, 200);
  for (const auto& [zoom, srcX, srcY, dx, dy, shown] : cases) {
    BlitZoomed(picture, view, zoom, srcX, srcY, kFace);
    EXPECT_EQ(view.at(dx, dy), shown) << zoom << " " << srcX << " " << dx;
  }
  BlitZoomed(PixelArray(), view, 1, 0, 0, kFace);
  EXPECT_EQ(view, PixelArray(300, 200, kFace));
}

}  // namespace
}  // namespace plotvane
