// A main window after start-up with a given client size, on the headless
// platform, in a fresh working folder; test pictures whose every pixel tells
// where it came from; and small look-ups that tests share.
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

// The toolbar button that runs the command.
inline ToolButtonModel& toolButtonOf(Form1Controls& ui, MenuId command) {
  return ui.toolButton(toolbarPositionOf(command).value());
}

// A graph type as the user knows it, for the trace of a failed check.
inline std::string graphTypeName(int type) {
  static const char* const names[] = {"Trace Line", "Plot All Points", "Plot 1 Point",
                                      "Trace Surface", "Manual Plotting"};
  return type >= 1 && type <= 5 ? names[type - 1] : "graph type " + std::to_string(type);
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
