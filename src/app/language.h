// The caption and message tables in both languages.
#pragma once

#include "app/form1.h"

namespace plotvane {

// Fills captionTable and messageTable with the texts of app.language
// (1 English, anything else Japanese). Touches no control.
void SetLngage(AppState& app);

}  // namespace plotvane
