#include "filters/contrast_dialog.h"

#include <gtest/gtest.h>

#include "filters/brightness_contrast.h"
#include "filters/colour_mask_dialog.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::PictureForm;

TEST(ContrastDialog, EachSliderHasItsFieldAndTheRightPaneFollowsBoth) {
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(400, 300)));
  menuClick(f.form, MenuId::mnuFilterContrast);
  auto* d = f.form.dialogAs<ContrastDialog>(DialogId::Contrast);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Slider2.minimum, -100);
  d->Slider1.value = -35;
  contrastSlider1Change(f.form);
  d->Slider2.value = 100;
  contrastSlider2Change(f.form);
  EXPECT_EQ(d->txtCont.text, "-35");
  EXPECT_EQ(d->txtLum.text, "100");
  EXPECT_EQ(d->Picture2.image, *ApplyBrightnessContrast(d->Picture1.image, -35, 100));
}

TEST(FilterDialogs, CaptionsFollowTheLanguage) {
  struct Case {
    MenuId language;
    const char *contrastTitle, *brightness, *maskTitle, *hint;
  };
  const Case cases[] = {
      {.language = MenuId::mnuLangENG,
       .contrastTitle = "Brightness/Contrast",
       .brightness = "Brightness",
       .maskTitle = "Color Mask",
       .hint = "Right Click: Pick up Color"},
      {.language = MenuId::mnuLangJP,
       .contrastTitle = "明るさ、ｺﾝﾄﾗｽﾄの調整",
       .brightness = "明るさ",
       .maskTitle = "色の選出",
       .hint = "画像上で右ｸﾘｯｸすると色を取得できます。誤差は10～100が標準です。"},
  };
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(400, 300)));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.contrastTitle);
    menuClick(f.form, c.language);
    menuClick(f.form, MenuId::mnuFilterContrast);
    const auto* contrast = f.form.dialogAs<ContrastDialog>(DialogId::Contrast);
    ASSERT_NE(contrast, nullptr);
    EXPECT_EQ(contrast->window.text, c.contrastTitle);
    EXPECT_EQ(contrast->Label2.text, c.brightness);
    filterUnload(f.form, DialogId::Contrast);
    menuClick(f.form, MenuId::mnuFilterColormask);
    const auto* mask = f.form.dialogAs<ColourMaskDialog>(DialogId::ColourMask);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->window.text, c.maskTitle);
    EXPECT_EQ(mask->Label2.text, c.hint);
    filterUnload(f.form, DialogId::ColourMask);
  }
}

}  // namespace
}  // namespace plotvane
