#pragma once
// What the two column traces share: rows are taken in bands whose row
// offsets fit a byte, so that the per-row work runs on 16 columns at once.
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plotvane::row_bands {

// Rows per band: a row's place in its band fits a byte.
constexpr int kBandRows = 256;

#if defined(__SSE2__)
inline __m128i load(const std::uint8_t* bytes) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}
inline void store(std::uint8_t* bytes, __m128i value) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), value);
}
#endif

}  // namespace plotvane::row_bands
