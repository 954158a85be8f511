// Drawing into the view image: lines and boxes with the pixel rules of the
// platform's simple drawing, clipped to the image.
#pragma once

#include <cstdint>

#include "base/pixel_array.h"

namespace plotvane {

// Fills the box from (left, top) to (right, bottom), both corners included,
// clipped to the image.
void fillBox(PixelArray& image, int left, int top, int right, int bottom, std::uint32_t colour);

// A box given by two opposite corners in display pixels, possibly
// fractional: each coordinate rounded to the nearest integer with halves to
// even, the corners put in order, and the box filled with both corners
// included. Corners that are not finite draw nothing.
void drawBox(PixelArray& image, double x1, double y1, double x2, double y2, std::uint32_t colour);

// A filled disc: pixel (x, y), named by its integer position as a point
// drawing names it, is covered when its distance from the centre is at most
// the radius; the pixel nearest the centre (halves to even) is always covered,
// so a disc of radius 0 still marks one pixel. A negative, infinite or NaN
// radius or centre covers nothing.
struct DiscBounds {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool empty() const { return left >= right || top >= bottom; }
};
bool discCovers(double x, double y, double cx, double cy, double radius);
// The pixels a disc may cover, clipped to a width x height picture.
DiscBounds discBounds(double cx, double cy, double radius, int width, int height);
void fillDisc(PixelArray& image, double cx, double cy, double radius, std::uint32_t colour);

// End points further out than this draw nothing: within it every step of the
// line is exact in 64-bit arithmetic.
inline constexpr int kMaxLineCoordinate = 1 << 29;

// Bresenham's line from (x1, y1) towards (x2, y2), the last point left out
// (a line to the same point draws nothing). Along the longer axis every
// position from the start up to the end is taken once; the other coordinate
// is the start's plus the rounded share of the way, halves rounding towards
// the start. The line is clipped to the image before it is rasterised, so
// only the pixels inside are visited and they are exactly those of the
// unclipped line.
void drawLine(PixelArray& image, int x1, int y1, int x2, int y2, std::uint32_t colour);

}  // namespace plotvane
