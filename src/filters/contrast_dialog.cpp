#include "filters/contrast_dialog.h"

#include <memory>

#include "base/number_text.h"
#include "filters/brightness_contrast.h"

namespace plotvane {
namespace {

void setUpSlider(SliderControl& slider) {
  slider.minimum = -kBrightnessContrastLimit;
  slider.maximum = kBrightnessContrastLimit;
  slider.smallChange = 1;
  slider.largeChange = 5;
  slider.tickFrequency = 10;
  slider.value = 0;
}

void sliderChange(Form1& form, SliderControl ContrastDialog::*slider,
                  Control ContrastDialog::*field) {
  auto* dialog = form.dialogAs<ContrastDialog>(DialogId::Contrast);
  if (!dialog || dialog->applying) return;
  (dialog->*field).setText(singleText(static_cast<float>((dialog->*slider).value)));
  drawPreviewPanes(form, *dialog, true);
}

}  // namespace

ContrastDialog::ContrastDialog() : FilterDialog(DialogId::Contrast, "dlgContrast") {
  setUpSlider(Slider1);
  setUpSlider(Slider2);
  txtCont.text = "0";
  txtLum.text = "0";
}

bool ContrastDialog::filter(const PixelArray& source, PixelArray& result,
                            const FilterYield& yield) const {
  return ApplyBrightnessContrast(source, result, Slider1.value, Slider2.value, yield);
}

void ContrastDialog::enableSettings(bool enabled) {
  FilterDialog::enableSettings(enabled);
  for (Control* control :
       {static_cast<Control*>(&Slider1), static_cast<Control*>(&Slider2), &txtCont, &txtLum})
    control->enabled = enabled;
}

void mnuFilterContrastClick(Form1& form) {
  if (form.state.picturePath.empty() || form.state.Picture2.empty()) return;
  if (!form.state.Picture2.editable() || form.dialog(DialogId::Contrast)) return;
  auto dialog = std::make_shared<ContrastDialog>();
  dialog->window.text = form.caption(Caption::ContrastTitle);
  dialog->Label1.text = form.caption(Caption::Contrast);
  dialog->Label2.text = form.caption(Caption::Brightness);
  dialog->OKButton.text = form.caption(Caption::ContrastOk);
  dialog->CancelButton.text = form.caption(Caption::ContrastCancel);
  loadFilterDialog(form, std::move(dialog));
}

void contrastSlider1Change(Form1& form) {
  sliderChange(form, &ContrastDialog::Slider1, &ContrastDialog::txtCont);
}

void contrastSlider2Change(Form1& form) {
  sliderChange(form, &ContrastDialog::Slider2, &ContrastDialog::txtLum);
}

}  // namespace plotvane
