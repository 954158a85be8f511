#include "digitize/click_digitizing.h"

#include <gtest/gtest.h>

#include <array>

#include "data/data_list.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// xPixel, yPixel, X and Y.
std::array<float, 4> values(const DataPoint& p) {
  return {p.XPixel, p.YPixel, p.XData, p.YData};
}

TEST(DarknessCentroid, WeighsEveryPixelByItsDarkness) {
  PixelArray picture(20, 10, kWhite);
  EXPECT_FALSE(DarknessCentroid(picture, 0, 0, 20, 10));  // all white: no weight
  picture.set(5, 4, 0);
  EXPECT_EQ(DarknessCentroid(picture, 0, 0, 20, 10)->x, 5);
  // A grey (weight 255 - 128 = 127) two columns right of the black pixel: 0.665 right.
  picture.set(7, 4, rgbValue(128, 128, 128));
  EXPECT_FLOAT_EQ(DarknessCentroid(picture, 0, 0, 20, 10)->x, 5 + 2 * 127.0f / 382);
  EXPECT_EQ(DarknessCentroid(picture, 0, 0, 20, 10)->y, 4);
  // Only the square counts; positions outside the picture read as white.
  EXPECT_EQ(DarknessCentroid(picture, 6, 0, 30, 10)->x, 7);
  EXPECT_FALSE(DarknessCentroid(picture, -10, -10, 0, 0));
  EXPECT_FALSE(DarknessCentroid(picture, 20, 0, 25, 10));
}

// A 400 x 300 white picture with a black pixel at (100, 50), X 0 to 400 and
// Y 0 to 300 over the whole of it.
class ClickDigitizing : public ::testing::Test {
 protected:
  ClickDigitizing() {
    PixelArray picture(400, 300, kWhite);
    picture.set(100, 50, 0);
    EXPECT_TRUE(f.load("dot.bmp", std::move(picture)));
    EXPECT_EQ(f.app.zoom, 1);
    f.ui.txtMaxLabelX.setText("400");
    f.ui.txtMaxLabelY.setText("300");
  }
  void placeSquare(float left, float top, float side) {
    ShapeControl& square = f.ui.shapPicUpRange;
    square.left = left, square.top = top, square.width = square.height = side;
    square.visible = true;
  }
  testing::PictureForm f;
};

TEST_F(ClickDigitizing, PlotOnePointTakesTheCentreUnderTheSquare) {
  placeSquare(95, 45, 10);
  PlotOnePoint(f.form);
  ASSERT_EQ(f.app.pointCount, 1);
  EXPECT_EQ(values(f.app.dataPoints[1]), (std::array{100.5f, 300 - 51.5f, 100.5f, 300 - 50.5f}));
  EXPECT_EQ(std::tuple(f.ui.Line5.visible, f.ui.Line5.x1), std::tuple(true, 100.5f));
  // Over white nothing is added and the marker stays where it was.
  placeSquare(200, 200, 10);
  PlotOnePoint(f.form);
  EXPECT_EQ(f.app.pointCount, 1);
  EXPECT_EQ(f.ui.Line5.x1, 100.5f);
}

TEST_F(ClickDigitizing, ThePickUpSquareTurnsIntoPicturePixelsHalvesToEven) {
  // At zoom 2 scrolled by 40 the square 95 ... 105 covers columns
  // round(135 / 2) = 68 to round(145 / 2) - 1 = 71.
  f.app.zoom = 2;
  f.ui.HScroll1.value = 40;
  f.form.state.Picture2.editRegion(71, 0, 73, 1, [](PixelArray& p) {
    p.set(71, 0, 0);
    p.set(72, 0, 0);
  });
  placeSquare(95, -5, 10);
  PlotOnePoint(f.form);
  ASSERT_EQ(f.app.pointCount, 1);
  EXPECT_EQ(f.app.dataPoints[1].XPixel, 71.5f);  // column 72 is outside the square
}

TEST_F(ClickDigitizing, ManualPlotAppendsThePointerPositionUnrounded) {
  f.app.zoom = 2;
  f.ui.HScroll1.value = 40;
  f.ui.VScroll1.value = 10;
  ASSERT_EQ(appendDataPoint(f.form, 1, 1, 1, 1), AddResult::Added);
  ManualPlot(f.form, 31, 15);
  ASSERT_EQ(f.app.pointCount, 2);
  EXPECT_EQ(values(f.app.dataPoints[2]), (std::array{35.5f, 300 - 13.5f, 35.5f, 300 - 12.5f}));
  // The click cross, 12 display pixels each way.
  EXPECT_EQ(std::tuple(f.ui.Line5.y1, f.ui.Line6.x2), std::tuple(3.f, 43.f));
}

}  // namespace
}  // namespace plotvane
