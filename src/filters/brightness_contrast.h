// Brightness and contrast: one 256-entry table that every colour byte of the
// picture goes through.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "base/pixel_array.h"
#include "filters/filter_pass.h"

namespace plotvane {

// Both sliders run from -100 to 100; values beyond are taken as the nearer end.
inline constexpr int kBrightnessContrastLimit = 100;

// table[i] = k * (i - 127) + 127 + b rounded half to even and clamped to 0..255,
// with the slope k = tan((contrast / 101 + 1) * pi / 4) held in single precision
// and the shift b = brightness * 2.55 rounded half to even. Both at 0 give the
// identity.
std::array<std::uint8_t, 256> brightnessContrastTable(int contrast, int brightness);

// The picture with red, green and blue of every pixel mapped through the table
// (top byte 0). Nothing when yield cancels; the source is never changed.
std::optional<PixelArray> ApplyBrightnessContrast(const PixelArray& picture, int contrast,
                                                  int brightness, const FilterYield& yield = {});

// The same into result, which takes the picture's size and keeps its storage
// when it already has that size. False when yield cancels: result then holds
// a partly done pass (or its old pixels when it is the picture itself).
bool ApplyBrightnessContrast(const PixelArray& picture, PixelArray& result, int contrast,
                             int brightness, const FilterYield& yield = {});

}  // namespace plotvane
