// The Qt picture reader on files of every kind it must read, and on the broken and hostile ones.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <functional>
#include <string>

#include "loading/picture_bytes.h"
#include "picture/gif_writer.h"
#include "qt/qt_picture_reader.h"

namespace plotvane {
namespace {

using namespace plotvane::testing;
using Row = std::vector<std::uint32_t>;

// 16-pixel colour blocks (so that a lossy decoder keeps their colour), or
// every pixel different.
PixelArray pattern(int width, int height, std::uint32_t a = 0, std::uint32_t b = 0) {
  PixelArray picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.set(x, y, a == b ? rgbValue(x * 9, y * 13, x * y) : (x / 16 + y / 16) % 2 ? a : b);
  return picture;
}

QImage imageOf(const PixelArray& picture) {
  return QImage(reinterpret_cast<const uchar*>(picture.data()), picture.width(), picture.height(),
                qsizetype(picture.width()) * 4, QImage::Format_RGB32)
      .copy();
}

std::string encoded(const QImage& image, const char* format,
                    const std::function<void(QImageWriter&)>& setUp = {}) {
  QBuffer buffer;
  QImageWriter writer(&buffer, format);
  if (setUp) setUp(writer);
  EXPECT_TRUE(writer.write(image)) << format;
  return buffer.data().toStdString();
}

class PictureReader : public ::testing::Test {
 protected:
  QString write(const std::string& name, const std::string& bytes) {
    QFile file(folder.filePath(QString::fromStdString(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
    return file.fileName();
  }
  bool read(const std::string& bytes, PixelArray& picture) {
    return readPictureFile(write("picture", bytes), limits, picture);
  }
  Row topRow(const std::string& bytes) {
    PixelArray picture;
    EXPECT_TRUE(read(bytes, picture));
    Row row;
    for (int x = 0; x < picture.width(); ++x) row.push_back(picture.at(x, 0));
    return row;
  }

  QTemporaryDir folder;
  PictureLimits limits = PictureLimits::forThisMachine();
};

TEST_F(PictureReader, ReadsEveryKindOfBitmapExactly) {
  // Bottom-up files store the top row last; palette entry i is grey i; Qt
  // widens 5-bit channels by shifting (31 gives 248).
  EXPECT_EQ(topRow(bmpHeaders(3, 2, 8, 0, 0, 256) + std::string("\1\2\3\0\4\5\6\0", 8)),
            (Row{0x040404, 0x050505, 0x060606}));
  EXPECT_EQ(topRow(bmpHeaders(3, 1, 4, 0, 0, 16) + std::string("\x12\x30\0\0", 4)),
            (Row{0x010101, 0x020202, 0x030303}));
  EXPECT_EQ(topRow(bmpHeaders(10, 1, 1, 0, 0, 2) + std::string("\xA0\x40\0\0", 4)),
            (Row{0x010101, 0, 0x010101, 0, 0, 0, 0, 0, 0, 0x010101}));
  EXPECT_EQ(topRow(bmpHeaders(4, 1, 8, 1, 4, 256) + std::string("\4\7\0\1", 4)),  // run-length
            (Row{0x070707, 0x070707, 0x070707, 0x070707}));
  EXPECT_EQ(topRow(bmpHeaders(2, 1, 32) + std::string("\x10\x20\x30\0\x40\x50\x60\0", 8)),
            (Row{0x302010, 0x605040}));
  EXPECT_EQ(topRow(bmpHeaders(2, 1, 16) + std::string("\x1F\0\0\x7C", 4)),
            (Row{0x0000F8, 0xF80000}));
  const PixelArray picture = pattern(13, 7);
  for (bool topDown : {false, true}) {
    PixelArray read;
    ASSERT_TRUE(this->read(bmpFile(picture, topDown), read));
    EXPECT_EQ(read, picture) << topDown;
    for (std::size_t i = 0; i < read.size(); ++i) ASSERT_EQ(read.data()[i] >> 24, 0u);
  }
}

TEST_F(PictureReader, ReadsJpegGifAndPngKinds) {
  const PixelArray picture = pattern(64, 48, 0xC82828, 0x143CDC);
  const PixelArray grey = pattern(64, 48, 0xA0A0A0, 0x303030);
  const QImage image = imageOf(picture);
  GifWriter animation(64, 48);
  animation.addFrame(picture);
  animation.addFrame(PixelArray(64, 48, 0), GifFrameOptions{});
  GifFrameOptions interlaced;
  interlaced.interlaced = true;
  const auto progressive = [](QImageWriter& w) { w.setProgressiveScanWrite(true); };
  const struct {
    const char* name;
    std::string bytes;
    const PixelArray& expected;
    bool lossy;
  } cases[] = {
      {"baseline jpeg", encoded(image, "jpeg"), picture, true},
      {"progressive jpeg", encoded(image, "jpeg", progressive), picture, true},
      {"greyscale jpeg", encoded(imageOf(grey).convertToFormat(QImage::Format_Grayscale8), "jpeg"),
       grey, true},
      {"gif", encodeGif(picture), picture, false},
      {"interlaced gif", encodeGif(picture, interlaced), picture, false},
      {"first frame of an animated gif", animation.finish(), picture, false},
      {"png", encoded(image, "png"), picture, false},
  };
  for (const auto& c : cases) {
    PixelArray read;
    ASSERT_TRUE(this->read(c.bytes, read)) << c.name;
    ASSERT_EQ(std::pair(read.width(), read.height()), std::pair(64, 48)) << c.name;
    EXPECT_TRUE(c.lossy || read == c.expected) << c.name;
    // Lossy pictures: each block's middle, where no edge bleeds in.
    for (int y = 8; c.lossy && y < 48; y += 16)
      for (int x = 8; x < 64; x += 16)
        for (int shift : {0, 8, 16})
          EXPECT_NEAR(read.at(x, y) >> shift & 255, c.expected.at(x, y) >> shift & 255, 24)
              << c.name << " at " << x << "," << y;
  }
}

TEST_F(PictureReader, TransparencyIsLaidOverWhiteAndTheOrientationTagApplies) {
  PixelArray picture(6, 4, 0x0000FF), expected(6, 4, 0xFFFFFF), read;
  picture.set(2, 1, 0xFF0000);
  GifFrameOptions transparentBlue;
  transparentBlue.transparentColour = 0x0000FF;
  expected.set(2, 1, 0xFF0000);
  ASSERT_TRUE(this->read(encodeGif(picture, transparentBlue), read));
  EXPECT_EQ(read, expected);

  QImage alpha(3, 1, QImage::Format_ARGB32);  // alpha 0, 128 and 255
  alpha.setPixel(0, 0, qRgba(0, 0, 0, 0));
  alpha.setPixel(1, 0, qRgba(255, 0, 0, 128));
  alpha.setPixel(2, 0, qRgba(0, 0, 0, 255));
  EXPECT_EQ(topRow(encoded(alpha, "png")), (Row{0xFFFFFF, 0xFF7F7F, 0}));

  const auto turned = [](QImageWriter& w) {
    w.setTransformation(QImageIOHandler::TransformationRotate90);
  };
  ASSERT_TRUE(this->read(encoded(imageOf(pattern(40, 20, 1, 2)), "jpeg", turned), read));
  EXPECT_EQ(read.width(), 20);
  EXPECT_EQ(read.height(), 40);
}

TEST_F(PictureReader, RefusesBrokenAndHostileFilesWithoutTouchingThePicture) {
  // Detailed pictures, so that the cuts fall inside the compressed pixel
  // data, where the decoders fill in the rest and report success.
  const std::string jpeg = encoded(imageOf(pattern(256, 192)), "jpeg");
  const std::string gif = encodeGif(pattern(256, 192)), bmp = bmpFile(pattern(20, 10));
  const std::pair<const char*, std::string> files[] = {
      {"truncated jpeg", jpeg.substr(0, jpeg.size() * 2 / 3)},
      {"jpeg with damaged data", jpeg.substr(0, jpeg.size() * 2 / 3) + kJpegEnd},
      {"truncated gif", gif.substr(0, gif.size() * 2 / 3)},
      {"bitmap shorter than its header says", bmp.substr(0, bmp.size() - 10)},
      {"bitmap claiming 100000 x 100000", bmpHeaders(100000, 100000, 24) + std::string(4096, 'x')},
      {"gif with an empty frame", gifWithFrame(0, 0, "")},
      {"bitmap 40000 x 10", bmpHeaders(40000, 10, 8, 0, 0, 256) + std::string(400000, '\0')},
      {"text renamed", "Plotvane test: this is text, not a picture.\n"},
      {"empty file", ""},
  };
  const PixelArray untouched = pattern(3, 3);
  PixelArray picture = untouched;
  for (const auto& [name, bytes] : files) {
    EXPECT_FALSE(readPictureFile(write("hostile.bmp", bytes), limits, picture)) << name;
    EXPECT_EQ(picture, untouched) << name;
  }
  EXPECT_FALSE(readPictureFile(folder.filePath("missing.bmp"), limits, picture));
  EXPECT_FALSE(readPictureFile(folder.path(), limits, picture));
  EXPECT_EQ(picture, untouched);
}

TEST_F(PictureReader, OpensALargeChartAndRefusesOneBeyondTheMemoryBound) {
  QImage chart(8000, 6000, QImage::Format_RGB32);
  chart.fill(Qt::white);
  QPainter(&chart).fillRect(100, 200, 300, 400, Qt::black);
  const QString path = write("large.jpg", encoded(chart, "jpeg"));
  PixelArray read;
  ASSERT_TRUE(readPictureFile(path, limits, read));
  EXPECT_EQ(read.width(), 8000);
  EXPECT_EQ(read.height(), 6000);
  EXPECT_LT(redOf(read.at(250, 400)), 16);
  EXPECT_GT(redOf(read.at(7999, 5999)), 240);

  PictureLimits small = limits;
  small.maxBytes = 8000ull * 6000 * 4 - 1;
  PixelArray refused;
  EXPECT_FALSE(readPictureFile(path, small, refused));
  EXPECT_TRUE(refused.empty());
}

}  // namespace
}  // namespace plotvane
