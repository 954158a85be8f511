// The main window on screen after start-up, in a fresh working folder with a settings file (so
// start-up shows no warning), optionally with a picture given on the command line; and the
// pointer events that widget tests send.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <functional>
#include <optional>
#include <string>

#include "picture/bitmap_file.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane::testing {

struct MainWindow {
  // The picture is written as chart.bmp in the working folder; `prepare` fills the folder before
  // start-up lists it.
  explicit MainWindow(const std::optional<PixelArray>& picture = std::nullopt,
                      const std::function<void(const TempWorkingDir&)>& prepare = {}) {
    writeAll(dir.file("Plotinf.ini"), "Language=English\r\nUndoBufferSize=50\r\n");
    if (picture) writeAll(dir.file("chart.bmp"), bitmapFileBytes(*picture));
    if (prepare) prepare(dir);
    window.start(picture ? std::optional(dir.file("chart.bmp")) : std::nullopt);
    window.show();
    QApplication::processEvents();  // the start-up's second half, and the picture
  }

  TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  Form1Window window{form, platform};
};

// Sends a mouse event at a point of the widget; a move with `button` held.
inline void sendMouse(QWidget* widget, QEvent::Type type, QPoint at,
                      Qt::MouseButton button = Qt::NoButton, Qt::MouseButtons held = Qt::NoButton) {
  QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

// The colour a widget shows at a point.
inline std::uint32_t shownColour(QWidget* widget, QPoint at) {
  return widget->grab().toImage().pixel(at) & 0xFFFFFF;
}

}  // namespace plotvane::testing
