// The one input path of the picture: pointer and key events on Picture1
// (and pointer moves over its viewport Picture3) arrive here as plain events
// and are dispatched by the current tool and graph type. The widget only
// forwards them.
#pragma once

#include "app/form1.h"

namespace plotvane {

enum class PointerButton { None = 0, Left = 1, Right = 2 };

// A pointer event on Picture1, in its display pixels.
struct PointerEvent {
  PointerButton button = PointerButton::None;
  bool shift = false;
  float x = 0;
  float y = 0;
};

void picture1MouseDown(Form1& form, const PointerEvent& event);
void picture1MouseMove(Form1& form, const PointerEvent& event);
void picture1MouseUp(Form1& form, const PointerEvent& event);

// The wheel over the picture: notches (positive away from the user) scroll
// the view, with Shift sideways; with Ctrl they zoom around the pointer.
struct WheelEvent {
  int notches = 0;
  bool ctrl = false;
  bool shift = false;
  float x = 0;
  float y = 0;
};
void picture1Wheel(Form1& form, const WheelEvent& event);

// The pointer moved over the viewport around the view: the footprints go.
void picture3MouseMove(Form1& form);

// Key codes of the view's KeyDown.
enum ViewKey : int {
  kKeyEnter = 13,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
};

// KeyDown of Picture1: the arrows move the pointer by one screen pixel,
// Enter releases the left button at the last pointer position, Page Up and
// Page Down zoom.
void picture1KeyDown(Form1& form, int keyCode);

}  // namespace plotvane
