#include "picture/view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>

#include "app/form1_events.h"
#include "picture/picture_form.h"
#include "picture/pixel_transfer.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::codedPixel;
using testing::PictureForm;

// Client sizes whose viewport, with both scroll bars shown, is 800 x 600 pixels inside its border.
constexpr int kClientW800 = 17115, kClientH600 = 10485;

std::string panel5(const Form1& form) {
  return form.ui.StatusBar1.panels.at(4);
}

// 2000 x 1500 at 32 needs a scroll range of 64 000 - 800. 1024 x 8 at 32 has a range inside 16
// bits but would be 32 768 display pixels wide (no vertical bar for 8 rows: 818 wide here).
TEST(View, ZoomInIsRefusedBeyondSixteenBitsAndLaidOutAgain) {
  for (const auto& [w, h, innerW, hMax] :
       {std::array{2000, 1500, 800, 32000 - 800}, std::array{1024, 8, 818, 16384 - 816}}) {
    PictureForm f(kClientW800, kClientH600);
    ASSERT_TRUE(f.load("big.bmp", codedPicture(w, h)));
    for (int i = 0; i < 8 && f.app.zoom < 16; ++i) menuClick(f.form, MenuId::mnuZoomIn);
    ASSERT_EQ(f.app.zoom, 16);
    ASSERT_EQ(viewportInnerWidth(f.form), innerW);
    menuClick(f.form, MenuId::mnuZoomIn);
    EXPECT_EQ(f.app.zoom, 16) << w;
    EXPECT_EQ(panel5(f.form), "Magnification : 32");  // the refused text stays
    EXPECT_EQ(f.ui.HScroll1.maximum, hMax);
    EXPECT_EQ(f.state.Picture1Image.at(innerW - 1, 7), codedPixel((innerW - 1) / 16, 0));
  }
}

// Page Up and Page Down zoom in and out.
TEST(View, ZoomStopsAtSixtyFourAndOneSixtyFourthAndShowsTheMagnification) {
  PictureForm f;
  ASSERT_TRUE(f.load("tiny.bmp", codedPicture(10, 10)));
  for (int step = 0; step < 8; ++step) picture1KeyDown(f.form, kKeyPageUp);
  EXPECT_EQ(f.app.zoom, 64);
  EXPECT_EQ(f.state.Picture1Image.width(), 640);
  ASSERT_TRUE(f.load("square.bmp", codedPicture(200, 200)));
  for (int step = 0; step < 20; ++step) picture1KeyDown(f.form, kKeyPageDown);
  EXPECT_EQ(f.app.zoom, 1.0f / 64);
  EXPECT_EQ(panel5(f.form), "Magnification : 1/64");
  EXPECT_EQ(f.state.Picture1Image.width(), 3);  // 200 / 64 = 3.125 whole pixels
  EXPECT_EQ(f.state.Picture1Image.at(2, 2), codedPixel(128, 128));
  EXPECT_EQ(magnificationText(f.form, 0.25f), "Magnification : 1/4");
  menuClick(f.form, MenuId::mnuLangJP);
  EXPECT_EQ(magnificationText(f.form, 8), "表示倍率 : 8");
}

TEST(View, ScrollPositionsSnapToWholePicturePixels) {
  PictureForm f;
  ASSERT_TRUE(f.load("grid.bmp", codedPicture(400, 400)));
  for (int step = 0; step < 2; ++step) menuClick(f.form, MenuId::mnuZoomIn);
  ASSERT_EQ(f.app.zoom, 4);
  const std::pair<int, int> cases[] = {{10, 8}, {11, 8}, {12, 12}, {3, 0}, {0, 0}};
  for (const auto& [dragged, snapped] : cases) {
    f.ui.HScroll1.value = dragged;
    f.ui.VScroll1.value = dragged + 4;
    scrollBarChange(f.form);
    EXPECT_EQ((std::pair(f.ui.HScroll1.value, f.ui.VScroll1.value)),
              (std::pair(snapped, snapped + 4)));
    EXPECT_EQ(f.state.Picture1Image.at(7, 3), codedPixel(snapped / 4 + 1, snapped / 4 + 1));
  }
  // Arrow clicks step a whole picture pixel or more, so snapping keeps them.
  EXPECT_EQ(f.ui.HScroll1.smallChange % 4 + f.ui.HScroll1.largeChange % 4, 0);
}

// Every reduced view is exactly the scaled copy, also where a reduced picture is reused; a
// changed picture shows after pict1Reload.
TEST(View, ReducedViewsShowExactlyTheScaledCopyAndReloadShowsChanges) {
  PictureForm f;
  const PixelArray picture = codedPicture(4001, 3003);
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
  f.state.Picture2.set(64 * f.ui.HScroll1.value, 64 * f.ui.VScroll1.value, 0xABCDEF);
  pict1Reload(f.form);
  EXPECT_EQ(f.state.Picture1Image.at(0, 0), 0xABCDEFu);
}

// The pane follows the window; scroll maxima are never below 0, values stay within 0 ... maximum
// after every layout and go to 0 when a picture loads.
TEST(View, ThePaneFollowsTheWindowAndScrollValuesStayInRange) {
  PictureForm f;
  ScrollBarControl &h = f.ui.HScroll1, &v = f.ui.VScroll1;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(1000, 600)));
  ASSERT_EQ(f.app.zoom, 0.5f);  // 500 x 300 display pixels
  // It fits: no bars, and the viewport takes the room up to the window's edges.
  EXPECT_FALSE(h.visible || v.visible);
  EXPECT_EQ((std::array{h.maximum, v.maximum, h.value, v.value}), (std::array{0, 0, 0, 0}));
  EXPECT_EQ(f.ui.Picture1.geometry, (Geometry{0, 0, 500 * 15, 300 * 15}));
  EXPECT_EQ(f.ui.Picture3.geometry.width, 1200 * 15 - 4740 - 45);
  EXPECT_EQ(f.ui.Picture3.geometry.height, 800 * 15 - 840 - 45 - 270);
  formResize(f.form, 700 * 15, 500 * 15);  // too wide, high enough
  EXPECT_TRUE(h.visible && !v.visible);
  const int innerW = viewportInnerWidth(f.form);
  EXPECT_EQ(innerW, (700 * 15 - 4740 - 45) / 15 - 4);
  EXPECT_EQ(h.maximum, 500 - innerW);
  EXPECT_EQ(f.state.Picture1Image.width(), innerW);
  const Geometry& pane = f.ui.Picture3.geometry;
  EXPECT_EQ(h.geometry.top, pane.top + pane.height);
  EXPECT_EQ(v.geometry.left, pane.left + pane.width);

  menuClick(f.form, MenuId::mnuZoomIn);  // both bars, scrolled to their ends
  h.value = h.maximum;
  v.value = v.maximum;
  scrollBarChange(f.form);
  menuClick(f.form, MenuId::mnuZoomOut);
  EXPECT_EQ((std::array{h.maximum, v.maximum, h.value, v.value}),
            (std::array{500 - innerW, 0, 500 - innerW, 0}));
  menuClick(f.form, MenuId::mnuZoomOut);  // 250 x 150 fits
  EXPECT_EQ((std::array{h.maximum, v.maximum, h.value, v.value}), (std::array{0, 0, 0, 0}));
  menuClick(f.form, MenuId::mnuZoomIn);
  h.value = 30;
  scrollBarChange(f.form);
  ASSERT_EQ(h.value, 30);
  ASSERT_TRUE(f.load("other.bmp", codedPicture(3000, 1400)));
  EXPECT_EQ(h.value, 0);
}

// Up once and Down three times, Left once and Right four times: any swapped direction or axis,
// or a step other than one pixel, ends elsewhere. Enter ends a drag.
TEST(View, ArrowKeysMoveThePointerByOnePixel) {
  for (bool movable : {true, false}) {
    PictureForm f;
    f.platform.setPointerMovable(movable);
    f.state.lastMouseX = 10;
    f.state.lastMouseY = 20;
    const int x = f.platform.pointerX(), y = f.platform.pointerY();
    for (int key : {kKeyUp, kKeyDown, kKeyDown, kKeyDown, kKeyLeft, kKeyRight, kKeyRight, kKeyRight,
                    kKeyRight})
      picture1KeyDown(f.form, key);
    // The position follows even where the pointer cannot be moved.
    EXPECT_EQ((std::pair(f.state.lastMouseX, f.state.lastMouseY)), (std::pair(13.0f, 22.0f)));
    EXPECT_EQ((std::pair(f.platform.pointerX(), f.platform.pointerY())),
              (std::pair(x + (movable ? 3 : 0), y + (movable ? 2 : 0))));
    f.state.dragSnapshotTaken = -1;
    picture1KeyDown(f.form, kKeyEnter);
    EXPECT_EQ(f.state.dragSnapshotTaken, 0);
  }
}

TEST(View, NothingIsDrawnOrZoomedBeforeTheFirstPicture) {
  PictureForm f;
  for (MenuId id : {MenuId::mnuZoomIn, MenuId::mnuZoomOut, MenuId::mnuSelectAll, MenuId::mnuErase,
                    MenuId::mnuPictRot, MenuId::mnuFilter, MenuId::mnuFilterContrast,
                    MenuId::mnuFilterColormask, MenuId::mnuFileSave, MenuId::mnuFileRedraw})
    EXPECT_FALSE(f.ui.menu(id).enabled) << f.ui.menu(id).name;
  const std::set<std::string> buttons = {"btnZoomIn", "btnZoomOut", "btnSelectAll", "btnErase"};
  for (const ToolButtonModel& button : f.ui.toolbar)
    EXPECT_FALSE(buttons.count(button.key) && button.enabled) << button.key;
  EXPECT_TRUE(f.ui.menu(MenuId::mnuExeCancel).enabled);
  const std::string magnification = panel5(f.form);
  menuClick(f.form, MenuId::mnuZoomIn);
  menuClick(f.form, MenuId::mnuZoomOut);
  picture1KeyDown(f.form, kKeyPageUp);
  scrollBarChange(f.form);
  EXPECT_EQ(pict1Reload(f.form), 1);
  EXPECT_TRUE(f.app.zoom == 0 && f.state.Picture1Image.empty());
  EXPECT_EQ(panel5(f.form), magnification);
  EXPECT_TRUE(f.platform.messages().empty());
}

}  // namespace
}  // namespace plotvane
