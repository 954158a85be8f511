// Small picture files built byte by byte for the loading tests, broken ones included.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/pixel_array.h"

namespace plotvane::testing {

// Appends the value's low bytes, little-endian unless bigEndian.
inline void putBytes(std::string& out, std::uint32_t value, int bytes, bool bigEndian = false) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<char>(value >> 8 * (bigEndian ? bytes - 1 - i : i)));
}

// File and information headers of a Windows bitmap; height < 0 is top-down.
inline std::string bmpHeaders(std::int32_t width, std::int32_t height, std::uint32_t bitCount,
                              std::uint32_t compression = 0, std::uint32_t sizeImage = 0,
                              std::uint32_t palette = 0) {
  std::string out = "BM";
  for (std::uint32_t v :
       {0u, 0u, 54 + 4 * palette, 40u, std::uint32_t(width), std::uint32_t(height),
        1 | bitCount << 16, compression, sizeImage, 2835u, 2835u, palette, 0u})
    putBytes(out, v, 4);
  for (std::uint32_t i = 0; i < palette; ++i) putBytes(out, i * 0x010101, 4);
  return out;
}

// A run-length bitmap (8-bit codes for 8 bits a pixel, else 4-bit) of these codes; palette entry
// i is grey i.
inline std::string runLengthFile(int bitCount, int width, int height, const std::string& codes,
                                 std::uint32_t entries) {
  return bmpHeaders(width, height, static_cast<std::uint32_t>(bitCount), bitCount == 8 ? 1 : 2,
                    static_cast<std::uint32_t>(codes.size()), entries) +
         codes;
}

// The picture's rows, top first.
inline std::vector<std::vector<std::uint32_t>> rowsOf(const PixelArray& picture) {
  std::vector<std::vector<std::uint32_t>> rows;
  for (int y = 0; y < picture.height(); ++y)
    rows.emplace_back(picture.row(y), picture.row(y) + picture.width());
  return rows;
}

// A 24-bit bitmap of the picture, bottom-up or top-down.
inline std::string bmpFile(const PixelArray& picture, bool topDown = false) {
  const int w = picture.width(), h = picture.height(), stride = (w * 3 + 3) / 4 * 4;
  std::string out = bmpHeaders(w, topDown ? -h : h, 24, 0, static_cast<std::uint32_t>(stride * h));
  for (int row = 0; row < h; ++row) {
    const std::size_t start = out.size();
    for (int x = 0; x < w; ++x) putBytes(out, picture.at(x, topDown ? row : h - 1 - row), 3);
    out.resize(start + static_cast<std::size_t>(stride), '\0');
  }
  return out;
}

// A JPEG segment, and a baseline JPEG up to the end of scan data that has a
// stuffed 0xFF and a restart marker, as real scans have: only the structure is real.
inline std::string jpegSegment(std::uint8_t marker, const std::string& body) {
  std::string out = {'\xFF', static_cast<char>(marker)};
  putBytes(out, static_cast<std::uint32_t>(body.size() + 2), 2, true);
  return out + body;
}

inline std::string jpegStructure(int width, int height) {
  std::string frame = "\x08";
  putBytes(frame, static_cast<std::uint32_t>(height << 16 | width), 4, true);
  return "\xFF\xD8" + jpegSegment(0xC0, frame + std::string("\x01\x01\x11\x00", 4)) +
         jpegSegment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6)) +
         std::string("\x12\x34\xFF\x00\x56\xFF\xD0\x78\x9A", 9);
}

inline const std::string kJpegEnd = "\xFF\xD9";

// A GIF with a 10 x 10 screen whose first frame has this size and no pixel data.
inline std::string gifWithFrame(int frameWidth, int frameHeight) {
  std::string out = "GIF89a";
  putBytes(out, 10 | 10 << 16, 4);
  out += std::string("\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF\x2C\0\0\0\0", 14);
  putBytes(out, static_cast<std::uint32_t>(frameWidth | frameHeight << 16), 4);
  return out + std::string("\0\x02\0\x3B", 4);
}

}  // namespace plotvane::testing
