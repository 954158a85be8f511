#include "picture/bitmap_file.h"

#include <cstddef>
#include <limits>
#include <stdexcept>

namespace plotvane {

namespace {

constexpr std::uint32_t kHeadersSize = 14 + 40;  // file header and information header
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

std::uint64_t rowBytes(int width) {
  return (std::uint64_t(width) * 3 + 3) / 4 * 4;
}

char* put(char* out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) *out++ = static_cast<char>(value >> (8 * i));
  return out;
}

}  // namespace

std::uint64_t bitmapFileSize(int width, int height) {
  if (width < 0 || height < 0) throw std::length_error("negative picture size");
  const std::uint64_t size = kHeadersSize + rowBytes(width) * std::uint64_t(height);
  if (size > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("The picture is too large for a bitmap file (4 GiB at most).");
  return size;
}

std::string bitmapFileBytes(const PixelArray& picture) {
  const int width = picture.width(), height = picture.height();
  const auto fileSize = static_cast<std::uint32_t>(bitmapFileSize(width, height));
  const auto stride = static_cast<std::size_t>(rowBytes(width));
  std::string file(fileSize, '\0');
  char* out = file.data();
  out = put(out, 'B' | 'M' << 8, 2);
  out = put(out, fileSize, 4);
  out = put(out, 0, 4);  // two reserved words
  out = put(out, kHeadersSize, 4);
  out = put(out, 40, 4);
  out = put(out, std::uint32_t(width), 4);
  out = put(out, std::uint32_t(height), 4);  // positive: the bottom row comes first
  out = put(out, 1, 2);                      // planes
  out = put(out, 24, 2);                     // bits per pixel
  out = put(out, 0, 4);                      // uncompressed
  out = put(out, fileSize - kHeadersSize, 4);
  out = put(out, kPixelsPerMetre, 4);
  out = put(out, kPixelsPerMetre, 4);
  out = put(out, 0, 4);  // colours used: no palette
  out = put(out, 0, 4);  // important colours: all
  for (int y = height - 1; y >= 0; --y) {
    const std::uint32_t* pixel = picture.row(y);
    char* line = out;
    for (int x = 0; x < width; ++x) line = put(line, pixel[x], 3);  // blue, green, red
    out += stride;                                                  // the padding stays 0
  }
  return file;
}

}  // namespace plotvane
