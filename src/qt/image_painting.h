// Painting a picture that the core drew (a PixelArray) into a widget.
#pragma once

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include "base/pixel_array.h"

namespace plotvane {

// Paints the parts of the region that the image covers from the image, the
// rest with the background.
inline void paintPixels(QPainter& painter, const PixelArray& image, const QRegion& region,
                        const QBrush& background) {
  if (!image.empty()) {
    // Format_RGB32 ignores the top byte, which the core keeps at 0.
    const QImage frame(reinterpret_cast<const uchar*>(image.data()), image.width(), image.height(),
                       qsizetype(image.width()) * 4, QImage::Format_RGB32);
    for (const QRect& part : region) painter.drawImage(part.topLeft(), frame, part);
  }
  const QRegion outside = region - QRect(0, 0, image.width(), image.height());
  for (const QRect& part : outside) painter.fillRect(part, background);
}

}  // namespace plotvane
