// The 8000 x 6000 JPEG chart that the loading and command-line benchmarks
// read: a light grid and a thick dark curve, written once to the temporary
// folder and read back so it is in the page cache.
#pragma once

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPen>
#include <cmath>

namespace plotvane::bench {

inline const QString& chartPath() {
  static const QString path = [] {
    const QString file = QDir::temp().filePath(QStringLiteral("plotvane-bench-chart.jpg"));
    QImage chart(8000, 6000, QImage::Format_RGB32);
    chart.fill(Qt::white);
    QPainter painter(&chart);
    painter.setPen(QPen(QColor(220, 224, 230), 3));
    for (int x = 400; x < 8000; x += 400) painter.drawLine(x, 0, x, 5999);
    for (int y = 300; y < 6000; y += 300) painter.drawLine(0, y, 7999, y);
    painter.setPen(QPen(QColor(20, 30, 90), 12));
    QPointF previous(0, 3000);
    for (int x = 8; x < 8000; x += 8) {
      const QPointF next(x, 3000 - 2200 * std::sin(x / 900.0) * std::cos(x / 2600.0));
      painter.drawLine(previous, next);
      previous = next;
    }
    painter.end();
    chart.save(file, "JPEG", 90);
    QFile warm(file);
    if (warm.open(QIODevice::ReadOnly)) warm.readAll();
    QImageReader::setAllocationLimit(1024);
    return file;
  }();
  return path;
}

}  // namespace plotvane::bench
