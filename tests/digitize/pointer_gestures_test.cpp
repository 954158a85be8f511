#include "digitize/pointer_gestures.h"

#include <gtest/gtest.h>

#include <array>

namespace plotvane {
namespace {

std::array<int, 4> sides(const GestureEdges& e) {
  return {e.xs, e.xe, e.yt, e.yb};
}

TEST(PointerGestures, EdgesAreTheRectangleOnTheViewRoundedHalfToEven) {
  const PixelRect rect{.lineXS = 10.25f, .lineXE = 60.75f, .lineYT = 5, .lineYB = 40.5f};
  // 20.5 - 1 = 19.5 -> 20; 5.125, 30.375, 2.5, 20.25.
  EXPECT_EQ(sides(gestureEdges(rect, 2, 1, 21)), (std::array{20, 120, -11, 60}));
  EXPECT_EQ(sides(gestureEdges(rect, 0.5f, 0, 0)), (std::array{5, 30, 2, 20}));
}

// The rectangle (100, 50)-(300, 250) at zoom 1 without scrolling.
constexpr GestureEdges kEdges{.xs = 100, .xe = 300, .yt = 50, .yb = 250};

TEST(PointerGestures, APressGrabsEdgesAndCornersWithinThreePixels) {
  using enum PointerShape;
  // clang-format off
  const struct { float x, y; std::int16_t target; PointerShape shape; } cases[] = {
      {.x = 102, .y = 150, .target = kDragLeft, .shape = SizeWE},
      {.x = 103, .y = 52, .target = kDragTopLeft, .shape = SizeNWSE},
      {.x = 200, .y = 248, .target = kDragBottom, .shape = SizeNS},
      {.x = 200, .y = 150, .target = kDragNewRectangle, .shape = Cross},
      {.x = 96, .y = 150, .target = kDragNewRectangle, .shape = Cross},
      {.x = 298, .y = 47.5f, .target = kDragTopRight, .shape = SizeNESW},
      {.x = 301, .y = 252.5f, .target = kDragBottomRight, .shape = SizeNWSE},
      {.x = 97, .y = 250, .target = kDragBottomLeft, .shape = SizeNESW},
      {.x = 300, .y = 100, .target = kDragRight, .shape = SizeWE},
      {.x = 200, .y = 53, .target = kDragTop, .shape = SizeNS},
      // Outside the band of the vertical edges the left edge is not near.
      {.x = 100, .y = 254, .target = kDragNewRectangle, .shape = Cross}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(grabbedTarget(kEdges, c.x, c.y), c.target);
    EXPECT_EQ(scalePointerShape(kEdges, c.x, c.y), c.shape);
  }
}

// The press was at (200, 150).
TEST(PointerGestures, DraggedEdgesFollowThePointerAndStopOnTheOppositeEdge) {
  // clang-format off
  const struct { std::int16_t target; float x, y; std::array<int, 4> to; } cases[] = {
      {.target = kDragLeft, .x = 350, .y = 0, .to = {300, 300, 50, 250}},  // past the right
      {.target = kDragLeft, .x = 120.5f, .y = 0, .to = {120, 300, 50, 250}},
      {.target = kDragRight, .x = 40, .y = 0, .to = {100, 100, 50, 250}},  // past the left
      {.target = kDragTop, .x = 0, .y = 251, .to = {100, 300, 250, 250}},  // past the bottom
      {.target = kDragBottomRight, .x = 320, .y = 10, .to = {100, 320, 50, 50}},
      {.target = kDragTopLeft, .x = 90, .y = 60, .to = {90, 300, 60, 250}},
      // A new rectangle up and left of the press, and down and right of it.
      {.target = kDragNewRectangle, .x = 150, .y = 120, .to = {150, 200, 120, 150}},
      {.target = kDragNewRectangle, .x = 260, .y = 180, .to = {200, 260, 150, 180}},
      {.target = kDragNothing, .x = 0, .y = 0, .to = {100, 300, 50, 250}}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(sides(draggedEdges(kEdges, c.target, c.x, c.y, 200, 150)), c.to)
        << c.target << " to " << c.x << "," << c.y;
}

TEST(PointerGestures, APressBecomesADragBeyondFivePixelsEitherWay) {
  // clang-format off
  const struct { float x, y; bool drag; } cases[] = {
      {.x = 104, .y = 100, .drag = false}, {.x = 105, .y = 95, .drag = false},
      {.x = 106, .y = 100, .drag = true}, {.x = 100, .y = 94, .drag = true}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(leftPressPoint(100, 100, c.x, c.y), c.drag) << c.x << "," << c.y;
}

}  // namespace
}  // namespace plotvane
