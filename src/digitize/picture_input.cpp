#include "digitize/picture_input.h"

#include "app/graph_types.h"
#include "app/panes.h"
#include "base/number_text.h"
#include "digitize/calibration.h"
#include "digitize/click_digitizing.h"
#include "digitize/pointer_gestures.h"
#include "view/overlays.h"
#include "view/picture_tools.h"
#include "view/selection.h"
#include "view/undo_commands.h"
#include "view/view.h"

namespace plotvane {
namespace {

GestureEdges currentEdges(const Form1& form) {
  return gestureEdges(form.state.Picture2.rect(), form.app.zoom, form.ui.HScroll1.value,
                      form.ui.VScroll1.value);
}

std::string targetText(std::int16_t target) {
  return singleText(static_cast<float>(target));
}

// The axis values under the pointer in Text1 and Text2.
void showReadOut(Form1& form, float x, float y) {
  const float zoom = form.app.zoom;
  const DataValue value = PixelToData(form, (static_cast<float>(form.ui.HScroll1.value) + x) / zoom,
                                      (static_cast<float>(form.ui.VScroll1.value) + y) / zoom);
  form.ui.Text1.setText(scientificText(value.x));
  form.ui.Text2.setText(scientificText(value.y));
}

void moveEdges(Form1& form, const GestureEdges& before, const PointerEvent& event) {
  FormState& state = form.state;
  const std::int16_t target = state.dragTarget;
  GestureEdges e = before;
  if (target != kDragNewRectangle || event.button == PointerButton::Left)
    e = draggedEdges(before, target, event.x, event.y, state.dragStartX, state.dragStartY);
  if (target == kDragNothing) return;
  const int h = form.ui.HScroll1.value, v = form.ui.VScroll1.value;
  const auto width = static_cast<float>(state.Picture2.width());
  const auto height = static_cast<float>(state.Picture2.height());
  state.Picture2.setRect({SnapToGrid(form, h, e.xs, width), SnapToGrid(form, h, e.xe, width),
                          SnapToGrid(form, v, e.yt, height), SnapToGrid(form, v, e.yb, height)});
  PlaceReferenceLabels(form);
  PlaceReferenceLines(form);
  // The rectangle's picture position while it moves, so an edge can be put
  // on a tick exactly.
  form.setPanel(StatusPanel::SelectedArea, rectangleReadOut(form));
}

bool clickPlotsPoints(const Form1& form) {
  return form.ui.shapPicUpRange.visible || form.ui.cmbGraphType.selected == kManualPlotting;
}

}  // namespace

void picture1MouseDown(Form1& form, const PointerEvent& event) {
  FormState& state = form.state;
  const GestureEdges edges = currentEdges(form);
  state.dragSnapshotTaken = false;
  if (event.button == PointerButton::Left) {
    state.dragStartX = roundToInt16(event.x);
    state.dragStartY = roundToInt16(event.y);
  } else if (event.button == PointerButton::Right) {
    state.popupMenu = MenuId::mnuPict;
  }
  if (event.button != PointerButton::Left) return;
  if (state.tool == PictureTool::Eraser) {
    eraserPress(form, event.x, event.y);
    return;
  }
  if (state.tool == PictureTool::Scale) {
    state.dragTarget = grabbedTarget(edges, event.x, event.y);
    form.ui.txtMD.setText(targetText(state.dragTarget));
  }
}

void picture1MouseMove(Form1& form, const PointerEvent& event) {
  FormState& state = form.state;
  Form1Controls& ui = form.ui;
  const GestureEdges edges = currentEdges(form);
  if (state.tool == PictureTool::Eraser) {
    eraserMove(form, event.x, event.y, event.button == PointerButton::Left);
    return;
  }
  state.lastMouseX = event.x;
  state.lastMouseY = event.y;
  // The picture takes the keys only from a pointer that is not interrupting
  // someone typing into a field.
  if (!ui.editingText()) ui.focusRequest = &ui.Picture1;
  if (!state.picturePath.empty() && event.button == PointerButton::None)
    showReadOut(form, event.x, event.y);
  if (ui.cmbGraphType.selected == kPlotOnePoint) {
    ShapeControl& square = ui.shapPicUpRange;
    square.visible = true;
    square.left = event.x - square.width / 2;
    square.top = event.y - square.height / 2;
  }
  if (event.button == PointerButton::Left && !state.dragSnapshotTaken &&
      leftPressPoint(state.dragStartX, state.dragStartY, event.x, event.y)) {
    state.dragSnapshotTaken = true;
    PushUndoSnapshot(form, kUndoRect);
  }
  if (state.tool == PictureTool::Scale) {
    if (state.dragTarget == kDragNothing)
      ui.Picture1.pointer = scalePointerShape(edges, event.x, event.y);
    if (!state.dragSnapshotTaken) return;
    moveEdges(form, edges, event);
  }
  ui.txtMD.setText(targetText(state.dragTarget));
}

void picture1MouseUp(Form1& form, const PointerEvent& event) {
  FormState& state = form.state;
  if (!state.dragSnapshotTaken && clickPlotsPoints(form)) {
    // A run appends its points while it yields: a click point would land
    // among them.
    if (state.runActive) {
      form.showMessage(form.message(Message::ClickDuringRun));
    } else {
      if (form.ui.shapPicUpRange.visible) PlotOnePoint(form);
      if (form.ui.cmbGraphType.selected == kManualPlotting) {
        showPane(form, Pane::Data);
        ManualPlot(form, event.x, event.y);
      }
    }
  }
  if (state.tool == PictureTool::Eraser) eraserRelease(form);
  state.dragTarget = kDragNothing;
  form.setPanel(StatusPanel::SelectedArea, rectangleReadOut(form));
}

void picture1Wheel(Form1& form, const WheelEvent& event) {
  if (event.notches == 0) return;
  if (event.ctrl)
    zoomAround(form, event.notches > 0, event.x, event.y);
  else
    scrollBy(form, event.notches, event.shift);
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
