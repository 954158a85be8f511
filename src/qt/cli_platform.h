// The command line's platform: headless, with pictures read by the window's
// reader.
#pragma once

#include <string>

#include "platform/headless_platform.h"
#include "qt/qt_picture_reader.h"

namespace plotvane {

class CliPlatform : public HeadlessPlatform {
 public:
  bool readPicture(const std::string& path, const PictureLimits& limits, PixelArray& picture,
                   std::string& failure) override {
    return readPictureFile(path, limits, picture, &failure);
  }
};

}  // namespace plotvane
