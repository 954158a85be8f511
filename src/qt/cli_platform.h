// The command line's platform: headless, with pictures read by the window's
// reader.
#pragma once

#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "qt/qt_picture_reader.h"

namespace plotvane {

class CliPlatform : public HeadlessPlatform {
 public:
  bool readPicture(const std::string& path, const PictureLimits& limits, PixelArray& picture,
                   std::string& failure) override {
    return readPictureFile(path, limits, picture, &failure);
  }
  // Nobody sees the file pane: every load would otherwise list the working
  // folder, which in a batch may hold thousands of pictures.
  FileError listFolder(const std::string&, std::vector<FolderEntry>& entries) override {
    entries.clear();
    return 0;
  }
};

}  // namespace plotvane
