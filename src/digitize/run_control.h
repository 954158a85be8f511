// The digitizing parameters' checks, Execute and Cancel.
#pragma once

#include <optional>
#include <string>

#include "app/form1.h"

namespace plotvane {

inline constexpr int kMaxDivisionCount = 32766;

// LostFocus of txtSmpX: the count rounded down, and the pitch that matches it.
// False when the text was refused: its message was shown and the field keeps
// its text.
bool txtSmpXLostFocus(Form1& form);

// LostFocus of txtStpX: the nearest whole count for the pitch, and the pitch
// that matches that count written back. False when the text was refused, as
// above.
bool txtStpXLostFocus(Form1& form);

// Click of mnuExeStart: checks the parameters, clears the list, shows the
// data pane and runs the routine of the graph type. A count or pitch that its
// field's check would refuse refuses the run with that one message, and the
// list stays as it was. The working picture is held for the run: nothing
// replaces or edits it while the run yields, and Open, Restore, Save Data and
// the file pane's lists are disabled until the run ends.
void mnuExeStartClick(Form1& form);

// Click of mnuExeCancel.
void mnuExeCancelClick(Form1& form);

}  // namespace plotvane
