#include "filters/colour_mask_dialog.h"

#include <memory>

#include "base/number_text.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kInitialTolerance = 50;

ColourMaskDialog* idleColourMask(const Form1& form) {
  auto* dialog = form.dialogAs<ColourMaskDialog>(DialogId::ColourMask);
  return dialog && !dialog->applying ? dialog : nullptr;
}

}  // namespace

ColourMaskDialog::ColourMaskDialog() : FilterDialog(DialogId::ColourMask, "dlgColor") {
  Label3.colour = 0;
  Label4.colour = kWhite;
  Slider1.minimum = 0;
  Slider1.maximum = 255;
  Slider1.smallChange = 1;
  Slider1.largeChange = 5;
  Slider1.tickFrequency = 10;
  Slider1.value = kInitialTolerance;
  txtColorRange.text = singleText(static_cast<float>(kInitialTolerance));
  optAnd.value = 1;
  optNot.value = 0;
}

ColourMaskParams ColourMaskDialog::params() const {
  return {.red = redOf(Label3.colour),
          .green = greenOf(Label3.colour),
          .blue = blueOf(Label3.colour),
          .tolerance = static_cast<float>(Slider1.value),
          .keepMode = optAnd.value != 0};
}

bool ColourMaskDialog::filter(const PixelArray& source, PixelArray& result,
                              const FilterYield& yield) const {
  return ApplyColourMask(source, result, params(), yield);
}

void ColourMaskDialog::enableSettings(bool enabled) {
  FilterDialog::enableSettings(enabled);
  for (Control* control : {static_cast<Control*>(&Label3), static_cast<Control*>(&Slider1),
                           &txtColorRange, &Frame3, &optAnd, &optNot})
    control->enabled = enabled;
}

void ColourMaskDialog::pointerMoved(PreviewPaneId, const PointerEvent& event) {
  if (const auto colour = paneColourAt(Picture1.image, event.x, event.y)) Label4.colour = *colour;
}

void ColourMaskDialog::pointerReleased(PreviewPaneId pane, const PointerEvent& event) {
  if (event.button != PointerButton::Right) return;
  if (const auto colour = paneColourAt(this->pane(pane).image, event.x, event.y))
    Label3.colour = *colour;
}

void mnuFilterColormaskClick(Form1& form) {
  if (form.state.picturePath.empty() || form.state.Picture2.empty()) return;
  if (!form.state.Picture2.editable() || form.dialog(DialogId::ColourMask)) return;
  auto dialog = std::make_shared<ColourMaskDialog>();
  dialog->window.text = form.caption(Caption::ColourMaskTitle);
  dialog->Label5.text = form.caption(Caption::ColourSwatch);
  dialog->Label1.text = form.caption(Caption::ColourRange);
  dialog->Label2.text = form.caption(Caption::PickColourHint);
  dialog->Frame3.text = form.caption(Caption::ColourMaskOption);
  dialog->optAnd.text = form.caption(Caption::KeepSelectedColour);
  dialog->optNot.text = form.caption(Caption::RemoveSelectedColour);
  dialog->OKButton.text = form.caption(Caption::ColourMaskOk);
  dialog->CancelButton.text = form.caption(Caption::ColourMaskCancel);
  loadFilterDialog(form, std::move(dialog));
}

void colourMaskSlider1Change(Form1& form) {
  ColourMaskDialog* dialog = idleColourMask(form);
  if (!dialog) return;
  dialog->txtColorRange.setText(singleText(static_cast<float>(dialog->Slider1.value)));
  drawPreviewPanes(form, *dialog, true);
}

void colourMaskOptionClick(Form1& form, bool keep) {
  ColourMaskDialog* dialog = idleColourMask(form);
  if (!dialog) return;
  dialog->optAnd.value = keep ? 1 : 0;
  dialog->optNot.value = keep ? 0 : 1;
  drawPreviewPanes(form, *dialog, true);
}

void colourMaskLabel3Click(Form1& form) {
  ColourMaskDialog* dialog = idleColourMask(form);
  if (!dialog) return;
  const std::optional<std::uint32_t> chosen = form.platform.chooseColour(form.state.chooserColour);
  if (!chosen) return;
  form.state.chooserColour = *chosen & kRgbMask;
  // The chooser is modal, but the dialog is looked up again all the same.
  if (ColourMaskDialog* open = idleColourMask(form)) open->Label3.colour = *chosen & kRgbMask;
}

void colourMaskKeyDown(Form1& form, int keyCode) {
  if (keyCode == kKeyEnter) filterOkClick(form, DialogId::ColourMask);
}

}  // namespace plotvane
