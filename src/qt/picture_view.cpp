#include "qt/picture_view.h"

#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

#include "picture/view.h"

namespace plotvane {

PictureView::PictureView(const Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::refresh() {
  if (form_.state.picture1Version == paintedVersion_) return;
  paintedVersion_ = form_.state.picture1Version;
  update();
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
  if (!image.empty()) {
    // Format_RGB32 ignores the top byte, which the core keeps at 0.
    const QImage frame(reinterpret_cast<const uchar*>(image.data()), image.width(), image.height(),
                       qsizetype(image.width()) * 4, QImage::Format_RGB32);
    painter.drawImage(event->rect().topLeft(), frame, event->rect());
  }
  const QRegion outside = QRegion(event->rect()) - QRect(0, 0, image.width(), image.height());
  for (const QRect& rect : outside) painter.fillRect(rect, palette().button());
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
