#include "loading/picture_file_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "loading/picture_bytes.h"
#include "picture/gif_writer.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using namespace plotvane::testing;

PictureFileInfo examine(const std::string& bytes) {
  return inspectPictureFile({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
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
       .height = 0}};
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
  for (const std::string& file : {bmp, rle, jpeg, thumbnailed, gif}) {
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
