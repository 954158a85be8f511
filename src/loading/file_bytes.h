#pragma once
// Little- and big-endian fields of a picture file's bytes. Callers check
// that the field lies within the bytes before reading it.
#include <cstddef>
#include <cstdint>
#include <span>

namespace plotvane {

using Bytes = std::span<const std::uint8_t>;

inline std::uint32_t le16(Bytes b, std::size_t at) {
  return b[at] | (std::uint32_t{b[at + 1]} << 8);
}
inline std::uint32_t le32(Bytes b, std::size_t at) {
  return le16(b, at) | (le16(b, at + 2) << 16);
}
inline std::uint32_t be16(Bytes b, std::size_t at) {
  return (std::uint32_t{b[at]} << 8) | b[at + 1];
}
inline std::uint32_t be32(Bytes b, std::size_t at) {
  return (be16(b, at) << 16) | be16(b, at + 2);
}

}  // namespace plotvane
