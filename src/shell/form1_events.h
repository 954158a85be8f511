// The main window's own sequencing, above every subsystem: start-up,
// shut-down, the toolbar and menu dispatch and the window layout.
#pragma once

#include <optional>
#include <string>

#include "app/form1.h"

namespace plotvane {

// The picture path named by a command-line argument: quotation marks around
// the whole argument are removed; an empty argument or a lone quotation mark
// names nothing.
std::optional<std::string> pictureArgument(const std::optional<std::string>& argument);

// Start-up up to the command-line load (which runs from formShown once the
// window has its final geometry).
// The batch command line starts without the settings file: it neither reads
// nor, at shut-down, writes it.
void formLoad(Form1& form, bool useSettingsFile = true);

// Runs once the window is shown: loads the picture named on the command line.
void formShown(Form1& form, const std::optional<std::string>& argument);

// Shut-down: settings written; the window is closed (form.state.closed).
void formUnload(Form1& form);

// Runs the command of the toolbar button at this position; spacers do nothing.
void toolbarButtonClick(Form1& form, int position);

// The Click of a menu command.
void menuClick(Form1& form, MenuId id);

// Window layout for the client area in twips.
void formResize(Form1& form, int clientWidthTwips, int clientHeightTwips);

}  // namespace plotvane
