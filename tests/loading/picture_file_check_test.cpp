#include "loading/picture_file_check.h"

#include <gtest/gtest.h>

#include <string>

#include "loading/picture_bytes.h"
#include "picture/gif_writer.h"
#include "picture/picture_form.h"

namespace plotvane {
namespace {

using namespace plotvane::testing;

PictureFileInfo inspect(const std::string& bytes) {
  return inspectPictureFile({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

std::string withoutLast(std::string bytes, std::size_t count) {
  bytes.resize(bytes.size() - count);
  return bytes;
}

std::string interlacedGif() {
  GifFrameOptions options;
  options.interlaced = true;
  return encodeGif(codedPicture(9, 7), options);
}

std::string twoFrameGif() {
  GifWriter writer(8, 6);
  writer.addFrame(codedPicture(8, 6));
  GifFrameOptions second;
  second.left = 2;
  second.top = 1;
  second.delayCentiseconds = 10;
  writer.addFrame(codedPicture(4, 3), second);
  return writer.finish();
}

TEST(PictureFileCheck, TellsCompleteFilesFromBrokenOnes) {
  const std::string bmp = bmpFile(codedPicture(5, 3));
  const std::string jpeg = jpegStructure(640, 480, kScanData) + kJpegEnd;
  const std::string gif = encodeGif(codedPicture(9, 7));
  std::string exifThumbnail =
      jpegSegment(0xE1, "Exif" + jpegStructure(16, 16, kScanData) + kJpegEnd);
  std::string jpegWithThumbnail = jpegStructure(640, 480, kScanData) + kJpegEnd;
  jpegWithThumbnail.insert(2, exifThumbnail);
  const std::string progressive =
      jpegStructure(64, 32, kScanData, 0xC2) + jpegSegment(0xC4, std::string(8, '\x03')) +
      jpegSegment(0xDA, std::string("\x01\x01\x00\x01\x3F\x00", 6)) + kScanData + kJpegEnd;
  std::string png = "\x89PNG\r\n\x1A\n";
  put32(png, 0x0D000000);  // chunk length 13, big-endian
  png += "IHDR";
  png += std::string("\x00\x00\x03\x20\x00\x00\x02\x58", 8);  // 800 x 600

  struct Case {
    const char* name;
    std::string bytes;
    PictureFormat format;
    bool complete;
    long long width, height;
  };
  const Case cases[] = {
      {"bitmap", bmp, PictureFormat::Bmp, true, 5, 3},
      {"top-down bitmap", bmpFile(codedPicture(5, 3), true), PictureFormat::Bmp, true, 5, 3},
      {"bitmap one byte short", withoutLast(bmp, 1), PictureFormat::Bmp, false, 5, 3},
      {"bitmap of 100000 x 100000 without its pixels", bmpHeaders(100000, 100000, 24),
       PictureFormat::Bmp, false, 100000, 100000},
      {"bitmap 40000 x 10", bmpHeaders(40000, 10, 8, 0, 0, 256) + std::string(400000, '\0'),
       PictureFormat::Bmp, true, 40000, 10},
      {"8-bit bitmap", bmpHeaders(3, 2, 8, 0, 0, 256) + std::string(8, '\x05'), PictureFormat::Bmp,
       true, 3, 2},
      {"run-length bitmap", bmpHeaders(4, 1, 8, 1, 4, 256) + std::string("\x04\x07\x00\x01", 4),
       PictureFormat::Bmp, true, 4, 1},
      {"run-length bitmap cut off", bmpHeaders(4, 1, 8, 1, 4, 256) + std::string("\x04\x07", 2),
       PictureFormat::Bmp, false, 4, 1},
      {"bitmap headers only", bmpHeaders(0, 0, 24).substr(0, 20), PictureFormat::Bmp, false, 0, 0},
      {"jpeg", jpeg, PictureFormat::Jpeg, true, 640, 480},
      {"jpeg with bytes after its end", jpeg + std::string(100, '\0'), PictureFormat::Jpeg, true,
       640, 480},
      {"jpeg without its end marker", withoutLast(jpeg, 2), PictureFormat::Jpeg, false, 640, 480},
      {"jpeg cut in its scan", withoutLast(jpeg, 6), PictureFormat::Jpeg, false, 640, 480},
      {"jpeg cut in a segment", jpeg.substr(0, 30), PictureFormat::Jpeg, false, 0, 0},
      {"jpeg with a thumbnail, cut", withoutLast(jpegWithThumbnail, 4), PictureFormat::Jpeg, false,
       640, 480},
      {"jpeg with a thumbnail", jpegWithThumbnail, PictureFormat::Jpeg, true, 640, 480},
      {"progressive jpeg", progressive, PictureFormat::Jpeg, true, 64, 32},
      {"gif", gif, PictureFormat::Gif, true, 9, 7},
      {"interlaced gif", interlacedGif(), PictureFormat::Gif, true, 9, 7},
      {"animated gif", twoFrameGif(), PictureFormat::Gif, true, 8, 6},
      {"gif without its trailer", withoutLast(gif, 1), PictureFormat::Gif, false, 9, 7},
      {"gif cut in half", gif.substr(0, gif.size() / 2), PictureFormat::Gif, false, 9, 7},
      {"gif with an empty first frame", gifWithFrame(0, 0, ""), PictureFormat::Gif, false, 10, 10},
      {"gif frame without data", gifWithFrame(10, 10, ""), PictureFormat::Gif, false, 10, 10},
      {"gif frame with data", gifWithFrame(10, 10, std::string("\x02\x4C\x01", 3)),
       PictureFormat::Gif, true, 10, 10},
      {"png", png, PictureFormat::Png, true, 800, 600},
      {"text renamed", "This is not a picture.\n", PictureFormat::Unknown, true, 0, 0},
      {"empty file", "", PictureFormat::Unknown, false, 0, 0},
  };
  for (const Case& c : cases) {
    const PictureFileInfo info = inspect(c.bytes);
    EXPECT_EQ(info.format, c.format) << c.name;
    EXPECT_EQ(info.complete, c.complete) << c.name;
    EXPECT_EQ(info.width, c.width) << c.name;
    EXPECT_EQ(info.height, c.height) << c.name;
  }
}

TEST(PictureFileCheck, EveryPrefixOfAGoodFileIsIncompleteAndNeverReadsPastIt) {
  const std::string files[] = {
      bmpFile(codedPicture(7, 5)),
      jpegStructure(32, 16, kScanData) + kJpegEnd,
      twoFrameGif(),
  };
  for (const std::string& file : files) {
    // From the length that names the format on: shorter ones are no
    // picture the check knows.
    for (std::size_t length = 6; length < file.size(); ++length) {
      // A heap copy of exactly this length, so a read past it is caught by
      // the sanitizer build.
      const std::string prefix = file.substr(0, length);
      EXPECT_FALSE(inspect(prefix).complete) << length << " of " << file.size();
    }
    EXPECT_TRUE(inspect(file).complete);
  }
}

TEST(PictureLimits, SidesAndMemory) {
  PictureLimits limits;
  limits.maxBytes = 400;
  struct Case {
    long long width, height;
    bool accepted;
  };
  const Case cases[] = {
      {10, 10, true}, {10, 11, false}, {1, 100, true}, {0, 5, false}, {5, 0, false}, {-3, 4, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(limits.accepts(c.width, c.height), c.accepted) << c.width << "x" << c.height;
  const PictureLimits sides{32766, std::uint64_t{1} << 40};
  EXPECT_TRUE(sides.accepts(32766, 32766));
  EXPECT_FALSE(sides.accepts(32767, 1));
  EXPECT_FALSE(sides.accepts(1, 32767));
  EXPECT_FALSE(sides.accepts(40000, 10));
  // The machine's bound takes at least an 8000 x 6000 chart.
  EXPECT_TRUE(PictureLimits::forThisMachine().accepts(8000, 6000));
}

}  // namespace
}  // namespace plotvane
