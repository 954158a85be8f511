#include "base/pixel_array.h"

#include <algorithm>
#include <stdexcept>

namespace plotvane {

PixelArray::PixelArray(int width, int height) : width_(width), height_(height) {
  if (width < 0 || height < 0) throw std::length_error("negative picture size");
  if (size() > 0) pixels_ = std::make_unique_for_overwrite<std::uint32_t[]>(size());
}

PixelArray::PixelArray(int width, int height, std::uint32_t fill) : PixelArray(width, height) {
  std::fill_n(pixels_.get(), size(), fill & kRgbMask);
}

PixelArray::PixelArray(const PixelArray& other) : PixelArray(other.width_, other.height_) {
  std::copy_n(other.pixels_.get(), size(), pixels_.get());
}

PixelArray& PixelArray::operator=(const PixelArray& other) {
  if (this != &other) *this = PixelArray(other);
  return *this;
}

void PixelArray::clearTopBytes() {
  std::uint32_t* pixel = pixels_.get();
  for (std::size_t i = 0, n = size(); i < n; ++i) pixel[i] &= kRgbMask;
}

bool PixelArray::operator==(const PixelArray& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  for (std::size_t i = 0, n = size(); i < n; ++i)
    if ((pixels_[i] & kRgbMask) != (other.pixels_[i] & kRgbMask)) return false;
  return true;
}

}  // namespace plotvane
