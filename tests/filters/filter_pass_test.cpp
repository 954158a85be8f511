#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <ostream>
#include <utility>
#include <vector>

#include "filters/brightness_contrast.h"
#include "filters/colour_mask.h"

namespace plotvane {

void PrintTo(const ColourMaskParams& params, std::ostream* out) {
  *out << "selection " << params.red << "," << params.green << "," << params.blue << " tolerance "
       << params.tolerance << (params.keepMode ? " keep" : " remove");
}

namespace {

using Rgb = std::array<int, 3>;

constexpr Rgb kWhite{255, 255, 255};

Rgb masked(Rgb pixel, Rgb selected, float tol, bool keepMode) {
  MaskPixel(pixel[0], pixel[1], pixel[2], selected[0], selected[1], selected[2], tol, keepMode);
  return pixel;
}

// Shares: red (0, 128, 128); (200, 0, 0) (25, 115, 115); (128, 0, 0) (51, 102, 102), further from
// red than a lighter red; every grey (85, 85, 85); yellow (0, 0, 255); a white selection (0, 0, 0).
TEST(MaskPixel, MatchesByShareDifferencesUpToTheTolerance) {
  constexpr Rgb kRed{255, 0, 0}, kBlack{0, 0, 0};
  // clang-format off
  const struct { Rgb pixel, selected; float tol; bool matches; } cases[] = {
      {{255, 100, 100}, kRed, 50, true}, {{200, 0, 0}, kRed, 50, true}, {{0, 0, 0}, kRed, 50, false},
      {{128, 0, 0}, kRed, 51, true}, {{128, 0, 0}, kRed, 50.9f, false}, {{254, 254, 254}, kBlack, 50, true},
      {{255, 0, 0}, kBlack, 50, true}, {{255, 255, 0}, kBlack, 50, false}, {{0, 255, 0}, kRed, 255, true},
      {{100, 100, 100}, kWhite, 85, true}, {{100, 100, 100}, kWhite, 84.99f, false}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.pixel[0] << "," << c.pixel[1] << "," << c.pixel[2] << " tol " << c.tol);
    EXPECT_EQ(masked(c.pixel, c.selected, c.tol, true), c.matches ? c.pixel : kWhite);
    EXPECT_EQ(masked(c.pixel, c.selected, c.tol, false), c.matches ? kWhite : c.pixel);
  }
  // White stays; components out of range do not fail.
  for (const Rgb selected : {Rgb{0, 0, 0}, Rgb{255, 0, 0}, kWhite, Rgb{-9, 300, 7}}) {
    for (const bool keepMode : {true, false}) {
      EXPECT_EQ(masked(kWhite, selected, 0, keepMode), kWhite);
      EXPECT_NO_THROW(masked({300, 255, 210}, selected, 50, keepMode));
      EXPECT_NO_THROW(masked({-1, -1, 767}, selected, 50, keepMode));
    }
  }
}

// Every colour once: pixel i has the colour i.
const PixelArray& allColours() {
  static const PixelArray picture = [] {
    PixelArray p(4096, 4096);
    for (std::uint32_t i = 0; i < (1u << 24); ++i) p.data()[i] = i;
    return p;
  }();
  return picture;
}

// The pass decides with integers, MaskPixel with divisions in double; both must agree on every
// colour.
class EveryColour : public ::testing::TestWithParam<ColourMaskParams> {};

TEST_P(EveryColour, ApplyColourMaskAgreesWithMaskPixel) {
  const ColourMaskParams& params = GetParam();
  const std::optional<PixelArray> result = ApplyColourMask(allColours(), params);
  ASSERT_TRUE(result);
  std::uint32_t mismatches = 0, first = 0;
  for (std::uint32_t i = 0; i < (1u << 24); ++i) {
    int r = redOf(i), g = greenOf(i), b = blueOf(i);
    MaskPixel(r, g, b, params.red, params.green, params.blue, params.tolerance, params.keepMode);
    if (result->data()[i] != rgbValue(r, g, b) && mismatches++ == 0) first = i;
  }
  EXPECT_EQ(mismatches, 0u) << "first colour " << std::hex << first;
}

// The last: shares (64, 64, 128), the last one a tie rounded to even.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Selections, EveryColour, ::testing::Values(
    ColourMaskParams{.red = 255, .green = 255, .blue = 255, .tolerance = 0},
    ColourMaskParams{.red = 255, .tolerance = 50, .keepMode = false},
    ColourMaskParams{.red = 17, .green = 200, .blue = 90, .tolerance = 12.7f},
    ColourMaskParams{.red = 0, .green = 0, .blue = 0, .tolerance = 255, .keepMode = false},
    ColourMaskParams{.red = 254, .green = 254, .blue = 253, .tolerance = 20, .keepMode = false}));
// clang-format on

// A share is an exact tie when 255 (255 - c) / (765 - r - g - b) is an odd multiple of 1/2. Each
// tie is met with the tolerance that makes it the last share to match, in one pixel and in four,
// for each channel in turn.
TEST(ApplyColourMask, DecidesEveryTieAsMaskPixelDoes) {
  int ties = 0;
  for (int channel = 0; channel < 3; ++channel) {
    for (int darkness = 1; darkness <= 765; ++darkness) {
      for (int a = 0; a <= std::min(darkness, 255); ++a) {
        if ((510 * a) % darkness != 0 || (510 * a / darkness) % 2 == 0) continue;
        ++ties;
        const int rest = 510 - darkness + a;  // the other two components
        Rgb pixel{};
        pixel[std::size_t(channel)] = 255 - a;
        pixel[std::size_t(channel + 1) % 3] = std::min(rest, 255);
        pixel[std::size_t(channel + 2) % 3] = rest - std::min(rest, 255);
        const ColourMaskParams params{
            .red = 255, .green = 255, .blue = 255, .tolerance = float((510 * a / darkness) / 2)};
        const Rgb want = masked(pixel, {255, 255, 255}, params.tolerance, true);
        for (const int width : {1, 4}) {
          const auto result =
              ApplyColourMask(PixelArray(width, 1, rgbValue(pixel[0], pixel[1], pixel[2])), params);
          EXPECT_EQ(result->at(width - 1, 0), rgbValue(want[0], want[1], want[2]))
              << pixel[0] << "," << pixel[1] << "," << pixel[2] << " width " << width;
        }
      }
    }
  }
  EXPECT_GT(ties, 0);
}

// A cancel changes no picture, into a new one or the picture itself; the finished pass clears the
// top byte.
TEST(ApplyColourMask, CancelChangesNothingAndTheTopByteIsCleared) {
  PixelArray picture(31, 2, rgbValue(0, 0, 255));
  picture.data()[30] = 0xCD000000u | rgbValue(200, 0, 0);
  const PixelArray before = picture;
  const ColourMaskParams red{.red = 255};
  std::vector<std::pair<int, int>> yields;
  const auto cancelAt20 = [&](int x, int progress) {
    yields.emplace_back(x, progress);
    return x < 20;
  };
  EXPECT_FALSE(ApplyColourMask(picture, red, cancelAt20));
  EXPECT_EQ(yields, (std::vector<std::pair<int, int>>{{0, 0}, {10, 33}, {20, 66}}));
  EXPECT_FALSE(ApplyColourMask(picture, picture, red, cancelAt20));
  EXPECT_EQ(picture, before);
  ASSERT_TRUE(ApplyColourMask(picture, picture, red));
  PixelArray expected(31, 2, rgbValue(255, 255, 255));
  expected.set(30, 0, rgbValue(200, 0, 0));
  EXPECT_EQ(picture, expected);
  EXPECT_EQ(picture.data()[30], rgbValue(200, 0, 0));
}

using Yields = std::vector<std::pair<int, int>>;

// Contrast 0 keeps the slope 1, so the table is the identity shifted by round(brightness * 2.55)
// and clamped: 25.5 and 76.5 go to the even 26 and 76, 50 * 2.55 is just below 127.5 in double, and
// beyond the slider counts as its end.
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
  // Before the yield after column x the rows done are the share (x + 1) / W of the picture, so
  // progress and cancel keep pace with the work.
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

// A result kept from an earlier pass, one of another size, and the picture itself all end up as the
// adjusted picture; a cancel changes no picture.
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
