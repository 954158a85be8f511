#include "picture/pixel_transfer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>
#include <tuple>

#include "app/number_text.h"
#include "picture/picture_form.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::codedPixel;

constexpr std::uint32_t kFace = 0xF0F0F0;

TEST(PixelTransfer, RoundTripByteForByteAndWritingAnotherSizeResizes) {
  std::mt19937 random(7);
  PixelArray picture(37, 23), array(3, 3, 0x123456);
  for (std::size_t i = 0; i < picture.size(); ++i) picture.data()[i] = random() & kRgbMask;
  const PixelArray original = picture;
  ReadPixels(picture, array);
  ASSERT_EQ(array, original);
  WritePixels(picture, array);
  EXPECT_EQ(std::memcmp(picture.data(), original.data(), original.size() * 4), 0);
  WritePixels(picture, codedPicture(7, 90));
  EXPECT_EQ(picture, codedPicture(7, 90));
}

TEST(PixelTransfer, OnePixelPictureAndTheTopByteRule) {
  PixelArray picture(1, 1, 0), array(1, 1), back;
  array.data()[0] = 0xAB123456;  // a top byte as a decoder may leave it: ignored on write
  WritePixels(picture, array);
  ReadPixels(picture, back);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back.data()[0], 0x00123456u);
}

TEST(BlitExtent, CountsAndDestinationFollowTheRoundingRules) {
  struct Case {
    int viewW, viewH;
    float zoom;
    int cols, rows, destW, destH;
  };
  const Case cases[] = {
      {300, 200, 1, 301, 201, 301, 201},      {300, 200, 0.25f, 1201, 801, 300, 200},
      {300, 200, 2, 151, 101, 302, 202},      {301, 3, 0.5f, 603, 7, 302, 4},  // to even
      {511, 1, 1.0f / 64, 32705, 65, 511, 1}, {5, 5, 64, 1, 1, 64, 64}};
  for (const Case& c : cases) {
    const BlitExtent got = blitExtent(c.viewW, c.viewH, c.zoom);
    EXPECT_EQ(std::tuple(got.cols, got.rows, got.destW, got.destH),
              std::tuple(c.cols, c.rows, c.destW, c.destH))
        << c.viewW << " at " << c.zoom;
  }
  // 1024 display pixels at 1/32 need 32 769 picture columns.
  EXPECT_THROW(blitExtent(1024, 10, 1.0f / 32), OverflowError);
  EXPECT_THROW(blitExtent(10, 10, 0), std::domain_error);
}

TEST(BlitZoomed, WorkedExamplesAtOneAndAQuarter) {
  const PixelArray picture = codedPicture(1300, 900);
  PixelArray view(300, 200);
  BlitZoomed(picture, view, 1, 5, 7, kFace);
  EXPECT_EQ(view.at(0, 0), codedPixel(5, 7));
  EXPECT_EQ(view.at(299, 199), codedPixel(304, 206));
  BlitZoomed(picture, view, 0.25f, 0, 0, kFace);  // every fourth pixel, none blended
  EXPECT_EQ(view.at(1, 1), codedPixel(4, 4));
  EXPECT_EQ(view.at(299, 199), codedPixel(1196, 796));
  EXPECT_EQ(view.at(123, 45), codedPixel(492, 180));
}

// The display rule pixel by pixel: (dx, dy) shows (round(srcX) + floor(dx / zoom), ...), and the
// button face beyond the picture or beyond destW x destH.
TEST(BlitZoomed, MatchesTheDisplayRuleAtEveryZoomAndOffset) {
  const int sizes[][2] = {{1, 1}, {9, 4}, {64, 47}, {130, 3}};
  for (const PixelArray& picture : {codedPicture(53, 41), PixelArray()})
    for (float zoom : {1.0f / 64, 1.0f / 8, 0.25f, 0.5f, 1.0f, 2.0f, 3.0f, 4.0f, 16.0f, 64.0f})
      for (float offset : {-70.0f, -3.0f, -0.5f, 0.0f, 1.5f, 2.5f, 17.0f, 52.0f, 60.0f})
        for (const auto& [w, h] : sizes) {
          const BlitExtent extent = blitExtent(w, h, zoom);
          PixelArray expected(w, h, kFace), view(w, h, 0x123456);
          const long long x0 = std::nearbyint(offset), y0 = std::nearbyint(offset / 2);
          for (int dy = 0; dy < std::min(h, extent.destH); ++dy)
            for (int dx = 0; dx < std::min(w, extent.destW); ++dx) {
              const long long sx = x0 + static_cast<long long>(std::floor(dx / double(zoom)));
              const long long sy = y0 + static_cast<long long>(std::floor(dy / double(zoom)));
              if (sx >= 0 && sy >= 0 && sx < picture.width() && sy < picture.height())
                expected.set(dx, dy, picture.at(static_cast<int>(sx), static_cast<int>(sy)));
            }
          BlitZoomed(picture, view, zoom, offset, offset / 2, kFace);
          ASSERT_EQ(view, expected) << "zoom " << zoom << " offset " << offset << " " << w << "x"
                                    << h << " of " << picture.width();
        }
}

}  // namespace
}  // namespace plotvane
