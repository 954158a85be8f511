// The caption and message tables in both languages, and the routines that
// fill them and copy the captions into the main window's controls.
#pragma once

#include <string>

#include "app/form1.h"

namespace plotvane {

// Fills captionTable and messageTable with the texts of app.language
// (1 English, anything else Japanese). Touches no control.
void SetLngage(AppState& app);

// Copies the captions of the main window's controls from captionTable.
// Status panels get their bare captions back.
void ApplyCaptions(Form1& form);

void mnuLangENGClick(Form1& form);
void mnuLangJPClick(Form1& form);

}  // namespace plotvane
