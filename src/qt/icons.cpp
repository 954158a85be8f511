#include "qt/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <functional>

namespace plotvane {
namespace {

QIcon drawIcon(int size, const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  return QIcon(pixmap);
}

void curvedArrow(QPainter& p, bool toLeft) {
  p.setPen(QPen(QColor(30, 90, 170), 2.5));
  QPainterPath path;
  if (toLeft) {
    path.moveTo(19, 18);
    path.cubicTo(20, 8, 10, 5, 6, 11);
    p.drawPath(path);
    p.setBrush(QColor(30, 90, 170));
    p.drawPolygon(QPolygonF({QPointF(3, 6), QPointF(10, 12), QPointF(3, 14)}));
  } else {
    path.moveTo(5, 18);
    path.cubicTo(4, 8, 14, 5, 18, 11);
    p.drawPath(path);
    p.setBrush(QColor(30, 90, 170));
    p.drawPolygon(QPolygonF({QPointF(21, 6), QPointF(14, 12), QPointF(21, 14)}));
  }
}

void magnifier(QPainter& p, bool plus) {
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.setBrush(QColor(220, 235, 250));
  p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
  p.setPen(QPen(QColor(60, 60, 60), 3.5));
  p.drawLine(QPointF(15, 15), QPointF(21, 21));
  p.setPen(QPen(QColor(20, 20, 20), 2));
  p.drawLine(QPointF(7, 10), QPointF(13, 10));
  if (plus) p.drawLine(QPointF(10, 7), QPointF(10, 13));
}

}  // namespace

QIcon toolbarIcon(std::string_view key) {
  if (key == "btnUndo") return drawIcon(24, [](QPainter& p) { curvedArrow(p, true); });
  if (key == "btnRedo") return drawIcon(24, [](QPainter& p) { curvedArrow(p, false); });
  if (key == "btnExeStart")
    return drawIcon(24, [](QPainter& p) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(40, 150, 60));
      p.drawPolygon(QPolygonF({QPointF(6, 4), QPointF(20, 12), QPointF(6, 20)}));
    });
  if (key == "btnExeCancel")
    return drawIcon(24, [](QPainter& p) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(200, 50, 40));
      p.drawRoundedRect(QRectF(5, 5, 14, 14), 2, 2);
    });
  if (key == "btnSelectAll")
    return drawIcon(24, [](QPainter& p) {
      p.setPen(QPen(QColor(40, 40, 40), 1.5, Qt::DashLine));
      p.drawRect(QRectF(3.5, 3.5, 17, 17));
    });
  if (key == "btnScale")
    return drawIcon(24, [](QPainter& p) {
      p.setPen(QPen(QColor(0, 110, 200), 1.5));
      p.drawLine(QPointF(7, 2), QPointF(7, 22));
      p.drawLine(QPointF(17, 2), QPointF(17, 22));
      p.setPen(QPen(QColor(200, 40, 40), 1.5));
      p.drawLine(QPointF(2, 7), QPointF(22, 7));
      p.drawLine(QPointF(2, 17), QPointF(22, 17));
    });
  if (key == "btnErase")
    return drawIcon(24, [](QPainter& p) {
      p.translate(12, 12);
      p.rotate(-40);
      p.setPen(QPen(QColor(60, 60, 60), 1.2));
      p.setBrush(QColor(240, 150, 170));
      p.drawRect(QRectF(-9, -5, 10, 10));
      p.setBrush(QColor(90, 130, 210));
      p.drawRect(QRectF(1, -5, 8, 10));
    });
  if (key == "btnZoomIn") return drawIcon(24, [](QPainter& p) { magnifier(p, true); });
  if (key == "btnZoomOut") return drawIcon(24, [](QPainter& p) { magnifier(p, false); });
  return {};
}

QIcon graphTypeIcon(int type) {
  return drawIcon(16, [type](QPainter& p) {
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawLine(QPointF(1.5, 1), QPointF(1.5, 14.5));
    p.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
    const QColor ink(20, 60, 160);
    switch (type) {
      case 1:
        p.setPen(QPen(ink, 1.5));
        p.drawPolyline(QPolygonF({QPointF(3, 12), QPointF(6, 7), QPointF(9, 9), QPointF(14, 3)}));
        break;
      case 2:
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (const QPointF& at : {QPointF(5, 10), QPointF(8, 6), QPointF(11, 9), QPointF(13, 4)})
          p.drawEllipse(at, 1.6, 1.6);
        break;
      case 3:
        p.setPen(QPen(QColor(200, 40, 40), 1));
        p.drawRect(QRectF(5.5, 4.5, 7, 7));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QPointF(9, 8), 1.8, 1.8);
        break;
      case 4: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 140, 220));
        p.drawPolygon(QPolygonF({QPointF(2, 14), QPointF(2, 10), QPointF(6, 6), QPointF(10, 8),
                                 QPointF(15, 3), QPointF(15, 14)}));
        break;
      }
      default:
        p.setPen(QPen(ink, 1.2));
        p.drawLine(QPointF(9, 3), QPointF(9, 13));
        p.drawLine(QPointF(4, 8), QPointF(14, 8));
        break;
    }
  });
}

QCursor eraserCursor() {
  QPixmap image(32, 32);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The eraser stands on its tip at the hot spot (4, 27), leaning right.
    p.translate(4, 27);
    p.rotate(-45);
    p.setPen(QPen(QColor(20, 20, 20), 1.2));
    p.setBrush(QColor(240, 150, 170));
    p.drawRect(QRectF(0, -5, 9, 10));
    p.setBrush(QColor(90, 130, 210));
    p.drawRect(QRectF(9, -5, 13, 10));
  }
  return QCursor(image, 4, 27);
}

}  // namespace plotvane
