// The structure check of TIFF and WebP files: declared size and whether the
// file holds what its headers list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loading/picture_bytes.h"
#include "loading/picture_file_check.h"

namespace plotvane {
namespace {

using testing::putBytes;

PictureFileInfo examine(const std::string& bytes) {
  return inspectPictureFile({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

struct TiffEntry {
  std::uint16_t tag, type;
  std::uint32_t count, value;  // the value itself, or where the values are
};

// A classic TIFF: header, the directory at 8, then whatever follows.
std::string tiff(bool big, const std::vector<TiffEntry>& entries, const std::string& after = {}) {
  std::string out = big ? std::string("MM\0*", 4) : std::string("II*\0", 4);
  putBytes(out, 8, 4, big);
  putBytes(out, static_cast<std::uint32_t>(entries.size()), 2, big);
  for (const TiffEntry& e : entries) {
    putBytes(out, e.tag, 2, big);
    putBytes(out, e.type, 2, big);
    putBytes(out, e.count, 4, big);
    // A single short sits in the first two bytes of the value field.
    if (e.type == 3 && e.count == 1) {
      putBytes(out, e.value, 2, big);
      putBytes(out, 0, 2, big);
    } else {
      putBytes(out, e.value, 4, big);
    }
  }
  putBytes(out, 0, 4, big);  // no next directory
  return out + after;
}

// Where the bytes after a directory of n entries start.
constexpr std::uint32_t afterDirectory(std::uint32_t n) {
  return 8 + 2 + 12 * n + 4;
}

std::string riff(const std::string& chunks) {
  std::string out = "RIFF";
  putBytes(out, static_cast<std::uint32_t>(chunks.size() + 4), 4);
  return out + "WEBP" + chunks;
}

std::string chunk(const char* id, const std::string& body) {
  std::string out = id;
  putBytes(out, static_cast<std::uint32_t>(body.size()), 4);
  return out + body + (body.size() % 2 ? std::string(1, '\0') : std::string());
}

TEST(TiffWebpCheck, DeclaredSizeAndCompleteness) {
  using F = PictureFormat;
  // A 40 x 30 picture in one strip of 100 bytes right after the directory.
  const auto oneStrip = [](bool big, std::uint32_t stripLength, std::uint32_t fileBytes) {
    const std::uint32_t data = afterDirectory(4);
    return tiff(big,
                {{256, 3, 1, 40}, {257, 4, 1, 30}, {273, 4, 1, data}, {279, 4, 1, stripLength}},
                std::string(fileBytes - data, 'x'));
  };
  // Two strips: their offsets and lengths as arrays after the directory.
  std::string arrays;
  const std::uint32_t at = afterDirectory(4);
  for (std::uint32_t v : {at + 16, at + 16 + 50}) putBytes(arrays, v, 4);
  for (std::uint32_t v : {50u, 50u}) putBytes(arrays, v, 4);
  const std::vector<TiffEntry> twoStrips = {
      {256, 4, 1, 40}, {257, 4, 1, 30}, {273, 4, 2, at}, {279, 4, 2, at + 8}};
  const std::string tiled = tiff(
      false, {{256, 3, 1, 64}, {257, 3, 1, 64}, {324, 4, 1, afterDirectory(4)}, {325, 4, 1, 10}},
      std::string(10, 'x'));

  std::string vp8x(10, '\0');
  vp8x[4] = 99;  // width - 1, 24 bits
  vp8x[7] = 49;  // height - 1
  std::string vp8 = std::string("\x00\x00\x00\x9D\x01\x2A", 6);
  putBytes(vp8, 320, 2);
  putBytes(vp8, 200 | 0x4000, 2);  // a scale in the top bits is not part of the size
  vp8 += std::string(10, 'v');
  std::string vp8l = "\x2F";
  putBytes(vp8l, (17 - 1) | (9 - 1) << 14, 4);
  const std::string lossless = riff(chunk("VP8L", vp8l + "abc"));
  // clang-format off
  const struct {
    const char* name; std::string bytes; F format; bool complete; long long width, height;
  } cases[] = {
      {.name = "TIFF, Intel order", .bytes = oneStrip(false, 100, afterDirectory(4) + 100),
       .format = F::Tiff, .complete = true, .width = 40, .height = 30},
      {.name = "TIFF, Motorola order", .bytes = oneStrip(true, 100, afterDirectory(4) + 100),
       .format = F::Tiff, .complete = true, .width = 40, .height = 30},
      {.name = "TIFF, two strips", .bytes = tiff(false, twoStrips, arrays + std::string(100, 'x')),
       .format = F::Tiff, .complete = true, .width = 40, .height = 30},
      {.name = "TIFF, second strip cut", .bytes = tiff(false, twoStrips, arrays + std::string(99, 'x')),
       .format = F::Tiff, .complete = false, .width = 40, .height = 30},
      {.name = "TIFF, strip arrays cut", .bytes = tiff(false, twoStrips, arrays.substr(0, 12)),
       .format = F::Tiff, .complete = false, .width = 40, .height = 30},
      {.name = "TIFF, tiles", .bytes = tiled, .format = F::Tiff, .complete = true, .width = 64,
       .height = 64},
      {.name = "TIFF, directory cut", .bytes = tiff(false, twoStrips).substr(0, 30),
       .format = F::Tiff, .complete = false, .width = 0, .height = 0},
      {.name = "WebP, extended", .bytes = riff(chunk("VP8X", vp8x) + chunk("VP8 ", vp8)),
       .format = F::Webp, .complete = true, .width = 100, .height = 50},
      {.name = "WebP, lossy", .bytes = riff(chunk("VP8 ", vp8)), .format = F::Webp,
       .complete = true, .width = 320, .height = 200},
      {.name = "WebP, lossless", .bytes = lossless, .format = F::Webp, .complete = true,
       .width = 17, .height = 9},
      {.name = "WebP a byte short", .bytes = lossless.substr(0, lossless.size() - 1),
       .format = F::Webp, .complete = false, .width = 0, .height = 0},
      {.name = "WebP, chunk longer than the file",
       .bytes = riff(chunk("VP8X", vp8x) + std::string("VP8 \xFF\xFF\0\0", 8) + vp8), .format = F::Webp,
       .complete = false, .width = 100, .height = 50}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PictureFileInfo info = examine(c.bytes);
    EXPECT_EQ(info.format, c.format);
    EXPECT_EQ(info.complete, c.complete);
    EXPECT_EQ(info.width, c.width);
    EXPECT_EQ(info.height, c.height);
  }
}

}  // namespace
}  // namespace plotvane
