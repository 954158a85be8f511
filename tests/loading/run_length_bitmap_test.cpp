#include "loading/run_length_bitmap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loading/picture_bytes.h"

namespace plotvane {
namespace {

using namespace plotvane::testing;
using namespace std::string_literals;
using Rows = std::vector<std::vector<std::uint32_t>>;

constexpr std::uint32_t W = 0xFFFFFF, A = 0x010101, B = 0x020202, C = 0x030303;

std::string file(int bitCount, int width, int height, const std::string& codes,
                 std::uint32_t entries = 4) {
  return runLengthFile(bitCount, width, height, codes, entries);
}

bool decode(const std::string& bytes, PixelArray& picture) {
  return decodeRunLengthBitmap({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()},
                               picture);
}

TEST(RunLengthBitmap, RunsAbsoluteIndexesAndSkippedPixels) {
  // Palette entry i is grey i (A, B, C); rows are listed top first, codes
  // bottom row first.
  // clang-format off
  const struct { const char* name; std::string bytes; Rows rows; } cases[] = {
      {.name = "runs, end of line, a move, end of bitmap",
       .bytes = file(8, 4, 3, "\2\1\0\0\0\2\1\1\1\3\0\1"s),
       .rows = {{W, C, W, W}, {W, W, W, W}, {A, A, W, W}}},
      {.name = "4-bit runs alternate their two indexes",
       .bytes = file(4, 4, 1, "\3\x12\0\1"s), .rows = {{A, B, A, W}}},
      {.name = "absolute indexes padded to a word",
       .bytes = file(8, 4, 2, "\0\3\1\2\3\0\0\0\4\1\0\1"s), .rows = {{A, A, A, A}, {A, B, C, W}}},
      {.name = "a run past the row's end is cut there",
       .bytes = file(8, 3, 2, "\6\2\0\0\1\3\0\1"s), .rows = {{C, W, W}, {B, B, B}}},
      {.name = "rows listed top first when the height is negative",
       .bytes = file(8, 2, -2, "\2\1\0\0\2\2\0\1"s), .rows = {{A, A}, {B, B}}},
      {.name = "the last row filled without an end of bitmap",
       .bytes = file(8, 2, 2, "\2\1\0\0\2\3"s), .rows = {{C, C}, {A, A}}}};
  // clang-format on
  for (const auto& c : cases) {
    PixelArray picture;
    ASSERT_TRUE(decode(c.bytes, picture)) << c.name;
    EXPECT_EQ(rowsOf(picture), c.rows) << c.name;
  }
}

TEST(RunLengthBitmap, RefusesWhatIsNotAWholeRunLengthBitmap) {
  std::string tableCut = file(8, 4, 1, "\4\1\0\1"s, 256);
  tableCut.resize(54 + 100);
  // clang-format off
  const struct { const char* name; std::string bytes; } cases[] = {
      {.name = "4 bits a pixel under 8-bit codes",
       .bytes = bmpHeaders(4, 1, 4, 1, 4, 4) + "\4\1\0\1"s},
      {.name = "colour table cut off", .bytes = tableCut},
      {.name = "codes end before the last row", .bytes = file(8, 4, 3, "\4\1\0\0"s)},
      {.name = "absolute indexes past the data", .bytes = file(8, 9, 1, "\0\x09\1\2"s)},
      {.name = "no data", .bytes = file(8, 4, 1, ""s)}};
  // clang-format on
  const PixelArray untouched(2, 2, 0x123456);
  for (const auto& c : cases) {
    PixelArray picture = untouched;
    EXPECT_FALSE(decode(c.bytes, picture)) << c.name;
    EXPECT_EQ(picture, untouched) << c.name;
  }
  // Every prefix is refused or read without reading past it (each a heap
  // copy of its length, for the sanitizer build).
  const std::string good = file(4, 7, 3, "\0\5\x12\x31\x20\0\0\2\2\1\2\x33\0\0\3\x11\0\1"s);
  PixelArray picture;
  ASSERT_TRUE(decode(good, picture));
  for (std::size_t length = 0; length < good.size(); ++length)
    decode(std::string(good.substr(0, length)), picture);
}

}  // namespace
}  // namespace plotvane
