#include "loading/picture_file_check.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

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
  const std::tuple<std::string, F, bool, long long, long long> cases[] = {
      {bmpFile(codedPicture(5, 3), true), F::Bmp, true, 5, 3},  // top-down
      {cut(bmp, 1), F::Bmp, false, 5, 3},
      {bmpHeaders(100000, 100000, 24), F::Bmp, false, 100000, 100000},
      {bmpHeaders(40000, 10, 8, 0, 0, 256) + std::string(400000, 0), F::Bmp, true, 40000, 10},
      {jpeg + std::string(100, '\0'), F::Jpeg, true, 640, 480},
      {cut(jpeg, 2), F::Jpeg, false, 640, 480},
      {thumbnailed, F::Jpeg, true, 640, 480},
      {cut(gif, 1), F::Gif, false, 9, 7},
      {gifWithFrame(0, 0), F::Gif, false, 10, 10},    // an empty first frame
      {gifWithFrame(10, 10), F::Gif, false, 10, 10},  // a first frame without data
      {png, F::Png, true, 800, 600},
      {"This is not a picture.\n", F::Unknown, true, 0, 0},
      {"", F::Unknown, false, 0, 0}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& [bytes, format, complete, width, height] = cases[i];
    const PictureFileInfo info = examine(bytes);
    EXPECT_EQ(std::tuple(info.format, info.complete, info.width, info.height),
              std::tuple(format, complete, width, height))
        << "case " << i;
  }
  // Every prefix of a good file is incomplete. Each is a heap copy of exactly
  // its length, so the sanitizer build catches a read past it.
  for (const std::string& file : {bmp, rle, jpeg, thumbnailed, gif}) {
    for (std::size_t length = 6; length < file.size(); ++length)
      EXPECT_FALSE(examine(file.substr(0, length)).complete) << length << " of " << file.size();
    EXPECT_TRUE(examine(file).complete);
  }
}

TEST(PictureLimits, PixelsMustBeThereAndFitTheMemoryBound) {
  const std::tuple<int, int, bool> sizes[] = {{10, 10, true}, {1, 100, true}, {10, 11, false},
                                              {0, 5, false},  {5, 0, false},  {-3, 4, false}};
  for (auto [w, h, fits] : sizes)
    EXPECT_EQ((PictureLimits{32766, 400}.accepts(w, h)), fits) << w << "x" << h;
}

}  // namespace
}  // namespace plotvane
