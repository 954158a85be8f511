// The working picture as a Windows bitmap file: 24 bits per pixel, no
// compression, rows bottom-up, each padded to a multiple of 4 bytes. Every
// colour of the picture is kept; overlays are no part of it.
#pragma once

#include <cstdint>
#include <string>

#include "base/pixel_array.h"

namespace plotvane {

// Bytes of the file for a picture of this size: 54 header bytes and the
// padded rows. std::length_error when that passes the 32-bit size field of
// the file header (pictures of about 4 GiB and more).
std::uint64_t bitmapFileSize(int width, int height);

// The whole file. std::length_error as bitmapFileSize.
std::string bitmapFileBytes(const PixelArray& picture);

}  // namespace plotvane
