// The colour mask dialog (dlgColor): the selected colour, picked from a pane
// with the right button or chosen in the colour chooser, the tolerance, the
// two modes and the shared preview; OK masks the working picture.
#pragma once

#include <cstdint>

#include "filters/colour_mask.h"
#include "filters/filter_dialog.h"

namespace plotvane {

// A label that shows a colour as its background (0xRRGGBB).
struct SwatchControl : Control {
  using Control::Control;
  std::uint32_t colour = 0;
};

struct ColourMaskDialog : FilterDialog {
  ColourMaskDialog();

  SwatchControl Label3{"Label3"};          // the colour the mask uses; black at first
  Control Label5{"Label5"};                // "Color", Label3's caption
  SwatchControl Label4{"Label4"};          // the colour under the pointer; white at first
  SliderControl Slider1{"Slider1"};        // tolerance, 0 to 255
  Control Label1{"Label1"};                // "Range"
  Control txtColorRange{"txtColorRange"};  // Slider1's value, shown only
  Control Label2{"Label2"};                // how to pick a colour
  Control Frame3{"Frame3"};                // the frame of the two modes
  Control optAnd{"optAnd"};  // keep the matching colour, whiten the rest (value 1 when chosen)
  Control optNot{"optNot"};  // whiten the matching colour, keep the rest

  // The mask the dialog's settings give.
  ColourMaskParams params() const;

  bool filter(const PixelArray& source, PixelArray& result,
              const FilterYield& yield) const override;
  void enableSettings(bool enabled) override;
  // Label4 follows the pointer over either pane, from the left one.
  void pointerMoved(PreviewPaneId pane, const PointerEvent& event) override;
  // A right-button release picks the colour of the pane released over.
  void pointerReleased(PreviewPaneId pane, const PointerEvent& event) override;
};

// Click of mnuFilterColormask: loads the dialog afresh (black selected,
// tolerance 50, optAnd chosen, the preview at the main window's zoom,
// captions in the current language) when a picture is loaded and no
// digitizing run holds it; otherwise nothing.
void mnuFilterColormaskClick(Form1& form);

// Change of Slider1 (the new value already in the model): its text in
// txtColorRange, both panes drawn, the right masked.
void colourMaskSlider1Change(Form1& form);

// Click of optAnd (keep) or optNot: that mode chosen, both panes drawn, the
// right masked.
void colourMaskOptionClick(Form1& form, bool keep);

// Click of Label3: the colour chooser, opening on its own last result. A
// colour chosen becomes Label3's (and the chooser's next start); a cancel
// changes nothing. The preview shows the new colour at its next redraw.
void colourMaskLabel3Click(Form1& form);

// KeyDown in Slider1, Picture1 or Picture2: Enter (13) runs OK.
void colourMaskKeyDown(Form1& form, int keyCode);

}  // namespace plotvane
