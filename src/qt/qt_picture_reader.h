// The picture reader on Qt's image decoders: BMP, JPEG, GIF, PNG and
// whatever else the installed plugins read, into a PixelArray.
#pragma once

#include <QByteArray>
#include <QString>

#include "base/pixel_array.h"
#include "platform/platform.h"

namespace plotvane {

// False, with the picture untouched, when the file is missing, empty, not a
// picture, cut off or damaged as far as the decoder or the file's own
// structure tell, or beyond the limits. Orientation tags are applied and
// transparent parts laid over white.
bool readPictureFile(const QString& path, const PictureLimits& limits, PixelArray& picture);
bool readPictureBytes(const QByteArray& bytes, const PictureLimits& limits, PixelArray& picture);

}  // namespace plotvane
