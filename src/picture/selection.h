// The selection (reference) rectangle commands on the picture.
#pragma once

#include "app/form1.h"

namespace plotvane {

// Click of mnuSelectAll (and btnSelectAll): the rectangle becomes the whole
// working picture and the status line shows it. Takes no undo snapshot.
void mnuSelectAllClick(Form1& form);

}  // namespace plotvane
