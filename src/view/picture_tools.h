// The two tools of the left button on the picture: scale mode (the
// reference rectangle) and eraser mode (white discs on the picture), never
// both, possibly neither; and the eraser itself, one stroke per press.
#pragma once

#include "app/form1.h"

namespace plotvane {

// Click of mnuScale (and btnScale), of mnuErase (and btnErase): toggle.
void mnuScaleClick(Form1& form);
void mnuEraseClick(Form1& form);

// One eraser disc at (x, y) on Picture1: on the view a white disc of radius
// r - 1 display pixels at once, on the working picture one of radius
// (r - 1) / zoom around the same picture point; r is txtErs's number, read
// at every disc.
void EraserDab(Form1& form, float x, float y);

// The eraser's gesture, called by the picture's input path in eraser mode:
// a press takes one undo snapshot for the whole stroke and paints a disc;
// a move shows the footprint and, with the left button held, paints; the
// release redraws the view from the edited picture.
void eraserPress(Form1& form, float x, float y);
void eraserMove(Form1& form, float x, float y, bool leftButtonHeld);
void eraserRelease(Form1& form);

}  // namespace plotvane
