#include "loading/picture_file_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "loading/picture_bytes.h"
#include "picture/gif_writer.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using namespace plotvane::testing;

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
    putBytes(out, big && e.type == 3 && e.count == 1 ? e.value << 16 : e.value, 4, big);
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

TEST(PictureFileCheck, TellsCompleteFilesFromBrokenOnesAndNeverReadsPastThem) {
  using F = PictureFormat;
  const auto cut = [](const std::string& b, std::size_t n) { return b.substr(0, b.size() - n); };
  const std::string bmp = bmpFile(codedPicture(5, 3)), gif = encodeGif(codedPicture(9, 7));
  const std::string rle = bmpHeaders(4, 1, 8, 1, 4, 256) + std::string("\x04\x07\x00\x01", 4);
  const std::string jpeg = jpegStructure(640, 480) + kJpegEnd;
  // An EXIF thumbnail's end marker must not end the outer picture.
  std::string thumbnailed = jpeg;
  thumbnailed.insert(2, jpegSegment(0xE1, "Exif" + jpegStructure(16, 16) + kJpegEnd));
  const std::string png =
      std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x03\x20\0\0\x02\x58", 24);
  // A 40 x 30 picture in one strip of 100 bytes right after the directory.
  const auto oneStrip = [](bool big) {
    const std::uint32_t data = afterDirectory(4);
    return tiff(big, {{256, 3, 1, 40}, {257, 4, 1, 30}, {273, 4, 1, data}, {279, 4, 1, 100}},
                std::string(100, 'x'));
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
  // The bytes, their format, whether they are complete, and the declared size.
  // clang-format off
  const struct {
    const char* name; std::string bytes; F format; bool complete; long long width, height;
  } cases[] = {
      {.name = "top-down bitmap", .bytes = bmpFile(codedPicture(5, 3), true), .format = F::Bmp,
       .complete = true, .width = 5, .height = 3},
      {.name = "bitmap a byte short", .bytes = cut(bmp, 1), .format = F::Bmp, .complete = false,
       .width = 5, .height = 3},
      {.name = "8-bit", .bytes = bmpHeaders(40000, 10, 8, 0, 0, 256) + std::string(400000, 0),
       .format = F::Bmp, .complete = true, .width = 40000, .height = 10},
      {.name = "JPEG without its end", .bytes = cut(jpeg, 2), .format = F::Jpeg, .complete = false,
       .width = 640, .height = 480},
      {.name = "JPEG with a thumbnail", .bytes = thumbnailed, .format = F::Jpeg, .complete = true,
       .width = 640, .height = 480},
      {.name = "GIF with an empty first frame", .bytes = gifWithFrame(0, 0), .format = F::Gif,
       .complete = false, .width = 10, .height = 10},
      {.name = "GIF with a first frame without data", .bytes = gifWithFrame(10, 10),
       .format = F::Gif, .complete = false, .width = 10, .height = 10},
      {.name = "PNG", .bytes = png, .format = F::Png, .complete = true, .width = 800,
       .height = 600},
      {.name = "empty", .bytes = "", .format = F::Unknown, .complete = false, .width = 0,
       .height = 0},
      {.name = "TIFF, Intel order", .bytes = oneStrip(false),
       .format = F::Tiff, .complete = true, .width = 40, .height = 30},
      {.name = "TIFF, Motorola order", .bytes = oneStrip(true),
       .format = F::Tiff, .complete = true, .width = 40, .height = 30},
      {.name = "TIFF, two strips", .bytes = tiff(false, twoStrips, arrays + std::string(100, 'x')),
       .format = F::Tiff, .complete = true, .width = 40, .height = 30},
      {.name = "TIFF, second strip cut", .bytes = tiff(false, twoStrips, arrays + std::string(99, 'x')),
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
  // Every prefix of a good file is incomplete. Each is a heap copy of exactly
  // its length, so the sanitizer build catches a read past it.
  for (const std::string& file : {bmp, rle, jpeg, thumbnailed, gif, oneStrip(true)}) {
    for (std::size_t length = 6; length < file.size(); ++length)
      EXPECT_FALSE(examine(file.substr(0, length)).complete) << length << " of " << file.size();
    EXPECT_TRUE(examine(file).complete);
  }
}

// A GIF whose first frame of this size lies at the screen's top left, with
// this many bytes of compressed data (their contents do not matter here).
std::string gifFrameInScreen(int screen, int frame, std::size_t dataBytes) {
  std::string out = "GIF89a";
  putBytes(out, static_cast<std::uint32_t>(screen | screen << 16), 4);
  out += std::string("\0\0\0\x2C\0\0\0\0", 8);
  putBytes(out, static_cast<std::uint32_t>(frame | frame << 16), 4);
  out += std::string("\0\x08", 2);
  for (; dataBytes > 0; dataBytes -= std::min<std::size_t>(dataBytes, 255)) {
    const std::size_t block = std::min<std::size_t>(dataBytes, 255);
    out += static_cast<char>(block) + std::string(block, '\x55');
  }
  return out + std::string("\0\x3B", 2);
}

// A PNG header of a side x side picture of 16-bit RGBA and one IDAT chunk of
// this many bytes.
std::string pngWithData(std::uint32_t side, std::size_t dataBytes) {
  std::string out("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
  putBytes(out, side, 4, true);
  putBytes(out, side, 4, true);
  out += std::string("\x10\x06\0\0\0\0\0\0\0", 9);
  putBytes(out, static_cast<std::uint32_t>(dataBytes), 4, true);
  return out + "IDAT" + std::string(dataBytes + 4, '\0') + std::string("\0\0\0\0IEND\0\0\0\0", 12);
}

TEST(PictureFileCheck, TellsWhetherTheDataCouldFillThePicture) {
  // clang-format off
  const struct { const char* name; std::string bytes; bool plausible; } cases[] = {
      {.name = "run-length bitmap of 16000 x 16000 in 1 KB",
       .bytes = bmpHeaders(16000, 16000, 8, 1, 1024, 2) + std::string(1024, '\0'),
       .plausible = false},
      {.name = "small run-length bitmap ended at once",
       .bytes = bmpHeaders(256, 256, 8, 1, 2, 2) + std::string("\0\1", 2), .plausible = true},
      {.name = "gif: a pixel in a screen of 20000 x 13000", .bytes = gifFrameInScreen(20000, 1, 3),
       .plausible = false},
      {.name = "gif: a quarter of the screen", .bytes = gifFrameInScreen(3000, 1500, 600),
       .plausible = true},
      {.name = "gif: less than a quarter", .bytes = gifFrameInScreen(3000, 1499, 600),
       .plausible = false},
      {.name = "gif: too little data for its frame", .bytes = gifFrameInScreen(3000, 3000, 2000),
       .plausible = false},
      {.name = "png: deflated at most 1032 to 1", .bytes = pngWithData(4000, 125000),
       .plausible = true},
      {.name = "png: more than 1032 to 1", .bytes = pngWithData(4000, 120000),
       .plausible = false},
      {.name = "jpeg: 4800 blocks in 9 bytes", .bytes = jpegStructure(640, 480) + kJpegEnd,
       .plausible = false}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(examine(c.bytes).plausible, c.plausible) << c.name;
}

TEST(PictureLimits, PixelsMustBeThereAndFitTheMemoryBound) {
  // clang-format off
  const struct { int width, height; bool fits; } sizes[] = {
      {.width = 10, .height = 10, .fits = true}, {.width = 10, .height = 11, .fits = false},
      {.width = 0, .height = 5, .fits = false}};
  // clang-format on
  for (const auto& c : sizes)
    EXPECT_EQ((PictureLimits{32766, 400}.accepts(c.width, c.height)), c.fits)
        << c.width << "x" << c.height;
}

}  // namespace
}  // namespace plotvane
