#include "picture/view.h"

#include <gtest/gtest.h>

#include <string>

#include "app/form1_events.h"
#include "picture/picture_form.h"
#include "picture/pixel_transfer.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::codedPixel;
using testing::PictureForm;

// Client sizes whose viewport, with both scroll bars shown, is exactly
// 800 x 600 pixels inside its border.
constexpr int kClientW800 = 17115;
constexpr int kClientH600 = 10485;

std::string panel5(const Form1& form) {
  const auto& panels = form.ui.StatusBar1.panels;
  return panels.size() > 4 ? panels[4] : std::string();
}

int pixelsOf(int twips) {
  return twips / kTwipsPerPixel;
}

TEST(View, PictureSmallerThanTheViewportHasNoScrollBars) {
  PictureForm f;
  ASSERT_TRUE(f.load("small.bmp", codedPicture(300, 200)));
  EXPECT_EQ(f.app.zoom, 1);
  EXPECT_FALSE(f.ui.HScroll1.visible);
  EXPECT_FALSE(f.ui.VScroll1.visible);
  EXPECT_EQ(f.ui.HScroll1.maximum, 0);
  EXPECT_EQ(f.ui.VScroll1.maximum, 0);
  EXPECT_EQ(f.ui.Picture1.geometry, (Geometry{0, 0, 300 * 15, 200 * 15}));
  EXPECT_EQ(f.state.Picture1Image, codedPicture(300, 200));
  // Both bars hidden: the viewport takes the room up to the window's edges.
  EXPECT_EQ(f.ui.Picture3.geometry.width, 1200 * 15 - 4740 - 45);
  EXPECT_EQ(f.ui.Picture3.geometry.height, 800 * 15 - 840 - 45 - 270);
}

TEST(View, ZoomInIsRefusedWhereTheScrollRangeLeavesSixteenBits) {
  PictureForm f(kClientW800, kClientH600);
  ASSERT_TRUE(f.load("big.bmp", codedPicture(2000, 1500)));
  EXPECT_EQ(f.app.zoom, 0.25f);
  for (int step = 0; step < 6; ++step) menuClick(f.form, MenuId::mnuZoomIn);
  ASSERT_EQ(f.app.zoom, 16);
  EXPECT_EQ(viewportInnerWidth(f.form), 800);
  EXPECT_EQ(viewportInnerHeight(f.form), 600);
  EXPECT_EQ(f.ui.HScroll1.maximum, 32000 - 800);
  EXPECT_EQ(f.ui.VScroll1.maximum, 24000 - 600 / 16 * 16);  // whole picture rows only

  menuClick(f.form, MenuId::mnuZoomIn);  // 63 200 would be needed
  EXPECT_EQ(f.app.zoom, 16);
  EXPECT_EQ(panel5(f.form), "Magnification : 32");
  // Laid out again at the restored zoom.
  EXPECT_EQ(f.ui.HScroll1.maximum, 31200);
  EXPECT_TRUE(f.ui.HScroll1.visible);
  EXPECT_EQ(f.ui.Picture1.geometry, (Geometry{0, 0, 800 * 15, 600 * 15}));
  EXPECT_EQ(f.state.Picture1Image.at(799, 599), codedPixel(49, 37));
}

TEST(View, ZoomedSideBeyondSixteenBitsIsRefusedEvenWhenTheRangeFits) {
  PictureForm f(kClientW800, kClientH600);
  ASSERT_TRUE(f.load("wide.bmp", codedPicture(1024, 8)));
  while (f.app.zoom < 16) menuClick(f.form, MenuId::mnuZoomIn);
  // At 32 the range would be 32 768 - 800, inside 16 bits, but the picture
  // would be 32 768 display pixels wide.
  menuClick(f.form, MenuId::mnuZoomIn);
  EXPECT_EQ(f.app.zoom, 16);
  // No vertical bar for 8 rows: the viewport is wider than 800 here.
  const int innerW = viewportInnerWidth(f.form);
  EXPECT_EQ(innerW, (kClientW800 - 4740 - 45) / 15 - 4);
  EXPECT_EQ(f.ui.HScroll1.maximum, 16384 - innerW / 16 * 16);
}

TEST(View, ZoomStopsAtSixtyFourAndOneSixtyFourth) {
  PictureForm f;
  ASSERT_TRUE(f.load("tiny.bmp", codedPicture(10, 10)));
  for (int step = 0; step < 8; ++step) menuClick(f.form, MenuId::mnuZoomIn);
  EXPECT_EQ(f.app.zoom, 64);
  EXPECT_EQ(panel5(f.form), "Magnification : 64");
  EXPECT_EQ(f.state.Picture1Image.width(), 640);

  ASSERT_TRUE(f.load("square.bmp", codedPicture(200, 200)));
  for (int step = 0; step < 20; ++step) menuClick(f.form, MenuId::mnuZoomOut);
  EXPECT_EQ(f.app.zoom, 1.0f / 64);
  EXPECT_EQ(panel5(f.form), "Magnification : 1/64");
  EXPECT_EQ(f.state.Picture1Image.width(), 3);  // 200 / 64 = 3.125 whole pixels
  EXPECT_EQ(f.state.Picture1Image.at(2, 2), codedPixel(128, 128));
}

TEST(View, MagnificationTextInBothLanguages) {
  PictureForm f;
  struct Case {
    float zoom;
    const char* english;
    const char* japanese;
  };
  const Case cases[] = {
      {0.25f, "Magnification : 1/4", "表示倍率 : 1/4"},
      {8, "Magnification : 8", "表示倍率 : 8"},
      {1, "Magnification : 1", "表示倍率 : 1"},
      {1.0f / 64, "Magnification : 1/64", "表示倍率 : 1/64"},
  };
  for (const Case& c : cases) EXPECT_EQ(magnificationText(f.form, c.zoom), c.english);
  menuClick(f.form, MenuId::mnuLangJP);
  for (const Case& c : cases) EXPECT_EQ(magnificationText(f.form, c.zoom), c.japanese);
}

TEST(View, ScrollPositionsSnapToWholePicturePixels) {
  PictureForm f;
  ASSERT_TRUE(f.load("grid.bmp", codedPicture(400, 400)));
  menuClick(f.form, MenuId::mnuZoomIn);
  menuClick(f.form, MenuId::mnuZoomIn);
  ASSERT_EQ(f.app.zoom, 4);
  struct Case {
    int dragged, snapped;
  };
  const Case cases[] = {{10, 8}, {11, 8}, {12, 12}, {3, 0}, {0, 0}};
  for (const Case& c : cases) {
    f.ui.HScroll1.value = c.dragged;
    f.ui.VScroll1.value = c.dragged + 4;
    scrollBarChange(f.form);
    EXPECT_EQ(f.ui.HScroll1.value, c.snapped) << c.dragged;
    EXPECT_EQ(f.ui.VScroll1.value, c.snapped + 4) << c.dragged;
    // The view starts at the snapped picture pixel.
    EXPECT_EQ(f.state.Picture1Image.at(0, 0), codedPixel(c.snapped / 4, c.snapped / 4 + 1));
    EXPECT_EQ(f.state.Picture1Image.at(7, 3), codedPixel(c.snapped / 4 + 1, c.snapped / 4 + 1));
  }
  // Values beyond the range come back into it.
  f.ui.HScroll1.value = 99999;
  f.ui.VScroll1.value = -5;
  scrollBarChange(f.form);
  EXPECT_EQ(f.ui.HScroll1.value, f.ui.HScroll1.maximum / 4 * 4);
  EXPECT_EQ(f.ui.VScroll1.value, 0);
  // Arrow clicks step a whole picture pixel or more, so snapping keeps them.
  EXPECT_EQ(f.ui.HScroll1.smallChange % 4, 0);
  EXPECT_EQ(f.ui.HScroll1.largeChange % 4, 0);
}

TEST(View, ReducedViewsShowExactlyTheScaledCopy) {
  PictureForm f;
  PixelArray picture(4001, 3003);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      picture.set(x, y, static_cast<std::uint32_t>(x * 40503u ^ y * 2654435761u) & kRgbMask);
  ASSERT_TRUE(f.load("big.bmp", picture));
  menuClick(f.form, MenuId::mnuZoomIn);
  while (f.app.zoom > 1.0f / 64) {
    menuClick(f.form, MenuId::mnuZoomOut);
    for (int step : {0, 1, 7, 1000}) {
      f.ui.HScroll1.value = std::min(step, f.ui.HScroll1.maximum);
      f.ui.VScroll1.value = std::min(step * 3, f.ui.VScroll1.maximum);
      scrollBarChange(f.form);
      PixelArray expected(f.state.Picture1Image.width(), f.state.Picture1Image.height());
      BlitZoomed(picture, expected, f.app.zoom, f.ui.HScroll1.value / f.app.zoom,
                 f.ui.VScroll1.value / f.app.zoom, f.platform.buttonFaceColour());
      EXPECT_EQ(f.state.Picture1Image, expected) << "zoom " << f.app.zoom << " step " << step;
    }
  }
}

TEST(View, ReloadShowsAChangedPicture) {
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(4000, 2000)));
  menuClick(f.form, MenuId::mnuZoomIn);
  ASSERT_EQ(f.app.zoom, 0.25f);
  ASSERT_GT(f.ui.HScroll1.maximum, 10);
  f.ui.HScroll1.value = 10;
  scrollBarChange(f.form);
  EXPECT_EQ(f.state.Picture1Image.at(0, 0), codedPixel(40, 0));
  f.state.Picture2.set(40, 0, 0xABCDEF);
  pict1Reload(f.form);
  EXPECT_EQ(f.state.Picture1Image.at(0, 0), 0xABCDEFu);
}

TEST(View, ScrollValuesStayWithinTheRangeAndResetOnLoad) {
  PictureForm f;
  ASSERT_TRUE(f.load("wide.bmp", codedPicture(3000, 1400)));
  menuClick(f.form, MenuId::mnuZoomIn);
  f.ui.HScroll1.value = f.ui.HScroll1.maximum;
  f.ui.VScroll1.value = f.ui.VScroll1.maximum;
  scrollBarChange(f.form);
  menuClick(f.form, MenuId::mnuZoomOut);
  for (const ScrollBarControl* bar : {&f.ui.HScroll1, &f.ui.VScroll1}) {
    EXPECT_GE(bar->value, 0);
    EXPECT_LE(bar->value, bar->maximum);
    EXPECT_GE(bar->maximum, 0);
  }
  // A window large enough to show it all: no range, values back to 0.
  formResize(f.form, 6000 * 15, 3000 * 15);
  EXPECT_EQ(f.ui.HScroll1.maximum, 0);
  EXPECT_EQ(f.ui.HScroll1.value, 0);
  EXPECT_EQ(f.ui.VScroll1.value, 0);

  formResize(f.form, 1200 * 15, 800 * 15);
  menuClick(f.form, MenuId::mnuZoomIn);
  f.ui.HScroll1.value = 40;
  scrollBarChange(f.form);
  ASSERT_TRUE(f.load("other.bmp", codedPicture(3000, 1400)));
  EXPECT_EQ(f.ui.HScroll1.value, 0);
  EXPECT_EQ(f.ui.VScroll1.value, 0);
}

TEST(View, WindowResizeLaysThePaneOutAgain) {
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(1000, 600)));
  ASSERT_EQ(f.app.zoom, 0.5f);
  // 500 x 300 display pixels: too wide for the narrower window, high enough.
  formResize(f.form, 700 * 15, 500 * 15);
  EXPECT_TRUE(f.ui.HScroll1.visible);
  EXPECT_FALSE(f.ui.VScroll1.visible);
  const int innerW = viewportInnerWidth(f.form);
  EXPECT_EQ(innerW, (700 * 15 - 4740 - 45) / 15 - 4);
  EXPECT_EQ(viewportInnerHeight(f.form), (500 * 15 - 840 - 315 - 270) / 15 - 4);
  EXPECT_EQ(f.ui.HScroll1.maximum, 500 - innerW);
  EXPECT_EQ(pixelsOf(f.ui.Picture1.geometry.width), innerW);
  EXPECT_EQ(f.state.Picture1Image.width(), innerW);
  EXPECT_EQ(f.ui.HScroll1.geometry.top, f.ui.Picture3.geometry.top + f.ui.Picture3.geometry.height);
  EXPECT_EQ(f.ui.VScroll1.geometry.left,
            f.ui.Picture3.geometry.left + f.ui.Picture3.geometry.width);
}

TEST(View, KeysMoveThePointerByOnePixelAndZoom) {
  struct Case {
    int key;
    int dx, dy;
  };
  const Case cases[] = {{kKeyUp, 0, -1}, {kKeyDown, 0, 1}, {kKeyLeft, -1, 0}, {kKeyRight, 1, 0}};
  for (bool movable : {true, false}) {
    PictureForm f;
    f.platform.setPointerMovable(movable);
    for (const Case& c : cases) {
      f.state.lastMouseX = 10;
      f.state.lastMouseY = 20;
      const int x = f.platform.pointerX(), y = f.platform.pointerY();
      picture1KeyDown(f.form, c.key);
      // The position follows even where the pointer cannot be moved.
      EXPECT_EQ(f.state.lastMouseX, 10 + c.dx) << c.key;
      EXPECT_EQ(f.state.lastMouseY, 20 + c.dy) << c.key;
      EXPECT_EQ(f.platform.pointerX(), x + (movable ? c.dx : 0)) << c.key;
      EXPECT_EQ(f.platform.pointerY(), y + (movable ? c.dy : 0)) << c.key;
    }
  }
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(100, 100)));
  picture1KeyDown(f.form, kKeyPageUp);
  EXPECT_EQ(f.app.zoom, 2);
  picture1KeyDown(f.form, kKeyPageDown);
  picture1KeyDown(f.form, kKeyPageDown);
  EXPECT_EQ(f.app.zoom, 0.5f);
  f.state.dragSnapshotTaken = -1;
  picture1KeyDown(f.form, kKeyEnter);
  EXPECT_EQ(f.state.dragSnapshotTaken, 0);
}

TEST(View, NothingIsDrawnOrZoomedBeforeTheFirstPicture) {
  PictureForm f;
  for (MenuId id : {MenuId::mnuZoomIn, MenuId::mnuZoomOut, MenuId::mnuSelectAll, MenuId::mnuErase,
                    MenuId::mnuPictRot, MenuId::mnuFilter, MenuId::mnuFilterContrast,
                    MenuId::mnuFilterColormask, MenuId::mnuFileSave, MenuId::mnuFileRedraw})
    EXPECT_FALSE(f.ui.menu(id).enabled) << f.ui.menu(id).name;
  for (const char* key : {"btnZoomIn", "btnZoomOut", "btnSelectAll", "btnErase"})
    for (const ToolButtonModel& button : f.ui.toolbar) {
      if (button.key == key) {
        EXPECT_FALSE(button.enabled) << key;
      }
    }
  EXPECT_TRUE(f.ui.menu(MenuId::mnuExeCancel).enabled);

  const std::string magnification = panel5(f.form);
  menuClick(f.form, MenuId::mnuZoomIn);
  menuClick(f.form, MenuId::mnuZoomOut);
  picture1KeyDown(f.form, kKeyPageUp);
  scrollBarChange(f.form);
  EXPECT_EQ(pict1Reload(f.form), 1);
  EXPECT_EQ(f.app.zoom, 0);
  EXPECT_TRUE(f.state.Picture1Image.empty());
  EXPECT_EQ(panel5(f.form), magnification);
  EXPECT_TRUE(f.platform.messages().empty());
}

}  // namespace
}  // namespace plotvane
