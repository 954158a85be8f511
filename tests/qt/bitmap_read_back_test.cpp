// Bitmap files the program writes, read back by the window's picture reader.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "picture/bitmap_file.h"
#include "qt/qt_picture_reader.h"
#include "support/file_bytes.h"

namespace plotvane {
namespace {

TEST(BitmapReadBack, EveryPixelComesBackAsWritten) {
  const QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  // Widths with each of the four paddings, all channels varied, black and white included.
  for (const auto& [width, height] :
       {std::pair(1001, 777), std::pair(4, 3), std::pair(1, 1), std::pair(3, 5), std::pair(2, 2)}) {
    PixelArray picture(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) picture.set(x, y, rgbValue(x * 7 + y, y * 13, x ^ y));
    picture.set(0, 0, 0xFFFFFF);
    picture.set(width - 1, height - 1, 0x000000);
    const QString path = folder.filePath(QStringLiteral("picture.bmp"));
    testing::writeAll(path.toStdString(), bitmapFileBytes(picture));
    PixelArray read;
    ASSERT_TRUE(readPictureFile(path, PictureLimits::forThisMachine(), read)) << width;
    EXPECT_EQ(read, picture) << width << " x " << height;
  }
}

}  // namespace
}  // namespace plotvane
