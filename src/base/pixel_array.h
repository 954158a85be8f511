// A picture as plain pixels: x fastest, row 0 at the top, no padding between
// rows, value = red * 65536 + green * 256 + blue. The top byte reads as 0 and
// is ignored on write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace plotvane {

inline constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;

constexpr std::uint32_t rgbValue(int red, int green, int blue) {
  return (static_cast<std::uint32_t>(red & 255) << 16) |
         (static_cast<std::uint32_t>(green & 255) << 8) | static_cast<std::uint32_t>(blue & 255);
}
constexpr int redOf(std::uint32_t value) {
  return static_cast<int>((value >> 16) & 255u);
}
constexpr int greenOf(std::uint32_t value) {
  return static_cast<int>((value >> 8) & 255u);
}
constexpr int blueOf(std::uint32_t value) {
  return static_cast<int>(value & 255u);
}

class PixelArray {
 public:
  PixelArray() = default;
  // Storage is not cleared: callers fill every pixel. Throws std::bad_alloc
  // when the picture does not fit, std::length_error for negative sizes.
  PixelArray(int width, int height);
  PixelArray(int width, int height, std::uint32_t fill);

  PixelArray(const PixelArray& other);
  PixelArray& operator=(const PixelArray& other);
  PixelArray(PixelArray&&) noexcept = default;
  PixelArray& operator=(PixelArray&&) noexcept = default;

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  std::size_t size() const {
    return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  }

  // The colour of (x, y) with the top byte cleared.
  std::uint32_t at(int x, int y) const { return pixels_[index(x, y)] & kRgbMask; }
  void set(int x, int y, std::uint32_t value) { pixels_[index(x, y)] = value & kRgbMask; }

  std::uint32_t* data() { return pixels_.get(); }
  const std::uint32_t* data() const { return pixels_.get(); }
  const std::uint32_t* row(int y) const { return pixels_.get() + index(0, y); }
  std::uint32_t* row(int y) { return pixels_.get() + index(0, y); }

  // Clears bits 24 to 31 of every pixel (after a decoder wrote ARGB).
  void clearTopBytes();

  bool operator==(const PixelArray& other) const;

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::unique_ptr<std::uint32_t[]> pixels_;
};

}  // namespace plotvane
