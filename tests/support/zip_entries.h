// Reads the files packed in a zip archive (an .xlsx workbook), stored or
// deflated, through its central directory.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace plotvane::testing {

namespace zip_detail {

inline std::uint32_t little(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
  return value;
}

inline std::optional<std::string> inflateRaw(const std::string& packed, std::size_t size) {
  std::string out(size, '\0');
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return std::nullopt;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&stream, Z_FINISH);
  inflateEnd(&stream);
  if (result != Z_STREAM_END || stream.total_out != size) return std::nullopt;
  return out;
}

}  // namespace zip_detail

// Name -> contents; nothing when the bytes are not a zip archive this reads.
inline std::optional<std::map<std::string, std::string>> zipEntries(const std::string& zip) {
  using zip_detail::little;
  const std::size_t endSize = 22;
  if (zip.size() < endSize) return std::nullopt;
  std::size_t end = zip.size() - endSize;
  while (little(zip, end, 4) != 0x06054b50) {
    if (end == 0) return std::nullopt;
    --end;
  }
  const std::uint32_t count = little(zip, end + 10, 2);
  std::size_t at = little(zip, end + 16, 4);
  std::map<std::string, std::string> entries;
  try {
    for (std::uint32_t i = 0; i < count; ++i) {
      if (little(zip, at, 4) != 0x02014b50) return std::nullopt;
      const std::uint32_t method = little(zip, at + 10, 2);
      const std::size_t packedSize = little(zip, at + 20, 4);
      const std::size_t size = little(zip, at + 24, 4);
      const std::size_t nameLength = little(zip, at + 28, 2);
      const std::size_t extra = little(zip, at + 30, 2) + little(zip, at + 32, 2);
      const std::size_t local = little(zip, at + 42, 4);
      const std::string name = zip.substr(at + 46, nameLength);
      at += 46 + nameLength + extra;
      if (little(zip, local, 4) != 0x04034b50) return std::nullopt;
      const std::size_t data = local + 30 + little(zip, local + 26, 2) + little(zip, local + 28, 2);
      const std::string packed = zip.substr(data, packedSize);
      if (method == 0) {
        entries[name] = packed;
      } else if (method == 8) {
        std::optional<std::string> contents = zip_detail::inflateRaw(packed, size);
        if (!contents) return std::nullopt;
        entries[name] = std::move(*contents);
      } else {
        return std::nullopt;
      }
    }
  } catch (const std::out_of_range&) {
    return std::nullopt;
  }
  return entries;
}

}  // namespace plotvane::testing
