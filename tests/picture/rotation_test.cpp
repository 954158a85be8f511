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

// Every pixel different and none white: pixel (x, y) holds y * W + x + 1, under the given top byte
// as a decoder may leave one.
PixelArray numbered(int width, int height, std::uint32_t top = 0) {
  PixelArray picture(width, height);
  for (std::size_t i = 0; i < picture.size(); ++i) picture.data()[i] = top | std::uint32_t(i + 1);
  return picture;
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

// The rotation written out plainly: column by column, every coordinate from the formula, the
// offsets from the table of angle ranges.
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
    out.progress.push_back(
        g.newWidth == 1 ? std::nullopt : std::optional(float(double(x) / (g.newWidth - 1) * 100)));
  }
  return out;
}

// The dialog's angle, base minus the entered angle for clockwise and plus it otherwise, stored in
// single precision and normalised; and the pictures of the rotate examples, every pixel.
TEST(RotatePicture, DialogExamplesTurnEveryPixelAsStated) {
  constexpr int w = 7, h = 4;
  const PixelArray s = numbered(w, h);
  const auto from = [&](int sx, int sy, bool inside) { return inside ? s.at(sx, sy) : kWhite; };
  const PixelArray unturned =
      drawn(w, h, [&](int x, int y) { return from(x, y, x < w - 1 && y < h - 1); });
  const PixelArray ccw90 =
      drawn(h, w, [&](int x, int y) { return from(w - 1 - y, x + 1, y >= 1 && x < h - 2); });
  const PixelArray half =
      drawn(w, h, [&](int x, int y) { return from(w - 1 - x, h - 1 - y, x >= 1 && y >= 1); });
  const PixelArray ccw360 =
      drawn(w, h, [&](int x, int y) { return from(x + 1, y + 1, x < w - 2 && y < h - 2); });
  // clang-format off
  const struct {
    float base = 0; const char* text; bool cw; float stored; const PixelArray* expected = nullptr;
  } examples[] = {
      {.text = "90", .cw = false, .stored = 90, .expected = &ccw90},
      {.text = "180", .cw = true, .stored = 180, .expected = &half},
      {.text = "", .cw = true, .stored = 0, .expected = &unturned},
      {.text = "360", .cw = false, .stored = 360, .expected = &ccw360},
      {.text = "360", .cw = true, .stored = 0, .expected = &unturned},
      {.text = "30", .cw = true, .stored = 330},
      {.base = 10, .text = "2.5", .cw = true, .stored = 7.5f},
      {.text = "0.1", .cw = false, .stored = 0.1f}};
  // clang-format on
  for (const auto& e : examples) {
    SCOPED_TRACE(::testing::Message() << '"' << e.text << (e.cw ? "\" clockwise" : "\""));
    const float angle = normaliseAngle(rotationAngle(e.base, leadingNumber(e.text), e.cw));
    EXPECT_EQ(angle, e.stored);
    if (e.expected) {
      EXPECT_EQ(*RotatePicture(s, angle), *e.expected);
    }
  }
}

// Whole pictures against the plain routine: the quarter turns and angles a hair either side of
// them, odd and even sizes, one-pixel-wide pictures, pictures wide enough for several strips,
// blocks and groups of eight with part-filled last ones; and the yields, one per column.
TEST(RotatePicture, EveryPixelAndYieldAsThePlainRoutine) {
  const auto check = [](const PixelArray& source, float angle) {
    SCOPED_TRACE(::testing::Message()
                 << angle << " deg, " << source.width() << " x " << source.height());
    const Literal want = literalRotation(source, angle);
    const RotationGeometry g = rotationGeometry(source.width(), source.height(), angle);
    EXPECT_EQ(std::tuple(g.angle, g.sinA, g.cosA, g.newWidth, g.newHeight, g.offsetX, g.offsetY),
              std::tuple(want.g.angle, want.g.sinA, want.g.cosA, want.g.newWidth, want.g.newHeight,
                         want.g.offsetX, want.g.offsetY));
    std::vector<std::optional<float>> progress;
    const auto got =
        RotatePicture(source, angle, [&](std::optional<float> p) { progress.push_back(p); });
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, want.picture);
    EXPECT_TRUE(std::all_of(got->data(), got->data() + got->size(),
                            [](std::uint32_t p) { return p >> 24 == 0; }));
    EXPECT_EQ(progress, want.progress);
  };
  const float angles[] = {0,        1e-7f,    0.5f,     45,       89.999f, 90,       90.001f,
                          135,      179.999f, 180,      180.001f, 200,     269.999f, 270,
                          270.001f, 330,      359.999f, 360,      -30,     390};
  const std::pair<int, int> sizes[] = {{1, 1}, {1, 7},  {7, 1},   {2, 2},   {5, 4},
                                       {4, 5}, {16, 9}, {37, 23}, {64, 48}, {33, 100}};
  for (const float angle : angles)
    for (const auto& [w, h] : sizes) check(numbered(w, h, 0xAB000000), angle);
  const PixelArray wide = numbered(2100, 401, 0xAB000000);
  for (const float angle : {30.0f, 0.5f, 90.001f, 181.0f}) check(wide, angle);
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

// Against whole turns taken one at a time in single precision, wherever that ends; beyond 2^33
// degrees stepping never ends and the remainder is taken.
TEST(NormaliseAngle, AsSteppingByWholeTurns) {
  const float stepped[] = {0,      720,          361.5f,      -1e-10f,       -360,
                           -0.25f, 1.2345678e8f, 0x1p27f + 8, -0x1p28f - 16, -0x1p29f - 64,
                           0x1p33f};
  for (const float angle : stepped) EXPECT_EQ(normaliseAngle(angle), steppedAngle(angle)) << angle;
  std::mt19937 random(7);
  std::uniform_real_distribution<float> exponent(-20, 20);
  for (int i = 0; i < 20000; ++i) {
    const float angle = (i % 2 ? 1 : -1) * std::exp2(exponent(random));
    ASSERT_EQ(normaliseAngle(angle), steppedAngle(angle)) << angle;
  }
  for (const float huge : {1e10f, -1e10f, 3.4e38f, -3.4e38f})
    EXPECT_EQ(normaliseAngle(huge), std::fmod(huge, 360.0f) + (huge < 0 ? 360 : 0)) << huge;
}

}  // namespace
}  // namespace plotvane
