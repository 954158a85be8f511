// The Qt picture reader on real files of every kind it must read, and on the
// broken and hostile files it must refuse.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <string>

#include "loading/picture_bytes.h"
#include "picture/gif_writer.h"
#include "qt/qt_picture_reader.h"

namespace plotvane {
namespace {

using namespace plotvane::testing;

// Colour blocks large enough for a lossy decoder to keep their colour.
PixelArray blocks(int width, int height) {
  PixelArray picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.set(x, y, (x / 16 + y / 16) % 2 ? rgbValue(200, 40, 40) : rgbValue(20, 60, 220));
  return picture;
}

// Every pixel different, for the lossless formats.
PixelArray varied(int width, int height) {
  PixelArray picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.set(x, y, rgbValue(x * 9, y * 13, (x * y) & 255));
  return picture;
}

QImage imageOf(const PixelArray& picture) {
  return QImage(reinterpret_cast<const uchar*>(picture.data()), picture.width(), picture.height(),
                qsizetype(picture.width()) * 4, QImage::Format_RGB32)
      .copy();
}

std::string encoded(const QImage& image, const char* format,
                    const std::function<void(QImageWriter&)>& setUp = {}) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (setUp) setUp(writer);
  EXPECT_TRUE(writer.write(image)) << format;
  return bytes.toStdString();
}

// Largest channel difference; lossy pictures are compared inside their
// colour blocks only, where no edge bleeds in.
int largestDifference(const PixelArray& a, const PixelArray& b, bool blockInsides = false) {
  int largest = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      if (blockInsides && (x % 16 < 4 || x % 16 > 11 || y % 16 < 4 || y % 16 > 11)) continue;
      const std::uint32_t p = a.at(x, y), q = b.at(x, y);
      largest = std::max({largest, std::abs(redOf(p) - redOf(q)), std::abs(greenOf(p) - greenOf(q)),
                          std::abs(blueOf(p) - blueOf(q))});
    }
  return largest;
}

class PictureReader : public ::testing::Test {
 protected:
  QString write(const std::string& name, const std::string& bytes) {
    const QString path = folder.filePath(QString::fromStdString(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
    return path;
  }

  QTemporaryDir folder;
  PictureLimits limits = PictureLimits::forThisMachine();
};

TEST_F(PictureReader, ReadsEveryKindOfBitmapExactly) {
  const PixelArray picture = varied(13, 7);
  std::string eightBit =
      bmpHeaders(3, 2, 8, 0, 0, 256) + std::string("\x01\x02\x03\0\x04\x05\x06\0", 8);
  std::string fourBit = bmpHeaders(3, 1, 4, 0, 0, 16) + std::string("\x12\x30\0\0", 4);
  std::string oneBit = bmpHeaders(10, 1, 1, 0, 0, 2) + std::string("\xA0\x40\0\0", 4);
  std::string runLength = bmpHeaders(4, 1, 8, 1, 4, 256) + std::string("\x04\x07\x00\x01", 4);
  std::string thirtyTwo = bmpHeaders(2, 1, 32) + std::string("\x10\x20\x30\x00\x40\x50\x60\x00", 8);
  std::string sixteen = bmpHeaders(2, 1, 16) + std::string("\x1F\x00\x00\x7C", 4);  // 5-5-5
  auto grey = [](int level) { return rgbValue(level, level, level); };
  struct Case {
    const char* name;
    std::string bytes;
    int width;
    std::vector<std::uint32_t> firstRow;  // left to right, top row
  };
  const Case cases[] = {
      {"8-bit", eightBit, 3, {grey(4), grey(5), grey(6)}},  // bottom-up: top row is the last
      {"4-bit", fourBit, 3, {grey(1), grey(2), grey(3)}},
      {"1-bit",
       oneBit,
       10,
       {grey(1), grey(0), grey(1), grey(0), grey(0), grey(0), grey(0), grey(0), grey(0), grey(1)}},
      {"run-length 8-bit", runLength, 4, {grey(7), grey(7), grey(7), grey(7)}},
      {"32-bit", thirtyTwo, 2, {rgbValue(0x30, 0x20, 0x10), rgbValue(0x60, 0x50, 0x40)}},
      // Qt widens 5-bit channels by shifting: 31 becomes 248.
      {"16-bit", sixteen, 2, {rgbValue(0, 0, 248), rgbValue(248, 0, 0)}},
  };
  for (const Case& c : cases) {
    PixelArray read;
    ASSERT_TRUE(readPictureFile(write("small.bmp", c.bytes), limits, read)) << c.name;
    ASSERT_EQ(read.width(), c.width) << c.name;
    for (int x = 0; x < c.width; ++x)
      EXPECT_EQ(read.at(x, 0), c.firstRow[std::size_t(x)]) << c.name << " x " << x;
  }
  for (bool topDown : {false, true}) {
    PixelArray read;
    ASSERT_TRUE(readPictureFile(write("rgb.bmp", bmpFile(picture, topDown)), limits, read));
    EXPECT_EQ(read, picture) << topDown;
    // Bits 24 to 31 are 0 in the storage itself.
    for (std::size_t i = 0; i < read.size(); ++i) ASSERT_EQ(read.data()[i] >> 24, 0u);
  }
}

TEST_F(PictureReader, ReadsJpegGifAndPngKinds) {
  const PixelArray picture = blocks(64, 48);
  const QImage image = imageOf(picture);
  GifFrameOptions interlaced;
  interlaced.interlaced = true;
  GifWriter animation(64, 48);
  animation.addFrame(picture);
  animation.addFrame(PixelArray(64, 48, 0), GifFrameOptions{});
  struct Case {
    const char* name;
    std::string bytes;
    bool grey;
    int tolerance;
  };
  const Case cases[] = {
      {"baseline jpeg", encoded(image, "jpeg"), false, 24},
      {"progressive jpeg",
       encoded(image, "jpeg", [](QImageWriter& w) { w.setProgressiveScanWrite(true); }), false, 24},
      {"greyscale jpeg", encoded(image.convertToFormat(QImage::Format_Grayscale8), "jpeg"), true,
       24},
      {"gif", encodeGif(picture), false, 0},
      {"interlaced gif", encodeGif(picture, interlaced), false, 0},
      {"first frame of an animated gif", animation.finish(), false, 0},
      {"png", encoded(image, "png"), false, 0},
  };
  for (const Case& c : cases) {
    PixelArray read;
    ASSERT_TRUE(readPictureFile(write("picture", c.bytes), limits, read)) << c.name;
    ASSERT_EQ(read.width(), 64) << c.name;
    ASSERT_EQ(read.height(), 48) << c.name;
    const PixelArray expected =
        c.grey ? [&] {
          PixelArray g(64, 48);
          const QImage greyImage = image.convertToFormat(QImage::Format_Grayscale8);
          for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
              const int level = qGray(greyImage.pixel(x, y));
              g.set(x, y, rgbValue(level, level, level));
            }
          return g;
        }()
               : picture;
    EXPECT_LE(largestDifference(read, expected, c.tolerance > 0), c.tolerance) << c.name;
  }
}

TEST_F(PictureReader, TransparentPartsReadWhite) {
  PixelArray picture(6, 4, rgbValue(0, 0, 255));
  picture.set(2, 1, rgbValue(255, 0, 0));
  GifFrameOptions options;
  options.transparentColour = rgbValue(0, 0, 255);
  PixelArray read;
  ASSERT_TRUE(readPictureFile(write("clear.gif", encodeGif(picture, options)), limits, read));
  EXPECT_EQ(read.at(0, 0), rgbValue(255, 255, 255));
  EXPECT_EQ(read.at(5, 3), rgbValue(255, 255, 255));
  EXPECT_EQ(read.at(2, 1), rgbValue(255, 0, 0));

  QImage alpha(3, 1, QImage::Format_ARGB32);
  alpha.setPixel(0, 0, qRgba(0, 0, 0, 0));
  alpha.setPixel(1, 0, qRgba(255, 0, 0, 128));
  alpha.setPixel(2, 0, qRgba(0, 0, 0, 255));
  ASSERT_TRUE(readPictureFile(write("alpha.png", encoded(alpha, "png")), limits, read));
  EXPECT_EQ(read.at(0, 0), rgbValue(255, 255, 255));
  EXPECT_EQ(read.at(1, 0), rgbValue(255, 127, 127));
  EXPECT_EQ(read.at(2, 0), rgbValue(0, 0, 0));
}

TEST_F(PictureReader, AppliesTheOrientationTag) {
  const QImage image = imageOf(blocks(40, 20));
  const std::string turned = encoded(image, "jpeg", [](QImageWriter& writer) {
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
  });
  PixelArray read;
  ASSERT_TRUE(readPictureFile(write("turned.jpg", turned), limits, read));
  EXPECT_EQ(read.width(), 20);
  EXPECT_EQ(read.height(), 40);
}

TEST_F(PictureReader, RefusesBrokenAndHostileFilesWithoutTouchingThePicture) {
  // Detailed pictures, so that the cuts fall inside the compressed pixel
  // data, where the decoders fill in the rest and report success.
  const std::string jpeg = encoded(imageOf(varied(256, 192)), "jpeg");
  PixelArray patterned(256, 192);
  for (int y = 0; y < 192; ++y)
    for (int x = 0; x < 256; ++x) patterned.set(x, y, rgbValue((x * 7) ^ (y * 3), 0, 0));
  const std::string gif = encodeGif(patterned);
  const std::string bmp = bmpFile(varied(20, 10));
  // Scan data cut in the middle, yet ending with the end marker.
  std::string damagedJpeg = jpeg.substr(0, jpeg.size() * 2 / 3) + kJpegEnd;
  const std::pair<const char*, std::string> files[] = {
      {"truncated jpeg", jpeg.substr(0, jpeg.size() * 2 / 3)},
      {"jpeg with damaged data", damagedJpeg},
      {"truncated gif", gif.substr(0, gif.size() * 2 / 3)},
      {"bitmap shorter than its header says", bmp.substr(0, bmp.size() - 10)},
      {"bitmap claiming 100000 x 100000", bmpHeaders(100000, 100000, 24) + std::string(4096, 'x')},
      {"gif with an empty frame", gifWithFrame(0, 0, "")},
      {"bitmap 40000 x 10", bmpHeaders(40000, 10, 8, 0, 0, 256) + std::string(400000, '\0')},
      {"text renamed", "Plotvane test: this is text, not a picture.\n"},
      {"empty file", ""},
  };
  const PixelArray untouched = varied(3, 3);
  for (const auto& [name, bytes] : files) {
    PixelArray picture = untouched;
    EXPECT_FALSE(readPictureFile(write("hostile.bmp", bytes), limits, picture)) << name;
    EXPECT_EQ(picture, untouched) << name;
  }
  PixelArray picture = untouched;
  EXPECT_FALSE(readPictureFile(folder.filePath("missing.bmp"), limits, picture));
  EXPECT_FALSE(readPictureFile(folder.path(), limits, picture));
  EXPECT_EQ(picture, untouched);
}

TEST_F(PictureReader, OpensALargeChartAndRefusesOneBeyondTheMemoryBound) {
  QImage chart(8000, 6000, QImage::Format_RGB32);
  chart.fill(Qt::white);
  {
    QPainter painter(&chart);
    painter.fillRect(100, 200, 300, 400, Qt::black);
  }
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
