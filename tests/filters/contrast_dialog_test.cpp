#include "filters/contrast_dialog.h"

#include <gtest/gtest.h>

#include "filters/brightness_contrast.h"
#include "filters/colour_mask_dialog.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::PictureForm;

TEST(ContrastDialog, SlidersStartAtZeroAndTheirFieldsShowTheirValues) {
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(400, 300)));
  menuClick(f.form, MenuId::mnuFilterContrast);
  auto* d = f.form.dialogAs<ContrastDialog>(DialogId::Contrast);
  ASSERT_NE(d, nullptr);
  for (const SliderControl* slider : {&d->Slider1, &d->Slider2}) {
    SCOPED_TRACE(slider->name);
    EXPECT_EQ(slider->value, 0);
    EXPECT_EQ(slider->minimum, -100);
    EXPECT_EQ(slider->maximum, 100);
    EXPECT_EQ(slider->smallChange, 1);
    EXPECT_EQ(slider->largeChange, 5);
    EXPECT_EQ(slider->tickFrequency, 10);
  }
  EXPECT_EQ(d->txtCont.text, "0");
  EXPECT_EQ(d->txtLum.text, "0");

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
    std::string contrastTitle, contrast, brightness, contrastCancel;
    std::string maskTitle, colour, range, hint, frame, keep, remove, maskCancel;
  };
  const Case cases[] = {
      {.language = MenuId::mnuLangENG,
       .contrastTitle = "Brightness/Contrast",
       .contrast = "Contrast",
       .brightness = "Brightness",
       .contrastCancel = "Cancel",
       .maskTitle = "Color Mask",
       .colour = "Color",
       .range = "Range",
       .hint = "Right Click: Pick up Color",
       .frame = "Color Mask Option",
       .keep = "Remove Unselected Color",
       .remove = "Remove Selected Color",
       .maskCancel = "Cancel"},
      {.language = MenuId::mnuLangJP,
       .contrastTitle = "明るさ、ｺﾝﾄﾗｽﾄの調整",
       .contrast = "ｺﾝﾄﾗｽﾄ",
       .brightness = "明るさ",
       .contrastCancel = "ｷｬﾝｾﾙ",
       .maskTitle = "色の選出",
       .colour = "色",
       .range = "誤差",
       .hint = "画像上で右ｸﾘｯｸすると色を取得できます。誤差は10～100が標準です。",
       .frame = "選出オプション",
       .keep = "指定した色を取り出す",
       .remove = "指定した色を取り除く",
       .maskCancel = "ｷｬﾝｾﾙ"},
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
    EXPECT_EQ(contrast->Label1.text, c.contrast);
    EXPECT_EQ(contrast->Label2.text, c.brightness);
    EXPECT_EQ(contrast->OKButton.text, "OK");
    EXPECT_EQ(contrast->CancelButton.text, c.contrastCancel);
    filterUnload(f.form, DialogId::Contrast);

    menuClick(f.form, MenuId::mnuFilterColormask);
    const auto* mask = f.form.dialogAs<ColourMaskDialog>(DialogId::ColourMask);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->window.text, c.maskTitle);
    EXPECT_EQ(mask->Label5.text, c.colour);
    EXPECT_EQ(mask->Label1.text, c.range);
    EXPECT_EQ(mask->Label2.text, c.hint);
    EXPECT_EQ(mask->Frame3.text, c.frame);
    EXPECT_EQ(mask->optAnd.text, c.keep);
    EXPECT_EQ(mask->optNot.text, c.remove);
    EXPECT_EQ(mask->OKButton.text, "OK");
    EXPECT_EQ(mask->CancelButton.text, c.maskCancel);
    filterUnload(f.form, DialogId::ColourMask);
  }
}

}  // namespace
}  // namespace plotvane
