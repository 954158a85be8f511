#include "view/undo_commands.h"

#include <memory>

#include "view/selection.h"
#include "view/view.h"

namespace plotvane {
namespace {

void showUndoState(Form1& form) {
  const UndoRing* ring = form.app.undoRing.get();
  form.setCommandEnabled(MenuId::mnuEdetUndo, ring && ring->canUndo());
  form.setCommandEnabled(MenuId::mnuEdetRedo, ring && ring->canRedo());
}

void showRestored(Form1& form, const UndoOutcome& outcome) {
  showUndoState(form);
  if (outcome.restored == kUndoPicture)
    showChangedPicture(form, outcome.sizeChanged ? PictureChange::Resized : PictureChange::Edited);
  else if (outcome.restored == kUndoRect)
    showReferenceRectangle(form);
}

}  // namespace

void createUndoRing(Form1& form) {
  form.app.undoRing = std::make_shared<UndoRing>(form.app.undoBufferSize, form.state.Picture2);
  showUndoState(form);
}

void PushUndoSnapshot(Form1& form, std::int16_t kind) {
  if (!form.app.undoRing) return;
  form.app.undoRing->push(kind);
  form.setCommandEnabled(MenuId::mnuEdetUndo, true);
  form.setCommandEnabled(MenuId::mnuEdetRedo, false);
}

void mnuEdetUndoClick(Form1& form) {
  if (!form.app.undoRing || !form.state.Picture2.editable()) return;
  showRestored(form, form.app.undoRing->undo());
}

void mnuEdetRedoClick(Form1& form) {
  if (!form.app.undoRing || !form.state.Picture2.editable()) return;
  showRestored(form, form.app.undoRing->redo());
}

void resetUndo(Form1& form) {
  if (form.app.undoRing) form.app.undoRing->reset();
  showUndoState(form);
}

}  // namespace plotvane
