#include "qt/picture_view.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "qt/icons.h"
#include "qt/image_painting.h"

namespace plotvane {
namespace {

// Control positions are single precision and may lie far outside the view;
// held where the painter's integer geometry stays exact.
int paintCoordinate(float value) {
  constexpr float kLimit = 1 << 20;
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(std::nearbyint(value), -kLimit, kLimit));
}

QLine lineOf(const LineControl& line) {
  return QLine(paintCoordinate(line.x1), paintCoordinate(line.y1), paintCoordinate(line.x2),
               paintCoordinate(line.y2));
}

QRect boxOf(const ShapeControl& shape) {
  const int left = paintCoordinate(shape.left), top = paintCoordinate(shape.top);
  return QRect(QPoint(left, top), QPoint(paintCoordinate(shape.left + shape.width) - 1,
                                         paintCoordinate(shape.top + shape.height) - 1));
}

QColor colourOf(std::uint32_t pixel) {
  return QColor(redOf(pixel), greenOf(pixel), blueOf(pixel));
}

// The footprints' outlines: the pick-up range in blue, the eraser in black.
const ShapeControl Form1Controls::*const kShapes[] = {&Form1Controls::shapPicUpRange,
                                                      &Form1Controls::shapEraseRange};
const QColor kShapeColours[] = {QColor(0, 0, 255), QColor(0, 0, 0)};

}  // namespace

PictureView::PictureView(const Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

PointerEvent PictureView::pointerEvent(const QMouseEvent& event, PointerAction action) {
  const Qt::MouseButtons buttons =
      action == PointerAction::Move ? event.buttons() : Qt::MouseButtons(event.button());
  PointerEvent pointer;
  if (buttons & Qt::LeftButton)
    pointer.button = PointerButton::Left;
  else if (buttons & Qt::RightButton)
    pointer.button = PointerButton::Right;
  pointer.shift = (event.modifiers() & Qt::ShiftModifier) != 0;
  pointer.x = static_cast<float>(event.position().x());
  pointer.y = static_cast<float>(event.position().y());
  return pointer;
}

void PictureView::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  if (pointerHandler_)
    pointerHandler_(PointerAction::Press, pointerEvent(*event, PointerAction::Press));
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
  if (pointerHandler_)
    pointerHandler_(PointerAction::Move, pointerEvent(*event, PointerAction::Move));
}

void PictureView::wheelEvent(QWheelEvent* event) {
  if (!wheelHandler_) {
    QWidget::wheelEvent(event);
    return;
  }
  // A notch is 120 eighths of a degree; fine-grained wheels add up to one.
  const bool sideways = event->angleDelta().y() == 0;
  wheelRest_ += sideways ? event->angleDelta().x() : event->angleDelta().y();
  const int notches = wheelRest_ / 120;
  wheelRest_ -= notches * 120;
  if (notches == 0) return;
  WheelEvent wheel;
  wheel.notches = notches;
  wheel.ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
  wheel.shift = sideways || (event->modifiers() & Qt::ShiftModifier) != 0;
  wheel.x = static_cast<float>(event->position().x());
  wheel.y = static_cast<float>(event->position().y());
  wheelHandler_(wheel);
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
  if (pointerHandler_)
    pointerHandler_(PointerAction::Release, pointerEvent(*event, PointerAction::Release));
}

PictureView::OverlayPlaces PictureView::currentOverlays() const {
  OverlayPlaces places{};
  const Form1Controls& ui = form_.ui;
  std::size_t index = 0;
  for (const OverlayLineDesign& design : kOverlayLines) {
    const LineControl& line = ui.*design.line;
    if (line.visible) places[index] = {true, lineOf(line), QRect()};
    ++index;
  }
  for (const auto shape : kShapes) {
    const ShapeControl& control = ui.*shape;
    const QRect box = boxOf(control);
    if (control.visible && box.width() > 0 && box.height() > 0)
      places[index] = {true, QLine(), box};
    ++index;
  }
  return places;
}

QRect PictureView::dirtyRect(const OverlayPlace& place) {
  if (!place.visible) return QRect();
  if (!place.box.isNull()) return place.box.adjusted(-1, -1, 1, 1);
  const QLine& line = place.line;
  return QRect(QPoint(std::min(line.x1(), line.x2()), std::min(line.y1(), line.y2())),
               QPoint(std::max(line.x1(), line.x2()), std::max(line.y1(), line.y2())))
      .adjusted(-1, -1, 1, 1);
}

void PictureView::refresh() {
  const PointerShape pointer = form_.ui.Picture1.pointer;
  if (pointer != shownPointer_) {
    shownPointer_ = pointer;
    switch (pointer) {
      case PointerShape::Arrow:
        unsetCursor();
        break;
      case PointerShape::Cross:
        setCursor(Qt::CrossCursor);
        break;
      case PointerShape::SizeWE:
        setCursor(Qt::SizeHorCursor);
        break;
      case PointerShape::SizeNS:
        setCursor(Qt::SizeVerCursor);
        break;
      case PointerShape::SizeNWSE:
        setCursor(Qt::SizeFDiagCursor);
        break;
      case PointerShape::SizeNESW:
        setCursor(Qt::SizeBDiagCursor);
        break;
      case PointerShape::Eraser:
        setCursor(eraserCursor());
        break;
    }
  }
  const OverlayPlaces overlays = currentOverlays();
  if (form_.state.picture1Version != paintedVersion_) {
    paintedVersion_ = form_.state.picture1Version;
    paintedOverlays_ = overlays;
    update();
    return;
  }
  // Only the overlays moved: the image stays as it is on screen, and only
  // the strips that a control left or entered are painted again.
  QRegion dirty;
  for (std::size_t i = 0; i < overlays.size(); ++i) {
    if (overlays[i] == paintedOverlays_[i]) continue;
    dirty += dirtyRect(paintedOverlays_[i]) & rect();
    dirty += dirtyRect(overlays[i]) & rect();
  }
  paintedOverlays_ = overlays;
  if (!dirty.isEmpty()) update(dirty);
}

int PictureView::keyCode(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kKeyEnter;
    case Qt::Key_PageUp:
      return kKeyPageUp;
    case Qt::Key_PageDown:
      return kKeyPageDown;
    case Qt::Key_Left:
      return kKeyLeft;
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Right:
      return kKeyRight;
    case Qt::Key_Down:
      return kKeyDown;
    default:
      return 0;
  }
}

void PictureView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const PixelArray& image = form_.state.Picture1Image;
  paintPixels(painter, image, event->region(), palette().button());
  if (image.empty()) return;

  // The line and shape controls lie over the picture; the dotted extensions
  // first, so the edges and the marker stay whole where they meet.
  painter.setClipRegion(event->region());
  painter.setRenderHint(QPainter::Antialiasing, false);
  const OverlayPlaces overlays = currentOverlays();
  std::size_t index = 0;
  for (const OverlayLineDesign& design : kOverlayLines) {
    const OverlayPlace& place = overlays[index++];
    if (!place.visible) continue;
    QPen pen(colourOf(design.colour));
    pen.setCosmetic(true);
    pen.setWidth(1);
    if (design.style == LineStyle::Dotted) pen.setDashPattern({1.0, 1.0});
    painter.setPen(pen);
    painter.drawLine(place.line);
  }
  for (const QColor& colour : kShapeColours) {
    const OverlayPlace& place = overlays[index++];
    if (!place.visible) continue;
    painter.setPen(QPen(colour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(place.box.adjusted(0, 0, -1, -1));
  }
}

void PictureView::keyPressEvent(QKeyEvent* event) {
  const int code = keyCode(event->key());
  if (code == 0 || !keyHandler_) {
    QWidget::keyPressEvent(event);
    return;
  }
  keyHandler_(code);
}

}  // namespace plotvane
