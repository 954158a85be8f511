// The picture reader on Qt's image decoders: BMP, JPEG, GIF, PNG and
// whatever else the installed plugins read, into a PixelArray.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

#include "base/pixel_array.h"
#include "platform/platform.h"

namespace plotvane {

// False, with the picture untouched, when the file is missing, not a
// regular file, empty, not a picture, cut off or damaged as far as the
// decoder or the file's own structure tell, its data too short for its size,
// or beyond the limits (the file's bytes and the decoder's buffer counted
// beside the picture already held); `failure`, when given, then says why in
// English. The path is the bytes the system gave for the name. The file is
// read into memory first, so a file that changes while it is read gives at
// worst a refused picture. Orientation tags are applied and transparent
// parts laid over white; every pixel comes from the file or is white
// (skipped by the file's codes) or black (an index past its colour table).
bool readPictureFile(const std::string& path, const PictureLimits& limits, PixelArray& picture,
                     std::string* failure = nullptr);
bool readPictureBytes(const QByteArray& bytes, const PictureLimits& limits, PixelArray& picture,
                      std::string* failure = nullptr);
// The same for a name Qt holds, in the system's encoding of file names.
inline bool readPictureFile(const QString& path, const PictureLimits& limits, PixelArray& picture,
                            std::string* failure = nullptr) {
  return readPictureFile(QFile::encodeName(path).toStdString(), limits, picture, failure);
}
inline bool readPictureFile(const char* path, const PictureLimits& limits, PixelArray& picture,
                            std::string* failure = nullptr) {
  return readPictureFile(std::string(path), limits, picture, failure);
}

}  // namespace plotvane
