// The tab strip's pane switch: which of the left panes is shown.
#pragma once

#include "app/form1.h"

namespace plotvane {

// Click of TabStrip1: shows the pane of the selected tab; any other
// selection leaves the panes as they are.
void tabStripClick(Form1& form);

// Selects a tab and runs the pane switch, as a click on the tab does.
void showPane(Form1& form, Pane pane);

}  // namespace plotvane
