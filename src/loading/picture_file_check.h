// A look at a picture file's own structure before it is decoded: which
// format it is, the size its header declares, and whether the file holds
// everything its headers promise. Decoders fill the missing part of a cut-off
// file with grey or black and call it read; this check tells such a file
// apart, and a declared size lets an absurd picture be refused before any
// memory is taken for it.
#pragma once

#include <cstdint>
#include <span>

namespace plotvane {

enum class PictureFormat { Unknown, Bmp, Jpeg, Gif, Png, Tiff, Webp };

struct PictureFileInfo {
  PictureFormat format = PictureFormat::Unknown;
  // BMP: as long as its header's pixel data; JPEG: ends with its end marker
  // after whole segments; GIF: reaches its trailer and its first frame has
  // pixels; TIFF: its first directory and the strips or tiles it lists lie
  // in the file; WebP: holds all the chunks its RIFF header counts. Formats
  // not looked into count as complete.
  bool complete = false;
  long long width = 0, height = 0;  // as the header declares; 0 when not known
};

PictureFileInfo inspectPictureFile(std::span<const std::uint8_t> bytes);

}  // namespace plotvane
