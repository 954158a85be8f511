#include "picture/pixel_transfer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>

#include "app/number_text.h"
#include "picture/picture_form.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::codedPixel;

constexpr std::uint32_t kFace = 0xF0F0F0;

TEST(PixelTransfer, ReadAndWriteRoundTripByteForByte) {
  std::mt19937 random(7);
  PixelArray picture(37, 23);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) picture.set(x, y, random() & kRgbMask);
  const PixelArray original = picture;

  PixelArray array(3, 3, 0x123456);
  ReadPixels(picture, array);
  ASSERT_EQ(array.width(), 37);
  ASSERT_EQ(array.height(), 23);
  WritePixels(picture, array);
  EXPECT_EQ(std::memcmp(picture.data(), original.data(), original.size() * 4), 0);
}

TEST(PixelTransfer, OnePixelPictureAndTheTopByteRule) {
  PixelArray picture(1, 1, 0);
  PixelArray array(1, 1);
  // Red 18, green 52, blue 86 with a non-zero top byte written straight into
  // the storage, as a decoder would leave it.
  array.data()[0] = 0xAB123456;
  WritePixels(picture, array);
  PixelArray back;
  ReadPixels(picture, back);
  ASSERT_EQ(back.width(), 1);
  ASSERT_EQ(back.height(), 1);
  EXPECT_EQ(back.data()[0], 0x00123456u);
  EXPECT_EQ(redOf(back.at(0, 0)), 18);
  EXPECT_EQ(greenOf(back.at(0, 0)), 52);
  EXPECT_EQ(blueOf(back.at(0, 0)), 86);
}

TEST(PixelTransfer, WritingAnotherSizeResizesThePicture) {
  PixelArray picture = codedPicture(40, 30);
  WritePixels(picture, codedPicture(7, 90));
  EXPECT_EQ(picture.width(), 7);
  EXPECT_EQ(picture.height(), 90);
  EXPECT_EQ(picture.at(6, 89), codedPixel(6, 89));
}

TEST(BlitExtent, CountsAndDestinationFollowTheRoundingRules) {
  struct Case {
    int viewW, viewH;
    float zoom;
    BlitExtent expected;
  };
  const Case cases[] = {
      {300, 200, 1, {301, 201, 301, 201}},
      {300, 200, 0.25f, {1201, 801, 300, 200}},
      {300, 200, 2, {151, 101, 302, 202}},
      {301, 3, 0.5f, {603, 7, 302, 4}},  // 301.5 and 3.5 round to the even 302 and 4
      {5, 5, 64, {1, 1, 64, 64}},
      {511, 1, 1.0f / 64, {32705, 65, 511, 1}},
  };
  for (const Case& c : cases) {
    const BlitExtent got = blitExtent(c.viewW, c.viewH, c.zoom);
    EXPECT_EQ(got.cols, c.expected.cols) << c.viewW << " at " << c.zoom;
    EXPECT_EQ(got.rows, c.expected.rows) << c.viewH << " at " << c.zoom;
    EXPECT_EQ(got.destW, c.expected.destW) << c.viewW << " at " << c.zoom;
    EXPECT_EQ(got.destH, c.expected.destH) << c.viewH << " at " << c.zoom;
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

  BlitZoomed(picture, view, 0.25f, 0, 0, kFace);
  // Three of every four rows and columns are dropped, none blended.
  EXPECT_EQ(view.at(1, 1), codedPixel(4, 4));
  EXPECT_EQ(view.at(299, 199), codedPixel(1196, 796));
  EXPECT_EQ(view.at(123, 45), codedPixel(492, 180));
}

TEST(BlitZoomed, EnlargesWithoutBlendingAndShowsTheFaceBeyondThePicture) {
  PixelArray picture(2, 2);
  picture.set(0, 0, 0x000001);
  picture.set(1, 0, 0x000002);
  picture.set(0, 1, 0x000003);
  picture.set(1, 1, 0x000004);
  PixelArray view(9, 7);
  BlitZoomed(picture, view, 4, 0, 0, kFace);
  // '.' is the button face: column 8 lies past the picture's right edge.
  const char* expected[] = {"11112222.", "11112222.", "11112222.", "11112222.",
                            "33334444.", "33334444.", "33334444."};
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x) {
      const char c = expected[y][x];
      EXPECT_EQ(view.at(x, y), c == '.' ? kFace : static_cast<std::uint32_t>(c - '0'))
          << x << "," << y;
    }
}

// The display rule written out pixel by pixel, against which the copy's row
// and column shortcuts are checked.
PixelArray referenceBlit(const PixelArray& picture, int viewW, int viewH, float zoom, float srcX,
                         float srcY) {
  const BlitExtent extent = blitExtent(viewW, viewH, zoom);
  PixelArray view(viewW, viewH, kFace);
  const long long x0 = std::nearbyint(srcX), y0 = std::nearbyint(srcY);
  for (int dy = 0; dy < viewH && dy < extent.destH; ++dy)
    for (int dx = 0; dx < viewW && dx < extent.destW; ++dx) {
      const long long sx = x0 + static_cast<long long>(std::floor(dx / double(zoom)));
      const long long sy = y0 + static_cast<long long>(std::floor(dy / double(zoom)));
      if (sx >= 0 && sy >= 0 && sx < picture.width() && sy < picture.height())
        view.set(dx, dy, picture.at(static_cast<int>(sx), static_cast<int>(sy)));
    }
  return view;
}

TEST(BlitZoomed, MatchesTheDisplayRuleAtEveryZoomAndOffset) {
  const PixelArray picture = codedPicture(53, 41);
  const float zooms[] = {1.0f / 64, 1.0f / 8, 0.25f, 0.5f, 1, 2, 3, 4, 16, 64};
  const float offsets[] = {-70, -3, -0.5f, 0, 1.5f, 2.5f, 17, 52, 60};
  const int sizes[][2] = {{1, 1}, {9, 4}, {64, 47}, {130, 3}};
  for (float zoom : zooms)
    for (float offset : offsets)
      for (const auto& size : sizes) {
        PixelArray view(size[0], size[1], 0x123456);
        BlitZoomed(picture, view, zoom, offset, offset / 2, kFace);
        EXPECT_EQ(view, referenceBlit(picture, size[0], size[1], zoom, offset, offset / 2))
            << "zoom " << zoom << " offset " << offset << " view " << size[0] << "x" << size[1];
      }
}

TEST(BlitZoomed, EmptyPictureGivesOnlyTheFace) {
  PixelArray view(20, 10, 0);
  BlitZoomed(PixelArray(), view, 2, 0, 0, kFace);
  EXPECT_EQ(view, PixelArray(20, 10, kFace));
}

}  // namespace
}  // namespace plotvane
