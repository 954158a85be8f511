#include "picture/gif_writer.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace plotvane {
namespace {

void put16(std::string& out, int value) {
  out.push_back(static_cast<char>(value & 255));
  out.push_back(static_cast<char>((value >> 8) & 255));
}

// Colour table and the index of every pixel.
struct Indexed {
  std::vector<std::uint32_t> palette;
  std::vector<std::uint8_t> indexes;
  int transparentIndex = -1;
};

std::uint32_t cubeColour(std::uint32_t rgb) {
  const int r = (redOf(rgb) * 5 + 127) / 255;
  const int g = (greenOf(rgb) * 6 + 127) / 255;
  const int b = (blueOf(rgb) * 5 + 127) / 255;
  return rgbValue(r * 255 / 5, g * 255 / 6, b * 255 / 5);
}

Indexed indexColours(const PixelArray& picture, const std::optional<std::uint32_t>& transparent) {
  Indexed result;
  std::unordered_map<std::uint32_t, std::uint8_t> lookup;
  const std::size_t count = picture.size();
  const std::uint32_t* pixels = picture.data();
  bool reduce = false;
  for (std::size_t i = 0; i < count && !reduce; ++i) {
    const std::uint32_t colour = pixels[i] & kRgbMask;
    if (lookup.count(colour)) continue;
    if (lookup.size() == 256)
      reduce = true;
    else
      lookup.emplace(colour, static_cast<std::uint8_t>(lookup.size()));
  }
  if (reduce) {
    lookup.clear();
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t colour = cubeColour(pixels[i] & kRgbMask);
      if (!lookup.count(colour)) lookup.emplace(colour, static_cast<std::uint8_t>(lookup.size()));
    }
  }
  result.palette.resize(lookup.size());
  for (const auto& [colour, index] : lookup) result.palette[index] = colour;
  result.indexes.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t colour = pixels[i] & kRgbMask;
    result.indexes[i] = lookup.at(reduce ? cubeColour(colour) : colour);
  }
  if (transparent) {
    const std::uint32_t key =
        reduce ? cubeColour(*transparent & kRgbMask) : *transparent & kRgbMask;
    if (const auto found = lookup.find(key); found != lookup.end())
      result.transparentIndex = found->second;
  }
  return result;
}

// Packs codes least significant bit first into 255-byte sub-blocks.
class CodeStream {
 public:
  explicit CodeStream(std::string& out) : out_(out) {}
  void put(int code, int size) {
    buffer_ |= static_cast<std::uint32_t>(code) << bits_;
    bits_ += size;
    while (bits_ >= 8) {
      byte(static_cast<std::uint8_t>(buffer_ & 255));
      buffer_ >>= 8;
      bits_ -= 8;
    }
  }
  void finish() {
    if (bits_ > 0) byte(static_cast<std::uint8_t>(buffer_ & 255));
    flushBlock();
    out_.push_back('\0');
  }

 private:
  void byte(std::uint8_t value) {
    block_.push_back(static_cast<char>(value));
    if (block_.size() == 255) flushBlock();
  }
  void flushBlock() {
    if (block_.empty()) return;
    out_.push_back(static_cast<char>(block_.size()));
    out_ += block_;
    block_.clear();
  }
  std::string& out_;
  std::string block_;
  std::uint32_t buffer_ = 0;
  int bits_ = 0;
};

void compress(const std::vector<std::uint8_t>& indexes, int minCodeSize, std::string& out) {
  out.push_back(static_cast<char>(minCodeSize));
  CodeStream stream(out);
  const int clear = 1 << minCodeSize;
  const int end = clear + 1;
  int next = end + 1;
  int codeSize = minCodeSize + 1;
  std::unordered_map<std::uint32_t, int> table;
  stream.put(clear, codeSize);
  if (indexes.empty()) {
    stream.put(end, codeSize);
    stream.finish();
    return;
  }
  int prefix = indexes[0];
  for (std::size_t i = 1; i < indexes.size(); ++i) {
    const int symbol = indexes[i];
    const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | std::uint32_t(symbol);
    if (const auto found = table.find(key); found != table.end()) {
      prefix = found->second;
      continue;
    }
    stream.put(prefix, codeSize);
    if (next < 4096) {
      table.emplace(key, next++);
      if (next > (1 << codeSize) && codeSize < 12) ++codeSize;
    } else {
      stream.put(clear, codeSize);
      table.clear();
      next = end + 1;
      codeSize = minCodeSize + 1;
    }
    prefix = symbol;
  }
  stream.put(prefix, codeSize);
  stream.put(end, codeSize);
  stream.finish();
}

std::vector<std::uint8_t> interlacedOrder(const std::vector<std::uint8_t>& indexes, int width,
                                          int height) {
  std::vector<std::uint8_t> ordered;
  ordered.reserve(indexes.size());
  static constexpr int kStart[] = {0, 4, 2, 1};
  static constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = kStart[pass]; y < height; y += kStep[pass])
      ordered.insert(ordered.end(), indexes.begin() + std::ptrdiff_t(y) * width,
                     indexes.begin() + std::ptrdiff_t(y + 1) * width);
  return ordered;
}

}  // namespace

GifWriter::GifWriter(int screenWidth, int screenHeight) {
  if (screenWidth < 0 || screenHeight < 0 || screenWidth > 65535 || screenHeight > 65535)
    throw std::length_error("GIF screen size");
  bytes_ = "GIF89a";
  put16(bytes_, screenWidth);
  put16(bytes_, screenHeight);
  bytes_.append({'\0', '\0', '\0'});  // no global colour table
}

void GifWriter::addFrame(const PixelArray& picture, const GifFrameOptions& options) {
  const Indexed indexed = indexColours(picture, options.transparentColour);
  int tableBits = 1;
  while ((1 << tableBits) < int(indexed.palette.size())) ++tableBits;

  if (indexed.transparentIndex >= 0 || options.delayCentiseconds > 0 || frames_ > 0) {
    bytes_.append({'\x21', '\xF9', '\x04'});
    bytes_.push_back(static_cast<char>(indexed.transparentIndex >= 0 ? 1 : 0));
    put16(bytes_, options.delayCentiseconds);
    bytes_.push_back(static_cast<char>(std::max(0, indexed.transparentIndex)));
    bytes_.push_back('\0');
  }
  bytes_.push_back('\x2C');
  put16(bytes_, options.left);
  put16(bytes_, options.top);
  put16(bytes_, picture.width());
  put16(bytes_, picture.height());
  bytes_.push_back(static_cast<char>(0x80 | (options.interlaced ? 0x40 : 0) | (tableBits - 1)));
  for (int i = 0; i < (1 << tableBits); ++i) {
    const std::uint32_t colour = i < int(indexed.palette.size()) ? indexed.palette[i] : 0;
    bytes_.push_back(static_cast<char>(redOf(colour)));
    bytes_.push_back(static_cast<char>(greenOf(colour)));
    bytes_.push_back(static_cast<char>(blueOf(colour)));
  }
  const int minCodeSize = std::max(2, tableBits);
  if (options.interlaced)
    compress(interlacedOrder(indexed.indexes, picture.width(), picture.height()), minCodeSize,
             bytes_);
  else
    compress(indexed.indexes, minCodeSize, bytes_);
  ++frames_;
}

std::string GifWriter::finish() {
  std::string out = bytes_;
  out.push_back('\x3B');
  return out;
}

std::string encodeGif(const PixelArray& picture, const GifFrameOptions& options) {
  GifWriter writer(picture.width(), picture.height());
  writer.addFrame(picture, options);
  return writer.finish();
}

}  // namespace plotvane
