// A main window after start-up with a given client size, on the headless
// platform, in a fresh working folder; and test pictures whose every pixel
// tells where it came from.
#pragma once

#include <string>

#include "app/form1.h"
#include "base/pixel_array.h"
#include "loading/load_picture.h"
#include "platform/headless_platform.h"
#include "shell/form1_events.h"
#include "support/temp_dir.h"

namespace plotvane::testing {

// Pixel (x, y) holds x in its low 16 bits and y in the rest of the colour.
inline std::uint32_t codedPixel(int x, int y) {
  return (static_cast<std::uint32_t>(y & 255) << 16) | static_cast<std::uint32_t>(x & 0xFFFF);
}

inline PixelArray codedPicture(int width, int height) {
  PixelArray picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.set(x, y, codedPixel(x, y));
  return picture;
}

class PictureForm {
 public:
  explicit PictureForm(int clientWidthTwips = 1200 * kTwipsPerPixel,
                       int clientHeightTwips = 800 * kTwipsPerPixel) {
    formLoad(form);
    formResize(form, clientWidthTwips, clientHeightTwips);
    platform.clearMessages();
  }

  // Registers the picture under the path and loads it.
  bool load(const std::string& path, PixelArray picture) {
    platform.setPicture(path, std::move(picture));
    return LoadPictureFile(form, path);
  }

  TempWorkingDir folder;
  HeadlessPlatform platform;
  Form1 form{platform};
  AppState& app = form.app;
  FormState& state = form.state;
  Form1Controls& ui = form.ui;
};

}  // namespace plotvane::testing
