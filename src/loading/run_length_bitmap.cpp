#include "loading/run_length_bitmap.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "loading/file_bytes.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0;

// Where the codes write: rows counted in file order, which is bottom-up
// unless the height was negative.
class RowWriter {
 public:
  RowWriter(PixelArray& picture, bool topDown) : picture_(picture), topDown_(topDown) {}

  bool done() const { return row_ >= picture_.height(); }
  void put(std::uint32_t colour) {
    if (column_ < picture_.width() && !done())
      picture_.set(static_cast<int>(column_), imageRow(), colour);
    ++column_;
  }
  void endLine() {
    column_ = 0;
    ++row_;
  }
  void move(int right, int up) {
    column_ += right;
    row_ += up;
  }
  // The codes covered the last row.
  bool filled() const {
    return done() || (row_ == picture_.height() - 1 && column_ >= picture_.width());
  }

 private:
  int imageRow() const {
    return topDown_ ? static_cast<int>(row_) : picture_.height() - 1 - static_cast<int>(row_);
  }

  PixelArray& picture_;
  bool topDown_;
  long long column_ = 0, row_ = 0;
};

}  // namespace

bool decodeRunLengthBitmap(std::span<const std::uint8_t> file, PixelArray& picture) {
  const std::size_t n = file.size();
  if (n < 54 || file[0] != 'B' || file[1] != 'M') return false;
  const std::uint64_t offBits = le32(file, 10);
  const std::uint32_t headerSize = le32(file, 14);
  if (headerSize < 40) return false;
  const auto width = static_cast<std::int32_t>(le32(file, 18));
  const auto signedHeight = static_cast<std::int32_t>(le32(file, 22));
  const std::uint32_t bitCount = le16(file, 28);
  const std::uint32_t compression = le32(file, 30);
  const std::uint32_t sizeImage = le32(file, 34);
  const std::uint32_t coloursUsed = le32(file, 46);
  const bool fourBits = compression == 2;
  if (!((compression == 1 && bitCount == 8) || (fourBits && bitCount == 4))) return false;
  if (width <= 0 || signedHeight == 0 || signedHeight == INT32_MIN) return false;
  const int height = signedHeight < 0 ? -signedHeight : signedHeight;

  // The colour table follows the headers; 0 entries means all of them.
  const std::uint32_t entries =
      std::min<std::uint32_t>(coloursUsed == 0 ? 1u << bitCount : coloursUsed, 1u << bitCount);
  const std::uint64_t tableStart = 14 + std::uint64_t{headerSize};
  if (tableStart + 4 * std::uint64_t{entries} > n) return false;
  std::array<std::uint32_t, 256> colours;
  colours.fill(kBlack);
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::size_t at = static_cast<std::size_t>(tableStart) + 4 * i;
    colours[i] = rgbValue(file[at + 2], file[at + 1], file[at]);
  }
  if (offBits >= n) return false;
  const std::size_t end =
      sizeImage > 0 ? static_cast<std::size_t>(std::min<std::uint64_t>(offBits + sizeImage, n)) : n;
  const Bytes data = file.subspan(static_cast<std::size_t>(offBits), end - offBits);

  PixelArray decoded(width, height, kWhite);
  RowWriter out(decoded, signedHeight < 0);
  std::size_t pos = 0;
  bool ended = false;
  while (!ended && !out.done() && pos + 2 <= data.size()) {
    const std::uint8_t count = data[pos], value = data[pos + 1];
    pos += 2;
    if (count > 0) {  // a run: one index, or two alternating in 4 bits
      for (int i = 0; i < count; ++i)
        out.put(colours[fourBits ? (i % 2 ? value & 15 : value >> 4) : value]);
      continue;
    }
    switch (value) {
      case 0:
        out.endLine();
        break;
      case 1:
        ended = true;
        break;
      case 2:  // a move right and up, in the next two bytes
        if (pos + 2 > data.size()) return false;
        out.move(data[pos], data[pos + 1]);
        pos += 2;
        break;
      default: {  // `value` indexes as they stand, padded to a whole word
        const std::size_t bytes = fourBits ? (value + 1u) / 2 : value;
        if (pos + bytes > data.size()) return false;
        for (int i = 0; i < value; ++i) {
          const std::uint8_t byte = data[pos + (fourBits ? i / 2 : i)];
          out.put(colours[fourBits ? (i % 2 ? byte & 15 : byte >> 4) : byte]);
        }
        pos += (bytes + 1) / 2 * 2;
        break;
      }
    }
  }
  if (!ended && !out.filled()) return false;
  picture = std::move(decoded);
  return true;
}

}  // namespace plotvane
