#include "loading/picture_file_check.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "loading/file_bytes.h"

namespace plotvane {
namespace {

std::uint64_t pixelsOf(long long width, long long height) {
  return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
}

// The best each format's compression can do; see PictureFileInfo::plausible.
constexpr std::uint64_t kRunLengthPixelsPerByte = 256;
constexpr std::uint64_t kRunLengthSlack = 65536;  // so that small pictures never count
constexpr std::uint64_t kDeflateBytesPerByte = 1032;
constexpr std::uint64_t kDeflateSlack = 65536;  // so that small pictures never count
constexpr std::uint64_t kJpegBlocksPerByte = 8;
constexpr std::uint64_t kArithmeticJpegBlocksPerByte = 1024;
constexpr std::uint64_t kGifPixelsPerByte = 4096;
constexpr std::uint64_t kSmallGifScreen = std::uint64_t{1} << 22;  // 2048 x 2048

PictureFileInfo inspectBmp(Bytes b) {
  PictureFileInfo info{PictureFormat::Bmp};
  const std::size_t n = b.size();
  if (n < 18) return info;
  const std::uint64_t offBits = le32(b, 10);
  const std::uint32_t headerSize = le32(b, 14);
  long long width = 0, height = 0;
  std::uint32_t bitCount = 0, compression = 0, sizeImage = 0;
  if (headerSize == 12) {
    if (n < 26) return info;
    width = le16(b, 18);
    height = le16(b, 20);
    bitCount = le16(b, 24);
  } else if (headerSize >= 40) {
    if (n < 38) return info;
    width = static_cast<std::int32_t>(le32(b, 18));
    height = static_cast<std::int32_t>(le32(b, 22));
    bitCount = le16(b, 28);
    compression = le32(b, 30);
    sizeImage = le32(b, 34);
  } else {
    return info;
  }
  if (height < 0) height = -height;  // rows stored top-down
  info.width = width;
  info.height = height;
  if (width <= 0 || height <= 0) return info;

  std::uint64_t needed = offBits;
  switch (compression) {
    case 0:  // uncompressed
    case 3:  // bit fields
    case 6: {
      const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
      needed += stride * static_cast<std::uint64_t>(height);
      break;
    }
    case 1:  // run-length encoded, 8 and 4 bits
    case 2:
      needed += sizeImage > 0 ? sizeImage : 2;
      info.runLength = true;
      break;
    default:
      break;
  }
  info.complete = offBits >= 14 + std::uint64_t{headerSize} && n >= needed;
  info.plausible = true;
  if (info.runLength) {
    const std::uint64_t data = sizeImage > 0 ? sizeImage : (n > offBits ? n - offBits : 0);
    info.plausible = pixelsOf(width, height) <= kRunLengthPixelsPerByte * data + kRunLengthSlack;
  }
  return info;
}

bool isStartOfFrame(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isArithmetic(std::uint8_t marker) {
  return marker >= 0xC9;
}

// The 8 x 8 blocks of every component of a frame, from its sampling factors
// (length: the segment's length field at `at`).
std::uint64_t frameBlocks(Bytes b, std::size_t at, std::size_t length, long long width,
                          long long height) {
  const std::size_t count = b[at + 7];
  if (length < 8 + 3 * count) return 0;
  std::uint32_t maxH = 1, maxV = 1;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t factors = b[at + 9 + 3 * i];
    maxH = std::max<std::uint32_t>(maxH, factors >> 4);
    maxV = std::max<std::uint32_t>(maxV, factors & 15);
  }
  std::uint64_t blocks = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t factors = b[at + 9 + 3 * i];
    const std::uint64_t h = std::max(1, factors >> 4), v = std::max(1, factors & 15);
    const std::uint64_t columns = (static_cast<std::uint64_t>(width) * h + maxH - 1) / maxH;
    const std::uint64_t rows = (static_cast<std::uint64_t>(height) * v + maxV - 1) / maxV;
    blocks += (columns + 7) / 8 * ((rows + 7) / 8);
  }
  return blocks;
}

PictureFileInfo inspectJpeg(Bytes b) {
  PictureFileInfo info{PictureFormat::Jpeg};
  const std::size_t n = b.size();
  std::size_t pos = 2;
  std::uint64_t blocks = 0, scanBytes = 0;
  bool arithmetic = false;
  for (;;) {
    // Bytes between segments are tolerated as the decoders do; markers may
    // be preceded by any number of 0xFF fill bytes.
    while (pos < n && b[pos] != 0xFF) ++pos;
    while (pos < n && b[pos] == 0xFF) ++pos;
    if (pos >= n) return info;
    const std::uint8_t marker = b[pos++];
    if (marker == 0xD9) {
      info.complete = info.width > 0 && info.height > 0;
      const std::uint64_t perByte = arithmetic ? kArithmeticJpegBlocksPerByte : kJpegBlocksPerByte;
      info.plausible = blocks <= perByte * scanBytes;
      return info;
    }
    if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (pos + 2 > n) return info;
    const std::size_t length = be16(b, pos);
    if (length < 2 || pos + length > n) return info;
    if (isStartOfFrame(marker) && length >= 8) {
      info.height = be16(b, pos + 3);
      info.width = be16(b, pos + 5);
      blocks = frameBlocks(b, pos, length, info.width, info.height);
      arithmetic = isArithmetic(marker);
    }
    pos += length;
    if (marker != 0xDA) continue;
    // Entropy-coded data: runs until a marker other than a stuffed zero or
    // a restart marker.
    const std::size_t start = pos;
    for (;;) {
      const void* found = std::memchr(b.data() + pos, 0xFF, n - pos);
      if (!found) return info;
      pos = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - b.data());
      if (pos + 1 >= n) return info;
      const std::uint8_t next = b[pos + 1];
      if (next == 0xFF) {
        ++pos;
      } else if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
        pos += 2;
      } else {
        break;
      }
    }
    scanBytes += pos - start;
  }
}

// Skips a chain of data sub-blocks; false when the file ends inside it.
// blocks counts the non-empty sub-blocks, bytes their contents.
bool skipSubBlocks(Bytes b, std::size_t& pos, int& blocks, std::uint64_t& bytes) {
  blocks = 0;
  bytes = 0;
  for (;;) {
    if (pos >= b.size()) return false;
    const std::size_t size = b[pos++];
    if (size == 0) return true;
    ++blocks;
    bytes += size;
    pos += size;
  }
}

// The part of a frame inside the screen, in pixels.
std::uint64_t visiblePixels(std::uint32_t left, std::uint32_t top, std::uint32_t width,
                            std::uint32_t height, long long screenWidth, long long screenHeight) {
  const auto inside = [](std::uint32_t start, std::uint32_t length, long long screen) {
    const long long end = std::min<long long>(start + static_cast<long long>(length), screen);
    return static_cast<std::uint64_t>(std::max<long long>(0, end - start));
  };
  return inside(left, width, screenWidth) * inside(top, height, screenHeight);
}

PictureFileInfo inspectGif(Bytes b) {
  PictureFileInfo info{PictureFormat::Gif};
  const std::size_t n = b.size();
  if (n < 13) return info;
  info.width = le16(b, 6);
  info.height = le16(b, 8);
  std::size_t pos = 13;
  if (b[10] & 0x80) pos += 3u << ((b[10] & 7) + 1);
  bool firstFrameHasPixels = false;
  bool frameSeen = false;
  for (;;) {
    if (pos >= n) return info;
    const std::uint8_t block = b[pos++];
    int blocks = 0;
    std::uint64_t bytes = 0;
    if (block == 0x3B) {
      info.complete = frameSeen && firstFrameHasPixels && info.width > 0 && info.height > 0;
      return info;
    }
    if (block == 0x21) {  // extension: label, then sub-blocks
      ++pos;
      if (!skipSubBlocks(b, pos, blocks, bytes)) return info;
    } else if (block == 0x2C) {  // image descriptor
      if (pos + 9 > n) return info;
      const std::uint32_t frameLeft = le16(b, pos), frameTop = le16(b, pos + 2);
      const std::uint32_t frameW = le16(b, pos + 4);
      const std::uint32_t frameH = le16(b, pos + 6);
      const std::uint8_t flags = b[pos + 8];
      pos += 9;
      if (flags & 0x80) pos += 3u << ((flags & 7) + 1);
      ++pos;  // code size of the compressed data
      if (!skipSubBlocks(b, pos, blocks, bytes)) return info;
      if (!frameSeen) {
        firstFrameHasPixels = frameW > 0 && frameH > 0 && blocks > 0;
        const std::uint64_t screen = pixelsOf(info.width, info.height);
        const std::uint64_t visible =
            visiblePixels(frameLeft, frameTop, frameW, frameH, info.width, info.height);
        info.plausible = std::uint64_t{frameW} * frameH <= kGifPixelsPerByte * bytes &&
                         (screen <= kSmallGifScreen || screen / 4 <= visible);
      }
      frameSeen = true;
    } else {
      return info;
    }
  }
}

// The samples of a pixel of each PNG colour type (0 grey, 2 RGB, 3 palette,
// 4 grey and alpha, 6 RGBA).
std::uint64_t pngChannels(std::uint8_t colourType) {
  switch (colourType) {
    case 2:
      return 3;
    case 4:
      return 2;
    case 6:
      return 4;
    default:
      return 1;
  }
}

PictureFileInfo inspectPng(Bytes b) {
  PictureFileInfo info{PictureFormat::Png};
  const std::size_t n = b.size();
  info.complete = true;
  info.plausible = true;
  if (n < 24 || std::memcmp(b.data() + 12, "IHDR", 4) != 0) return info;
  info.width = be32(b, 16);
  info.height = be32(b, 20);
  if (n < 26) return info;
  // The filtered rows the compressed data inflates to: a filter byte and
  // the row's bytes each.
  const std::uint64_t bitsPerPixel = pngChannels(b[25]) * b[24];
  const std::uint64_t rowBytes =
      1 + (static_cast<std::uint64_t>(info.width) * bitsPerPixel + 7) / 8;
  const std::uint64_t inflated = rowBytes * static_cast<std::uint64_t>(info.height);
  std::uint64_t compressed = 0;
  for (std::size_t pos = 8; pos + 8 <= n;) {
    const std::uint64_t length = be32(b, pos);
    if (std::memcmp(b.data() + pos + 4, "IDAT", 4) == 0)
      compressed += std::min<std::uint64_t>(length, n - pos - 8);
    if (std::memcmp(b.data() + pos + 4, "IEND", 4) == 0) break;
    if (length > n - pos - 8) break;
    pos += 12 + static_cast<std::size_t>(length);
  }
  info.plausible = inflated <= kDeflateBytesPerByte * compressed + kDeflateSlack;
  return info;
}

// Classic TIFF (BigTIFF is not read). Only the first directory counts: it
// is the page that is read.
PictureFileInfo inspectTiff(Bytes b) {
  PictureFileInfo info{PictureFormat::Tiff};
  const std::size_t n = b.size();
  const bool little = b[0] == 'I';
  const auto u16 = [&](std::uint64_t at) { return little ? le16(b, at) : be16(b, at); };
  const auto u32 = [&](std::uint64_t at) { return little ? le32(b, at) : be32(b, at); };
  if (n < 8) return info;
  const std::uint64_t directory = u32(4);
  if (directory < 8 || directory + 2 > n) return info;
  const std::uint64_t count = u16(directory);
  if (directory + 2 + count * 12 + 4 > n) return info;

  // An array of a field: its values, each read from the file.
  struct Field {
    std::uint64_t type = 0, count = 0, at = 0;
  };
  Field offsets, byteCounts, tileOffsets, tileByteCounts;
  for (std::uint64_t entry = 0; entry < count; ++entry) {
    const std::uint64_t at = directory + 2 + entry * 12;
    const std::uint32_t tag = u16(at);
    Field field{u16(at + 2), u32(at + 4), at + 8};
    const std::uint64_t size = field.type == 3 ? 2 : field.type == 4 ? 4 : 0;
    if (size > 0 && field.count * size > 4) field.at = u32(at + 8);
    const auto value = [&] { return size == 2 ? u16(at + 8) : size == 4 ? u32(at + 8) : 0; };
    switch (tag) {
      case 256:
        info.width = value();
        break;
      case 257:
        info.height = value();
        break;
      case 273:
        offsets = field;
        break;
      case 279:
        byteCounts = field;
        break;
      case 324:
        tileOffsets = field;
        break;
      case 325:
        tileByteCounts = field;
        break;
      default:
        break;
    }
  }
  // Strips or tiles: as many offsets as byte counts, every one in the file.
  const auto partsInFile = [&](const Field& starts, const Field& sizes) {
    const auto width = [](const Field& f) -> std::uint64_t {
      return f.type == 3 ? 2 : f.type == 4 ? 4 : 0;
    };
    const std::uint64_t startSize = width(starts), sizeSize = width(sizes);
    if (startSize == 0 || sizeSize == 0 || starts.count == 0 || starts.count != sizes.count)
      return false;
    if (starts.at + starts.count * startSize > n || sizes.at + sizes.count * sizeSize > n)
      return false;
    for (std::uint64_t part = 0; part < starts.count; ++part) {
      const std::uint64_t start =
          startSize == 2 ? u16(starts.at + part * 2) : u32(starts.at + part * 4);
      const std::uint64_t length =
          sizeSize == 2 ? u16(sizes.at + part * 2) : u32(sizes.at + part * 4);
      if (start + length > n) return false;
    }
    return true;
  };
  const bool tiled = tileOffsets.count > 0 || tileByteCounts.count > 0;
  info.complete =
      info.width > 0 && info.height > 0 &&
      (tiled ? partsInFile(tileOffsets, tileByteCounts) : partsInFile(offsets, byteCounts));
  // How far a TIFF's strips can unpack depends on their compression; the
  // reader bounds it once the decoder has named the format.
  info.plausible = true;
  return info;
}

std::uint32_t le24(Bytes b, std::size_t at) {
  return le16(b, at) | (std::uint32_t{b[at + 2]} << 16);
}

PictureFileInfo inspectWebp(Bytes b) {
  PictureFileInfo info{PictureFormat::Webp};
  const std::size_t n = b.size();
  const std::uint64_t end = std::uint64_t{le32(b, 4)} + 8;
  if (end > n || end < 20) return info;
  // The size is in the first chunk: the extended header, or the lossy or
  // lossless picture itself.
  const std::uint32_t firstSize = le32(b, 16);
  if (std::memcmp(b.data() + 12, "VP8X", 4) == 0 && firstSize >= 10 && end >= 30) {
    info.width = 1 + std::int64_t{le24(b, 24)};
    info.height = 1 + std::int64_t{le24(b, 27)};
  } else if (std::memcmp(b.data() + 12, "VP8 ", 4) == 0 && firstSize >= 10 && end >= 30) {
    if (b[23] == 0x9D && b[24] == 0x01 && b[25] == 0x2A) {
      info.width = le16(b, 26) & 0x3FFF;
      info.height = le16(b, 28) & 0x3FFF;
    }
  } else if (std::memcmp(b.data() + 12, "VP8L", 4) == 0 && firstSize >= 5 && end >= 25) {
    if (b[20] == 0x2F) {
      const std::uint32_t bits = le32(b, 21);
      info.width = 1 + std::int64_t{bits & 0x3FFF};
      info.height = 1 + std::int64_t{(bits >> 14) & 0x3FFF};
    }
  }
  // Every chunk, padded to an even length, ends inside the RIFF.
  std::uint64_t at = 12;
  while (at < end) {
    if (at + 8 > end) return info;
    at += 8 + ((std::uint64_t{le32(b, at + 4)} + 1) & ~std::uint64_t{1});
    if (at > end + 1) return info;  // the last chunk's pad byte may be left out
  }
  info.complete = info.width > 0 && info.height > 0;
  // WebP's entropy coding has no useful best case; the memory bound alone
  // holds its size.
  info.plausible = true;
  return info;
}

bool startsWith(Bytes b, const char* signature, std::size_t length) {
  return b.size() >= length && std::memcmp(b.data(), signature, length) == 0;
}

}  // namespace

PictureFileInfo inspectPictureFile(std::span<const std::uint8_t> bytes) {
  if (startsWith(bytes, "BM", 2)) return inspectBmp(bytes);
  if (startsWith(bytes, "\xFF\xD8\xFF", 3)) return inspectJpeg(bytes);
  if (startsWith(bytes, "GIF87a", 6) || startsWith(bytes, "GIF89a", 6)) return inspectGif(bytes);
  if (startsWith(bytes, "\x89PNG\r\n\x1A\n", 8)) return inspectPng(bytes);
  if (startsWith(bytes, "II*\0", 4) || startsWith(bytes, "MM\0*", 4)) return inspectTiff(bytes);
  if (bytes.size() >= 12 && startsWith(bytes, "RIFF", 4) &&
      std::memcmp(bytes.data() + 8, "WEBP", 4) == 0)
    return inspectWebp(bytes);
  PictureFileInfo info;
  info.complete = !bytes.empty();
  info.plausible = true;
  return info;
}

}  // namespace plotvane
