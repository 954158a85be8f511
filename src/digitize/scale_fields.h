// The change handling of the calibration fields: the four scale fields of
// the settings pane and their on-picture value fields, which mirror each
// other, the grid fields and the two footprint sizes.
#pragma once

#include "app/form1.h"

namespace plotvane {

// Whether an on-picture value field (txtLXS, txtLXE, txtLYT, txtLYB) holds
// text that does not convert, to be shown in an error style. False for any
// other control.
bool valueFieldInvalid(const Form1& form, const Control& field);

// Installs the change handling of the four scale fields, the four on-picture
// value fields, txtGrid, chkOnGrid (its Click), txtPicUpRange and txtErs,
// and sizes the two footprints from their fields' current texts. The handlers
// keep a reference to form.
void installCalibrationHandlers(Form1& form);

}  // namespace plotvane
