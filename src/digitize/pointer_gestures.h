// The arithmetic of the pointer on the picture, apart from any handler: the
// reference rectangle's edges in display pixels, what a press grabs, the
// pointer shape that announces it, where a dragged edge goes, and when a
// press becomes a drag.
#pragma once

#include <cstdint>

#include "base/pixel_rect.h"
#include "platform/controls.h"

namespace plotvane {

// The rectangle's edges on the view, each rounded to 16 bits with halves to
// even: round(zoom * edge - scroll).
struct GestureEdges {
  std::int16_t xs = 0, xe = 0, yt = 0, yb = 0;
  bool operator==(const GestureEdges&) const = default;
};
GestureEdges gestureEdges(const PixelRect& rect, float zoom, int hScroll, int vScroll);

// A pointer coordinate is near an edge within this many display pixels.
inline constexpr int kEdgeTolerance = 3;
// A press becomes a drag once the pointer is this far from it, in x or y.
inline constexpr int kDragThreshold = 5;

// What a press in scale mode grabs: 1 a new rectangle from the press point,
// 2 left, 3 right, 4 top, 5 bottom, 6 top-left, 7 bottom-left, 8 top-right,
// 9 bottom-right; 0 is "nothing" between presses.
enum DragTarget : std::int16_t {
  kDragNothing = 0,
  kDragNewRectangle = 1,
  kDragLeft = 2,
  kDragRight = 3,
  kDragTop = 4,
  kDragBottom = 5,
  kDragTopLeft = 6,
  kDragBottomLeft = 7,
  kDragTopRight = 8,
  kDragBottomRight = 9,
};
std::int16_t grabbedTarget(const GestureEdges& edges, float x, float y);

// The pointer shape over the view in scale mode when nothing is grabbed.
PointerShape scalePointerShape(const GestureEdges& edges, float x, float y);

// The edges after a move to (x, y) while `target` is dragged, the press
// having been at (startX, startY). An edge dragged past its opposite edge
// stops on it.
GestureEdges draggedEdges(const GestureEdges& edges, std::int16_t target, float x, float y,
                          std::int16_t startX, std::int16_t startY);

// Whether the pointer has gone far enough from the press to make it a drag.
bool leftPressPoint(std::int16_t startX, std::int16_t startY, float x, float y);

}  // namespace plotvane
