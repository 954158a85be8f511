// The about box: the program's name and version and a one-line notice. The
// main window takes no input while it is open.
#pragma once

#include "app/form1.h"

namespace plotvane {

inline constexpr const char* kProgramVersion = "Plotvane v1.11";

struct AboutDialog : Dialog {
  AboutDialog() : Dialog(DialogId::About, "dlgAbout") {}
  Control Label1{"Label1"};      // name and version
  Control Label2{"Label2"};      // the notice
  Control OKButton{"OKButton"};  // "OK"
};

// Click of mnuHelpV: loads the about box (its title in the current
// language) and disables the main window. Nothing when it is already open.
void mnuHelpVClick(Form1& form);

// Click of the about box's OKButton: unloads it.
void aboutOkClick(Form1& form);

// Unload of the about box (OK, its close box, or the main window's
// shut-down): the main window is enabled again.
void aboutUnload(Form1& form);

}  // namespace plotvane
