#include "picture/rotation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "base/number_text.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// Every pixel different and none white: pixel (x, y) holds y * W + x + 1.
PixelArray numbered(int width, int height) {
  PixelArray picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.set(x, y, std::uint32_t(y * width + x + 1));
  return picture;
}

// The same with a top byte in every pixel, as a decoder may leave them.
PixelArray numberedWithTopBytes(int width, int height) {
  PixelArray picture = numbered(width, height);
  std::for_each(picture.data(), picture.data() + picture.size(), [](auto& p) { p |= 0xAB000000; });
  return picture;
}

bool noTopBytes(const PixelArray& picture) {
  return std::all_of(picture.data(), picture.data() + picture.size(),
                     [](std::uint32_t p) { return p >> 24 == 0; });
}

// The picture of the given size whose pixel (x, y) is pixel(x, y).
template <typename Pixel>
PixelArray drawn(int width, int height, Pixel pixel) {
  PixelArray picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.set(x, y, pixel(x, y));
  return picture;
}

float steppedAngle(float angle) {
  while (angle > 360) angle -= 360;
  while (angle < 0) angle += 360;
  return angle;
}

// The rotation written out plainly: column by column, every coordinate from
// the formula, the offsets from the table of angle ranges.
struct Literal {
  RotationGeometry g;
  PixelArray picture;
  std::vector<std::optional<float>> progress;
};

Literal literalRotation(const PixelArray& s, float angle) {
  Literal out;
  RotationGeometry& g = out.g;
  const int w = s.width(), h = s.height();
  g.angle = steppedAngle(angle);
  g.sinA = float(std::sin(g.angle * 3.14159265358979 / 180));
  g.cosA = float(std::cos(g.angle * 3.14159265358979 / 180));
  const auto round = [](double v) { return int(std::nearbyint(v)); };
  g.newWidth = round(std::fabs(g.sinA) * h + std::fabs(g.cosA) * w);
  g.newHeight = round(std::fabs(g.sinA) * w + std::fabs(g.cosA) * h);
  const double sinA = g.sinA, cosA = g.cosA;
  const float a = g.angle;
  if (a > 0 && a <= 90) {
    g.offsetX = -1, g.offsetY = round(sinA * w - 1);
  } else if (a > 90 && a <= 180) {
    g.offsetX = round(-cosA * w - 1), g.offsetY = round(-cosA * h + sinA * w - 1);
  } else if (a > 180 && a <= 270) {
    g.offsetX = round(-sinA * h - cosA * w - 1), g.offsetY = round(-cosA * h - 1);
  } else if (a > 270 && a <= 360) {
    g.offsetX = round(-sinA * h - 1), g.offsetY = -1;
  }
  out.picture = PixelArray(g.newWidth, g.newHeight);
  for (int x = 0; x < g.newWidth; ++x) {
    for (int y = 0; y < g.newHeight; ++y) {
      const int sx = round(cosA * (x - g.offsetX) - sinA * (y - g.offsetY));
      const int sy = round(sinA * (x - g.offsetX) + cosA * (y - g.offsetY));
      const bool inside = 0 <= sx && sx < w - 1 && 0 <= sy && sy < h - 1;
      out.picture.set(x, y, inside ? s.at(sx, sy) : kWhite);
    }
    if (g.newWidth == 1)
      out.progress.push_back(std::nullopt);
    else
      out.progress.push_back(float(double(x) / (g.newWidth - 1) * 100));
  }
  return out;
}

std::vector<std::optional<float>> progressOf(const PixelArray& source, float angle,
                                             std::optional<PixelArray>& result) {
  std::vector<std::optional<float>> progress;
  result = RotatePicture(source, angle, [&](std::optional<float> p) { progress.push_back(p); });
  return progress;
}

// The dialog's angle and the pictures of the rotate examples, every pixel.
TEST(RotatePicture, DialogExamplesTurnEveryPixelAsStated) {
  constexpr int w = 7, h = 4;
  const PixelArray s = numbered(w, h);
  const PixelArray unturned =
      drawn(w, h, [&](int x, int y) { return x < w - 1 && y < h - 1 ? s.at(x, y) : kWhite; });
  struct Example {
    const char* text;
    bool clockwise;
    float stored;
    PixelArray expected;
  };
  const Example examples[] = {
      {.text = "90",
       .clockwise = false,
       .stored = 90,
       .expected = drawn(
           h, w,
           [&](int x, int y) { return y >= 1 && x < h - 2 ? s.at(w - 1 - y, x + 1) : kWhite; })},
      {.text = "180",
       .clockwise = true,
       .stored = 180,
       .expected = drawn(
           w, h,
           [&](int x, int y) { return x >= 1 && y >= 1 ? s.at(w - 1 - x, h - 1 - y) : kWhite; })},
      {.text = "", .clockwise = true, .stored = 0, .expected = unturned},
      {.text = "abc", .clockwise = false, .stored = 0, .expected = unturned},
      {.text = "360",
       .clockwise = false,
       .stored = 360,
       .expected = drawn(
           w, h,
           [&](int x, int y) { return x < w - 2 && y < h - 2 ? s.at(x + 1, y + 1) : kWhite; })},
      {.text = "360", .clockwise = true, .stored = 0, .expected = unturned},
      {.text = "30", .clockwise = true, .stored = 330, .expected = {}},
      {.text = "30", .clockwise = false, .stored = 30, .expected = {}},
  };
  for (const Example& e : examples) {
    const float angle = normaliseAngle(rotationAngle(0, leadingNumber(e.text), e.clockwise));
    EXPECT_EQ(angle, e.stored) << e.text << " " << e.clockwise;
    if (!e.expected.empty()) {
      EXPECT_EQ(*RotatePicture(s, angle), e.expected) << e.text;
    }
  }
  const RotationGeometry full = rotationGeometry(w, h, 360);
  EXPECT_EQ(std::pair(full.offsetX, full.offsetY), std::pair(-1, -1));
}

// Whole pictures against the plain routine: the quarter turns and angles a
// hair either side of them, odd and even sizes, one-pixel-wide pictures,
// pictures wide enough for several strips; and the yields, one per column.
TEST(RotatePicture, EveryPixelAndYieldAsThePlainRoutine) {
  const float angles[] = {0,   0.001f,   1e-7f, 0.5f,     12.345f,  30,       45,  89.999f,
                          90,  90.001f,  135,   179.999f, 180,      180.001f, 200, 269.999f,
                          270, 270.001f, 300,   330,      359.999f, 360,      -30, 390};
  const std::pair<int, int> sizes[] = {{1, 1}, {1, 7},  {7, 1},   {2, 2},   {5, 4},
                                       {4, 5}, {16, 9}, {37, 23}, {64, 48}, {33, 100}};
  for (const float angle : angles) {
    for (const auto& [w, h] : sizes) {
      const PixelArray source = numberedWithTopBytes(w, h);
      const Literal want = literalRotation(source, angle);
      std::optional<PixelArray> got;
      const auto progress = progressOf(source, angle, got);
      const RotationGeometry g = rotationGeometry(w, h, angle);
      const auto where = ::testing::Message() << angle << " deg, " << w << " x " << h;
      EXPECT_EQ(std::tuple(g.angle, g.sinA, g.cosA),
                std::tuple(want.g.angle, want.g.sinA, want.g.cosA))
          << where;
      EXPECT_EQ(std::tuple(g.newWidth, g.newHeight, g.offsetX, g.offsetY),
                std::tuple(want.g.newWidth, want.g.newHeight, want.g.offsetX, want.g.offsetY))
          << where;
      ASSERT_TRUE(got) << where;
      EXPECT_EQ(*got, want.picture) << where;
      EXPECT_TRUE(noTopBytes(*got)) << where;
      EXPECT_EQ(progress, want.progress) << where;
    }
  }
  // Several strips, blocks and groups of eight, with part-filled last ones.
  const PixelArray wide = numberedWithTopBytes(2100, 401);
  for (const float angle : {30.0f, 0.5f, 90.001f, 181.0f}) {
    const Literal want = literalRotation(wide, angle);
    std::optional<PixelArray> got;
    const auto progress = progressOf(wide, angle, got);
    ASSERT_TRUE(got) << angle;
    EXPECT_EQ(*got, want.picture) << angle;
    EXPECT_TRUE(noTopBytes(*got)) << angle;
    EXPECT_EQ(progress, want.progress) << angle;
  }
}

TEST(RotatePicture, EmptySourceGivesNothingAndBadAnglesRefuse) {
  for (const PixelArray& empty : {PixelArray(), PixelArray(0, 5), PixelArray(5, 0)}) {
    int yields = 0;
    EXPECT_FALSE(RotatePicture(empty, 30, [&](std::optional<float>) { ++yields; }));
    EXPECT_EQ(yields, 0);
  }
  const float inf = std::numeric_limits<float>::infinity();
  for (const float angle : {inf, -inf, std::numeric_limits<float>::quiet_NaN()})
    EXPECT_THROW(RotatePicture(numbered(3, 3), angle), OverflowError) << angle;
  EXPECT_THROW(rotationGeometry(2'000'000'000, 2'000'000'000, 45), OverflowError);
  EXPECT_THROW(rotationAngle(0, 1e39, true), OverflowError);
  EXPECT_THROW(rotationAngle(0, std::numeric_limits<double>::infinity(), false), OverflowError);
}

TEST(RotationAngle, BaseMinusForClockwisePlusOtherwiseInSinglePrecision) {
  struct Case {
    float base;
    double entered;
    bool clockwise;
    float angle;
  };
  const Case cases[] = {
      {.base = 0, .entered = 30, .clockwise = true, .angle = -30},
      {.base = 0, .entered = 30, .clockwise = false, .angle = 30},
      {.base = 10, .entered = 2.5, .clockwise = true, .angle = 7.5f},
      {.base = 0, .entered = 0.1, .clockwise = false, .angle = 0.1f},
      {.base = 0, .entered = 1e20, .clockwise = false, .angle = 1e20f},
  };
  for (const Case& c : cases)
    EXPECT_EQ(rotationAngle(c.base, c.entered, c.clockwise), c.angle) << c.entered;
}

// Against whole turns taken one at a time in single precision, wherever
// that ends; beyond 2^33 degrees stepping never ends and the remainder is
// taken.
TEST(NormaliseAngle, AsSteppingByWholeTurns) {
  const float stepped[] = {
      0,     360,          720,         361.5f,        -1e-10f, -360,  -720,          -0.25f, 1e6f,
      -1e6f, 1.2345678e8f, 0x1p27f + 8, -0x1p28f - 16, 3e8f,    -5e8f, -0x1p29f - 64, 0x1p33f};
  for (const float angle : stepped) EXPECT_EQ(normaliseAngle(angle), steppedAngle(angle)) << angle;
  std::mt19937 random(7);
  std::uniform_real_distribution<float> exponent(-20, 20);
  for (int i = 0; i < 20000; ++i) {
    const float angle = (i % 2 ? 1 : -1) * std::exp2(exponent(random));
    ASSERT_EQ(normaliseAngle(angle), steppedAngle(angle)) << angle;
  }
  for (const float huge : {1e10f, -1e10f, 3.4e38f, -3.4e38f}) {
    const float angle = normaliseAngle(huge);
    EXPECT_TRUE(angle >= 0 && angle <= 360) << huge;
    EXPECT_EQ(angle, std::fmod(huge, 360.0f) + (huge < 0 ? 360 : 0)) << huge;
  }
}

}  // namespace
}  // namespace plotvane
