// A look at a picture file's own structure before it is decoded: which
// format it is, the size its header declares, whether the file holds
// everything its headers promise, and whether its data could fill that size
// at all. Decoders fill the missing part of a cut-off file with grey or black
// and call it read; this check tells such a file apart, and a declared size
// lets an absurd picture be refused before any memory is taken for it.
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
  // The compressed data could fill the declared size at the best ratio its
  // format allows: a run-length bitmap 256 pixels a byte (a run covers at
  // most 255 pixels in 2 bytes), a PNG 1032 bytes a byte (deflate's limit),
  // a JPEG one 8 x 8 block a bit (1024 blocks a byte when arithmetic coded),
  // a GIF 4096 pixels a byte (an LZW code of w bits stands for fewer than
  // 2^w pixels, and w is at most 12). A GIF's first frame must also
  // cover a quarter of its screen unless the screen is small, since the
  // decoder fills the whole screen for it. TIFF (bounded by the reader once
  // the compression is known), WebP and formats not looked into count as
  // plausible.
  bool plausible = false;
  // A run-length encoded bitmap, which the program decodes itself.
  bool runLength = false;
  long long width = 0, height = 0;  // as the header declares; 0 when not known
};

PictureFileInfo inspectPictureFile(std::span<const std::uint8_t> bytes);

}  // namespace plotvane
