// The brightness and contrast dialog (dlgContrast): two sliders and the
// shared preview; OK adjusts the working picture.
#pragma once

#include "filters/filter_dialog.h"

namespace plotvane {

struct ContrastDialog : FilterDialog {
  ContrastDialog();

  SliderControl Slider1{"Slider1"};  // contrast, -100 to 100
  SliderControl Slider2{"Slider2"};  // brightness, -100 to 100
  Control Label1{"Label1"};          // "Contrast"
  Control Label2{"Label2"};          // "Brightness"
  Control txtCont{"txtCont"};        // Slider1's value, shown only
  Control txtLum{"txtLum"};          // Slider2's value, shown only

  bool filter(const PixelArray& source, PixelArray& result,
              const FilterYield& yield) const override;
  void enableSettings(bool enabled) override;
};

// Click of mnuFilterContrast: loads the dialog afresh (both sliders at 0,
// the preview at the main window's zoom, captions in the current language)
// when a picture is loaded and no digitizing run holds it; otherwise nothing.
void mnuFilterContrastClick(Form1& form);

// Change of Slider1 or Slider2 (the new value already in the model): the
// value's text in txtCont or txtLum, both panes drawn, the right adjusted.
void contrastSlider1Change(Form1& form);
void contrastSlider2Change(Form1& form);

}  // namespace plotvane
