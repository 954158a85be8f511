// Small picture files built byte by byte for the loading tests, including
// broken ones: cut off, lying about their size, or without pixels.
#pragma once

#include <cstdint>
#include <string>

#include "picture/gif_writer.h"
#include "picture/pixel_array.h"

namespace plotvane::testing {

inline void put16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 255));
  out.push_back(static_cast<char>((value >> 8) & 255));
}
inline void put32(std::string& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}
inline void putBig16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>((value >> 8) & 255));
  out.push_back(static_cast<char>(value & 255));
}

// File and information headers of a Windows bitmap; height < 0 is top-down.
inline std::string bmpHeaders(std::int32_t width, std::int32_t height, int bitCount,
                              int compression = 0, std::uint32_t sizeImage = 0,
                              int paletteEntries = 0) {
  std::string out = "BM";
  const std::uint32_t offBits = 54 + 4 * static_cast<std::uint32_t>(paletteEntries);
  put32(out, 0);  // file size: readers do not rely on it
  put32(out, 0);
  put32(out, offBits);
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(width));
  put32(out, static_cast<std::uint32_t>(height));
  put16(out, 1);
  put16(out, static_cast<std::uint32_t>(bitCount));
  put32(out, static_cast<std::uint32_t>(compression));
  put32(out, sizeImage);
  put32(out, 2835);
  put32(out, 2835);
  put32(out, static_cast<std::uint32_t>(paletteEntries));
  put32(out, 0);
  for (int i = 0; i < paletteEntries; ++i) put32(out, static_cast<std::uint32_t>(i * 0x010101));
  return out;
}

// A 24-bit bitmap of the picture, bottom-up or top-down.
inline std::string bmpFile(const PixelArray& picture, bool topDown = false) {
  const int stride = (picture.width() * 3 + 3) / 4 * 4;
  std::string out = bmpHeaders(picture.width(), topDown ? -picture.height() : picture.height(), 24,
                               0, static_cast<std::uint32_t>(stride * picture.height()));
  for (int row = 0; row < picture.height(); ++row) {
    const int y = topDown ? row : picture.height() - 1 - row;
    std::string line;
    for (int x = 0; x < picture.width(); ++x) {
      const std::uint32_t c = picture.at(x, y);
      line.push_back(static_cast<char>(blueOf(c)));
      line.push_back(static_cast<char>(greenOf(c)));
      line.push_back(static_cast<char>(redOf(c)));
    }
    line.resize(static_cast<std::size_t>(stride), '\0');
    out += line;
  }
  return out;
}

// The segment structure of a baseline JPEG (tables and scan data are not a
// real picture; only the structure matters to the file check).
inline std::string jpegSegment(std::uint8_t marker, const std::string& body) {
  std::string out = {'\xFF', static_cast<char>(marker)};
  putBig16(out, static_cast<std::uint32_t>(body.size() + 2));
  return out + body;
}

inline std::string jpegStructure(int width, int height, const std::string& scanData,
                                 std::uint8_t frameMarker = 0xC0) {
  std::string frame = "\x08";
  putBig16(frame, static_cast<std::uint32_t>(height));
  putBig16(frame, static_cast<std::uint32_t>(width));
  frame += std::string("\x01\x01\x11\x00", 4);
  std::string out = "\xFF\xD8";
  out += jpegSegment(0xE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
  out += jpegSegment(0xDB, std::string(65, '\x01'));
  out += jpegSegment(frameMarker, frame);
  out += jpegSegment(0xC4, std::string(20, '\x02'));
  out += jpegSegment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6));
  out += scanData;
  return out;
}

inline const std::string kJpegEnd = "\xFF\xD9";

// Scan data with a stuffed 0xFF and a restart marker, as real scans have.
inline const std::string kScanData = std::string("\x12\x34\xFF\x00\x56\xFF\xD0\x78\x9A", 9);

// A GIF whose logical screen is 10 x 10 and whose first frame is given by
// its descriptor size and data sub-blocks.
inline std::string gifWithFrame(int frameW, int frameH, const std::string& subBlocks) {
  std::string out = "GIF89a";
  put16(out, 10);
  put16(out, 10);
  out += std::string("\x80\x00\x00", 3);  // global table of 2 colours
  out += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);
  out.push_back('\x2C');
  put16(out, 0);
  put16(out, 0);
  put16(out, static_cast<std::uint32_t>(frameW));
  put16(out, static_cast<std::uint32_t>(frameH));
  out.push_back('\0');
  out.push_back('\x02');  // code size
  out += subBlocks;
  out.push_back('\0');
  out.push_back('\x3B');
  return out;
}

}  // namespace plotvane::testing
