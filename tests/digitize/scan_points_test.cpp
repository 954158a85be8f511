#include "digitize/scan_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = rgbValue(255, 255, 255), kBlack = rgbValue(0, 0, 0);

// '#' black; d, l grey 200, 201; y, z (255, 255, 90), (255, 255, 91); else white.
PixelArray pictureFrom(const std::vector<std::string_view>& rows) {
  const std::uint32_t colours[] = {kBlack, 0xC8C8C8, 0xC9C9C9, 0x5AFFFF, 0x5BFFFF, kWhite};
  PixelArray picture(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), kWhite);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      picture.set(x, y, colours[std::min(std::string_view("#dlyz").find(rows[y][x]), 5ul)]);
  return picture;
}

// The whole picture as the rectangle; X runs 0 to 2W, Y runs -H (bottom) to H.
ScanPointsParams wholePicture(const PixelArray& picture) {
  const float w = static_cast<float>(picture.width()), h = static_cast<float>(picture.height());
  return {
      .calibration = {{0, w, 0, h}, 0, 2 * w, -h, h}, .pictureHeight = h, .recordPainted = true};
}

// The point of a blob whose counted pixels have mean column mx and mean row my.
DataPoint blobPoint(const ScanPointsParams& params, double mx, double my) {
  const float px = static_cast<float>(mx + 0.5), py = static_cast<float>(my + 0.5);
  const DataValue value = axisValuesAt(params.calibration, px, py).value();
  return {value.x, value.y, px, static_cast<float>(params.pictureHeight - 1 - my - 0.5)};
}

void expectPoints(const std::vector<DataPoint>& points, const std::vector<DataPoint>& expected) {
  ASSERT_EQ(points.size(), expected.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].XData, expected[i].XData) << "point " << i;
    EXPECT_EQ(points[i].YData, expected[i].YData) << "point " << i;
    EXPECT_EQ(points[i].XPixel, expected[i].XPixel) << "point " << i;
    EXPECT_EQ(points[i].YPixel, expected[i].YPixel) << "point " << i;
  }
}

std::vector<PictureCell> ring(int x, int y) {  // around a single pixel, clockwise from above
  return {{x, y - 1}, {x + 1, y - 1}, {x + 1, y}, {x + 1, y + 1},
          {x, y + 1}, {x - 1, y + 1}, {x - 1, y}, {x - 1, y - 1}};
}

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
    const PixelArray picture = pictureFrom(c.rows);
    const ScanPointsParams params = wholePicture(picture);
    const ScanPointsResult result = scanPoints(picture, params);
    SCOPED_TRACE(testing::PrintToString(c.rows));
    EXPECT_EQ(result.status, c.status);
    std::vector<DataPoint> expected;
    for (const auto& [mx, my] : c.means) expected.push_back(blobPoint(params, mx, my));
    expectPoints(result.points, expected);
    const std::size_t tail = std::min(result.painted.size(), c.paintedTail.size());
    EXPECT_EQ(std::vector(result.painted.end() - tail, result.painted.end()), c.paintedTail);
  }
}

// Blobs come top row first, then left to right. Stopped at the n-th yield of a
// stage (counted from 1), a run keeps the points appended so far.
TEST(ScanPoints, YieldsInOrderAndStopsWhereTheCallbackSays) {
  using enum ScanStage;
  PixelArray picture(60, 40, kWhite);
  for (const PictureCell c : {PictureCell{50, 10}, {20, 30}, {5, 30}})
    picture.set(c.x, c.y, kBlack);
  // X 0..120 over columns 0..60, Y 40..-40 over rows 0..40; xPixel = x + 0.5.
  const std::vector<DataPoint> all = {
      {101, 19, 50.5f, 28.5f}, {11, -21, 5.5f, 8.5f}, {41, -21, 20.5f, 8.5f}};
  // clang-format off
  const struct { ScanStage stage; int nth; std::size_t points; } cases[] = {
      {.stage = Marking, .nth = 0, .points = 3}, {.stage = Marking, .nth = 1, .points = 0},
      {.stage = Row, .nth = 6, .points = 1}, {.stage = Blob, .nth = 1, .points = 0},
      {.stage = Blob, .nth = 3, .points = 2}};
  // The yields up to column or row 10 of a run to the end. Odd columns set the bar too (5 at
  // column 3, 15 at column 9); the blob pass leaves it.
  struct Yield { ScanStage stage; int position, bar; };  // bar: the progress bar's value
  const Yield firstYields[] = {
      {.stage = Marking, .position = 0, .bar = 0}, {.stage = Marking, .position = 2, .bar = 0},
      {.stage = Marking, .position = 4, .bar = 5}, {.stage = Marking, .position = 6, .bar = 10},
      {.stage = Marking, .position = 8, .bar = 10}, {.stage = Marking, .position = 10, .bar = 15},
      {.stage = Row, .position = 0, .bar = 95}, {.stage = Row, .position = 2, .bar = 95},
      {.stage = Row, .position = 4, .bar = 95}, {.stage = Row, .position = 6, .bar = 95},
      {.stage = Row, .position = 8, .bar = 95}, {.stage = Blob, .position = 10, .bar = 95},
      {.stage = Row, .position = 10, .bar = 95}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "stopped at yield " << c.nth << " of stage " << static_cast<int>(c.stage));
    int count = 0, stopped = 0;
    std::vector<Yield> seen;
    const ScanPointsResult result =
        scanPoints(picture, wholePicture(picture), [&](const ScanPointsProgress& p) {
          EXPECT_FALSE(stopped) << "called after stopping";
          EXPECT_EQ(p.painted.size(), (p.points.size() + (p.stage == Blob)) * 8);  // 8 per blob
          if (p.position <= 10) seen.push_back({p.stage, p.position, p.progressBar});
          stopped = p.stage == c.stage && ++count == c.nth;
          return !stopped;
        });
    EXPECT_EQ(result.status, c.nth ? ScanPointsStatus::Stopped : ScanPointsStatus::Completed);
    expectPoints(result.points, std::vector(all.begin(), all.begin() + c.points));
    if (c.nth != 0) continue;
    ASSERT_EQ(seen.size(), std::size(firstYields));
    for (std::size_t i = 0; i < seen.size(); ++i) {
      EXPECT_EQ(seen[i].stage, firstYields[i].stage) << "yield " << i;
      EXPECT_EQ(seen[i].position, firstYields[i].position) << "yield " << i;
      EXPECT_EQ(seen[i].bar, firstYields[i].bar) << "yield " << i;
    }
  }
}

// round(2.5 - 1) = round(2.5): the grid must still get a border around the scan area.
// Black outside the scan area (first to last) and in its two corners.
TEST(ScanPoints, RectangleOnHalfPixelsKeepsABorder) {
  // clang-format off
  const struct { PixelRect rect; PictureCell first, last; } cases[] = {
      {.rect = {2.5f, 10.5f, 2.5f, 8.5f}, .first = {2, 2}, .last = {10, 8}},
      {.rect = {0.5f, 12.5f, 0.5f, 10.5f}, .first = {0, 0}, .last = {12, 10}},
      {.rect = {2, 11, 4.5f, 9}, .first = {2, 4}, .last = {10, 8}}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "left edge " << c.rect.lineXS);
    PixelArray picture(14, 12, kBlack);
    for (int y = c.first.y; y <= c.last.y; ++y)
      for (int x = c.first.x; x <= c.last.x; ++x)
        if (PictureCell{x, y} != c.first && PictureCell{x, y} != c.last) picture.set(x, y, kWhite);
    const ScanPointsParams params{
        .calibration = {c.rect, 0, 1, 0, 1}, .pictureHeight = 12, .recordPainted = true};
    const ScanPointsResult result = scanPoints(picture, params);
    expectPoints(result.points,
                 {blobPoint(params, c.first.x, c.first.y), blobPoint(params, c.last.x, c.last.y)});
    EXPECT_EQ(result.painted.size(), 16u);
  }
}

// A 30000 x 30000 grid would not be allocated for this 6 x 5 picture.
TEST(ScanPoints, RectangleIsClampedToThePicture) {
  const PixelArray picture = pictureFrom({"#.....", "......", "......", "......", ".....#"});
  // clang-format off
  const struct { PixelRect rect; std::size_t points; } cases[] = {
      {.rect = {-5, 30000, -5, 30000}, .points = 2}, {.rect = {20, 30, 20, 30}, .points = 0},
      {.rect = {NAN, 6, 0, 5}, .points = 0}, {.rect = {3, 3, 0, 5}, .points = 0}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(scanPoints(picture, {{c.rect, 0, 1, 0, 1}, 5}).points.size(), c.points)
        << c.rect.lineXS << " to " << c.rect.lineXE;
  EXPECT_TRUE(scanPoints(PixelArray(), wholePicture(picture)).points.empty());
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
  const struct {
    PictureCell cell; float zoom; int hScroll = 0, vScroll = 0; DisplayBox box;
  } cases[] = {
      {.cell = {3, 4}, .zoom = 1, .box = {3, 4, 3, 4}},
      {.cell = {3, 4}, .zoom = 2, .hScroll = 10, .vScroll = 6, .box = {-4, 2, -3, 3}},
      {.cell = {3, 4}, .zoom = 0.5f, .box = {1, 2, 2, 2}},
      {.cell = {5, 1}, .zoom = 0.25f, .box = {0, 0, 1, 0}},
      {.cell = {-1, -1}, .zoom = 4, .box = {-4, -4, -1, -1}},
      {.cell = {100, 50}, .zoom = 64, .hScroll = 6000, .vScroll = 3000,
       .box = {400, 200, 463, 263}}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.cell.x << "," << c.cell.y << " at zoom " << c.zoom);
    const DisplayBox box = visitedCellBox(c.cell, c.zoom, c.hScroll, c.vScroll);
    EXPECT_EQ(box.left, c.box.left);
    EXPECT_EQ(box.top, c.box.top);
    EXPECT_EQ(box.right, c.box.right);
    EXPECT_EQ(box.bottom, c.box.bottom);
  }
}

}  // namespace
}  // namespace plotvane
