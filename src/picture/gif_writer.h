// A small GIF encoder: one or more frames, each with its own colour table,
// optionally interlaced or with a transparent colour. Pictures with more
// than 256 colours are reduced to a fixed 252-colour cube.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/pixel_array.h"

namespace plotvane {

struct GifFrameOptions {
  int left = 0, top = 0;  // position on the logical screen
  bool interlaced = false;
  std::optional<std::uint32_t> transparentColour;  // this colour becomes transparent
  int delayCentiseconds = 0;
};

class GifWriter {
 public:
  GifWriter(int screenWidth, int screenHeight);
  void addFrame(const PixelArray& picture, const GifFrameOptions& options = {});
  // The whole file, trailer included.
  std::string finish();

 private:
  std::string bytes_;
  int frames_ = 0;
};

// A one-frame GIF of the picture.
std::string encodeGif(const PixelArray& picture, const GifFrameOptions& options = {});

}  // namespace plotvane
