#include "filters/brightness_contrast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace plotvane {
namespace {

using Yields = std::vector<std::pair<int, int>>;

// Contrast 0 keeps the slope 1, so the table is the identity shifted by round(brightness * 2.55)
// and clamped: 25.5 and 76.5 go to the even 26 and 76, 50 * 2.55 is just below 127.5 in double,
// and beyond the slider counts as its end.
TEST(BrightnessContrastTable, BrightnessShiftsEveryByteAndSaturates) {
  const std::pair<int, int> cases[] = {{0, 0},   {100, 255}, {-100, -255}, {10, 26},
                                       {30, 76}, {50, 127},  {1000, 255}};  // brightness, shift
  for (const auto& [brightness, shift] : cases) {
    const auto table = brightnessContrastTable(0, brightness);
    for (int i = 0; i < 256; ++i)
      EXPECT_EQ(table[std::size_t(i)], std::clamp(i + shift, 0, 255))
          << "brightness " << brightness << " byte " << i;
  }
}

// Slope 128.6 at 100: the neighbours of 127 already saturate; slope 0.0078 at -100: 65 steps from
// 127 are needed to move half a step; brightness 1 (b = 3) lifts byte 126 to 130 - 128.59 = 1.4.
TEST(BrightnessContrastTable, ContrastTurnsAboutByte127) {
  // clang-format off
  const struct { int contrast, brightness; std::vector<std::pair<int, int>> runs; } cases[] = {
      {100, 0, {{126, 0}, {127, 127}, {255, 255}}},  // each run: its last byte, its value
      {-100, 0, {{62, 126}, {191, 127}, {255, 128}}},
      {100, 1, {{125, 0}, {126, 1}, {127, 130}, {255, 255}}},
      {-1000, 0, {{62, 126}, {191, 127}, {255, 128}}}};
  // clang-format on
  for (const auto& c : cases) {
    const auto table = brightnessContrastTable(c.contrast, c.brightness);
    int i = 0;
    for (const auto& [last, value] : c.runs)
      for (; i <= last; ++i)
        EXPECT_EQ(table[std::size_t(i)], value) << "contrast " << c.contrast << " byte " << i;
  }
}

TEST(ApplyBrightnessContrast, EachColourByteGoesThroughTheTableInItsPlace) {
  PixelArray picture(3, 2, rgbValue(255, 255, 255));
  picture.set(0, 0, rgbValue(0x12, 0x80, 0xF0));
  picture.set(2, 1, rgbValue(0, 1, 2));
  picture.data()[1] = 0xAB000000u | rgbValue(3, 4, 5);  // a top byte a decoder may leave
  const PixelArray before = picture;
  const std::optional<PixelArray> result = ApplyBrightnessContrast(picture, 0, 30);
  ASSERT_TRUE(result);
  PixelArray expected(3, 2, rgbValue(255, 255, 255));
  expected.set(0, 0, rgbValue(0x12 + 76, 0x80 + 76, 255));
  expected.set(2, 1, rgbValue(76, 77, 78));
  expected.set(1, 0, rgbValue(79, 80, 81));
  EXPECT_EQ(*result, expected);
  EXPECT_EQ(result->data()[1] >> 24, 0u);
  EXPECT_EQ(picture, before);
}

// The yields come after columns 0, 10, 20, ... with floor(x / (W - 1) * 100), whichever order the
// pixels are visited in; the only column is the last.
TEST(FilterPass, YieldsAfterEveryTenthColumnWithItsProgress) {
  // Width, then (column, progress) at each yield.
  const std::pair<int, Yields> cases[] = {
      {0, {}}, {1, {{0, 100}}}, {11, {{0, 0}, {10, 100}}}, {25, {{0, 0}, {10, 41}, {20, 83}}}};
  for (const auto& [width, yields] : cases) {
    Yields seen;
    const auto result = ApplyBrightnessContrast(PixelArray(width, 3, 0), 0, 0, [&](int x, int p) {
      seen.emplace_back(x, p);
      return true;
    });
    EXPECT_TRUE(result) << width;
    EXPECT_EQ(seen, yields) << width;
  }
  EXPECT_EQ(filterProgress(290, 501), 57);  // 0.58 * 100 is just below 58 in double
}

// Before the yield after column x the rows done are the share (x + 1) / W of the picture, so
// progress and cancel keep pace with the work.
TEST(FilterPass, MapsRowBandsInStepWithTheYields) {
  Yields events;  // rows done at a yield, its column
  int rowsDone = 0;
  const bool finished = runFilterPass(
      25, 50,
      [&](int x, int) {
        events.emplace_back(rowsDone, x);
        return true;
      },
      [&](int first, int end) {
        EXPECT_EQ(first, rowsDone);
        rowsDone = end;
      });
  EXPECT_TRUE(finished);
  EXPECT_EQ(events, (Yields{{2, 0}, {22, 10}, {42, 20}}));
  EXPECT_EQ(rowsDone, 50);
}

// A result kept from an earlier pass, one of another size, and the picture itself all end up as
// the adjusted picture; a cancel changes no picture.
TEST(ApplyBrightnessContrast, IntoAnyResultAndCancelChangesNothing) {
  PixelArray picture(13, 7, rgbValue(10, 130, 250));
  picture.set(12, 6, rgbValue(0, 127, 128));
  const PixelArray before = picture;
  const auto cancelAt10 = [](int x, int) { return x < 10; };
  EXPECT_FALSE(ApplyBrightnessContrast(picture, 100, 0, cancelAt10));
  EXPECT_FALSE(ApplyBrightnessContrast(picture, picture, 100, 0, cancelAt10));
  EXPECT_EQ(picture, before);
  const PixelArray expected = *ApplyBrightnessContrast(picture, 100, 0);
  PixelArray sameSize(13, 7, 0), otherSize(2, 50, 0);
  for (PixelArray* result : {&sameSize, &otherSize, &picture}) {
    EXPECT_TRUE(ApplyBrightnessContrast(picture, *result, 100, 0));
    EXPECT_EQ(*result, expected);
  }
}

}  // namespace
}  // namespace plotvane
