#include "digitize/picture_input.h"

#include "view/overlays.h"
#include "view/view.h"

namespace plotvane {

void picture1MouseDown(Form1& form, const PointerEvent& event) {
  if (event.button == PointerButton::Left) form.state.dragSnapshotTaken = false;
}

void picture1MouseMove(Form1&, const PointerEvent&) {}

void picture1MouseUp(Form1& form, const PointerEvent&) {
  form.state.dragTarget = 0;
}

void picture3MouseMove(Form1& form) {
  Picture3MouseMove(form);
}

void picture1KeyDown(Form1& form, int keyCode) {
  FormState& state = form.state;
  switch (keyCode) {
    case kKeyUp:
      form.platform.movePointerBy(0, -1);
      state.lastMouseY -= 1;
      break;
    case kKeyDown:
      form.platform.movePointerBy(0, 1);
      state.lastMouseY += 1;
      break;
    case kKeyLeft:
      form.platform.movePointerBy(-1, 0);
      state.lastMouseX -= 1;
      break;
    case kKeyRight:
      form.platform.movePointerBy(1, 0);
      state.lastMouseX += 1;
      break;
    case kKeyEnter:
      state.dragSnapshotTaken = false;
      picture1MouseUp(form, {PointerButton::Left, false, state.lastMouseX, state.lastMouseY});
      break;
    case kKeyPageUp:
      mnuZoomInClick(form);
      break;
    case kKeyPageDown:
      mnuZoomOutClick(form);
      break;
    default:
      break;
  }
}

}  // namespace plotvane
