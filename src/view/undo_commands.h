// Undo and Redo of the working picture and the reference rectangle, over the
// ring of app.undoRing, and the enabling of their commands.
#pragma once

#include <cstdint>

#include "app/form1.h"

namespace plotvane {

// Start-up: the ring of undoBufferSize + 1 empty records.
void createUndoRing(Form1& form);

// Before an edit: records the state it is about to change (kUndoPicture or
// kUndoRect); Undo is enabled and Redo disabled.
void PushUndoSnapshot(Form1& form, std::int16_t kind);

// Click of mnuEdetUndo and mnuEdetRedo (and btnUndo, btnRedo). Refused while
// a digitizing run holds the picture.
void mnuEdetUndoClick(Form1& form);
void mnuEdetRedoClick(Form1& form);

// Loading a new picture: nothing to undo or redo.
void resetUndo(Form1& form);

}  // namespace plotvane
