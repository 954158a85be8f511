#include "digitize/pointer_gestures.h"

#include <cmath>

#include "base/number_text.h"

namespace plotvane {
namespace {

bool near(float pointer, std::int16_t edge) {
  return std::fabs(pointer - static_cast<float>(edge)) <= kEdgeTolerance;
}

std::int16_t rounded(float value) {
  return roundToInt16(value);
}

}  // namespace

GestureEdges gestureEdges(const PixelRect& rect, float zoom, int hScroll, int vScroll) {
  const auto h = static_cast<float>(hScroll);
  const auto v = static_cast<float>(vScroll);
  return {rounded(zoom * rect.lineXS - h), rounded(zoom * rect.lineXE - h),
          rounded(zoom * rect.lineYT - v), rounded(zoom * rect.lineYB - v)};
}

std::int16_t grabbedTarget(const GestureEdges& e, float x, float y) {
  std::int16_t target = kDragNewRectangle;
  if (static_cast<float>(e.yt - kEdgeTolerance) < y &&
      y < static_cast<float>(e.yb + kEdgeTolerance)) {
    if (near(x, e.xs)) {
      target = near(y, e.yt) ? kDragTopLeft : near(y, e.yb) ? kDragBottomLeft : kDragLeft;
    } else if (near(x, e.xe)) {
      target = near(y, e.yt) ? kDragTopRight : near(y, e.yb) ? kDragBottomRight : kDragRight;
    }
  }
  if (static_cast<float>(e.xs + kEdgeTolerance) < x &&
      x < static_cast<float>(e.xe - kEdgeTolerance)) {
    if (near(y, e.yt))
      target = kDragTop;
    else if (near(y, e.yb))
      target = kDragBottom;
  }
  return target;
}

PointerShape scalePointerShape(const GestureEdges& e, float x, float y) {
  PointerShape shape = PointerShape::Cross;
  if (static_cast<float>(e.yt - kEdgeTolerance) < y &&
      y < static_cast<float>(e.yb + kEdgeTolerance)) {
    if (near(x, e.xs)) {
      shape = near(y, e.yt)   ? PointerShape::SizeNWSE
              : near(y, e.yb) ? PointerShape::SizeNESW
                              : PointerShape::SizeWE;
    } else if (near(x, e.xe)) {
      shape = near(y, e.yt)   ? PointerShape::SizeNESW
              : near(y, e.yb) ? PointerShape::SizeNWSE
                              : PointerShape::SizeWE;
    }
  }
  if (static_cast<float>(e.xs + kEdgeTolerance) < x &&
      x < static_cast<float>(e.xe - kEdgeTolerance) && (near(y, e.yt) || near(y, e.yb)))
    shape = PointerShape::SizeNS;
  return shape;
}

GestureEdges draggedEdges(const GestureEdges& before, std::int16_t target, float x, float y,
                          std::int16_t startX, std::int16_t startY) {
  GestureEdges e = before;
  const auto moveLeft = [&] {
    e.xs = rounded(x);
    if (x >= before.xe) e.xs = before.xe;
  };
  const auto moveRight = [&] {
    e.xe = rounded(x);
    if (x <= before.xs) e.xe = before.xs;
  };
  const auto moveTop = [&] {
    e.yt = rounded(y);
    if (y >= before.yb) e.yt = before.yb;
  };
  const auto moveBottom = [&] {
    e.yb = rounded(y);
    if (y <= before.yt) e.yb = before.yt;
  };
  switch (target) {
    case kDragNewRectangle:
      if (x > startX) {
        e.xs = startX;
        e.xe = rounded(x);
      } else {
        e.xs = rounded(x);
        e.xe = startX;
      }
      if (y <= startY) {
        e.yt = rounded(y);
        e.yb = startY;
      } else {
        e.yt = startY;
        e.yb = rounded(y);
      }
      break;
    case kDragLeft:
      moveLeft();
      break;
    case kDragRight:
      moveRight();
      break;
    case kDragTop:
      moveTop();
      break;
    case kDragBottom:
      moveBottom();
      break;
    case kDragTopLeft:
      moveLeft(), moveTop();
      break;
    case kDragBottomLeft:
      moveLeft(), moveBottom();
      break;
    case kDragTopRight:
      moveRight(), moveTop();
      break;
    case kDragBottomRight:
      moveRight(), moveBottom();
      break;
    default:
      break;
  }
  return e;
}

bool leftPressPoint(std::int16_t startX, std::int16_t startY, float x, float y) {
  return std::fabs(static_cast<float>(startX) - x) > kDragThreshold ||
         std::fabs(static_cast<float>(startY) - y) > kDragThreshold;
}

}  // namespace plotvane
