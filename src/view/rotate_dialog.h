// The rotation dialog dlgRot and the rotation of the working picture it
// runs. The main window takes no input while the dialog is open.
#pragma once

#include "app/form1.h"

namespace plotvane {

struct RotateDialog : Dialog {
  RotateDialog() : Dialog(DialogId::Rotate, "dlgRot") {}
  Control Frame1{"Frame1"};
  Control Option1{"Option1"};  // clockwise; value 1 when selected
  Control Option2{"Option2"};  // counter-clockwise
  Control Label1{"Label1"};
  Control txtRot{"txtRot"};  // the angle in degrees, read as a leading number
  Control OKButton{"OKButton"};
  Control CancelButton{"CancelButton"};
  // OK's rotation is under way; it yields to events once per column, and
  // the dialog's own commands wait until it has finished.
  bool rotating = false;
};

// Click of mnuPictRot: loads the dialog (captions in the current language,
// angle "1", clockwise) and disables the main window. Nothing without a
// picture, while a digitizing run holds the picture, or when it is open.
void mnuPictRotClick(Form1& form);

// Selecting Option1 (clockwise) or Option2.
void rotateOptionClick(Form1& form, bool clockwise);

// Click of OKButton: one undo snapshot of the picture, then the picture
// turned by the entered angle (see rotationAngle), then the dialog unloads.
// A result the picture limits refuse is reported and changes nothing; the
// dialog stays open for another angle.
void rotateOkClick(Form1& form);

// A key pressed in Option1, Option2 or txtRot: Enter (13) runs OK.
void rotateKeyPress(Form1& form, int keyAscii);

// Click of CancelButton, the close box and Escape: unloads the dialog.
void rotateCancelClick(Form1& form);

// Unload: the main window is enabled again. Also run by the main window's
// shut-down.
void rotateUnload(Form1& form);

// Turns the working picture by rot degrees (counter-clockwise for a positive
// angle) with ProgressBar1 shown, yielding to events once per result column,
// then rebuilds the view; the rectangle is kept inside the new size. An empty
// picture stays as it is.
void RotatePictform1(Form1& form, float rot);

}  // namespace plotvane
