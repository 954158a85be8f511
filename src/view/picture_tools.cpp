#include "view/picture_tools.h"

#include "base/number_text.h"
#include "picture/drawing.h"
#include "view/undo_commands.h"
#include "view/view.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

void check(Form1& form, MenuId id, bool on) {
  form.ui.menu(id).value = on ? 1 : 0;
  form.ui.toolButton(*toolbarPositionOf(id)).value = on ? 1 : 0;
}

void enableEraserSize(Form1& form, bool enabled) {
  form.ui.txtErs.enabled = form.ui.LabelErs.enabled = enabled;
}

}  // namespace

// The check marks and pressed buttons follow the tool; the eraser size is
// enabled with the eraser and disabled by the switch to scale mode, and
// otherwise keeps its state.
void mnuScaleClick(Form1& form) {
  PictureTool& tool = form.state.tool;
  if (tool == PictureTool::Scale) {
    tool = PictureTool::None;
    check(form, MenuId::mnuScale, false);
    return;
  }
  tool = PictureTool::Scale;
  check(form, MenuId::mnuScale, true);
  check(form, MenuId::mnuErase, false);
  enableEraserSize(form, false);
}

void mnuEraseClick(Form1& form) {
  PictureTool& tool = form.state.tool;
  if (tool == PictureTool::Eraser) {
    tool = PictureTool::None;
    check(form, MenuId::mnuErase, false);
    enableEraserSize(form, false);
    return;
  }
  tool = PictureTool::Eraser;
  check(form, MenuId::mnuScale, false);
  check(form, MenuId::mnuErase, true);
  enableEraserSize(form, true);
}

void EraserDab(Form1& form, float x, float y) {
  const float zoom = form.app.zoom;
  if (!(zoom > 0) || form.state.Picture2.empty()) return;
  const double r = leadingNumber(form.ui.txtErs.text);
  PixelArray& view = form.state.Picture1Image;
  fillDisc(view, x, y, r - 1, kWhite);
  ++form.state.picture1Version;

  WorkingPicture& picture = form.state.Picture2;
  const double cx = (form.ui.HScroll1.value + double(x)) / zoom;
  const double cy = (form.ui.VScroll1.value + double(y)) / zoom;
  const double radius = (r - 1) / zoom;
  const DiscBounds b = discBounds(cx, cy, radius, picture.width(), picture.height());
  if (b.empty()) return;
  picture.editRegion(b.left, b.top, b.right, b.bottom,
                     [&](PixelArray& pixels) { fillDisc(pixels, cx, cy, radius, kWhite); });
}

void eraserPress(Form1& form, float x, float y) {
  if (!form.state.Picture2.editable()) return;
  PushUndoSnapshot(form, kUndoPicture);
  EraserDab(form, x, y);
}

void eraserMove(Form1& form, float x, float y, bool leftButtonHeld) {
  ShapeControl& footprint = form.ui.shapEraseRange;
  footprint.left = x - footprint.width / 2;
  footprint.top = y - footprint.height / 2;
  footprint.visible = true;
  if (leftButtonHeld && form.state.Picture2.editable()) EraserDab(form, x, y);
  form.ui.Picture1.pointer = PointerShape::Eraser;
}

void eraserRelease(Form1& form) {
  pict1Reload(form);
}

}  // namespace plotvane
