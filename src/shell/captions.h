// The language menu: the tables are filled in the chosen language and every
// caption of the main window is written again.
#pragma once

#include "app/form1.h"

namespace plotvane {

// Copies the captions of the main window's controls from captionTable.
// Status panels get their bare captions back.
void ApplyCaptions(Form1& form);

void mnuLangENGClick(Form1& form);
void mnuLangJPClick(Form1& form);

}  // namespace plotvane
