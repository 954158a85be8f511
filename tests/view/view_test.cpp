#include "view/view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "digitize/picture_input.h"
#include "picture/pixel_transfer.h"
#include "shell/form1_events.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::codedPixel;
using testing::PictureForm;

const std::string& magnification(const PictureForm& f) {
  return f.ui.StatusBar1.panels.at(static_cast<std::size_t>(StatusPanel::Magnification));
}

// 2000 x 1500 at 32 needs a scroll range of 64 000 - 800; 1024 x 8 at 32 has a range inside 16
// bits but would be 32 768 display pixels wide (no vertical bar for 8 rows: 818 wide here).
TEST(View, ZoomInIsRefusedBeyondSixteenBitsAndLaidOutAgain) {
  // clang-format off
  const struct { int width, height, innerWidth, hMaximum; } cases[] = {
      {.width = 2000, .height = 1500, .innerWidth = 800, .hMaximum = 32000 - 800},
      {.width = 1024, .height = 8, .innerWidth = 818, .hMaximum = 16384 - 816}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    PictureForm f(17115, 10485);  // an 800 x 600 viewport inside its border with both bars
    ASSERT_TRUE(f.load("big.bmp", codedPicture(c.width, c.height)));
    for (int i = 0; i < 9; ++i) menuClick(f.form, MenuId::mnuZoomIn);  // to 16, then refused
    EXPECT_EQ(f.app.zoom, 16);
    EXPECT_EQ(magnification(f), "Magnification : 32");  // the refused text stays
    EXPECT_EQ(f.ui.HScroll1.maximum, c.hMaximum);
    EXPECT_EQ(f.state.Picture1Image.at(c.innerWidth - 1, 7),
              codedPixel((c.innerWidth - 1) / 16, 0));
  }
}

// Snapping at zoom 4, then Page Down to the 1/64 floor and Page Up to the 64 ceiling.
TEST(View, ScrollPositionsSnapAndZoomStopsAtItsLimits) {
  PictureForm f;
  ASSERT_TRUE(f.load("grid.bmp", codedPicture(300, 300)));
  for (int i = 0; i < 2; ++i) menuClick(f.form, MenuId::mnuZoomIn);  // 4
  // clang-format off
  const struct { int dragged, snapped; } cases[] = {
      {.dragged = 10, .snapped = 8}, {.dragged = 11, .snapped = 8}, {.dragged = 12, .snapped = 12},
      {.dragged = 3, .snapped = 0}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "dragged to " << c.dragged);
    f.ui.HScroll1.value = f.ui.VScroll1.value = c.dragged;
    scrollBarChange(f.form);
    EXPECT_EQ(f.ui.HScroll1.value, c.snapped);
    EXPECT_EQ(f.ui.VScroll1.value, c.snapped);
    EXPECT_EQ(f.state.Picture1Image.at(7, 3), codedPixel(c.snapped / 4 + 1, c.snapped / 4));
  }
  EXPECT_EQ(f.ui.HScroll1.smallChange % 4, 0);  // whole pixels
  EXPECT_EQ(f.ui.HScroll1.largeChange % 4, 0);
  for (int step = 0; step < 20; ++step) picture1KeyDown(f.form, kKeyPageDown);
  EXPECT_EQ(magnification(f), "Magnification : 1/64");
  EXPECT_EQ(f.state.Picture1Image.at(2, 2), codedPixel(128, 128));
  ASSERT_TRUE(f.load("tiny.bmp", codedPicture(10, 10)));
  for (int step = 0; step < 8; ++step) picture1KeyDown(f.form, kKeyPageUp);
  EXPECT_EQ(f.app.zoom, 64.0f);
  EXPECT_EQ(f.state.Picture1Image.width(), 640);
  EXPECT_EQ(magnificationText(f.form, 0.25f), "Magnification : 1/4");
  menuClick(f.form, MenuId::mnuLangJP);
  EXPECT_EQ(magnificationText(f.form, 8), "表示倍率 : 8");
}

// Reduced views, reused or not, are exactly the scaled copy; pict1Reload shows a changed picture.
TEST(View, ReducedViewsShowExactlyTheScaledCopyAndReloadShowsChanges) {
  PictureForm f;
  const PixelArray picture = codedPicture(4001, 3003);
  ASSERT_TRUE(f.load("big.bmp", picture));
  while (f.app.zoom > 1.0f / 64) {
    menuClick(f.form, MenuId::mnuZoomOut);
    f.ui.HScroll1.value = std::min(1000, f.ui.HScroll1.maximum);
    f.ui.VScroll1.value = std::min(7, f.ui.VScroll1.maximum);
    scrollBarChange(f.form);
    PixelArray expected(f.state.Picture1Image.width(), f.state.Picture1Image.height());
    BlitZoomed(picture, expected, f.app.zoom, f.ui.HScroll1.value / f.app.zoom,
               f.ui.VScroll1.value / f.app.zoom, f.platform.buttonFaceColour());
    EXPECT_EQ(f.state.Picture1Image, expected) << "zoom " << f.app.zoom;
  }
  const int x = 64 * f.ui.HScroll1.value, y = 64 * f.ui.VScroll1.value;
  f.state.Picture2.editRegion(x, y, x + 1, y + 1, [&](PixelArray& p) { p.set(x, y, 0xABCDEF); });
  pict1Reload(f.form);
  EXPECT_EQ(f.state.Picture1Image.at(0, 0), 0xABCDEFu);
}

// Scroll maxima are never below 0; values are clamped after every layout and reset by a load.
TEST(View, ThePaneFollowsTheWindowAndScrollValuesStayInRange) {
  PictureForm f;
  ScrollBarControl &h = f.ui.HScroll1, &v = f.ui.VScroll1;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(1000, 600)));
  ASSERT_EQ(f.app.zoom, 0.5f);             // 500 x 300 display pixels
  formResize(f.form, 700 * 15, 500 * 15);  // too wide, high enough
  EXPECT_TRUE(h.visible);
  EXPECT_FALSE(v.visible);
  const int innerW = viewportInnerWidth(f.form);
  EXPECT_EQ(innerW, (700 * 15 - 4740 - 45) / 15 - 4);
  EXPECT_EQ(h.maximum, 500 - innerW);
  EXPECT_EQ(f.state.Picture1Image.width(), innerW);
  menuClick(f.form, MenuId::mnuZoomIn);  // both bars, scrolled to their ends
  h.value = h.maximum, v.value = v.maximum;
  scrollBarChange(f.form);
  menuClick(f.form, MenuId::mnuZoomOut);
  const auto expectBars = [&](int hMaximum, int vMaximum, int hValue, int vValue) {
    EXPECT_EQ(h.maximum, hMaximum);
    EXPECT_EQ(v.maximum, vMaximum);
    EXPECT_EQ(h.value, hValue);
    EXPECT_EQ(v.value, vValue);
  };
  expectBars(500 - innerW, 0, 500 - innerW, 0);
  menuClick(f.form, MenuId::mnuZoomOut);  // 250 x 150 fits
  expectBars(0, 0, 0, 0);
  ASSERT_TRUE(f.load("wide.bmp", codedPicture(32000, 4)));  // 500 wide at the 1/64 floor
  h.value = 30;
  ASSERT_TRUE(f.load("wide.bmp", codedPicture(32000, 4)));
  EXPECT_EQ(h.value, 0);
  EXPECT_GT(h.maximum, 30);
}

// Up once, Down twice, Left once, Right three times: a swapped direction or axis, or a step other
// than one pixel, ends elsewhere. The position follows even where the pointer cannot move.
TEST(View, ArrowKeysMoveThePointerByOnePixelAndEnterEndsADrag) {
  for (bool movable : {true, false}) {
    SCOPED_TRACE(movable ? "pointer movable" : "pointer fixed");
    PictureForm f;
    f.platform.setPointerMovable(movable);
    f.state.lastMouseX = 10, f.state.lastMouseY = 20;
    const int x = f.platform.pointerX(), y = f.platform.pointerY();
    for (int key : {kKeyUp, kKeyDown, kKeyDown, kKeyLeft, kKeyRight, kKeyRight, kKeyRight})
      picture1KeyDown(f.form, key);
    EXPECT_EQ(f.state.lastMouseX, 12.0f);
    EXPECT_EQ(f.state.lastMouseY, 21.0f);
    EXPECT_EQ(f.platform.pointerX(), x + 2 * movable);
    EXPECT_EQ(f.platform.pointerY(), y + movable);
    f.state.dragTarget = 1;  // a drag under way
    picture1KeyDown(f.form, kKeyEnter);
    EXPECT_EQ(f.state.dragTarget, 0);
  }
}

TEST(View, NothingIsDrawnOrZoomedBeforeTheFirstPicture) {
  PictureForm f;
  for (MenuId id : {MenuId::mnuZoomIn, MenuId::mnuZoomOut, MenuId::mnuSelectAll, MenuId::mnuErase,
                    MenuId::mnuPictRot, MenuId::mnuFilter, MenuId::mnuFilterContrast,
                    MenuId::mnuFilterColormask, MenuId::mnuFileSave, MenuId::mnuFileRedraw})
    EXPECT_FALSE(f.ui.menu(id).enabled) << f.ui.menu(id).name;
  const std::set<std::string> off = {"btnZoomIn", "btnZoomOut", "btnSelectAll", "btnErase"};
  for (const auto& b : f.ui.toolbar) EXPECT_FALSE(off.count(b.key) && b.enabled) << b.key;
  EXPECT_TRUE(f.ui.menu(MenuId::mnuExeCancel).enabled);
  menuClick(f.form, MenuId::mnuZoomIn);
  scrollBarChange(f.form);
  EXPECT_EQ(pict1Reload(f.form), 1);
  EXPECT_EQ(f.app.zoom, 0);
  EXPECT_TRUE(f.state.Picture1Image.empty());
  EXPECT_TRUE(f.platform.messages().empty());
}

}  // namespace
}  // namespace plotvane
