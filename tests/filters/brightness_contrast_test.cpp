#include "filters/brightness_contrast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace plotvane {
namespace {

// Contrast 0 keeps the slope 1, so the table is the identity shifted by
// round(brightness * 2.55) and clamped.
TEST(BrightnessContrastTable, BrightnessShiftsEveryByteAndSaturates) {
  struct Case {
    int brightness;
    int shift;
  };
  const Case cases[] = {
      {.brightness = 0, .shift = 0},
      {.brightness = 100, .shift = 255},    // every byte white
      {.brightness = -100, .shift = -255},  // every byte black
      {.brightness = 10, .shift = 26},      // 25.5: the half goes to the even 26
      {.brightness = 30, .shift = 76},      // 76.5: the half goes to the even 76
      {.brightness = -10, .shift = -26},
      {.brightness = 50, .shift = 127},    // 50 * 2.55 is just below 127.5 in double
      {.brightness = 1000, .shift = 255},  // beyond the slider: its end
  };
  for (const Case& c : cases) {
    const auto table = brightnessContrastTable(0, c.brightness);
    for (int i = 0; i < 256; ++i)
      EXPECT_EQ(table[std::size_t(i)], std::clamp(i + c.shift, 0, 255))
          << "brightness " << c.brightness << " byte " << i;
  }
}

TEST(BrightnessContrastTable, ContrastTurnsAboutByte127) {
  // Runs of equal entries: each run ends at `last` (inclusive).
  struct Run {
    int last;
    int value;
  };
  struct Case {
    int contrast;
    int brightness;
    std::vector<Run> runs;
  };
  const Case cases[] = {
      // Slope 128.6: the neighbours of 127 already saturate.
      {.contrast = 100, .brightness = 0, .runs = {{126, 0}, {127, 127}, {255, 255}}},
      // Slope 0.0078: 65 steps from 127 are needed to move half a step.
      {.contrast = -100, .brightness = 0, .runs = {{62, 126}, {191, 127}, {255, 128}}},
      // b = 3 lifts byte 126 to 130 - 128.59 = 1.4.
      {.contrast = 100, .brightness = 1, .runs = {{125, 0}, {126, 1}, {127, 130}, {255, 255}}},
      {.contrast = -1000, .brightness = 0, .runs = {{62, 126}, {191, 127}, {255, 128}}},
  };
  for (const Case& c : cases) {
    const auto table = brightnessContrastTable(c.contrast, c.brightness);
    int i = 0;
    for (const Run& run : c.runs)
      for (; i <= run.last; ++i)
        EXPECT_EQ(table[std::size_t(i)], run.value) << "contrast " << c.contrast << " byte " << i;
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

// The yields come after columns 0, 10, 20, ... with floor(x / (W - 1) * 100),
// whichever order the pixels are visited in.
TEST(FilterPass, YieldsAfterEveryTenthColumnWithItsProgress) {
  struct Case {
    int width;
    std::vector<std::pair<int, int>> yields;  // column, progress
  };
  const Case cases[] = {
      {.width = 0, .yields = {}},
      {.width = 1, .yields = {{0, 100}}},  // the only column is the last
      {.width = 11, .yields = {{0, 0}, {10, 100}}},
      {.width = 25, .yields = {{0, 0}, {10, 41}, {20, 83}}},
      {.width = 30, .yields = {{0, 0}, {10, 34}, {20, 68}}},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<int, int>> seen;
    const auto result = ApplyBrightnessContrast(PixelArray(c.width, 3, 0), 0, 0, [&](int x, int p) {
      seen.emplace_back(x, p);
      return true;
    });
    EXPECT_TRUE(result) << c.width;
    EXPECT_EQ(seen, c.yields) << c.width;
  }
  EXPECT_EQ(filterProgress(290, 501), 57);  // 0.58 * 100 is just below 58 in double
}

// Before the yield after column x the rows done are the share (x + 1) / W of
// the picture, so progress and cancel keep pace with the work.
TEST(FilterPass, MapsRowBandsInStepWithTheYields) {
  std::vector<std::pair<int, int>> events;  // rows done at a yield, its column
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
  EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{2, 0}, {22, 10}, {42, 20}}));
  EXPECT_EQ(rowsDone, 50);
}

// A result kept from an earlier pass, one of another size, and the picture
// itself all end up as the adjusted picture; a cancel changes no picture.
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
