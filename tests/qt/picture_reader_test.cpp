// The Qt picture reader on files of every kind it must read, and on the broken and hostile ones.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "loading/picture_bytes.h"
#include "picture/gif_writer.h"
#include "qt/qt_picture_reader.h"

namespace plotvane {
namespace {

using namespace plotvane::testing;
using namespace std::string_literals;
using Row = std::vector<std::uint32_t>;

// 16-pixel colour blocks (so that a lossy decoder keeps their colour), or all pixels different.
PixelArray pattern(int width, int height, std::uint32_t a = 0, std::uint32_t b = 0) {
  PixelArray picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.set(x, y, a == b ? rgbValue(x * 9, y * 13, x * y) : (x / 16 + y / 16) % 2 ? a : b);
  return picture;
}

// An image on the picture's own pixels: the picture must outlive it.
QImage imageOf(const PixelArray& picture) {
  return QImage(reinterpret_cast<const uchar*>(picture.data()), picture.width(), picture.height(),
                qsizetype(picture.width()) * 4, QImage::Format_RGB32);
}

std::string encoded(const QImage& image, const char* format,
                    QImageIOHandler::Transformations turn = {}) {
  QBuffer buffer;
  QImageWriter writer(&buffer, format);
  writer.setTransformation(turn);
  EXPECT_TRUE(writer.write(image)) << format;
  return buffer.data().toStdString();
}

const PictureLimits limits = PictureLimits::forThisMachine();

// Writes the bytes to a file of this name in a folder removed at the end.
QString write(const std::string& bytes, const QString& name = "picture") {
  static const QTemporaryDir folder;
  std::ofstream(folder.filePath(name).toStdString(), std::ios::binary) << bytes;
  return folder.filePath(name);
}

PixelArray readBytes(const std::string& bytes) {
  PixelArray picture;
  EXPECT_TRUE(readPictureFile(write(bytes), limits, picture));
  return picture;
}

TEST(PictureReader, ReadsEveryKindItMustTurnedAndOverWhite) {
  // Top rows of 1, 32, 16-bit and top-down 24-bit files: palette entry i is grey i, Qt widens 5-bit
  // channels by shifting (31 gives 248), the top byte is cleared.
  const std::uint32_t g = 0x010101;
  // clang-format off
  const struct { const char* name; std::string bytes; Row row; } kinds[] = {
      {.name = "1-bit", .bytes = bmpHeaders(10, 1, 1, 0, 0, 2) + "\xA0\x40\0\0"s,
       .row = {g, 0, g, 0, 0, 0, 0, 0, 0, g}},
      {.name = "32-bit", .bytes = bmpHeaders(2, 1, 32) + "\x10\x20\x30\xFF\x40\x50\x60\0"s,
       .row = {0x302010, 0x605040}},
      {.name = "16-bit", .bytes = bmpHeaders(2, 1, 16) + "\x1F\0\0\x7C"s,
       .row = {0x0000F8, 0xF80000}},
      {.name = "top-down", .bytes = bmpHeaders(1, -2, 24) + "\x10\x20\x30\0\x40\x50\x60\0"s,
       .row = {0x302010}}};
  // clang-format on
  for (const auto& c : kinds) {
    const PixelArray read = readBytes(c.bytes);
    EXPECT_EQ(Row(read.data(), read.data() + read.width()), c.row) << c.name;
  }

  const std::uint32_t red = 0xC82828, blue = 0x143CDC, white = 0xFFFFFF;
  const PixelArray picture = pattern(64, 48, red, blue), turned = pattern(64, 48, blue, red);
  const PixelArray overWhite = pattern(64, 48, red, white), half = pattern(64, 48, 0xFF7F7F, white);
  QImage alpha = imageOf(pattern(64, 48, 0xFF0000, blue)).convertToFormat(QImage::Format_ARGB32);
  alpha.setAlphaChannel(imageOf(pattern(64, 48, 0x808080, 0)));  // 128 and 0
  const auto turn = QImageIOHandler::TransformationRotate90;
  GifFrameOptions transparent;
  transparent.transparentColour = blue;
  GifWriter animation(64, 48);
  animation.addFrame(picture);
  animation.addFrame(PixelArray(64, 48, 0));
  // Lossy pictures are compared in each block's middle, where no edge bleeds in; others exactly.
  // clang-format off
  const struct { const char* name; std::string bytes; const PixelArray& expected; } cases[] = {
      {.name = "lossy baseline jpeg", .bytes = encoded(imageOf(picture), "jpeg"), .expected = picture},
      {.name = "lossy turned jpeg", .bytes = encoded(imageOf(pattern(48, 64, red, blue)), "jpeg", turn),
       .expected = turned},
      {.name = "gif", .bytes = encodeGif(picture), .expected = picture},
      {.name = "first frame of an animated gif", .bytes = animation.finish(), .expected = picture},
      {.name = "transparent gif", .bytes = encodeGif(picture, transparent), .expected = overWhite},
      {.name = "png with alpha", .bytes = encoded(alpha, "png"), .expected = half},
      {.name = "tiff", .bytes = encoded(imageOf(picture), "tiff"), .expected = picture},
      {.name = "lossy webp", .bytes = encoded(imageOf(picture), "webp"), .expected = picture}};
  // clang-format on
  for (const auto& [name, bytes, expected] : cases) {
    const PixelArray read = readBytes(bytes);
    ASSERT_EQ(read.width(), 64) << name;
    ASSERT_EQ(read.height(), 48) << name;
    EXPECT_TRUE(std::string(name).starts_with("lossy") || read == expected) << name;
    for (int y = 8; y < 48; y += 16)
      for (int x = 8; x < 64; x += 16)
        for (int shift : {0, 8, 16})
          EXPECT_NEAR(read.at(x, y) >> shift & 255, expected.at(x, y) >> shift & 255, 24)
              << name << " at " << x << "," << y;
  }
}

TEST(PictureReader, OpensALargeChartAndRefusesBrokenOnes) {
  QImage chart(8000, 6000, QImage::Format_RGB32);
  chart.fill(Qt::white);
  QPainter(&chart).fillRect(100, 200, 300, 400, Qt::black);
  const QString large = write(encoded(chart, "jpeg"), "large.jpg");
  PixelArray picture;
  ASSERT_TRUE(readPictureFile(large, limits, picture));
  EXPECT_EQ(picture.width(), 8000);
  EXPECT_EQ(picture.height(), 6000);
  EXPECT_LT(redOf(picture.at(250, 400)), 16);
  EXPECT_GT(redOf(picture.at(7999, 5999)), 240);

  // Detailed pictures: the cuts fall inside pixel data, which decoders fill in and call read.
  const std::string jpeg = encoded(imageOf(pattern(256, 192)), "jpeg");
  const std::string gif = encodeGif(pattern(256, 192)), bmp = bmpFile(pattern(20, 10));
  const std::string webp = encoded(imageOf(pattern(256, 192)), "webp");
  // clang-format off
  const struct { const char* name; std::string bytes; } files[] = {
      {.name = "truncated jpeg", .bytes = jpeg.substr(0, jpeg.size() * 2 / 3)},
      {.name = "jpeg with damaged data", .bytes = jpeg.substr(0, jpeg.size() * 2 / 3) + kJpegEnd},
      {.name = "truncated gif", .bytes = gif.substr(0, gif.size() * 2 / 3)},
      {.name = "webp a byte short", .bytes = webp.substr(0, webp.size() - 1)},
      {.name = "bitmap shorter than its header says", .bytes = bmp.substr(0, bmp.size() - 10)},
      {.name = "gif with an empty frame", .bytes = gifWithFrame(0, 0)},
      {.name = "text renamed", .bytes = "Plotvane test: this is text, not a picture.\n"},
      {.name = "empty file", .bytes = ""}};
  // clang-format on
  const PixelArray untouched = pattern(3, 3);
  picture = untouched;
  for (const auto& [name, bytes] : files) {
    EXPECT_FALSE(readPictureFile(write(bytes, "hostile.bmp"), limits, picture)) << name;
    EXPECT_EQ(picture, untouched) << name;
  }
  EXPECT_EQ(picture, untouched);
}

}  // namespace
}  // namespace plotvane
