// The reference (selection) rectangle on the picture: Select All and the
// rectangle's read-out on the status line.
#pragma once

#include <string>

#include "app/form1.h"

namespace plotvane {

// "Selected Area : l:0 t:0  w:640 h:480" in the current language.
std::string rectangleReadOut(const Form1& form);

// After the rectangle changed: its read-out on the status line, then its
// value labels and lines on the view.
void showReferenceRectangle(Form1& form);

// Click of mnuSelectAll (and btnSelectAll): the rectangle becomes the whole
// working picture and the status line shows it; an undo snapshot of the
// rectangle is taken when that changes it.
void mnuSelectAllClick(Form1& form);

}  // namespace plotvane
