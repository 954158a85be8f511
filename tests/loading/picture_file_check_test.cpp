#include "loading/picture_file_check.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "loading/picture_bytes.h"
#include "picture/gif_writer.h"
#include "picture/picture_form.h"

namespace plotvane {
namespace {

using namespace plotvane::testing;

PictureFileInfo examine(const std::string& bytes) {
  return inspectPictureFile({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

std::string cut(const std::string& bytes, std::size_t count) {
  return bytes.substr(0, bytes.size() - count);
}

TEST(PictureFileCheck, TellsCompleteFilesFromBrokenOnesAndNeverReadsPastThem) {
  using F = PictureFormat;
  const std::string bmp = bmpFile(codedPicture(5, 3));
  const std::string jpeg = jpegStructure(640, 480, kScanData) + kJpegEnd;
  const std::string gif = encodeGif(codedPicture(9, 7));
  GifWriter writer(8, 6);
  writer.addFrame(codedPicture(8, 6));
  GifFrameOptions second;
  second.left = 2;
  writer.addFrame(codedPicture(4, 3), second);
  const std::string animated = writer.finish();
  // An EXIF thumbnail's end marker must not end the outer picture.
  std::string thumbnailed = jpeg;
  thumbnailed.insert(2, jpegSegment(0xE1, "Exif" + jpegStructure(16, 16, kScanData) + kJpegEnd));
  const std::string progressive =
      jpegStructure(64, 32, kScanData, 0xC2) + jpegSegment(0xC4, std::string(8, '\x03')) +
      jpegSegment(0xDA, std::string("\x01\x01\x00\x01\x3F\x00", 6)) + kScanData + kJpegEnd;
  const std::string png =
      std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x03\x20\0\0\x02\x58", 24);
  const std::string rle = bmpHeaders(4, 1, 8, 1, 4, 256) + std::string("\x04\x07\x00\x01", 4);
  const struct {
    const char* name;
    std::string bytes;
    F format;
    bool complete;
    long long width, height;
  } cases[] = {
      {"top-down bitmap", bmpFile(codedPicture(5, 3), true), F::Bmp, true, 5, 3},
      {"bitmap one byte short", cut(bmp, 1), F::Bmp, false, 5, 3},
      {"100000 x 100000 headers", bmpHeaders(100000, 100000, 24), F::Bmp, false, 100000, 100000},
      {"40000 x 10", bmpHeaders(40000, 10, 8, 0, 0, 256) + std::string(400000, 0), F::Bmp, true,
       40000, 10},
      {"run-length bitmap", rle, F::Bmp, true, 4, 1},
      {"run-length bitmap cut off", cut(rle, 2), F::Bmp, false, 4, 1},
      {"jpeg with bytes after its end", jpeg + std::string(100, '\0'), F::Jpeg, true, 640, 480},
      {"jpeg without its end marker", cut(jpeg, 2), F::Jpeg, false, 640, 480},
      {"jpeg with a thumbnail", thumbnailed, F::Jpeg, true, 640, 480},
      {"jpeg with a thumbnail, cut", cut(thumbnailed, 4), F::Jpeg, false, 640, 480},
      {"progressive jpeg", progressive, F::Jpeg, true, 64, 32},
      {"animated gif", animated, F::Gif, true, 8, 6},
      {"gif without its trailer", cut(gif, 1), F::Gif, false, 9, 7},
      {"gif with an empty first frame", gifWithFrame(0, 0, ""), F::Gif, false, 10, 10},
      {"gif frame without data", gifWithFrame(10, 10, ""), F::Gif, false, 10, 10},
      {"gif frame with data", gifWithFrame(10, 10, std::string("\x02\x4C\x01", 3)), F::Gif, true,
       10, 10},
      {"png", png, F::Png, true, 800, 600},
      {"text renamed", "This is not a picture.\n", F::Unknown, true, 0, 0},
      {"empty file", "", F::Unknown, false, 0, 0},
  };
  for (const auto& c : cases) {
    const PictureFileInfo info = examine(c.bytes);
    EXPECT_EQ(std::tuple(info.format, info.complete, info.width, info.height),
              std::tuple(c.format, c.complete, c.width, c.height))
        << c.name;
  }
  // Every prefix of a good file is incomplete. Each is a heap copy of exactly
  // its length, so the sanitizer build catches a read past it.
  for (const std::string& file : {bmp, rle, jpeg, thumbnailed, progressive, gif, animated}) {
    for (std::size_t length = 6; length < file.size(); ++length)
      EXPECT_FALSE(examine(file.substr(0, length)).complete) << length << " of " << file.size();
    EXPECT_TRUE(examine(file).complete);
  }
}

TEST(PictureLimits, SidesAndMemory) {
  const PictureLimits bytes{32766, 400}, sides{32766, std::uint64_t{1} << 40};
  for (auto [w, h] : {std::pair{10, 10}, {1, 100}}) EXPECT_TRUE(bytes.accepts(w, h));
  for (auto [w, h] : {std::pair{10, 11}, {0, 5}, {5, 0}, {-3, 4}})
    EXPECT_FALSE(bytes.accepts(w, h));
  EXPECT_TRUE(sides.accepts(32766, 32766));
  EXPECT_FALSE(sides.accepts(32767, 1));
  EXPECT_FALSE(sides.accepts(1, 32767));
  EXPECT_TRUE(PictureLimits::forThisMachine().accepts(8000, 6000));
}

}  // namespace
}  // namespace plotvane
