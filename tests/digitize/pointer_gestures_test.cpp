#include "digitize/pointer_gestures.h"

#include <gtest/gtest.h>

#include <string>

namespace plotvane {
namespace {

// The rectangle (100, 50)-(300, 250) at zoom 1 without scrolling.
const GestureEdges kEdges{.xs = 100, .xe = 300, .yt = 50, .yb = 250};

TEST(PointerGestures, EdgesAreTheRectangleOnTheViewRoundedHalfToEven) {
  const PixelRect rect{.lineXS = 10.25f, .lineXE = 60.75f, .lineYT = 5, .lineYB = 40.5f};
  const GestureEdges atTwo = gestureEdges(rect, 2, 1, 21);
  EXPECT_EQ(atTwo.xs, 20);  // 20.5 - 1 = 19.5 -> 20
  EXPECT_EQ(atTwo.xe, 120);
  EXPECT_EQ(atTwo.yt, -11);
  EXPECT_EQ(atTwo.yb, 60);
  const GestureEdges atHalf = gestureEdges(rect, 0.5f, 0, 0);
  EXPECT_EQ(atHalf.xs, 5);   // 5.125
  EXPECT_EQ(atHalf.xe, 30);  // 30.375
  EXPECT_EQ(atHalf.yb, 20);  // 20.25
}

struct HitCase {
  float x, y;
  std::int16_t target;
  PointerShape shape;
};

TEST(PointerGestures, APressGrabsEdgesAndCornersWithinThreePixels) {
  const HitCase cases[] = {
      {.x = 102, .y = 150, .target = kDragLeft, .shape = PointerShape::SizeWE},
      {.x = 103, .y = 52, .target = kDragTopLeft, .shape = PointerShape::SizeNWSE},
      {.x = 200, .y = 248, .target = kDragBottom, .shape = PointerShape::SizeNS},
      {.x = 200, .y = 150, .target = kDragNewRectangle, .shape = PointerShape::Cross},
      {.x = 96, .y = 150, .target = kDragNewRectangle, .shape = PointerShape::Cross},
      {.x = 298, .y = 47.5f, .target = kDragTopRight, .shape = PointerShape::SizeNESW},
      {.x = 301, .y = 252.5f, .target = kDragBottomRight, .shape = PointerShape::SizeNWSE},
      {.x = 97, .y = 250, .target = kDragBottomLeft, .shape = PointerShape::SizeNESW},
      {.x = 300, .y = 100, .target = kDragRight, .shape = PointerShape::SizeWE},
      {.x = 200, .y = 53, .target = kDragTop, .shape = PointerShape::SizeNS},
      // Outside the band of the vertical edges the left edge is not near.
      {.x = 100, .y = 254, .target = kDragNewRectangle, .shape = PointerShape::Cross},
  };
  for (const HitCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(grabbedTarget(kEdges, c.x, c.y), c.target);
    EXPECT_EQ(scalePointerShape(kEdges, c.x, c.y), c.shape);
  }
}

struct DragCase {
  const char* what;
  std::int16_t target;
  float x, y;
  GestureEdges after;
};

TEST(PointerGestures, DraggedEdgesFollowThePointerAndStopOnTheOppositeEdge) {
  const DragCase cases[] = {
      {.what = "left past the right edge",
       .target = kDragLeft,
       .x = 350,
       .y = 0,
       .after = {.xs = 300, .xe = 300, .yt = 50, .yb = 250}},
      {.what = "left inward, rounded",
       .target = kDragLeft,
       .x = 120.5f,
       .y = 0,
       .after = {.xs = 120, .xe = 300, .yt = 50, .yb = 250}},
      {.what = "right past the left edge",
       .target = kDragRight,
       .x = 40,
       .y = 0,
       .after = {.xs = 100, .xe = 100, .yt = 50, .yb = 250}},
      {.what = "top past the bottom",
       .target = kDragTop,
       .x = 0,
       .y = 251,
       .after = {.xs = 100, .xe = 300, .yt = 250, .yb = 250}},
      {.what = "bottom-right corner",
       .target = kDragBottomRight,
       .x = 320,
       .y = 10,
       .after = {.xs = 100, .xe = 320, .yt = 50, .yb = 50}},
      {.what = "top-left corner",
       .target = kDragTopLeft,
       .x = 90,
       .y = 60,
       .after = {.xs = 90, .xe = 300, .yt = 60, .yb = 250}},
      {.what = "a new rectangle up and left of the press",
       .target = kDragNewRectangle,
       .x = 150,
       .y = 120,
       .after = {.xs = 150, .xe = 200, .yt = 120, .yb = 150}},
      {.what = "a new rectangle down and right of the press",
       .target = kDragNewRectangle,
       .x = 260,
       .y = 180,
       .after = {.xs = 200, .xe = 260, .yt = 150, .yb = 180}},
      {.what = "nothing grabbed", .target = kDragNothing, .x = 0, .y = 0, .after = kEdges},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.what);
    const GestureEdges e = draggedEdges(kEdges, c.target, c.x, c.y, 200, 150);
    EXPECT_EQ(e.xs, c.after.xs);
    EXPECT_EQ(e.xe, c.after.xe);
    EXPECT_EQ(e.yt, c.after.yt);
    EXPECT_EQ(e.yb, c.after.yb);
  }
}

TEST(PointerGestures, APressBecomesADragBeyondFivePixelsEitherWay) {
  EXPECT_FALSE(leftPressPoint(100, 100, 104, 100));
  EXPECT_FALSE(leftPressPoint(100, 100, 105, 95));
  EXPECT_TRUE(leftPressPoint(100, 100, 106, 100));
  EXPECT_TRUE(leftPressPoint(100, 100, 100, 94));
}

}  // namespace
}  // namespace plotvane
