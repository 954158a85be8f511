#include "digitize/scan_points.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace plotvane {
namespace {

// '#' black; d, l grey 200, 201; y, z (255, 255, 90), (255, 255, 91); else white.
PixelArray pictureFrom(const std::vector<std::string_view>& rows) {
  const std::uint32_t colours[] = {0, 0xC8C8C8, 0xC9C9C9, 0x5AFFFF, 0x5BFFFF, 0xFFFFFF};
  PixelArray picture(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      picture.set(x, y, colours[std::min(std::string_view("#dlyz").find(rows[y][x]), 5ul)]);
  return picture;
}

// X, Y, xPixel and yPixel of each point.
std::vector<std::array<float, 4>> values(const std::vector<DataPoint>& points) {
  std::vector<std::array<float, 4>> out;
  for (const DataPoint& p : points) out.push_back({p.XData, p.YData, p.XPixel, p.YPixel});
  return out;
}

std::vector<PictureCell> ring(int x, int y) {  // around a single pixel, clockwise from above
  return {{x, y - 1}, {x + 1, y - 1}, {x + 1, y}, {x + 1, y + 1},
          {x, y + 1}, {x - 1, y + 1}, {x - 1, y}, {x - 1, y - 1}};
}

// The whole picture as the rectangle, X 0 to 2W, Y -H (bottom) to H; each blob gives the point of
// the mean column and row of its dark pixels.
TEST(ScanPoints, OnePointPerBlobAtItsCentreOfMass) {
  const std::vector<PictureCell> wideTail = {{2, 2}, {2, 1}, {3, 1}, {4, 1}, {4, 2},
                                             {4, 3}, {4, 4}, {3, 4}, {2, 4}, {2, 3},
                                             {2, 3}, {1, 3}, {1, 2}, {1, 1}, {2, 1}};
  // clang-format off
  const struct {
    std::vector<std::string_view> rows;
    std::vector<std::pair<double, double>> means;  // mean column and row of each blob
    ScanPointsStatus status = ScanPointsStatus::Completed;
    std::vector<PictureCell> paintedTail = {};  // the last squares painted
  } cases[] = {
      {.rows = {"...", ".#.", "..."}, .means = {{1, 1}}, .paintedTail = ring(1, 1)},
      // Dark is r + g + b <= 600.
      {.rows = {"......", ".d..l.", "......", ".y..z."}, .means = {{1, 1}, {1, 3}}},
      {.rows = {"......", "..#...", "...#..", "......"}, .means = {{2.5, 1.5}}},
      {.rows = {"......", "...#..", "..#...", "......"}, .means = {{2.5, 1.5}}},
      {.rows = {"........", ".######.", ".#....#.", ".#.#..#.", ".#....#.", ".######.", "........"},
       .means = {{66.0 / 19, 3}}},  // a ring with a dark pixel inside
      {.rows = {"....", "....", "...."}, .means = {}},
      // Walks that never come back to their start; a blob whose spans hold no dark cell.
      {.rows = {".###.", "#...#", "..#..", "..#.."}, .means = {{12.0 / 6, 4.0 / 6}, {2, 2.5}}},
      {.rows = {".####.", "#....#", "..##..", "...#.."}, .means = {{2.5, 0.75}, {8.0 / 3, 7.0 / 3}},
       .paintedTail = wideTail},
      {.rows = {".###..", "#...#.", "#.#..#", "...#..", "...#..", "#....."},
       .means = {{20 / 9., 11 / 9.}}, .status = ScanPointsStatus::SumError}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.rows));
    const PixelArray picture = pictureFrom(c.rows);
    const float w = static_cast<float>(picture.width()), h = static_cast<float>(picture.height());
    const ScanPointsParams params{
        .calibration = {{0, w, 0, h}, 0, 2 * w, -h, h}, .pictureHeight = h, .recordPainted = true};
    const ScanPointsResult result = scanPoints(picture, params);
    EXPECT_EQ(result.status, c.status);
    std::vector<std::array<float, 4>> expected;
    for (const auto& [mx, my] : c.means) {
      const float px = static_cast<float>(mx + 0.5), py = static_cast<float>(my + 0.5);
      const DataValue v = axisValuesAt(params.calibration, px, py).value();
      expected.push_back({v.x, v.y, px, static_cast<float>(h - 1 - my - 0.5)});
    }
    EXPECT_EQ(values(result.points), expected);
    const std::size_t tail = std::min(result.painted.size(), c.paintedTail.size());
    EXPECT_EQ(std::vector(result.painted.end() - tail, result.painted.end()), c.paintedTail);
  }
}

// No grid is allocated for a rectangle that is not a number or a picture without pixels.
TEST(ScanPoints, BadRectanglesAndEmptyPicturesGiveNoPoints) {
  const PixelArray picture = pictureFrom({"#.....", "......", ".....#"});
  EXPECT_TRUE(scanPoints(picture, {{{NAN, 6, 0, 3}, 0, 1, 0, 1}, 3}).points.empty());
  EXPECT_TRUE(scanPoints(PixelArray(), {{{0, 6, 0, 3}, 0, 1, 0, 1}, 3}).points.empty());
  EXPECT_EQ(scanPoints(picture, {{{-5, 3e4f, -5, 3e4f}, 0, 1, 0, 1}, 3}).points.size(), 2u);
}

// pct = x / 200 * 100: 9/200 and 19/200 round halves to even; 59/200 is 29.4999981 in float.
TEST(ScanPoints, ProgressBarFollowsTheRoundedPercentage) {
  // clang-format off
  const struct { int x; float xs = 0, xe = 200; std::optional<int> shown = {}; } cases[] = {
      {.x = 0, .shown = 0}, {.x = 4}, {.x = 9}, {.x = 19, .shown = 9}, {.x = 59},
      {.x = 110, .shown = 55}, {.x = 2, .xs = 2.5f, .xe = 2.5f},
      {.x = 2, .xs = 2.5f, .xe = 102.5f, .shown = 0}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(scanProgressValue(c.x, c.xs, c.xe), c.shown) << c.x << ' ' << c.xs << ' ' << c.xe;
}

TEST(VisitedCellBox, CornersRoundedAndOrdered) {
  // clang-format off
  const struct { PictureCell cell; float zoom; int h = 0, v = 0; DisplayBox box; } cases[] = {
      {.cell = {3, 4}, .zoom = 2, .h = 10, .v = 6, .box = {-4, 2, -3, 3}},
      {.cell = {3, 4}, .zoom = 0.5f, .box = {1, 2, 2, 2}},
      {.cell = {5, 1}, .zoom = 0.25f, .box = {0, 0, 1, 0}},
      {.cell = {100, 50}, .zoom = 64, .h = 6000, .v = 3000, .box = {400, 200, 463, 263}}};
  // clang-format on
  for (const auto& c : cases) {
    const DisplayBox box = visitedCellBox(c.cell, c.zoom, c.h, c.v);
    EXPECT_EQ((std::array{box.left, box.top, box.right, box.bottom}),
              (std::array{c.box.left, c.box.top, c.box.right, c.box.bottom}))
        << c.cell.x << "," << c.cell.y << " at zoom " << c.zoom;
  }
}

}  // namespace
}  // namespace plotvane
