#include "picture/bitmap_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace plotvane {
namespace {

using namespace std::string_literals;

std::uint32_t field(const std::string& file, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | std::uint8_t(file[at + i]);
  return value;
}

TEST(BitmapFile, SmallPictureByteForByte) {
  PixelArray picture(3, 2);
  picture.set(0, 0, 0x112233), picture.set(1, 0, 0x445566), picture.set(2, 0, 0x778899);
  picture.set(0, 1, 0xAABBCC), picture.set(1, 1, 0xDDEEFF), picture.set(2, 1, 0x010203);
  picture.data()[4] |= 0x7F000000;  // a top byte is no part of the colour
  const std::string fileHeader = "BM\x4E\0\0\0\0\0\0\0\x36\0\0\0"s;  // 78 bytes, pixels at 54
  const std::string infoHeader =
      "\x28\0\0\0\3\0\0\0\2\0\0\0\1\0\x18\0\0\0\0\0"s         // 3 x 2 bottom-up, 24 bits
      "\x18\0\0\0\x13\x0B\0\0\x13\x0B\0\0\0\0\0\0\0\0\0\0"s;  // 24 pixel bytes, 2835/m
  const std::string bottomRow = "\xCC\xBB\xAA\xFF\xEE\xDD\x03\x02\x01\0\0\0"s;  // padded to 12
  const std::string topRow = "\x33\x22\x11\x66\x55\x44\x99\x88\x77\0\0\0"s;
  const std::string expected = fileHeader + infoHeader + bottomRow + topRow;
  EXPECT_EQ(bitmapFileBytes(picture), expected);
}

TEST(BitmapFile, LargePictureHeaderAndCorners) {
  PixelArray picture(4099, 1025, 0x808080);
  picture.set(0, 1024, 0x010203);  // bottom left: the first pixel in the file
  picture.set(4098, 0, 0x0A0B0C);  // top right: the last before the padding
  const std::string file = bitmapFileBytes(picture);
  const std::uint32_t stride = 12300;  // 4099 * 3 = 12297, padded
  // clang-format off
  const struct { std::size_t at; int bytes; std::uint32_t value; } fields[] = {
      {.at = 2, .bytes = 4, .value = 54 + stride * 1025}, {.at = 18, .bytes = 4, .value = 4099},
      {.at = 22, .bytes = 4, .value = 1025}, {.at = 34, .bytes = 4, .value = stride * 1025},
      {.at = 54, .bytes = 3, .value = 0x010203},
      {.at = 54 + 1024 * stride + 4098 * 3, .bytes = 3, .value = 0x0A0B0C},
      {.at = 54 + 1025 * stride - 3, .bytes = 3, .value = 0}};
  // clang-format on
  ASSERT_EQ(file.size(), 54 + stride * 1025);
  for (const auto& f : fields) EXPECT_EQ(field(file, f.at, f.bytes), f.value) << f.at;
}

TEST(BitmapFile, SizesPastTheSizeFieldAreRefused) {
  EXPECT_EQ(bitmapFileSize(0, 0), 54u);
  EXPECT_EQ(bitmapFileBytes(PixelArray()).size(), 54u);
  // 4 GiB - 54 bytes of pixels fit; one more row of 4 bytes does not.
  EXPECT_EQ(bitmapFileSize(1, 1073741810), 4294967294u);
  EXPECT_THROW(bitmapFileSize(1, 1073741811), std::length_error);
  EXPECT_THROW(bitmapFileSize(2'000'000'000, 2'000'000'000), std::length_error);
}

}  // namespace
}  // namespace plotvane
