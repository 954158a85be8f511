#include "digitize/scan_points.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
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
  return {{0, w, 0, h, 0, 2 * w, -h, h}, h, true};
}

using Fields = std::vector<std::array<float, 4>>;
Fields fields(const std::vector<DataPoint>& points) {
  Fields out;
  for (const DataPoint& p : points) out.push_back({p.XData, p.YData, p.XPixel, p.YPixel});
  return out;
}

// The point of a blob whose counted pixels have mean column mx and mean row my.
std::array<float, 4> blobPoint(const ScanPointsParams& params, double mx, double my) {
  const float px = static_cast<float>(mx + 0.5), py = static_cast<float>(my + 0.5);
  const DataValue value = axisValuesAt(params.calibration, px, py).value();
  return {value.x, value.y, px, static_cast<float>(params.pictureHeight - 1 - my - 0.5)};
}

std::vector<PictureCell> ring(int x, int y) {  // around a single pixel, clockwise from above
  return {{x, y - 1}, {x + 1, y - 1}, {x + 1, y}, {x + 1, y + 1},
          {x, y + 1}, {x - 1, y + 1}, {x - 1, y}, {x - 1, y - 1}};
}

TEST(ScanPoints, OnePointPerBlobAtItsCentreOfMass) {
  struct Case {
    std::vector<std::string_view> rows;
    std::vector<std::pair<double, double>> means;
    ScanPointsStatus status = ScanPointsStatus::Completed;
    std::vector<PictureCell> paintedTail = {};  // the last squares painted
  };
  const std::vector<PictureCell> wideTail = {{2, 2}, {2, 1}, {3, 1}, {4, 1}, {4, 2},
                                             {4, 3}, {4, 4}, {3, 4}, {2, 4}, {2, 3},
                                             {2, 3}, {1, 3}, {1, 2}, {1, 1}, {2, 1}};
  const auto ok = ScanPointsStatus::Completed, error = ScanPointsStatus::SumError;
  const Case cases[] = {
      {{"...", ".#.", "..."}, {{1, 1}}, ok, ring(1, 1)},
      {{"......", ".d..l.", "......", ".y..z."}, {{1, 1}, {1, 3}}},  // r + g + b <= 600
      {{"......", "..#...", "...#..", "......"}, {{2.5, 1.5}}},
      {{"......", "...#..", "..#...", "......"}, {{2.5, 1.5}}},
      {{"........", ".######.", ".#....#.", ".#.#..#.", ".#....#.", ".######.", "........"},
       {{66.0 / 19, 3}}},  // a ring with a dark pixel inside
      {{"....", "....", "...."}, {}},
      // Walks that never come back to their start; a blob whose spans hold no dark cell.
      {{".###.", "#...#", "..#..", "..#.."}, {{12.0 / 6, 4.0 / 6}, {2, 2.5}}},
      {{".####.", "#....#", "..##..", "...#.."}, {{2.5, 0.75}, {8.0 / 3, 7.0 / 3}}, ok, wideTail},
      {{".###..", "#...#.", "#.#..#", "...#..", "...#..", "#....."}, {{20 / 9., 11 / 9.}}, error}};
  for (const Case& c : cases) {
    const PixelArray picture = pictureFrom(c.rows);
    const ScanPointsParams params = wholePicture(picture);
    const ScanPointsResult result = scanPoints(picture, params);
    SCOPED_TRACE(testing::PrintToString(c.rows));
    EXPECT_EQ(result.status, c.status);
    Fields expected;
    for (const auto& [mx, my] : c.means) expected.push_back(blobPoint(params, mx, my));
    EXPECT_EQ(fields(result.points), expected);
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
  const Fields all = {{101, 19, 50.5f, 28.5f}, {11, -21, 5.5f, 8.5f}, {41, -21, 20.5f, 8.5f}};
  const std::tuple<ScanStage, int, std::size_t> cases[] = {
      {Marking, 0, 3}, {Marking, 1, 0}, {Row, 6, 1}, {Blob, 1, 0}, {Blob, 3, 2}};
  for (const auto& [stage, nth, points] : cases) {
    int count = 0, stopped = 0;
    std::string seen;  // stage, column or row up to 10, bar
    const ScanPointsResult result =
        scanPoints(picture, wholePicture(picture), [&](const ScanPointsProgress& p) {
          EXPECT_FALSE(stopped) << "called after stopping";
          EXPECT_EQ(p.painted.size(), (p.points.size() + (p.stage == Blob)) * 8);  // 8 per blob
          if (p.position <= 10)
            seen += "MRB"[int(p.stage)] + std::to_string(p.position) + ':' +
                    std::to_string(p.progressBar) + ' ';
          stopped = p.stage == stage && ++count == nth;
          return !stopped;
        });
    EXPECT_EQ(result.status, nth ? ScanPointsStatus::Stopped : ScanPointsStatus::Completed);
    EXPECT_EQ(fields(result.points), Fields(all.begin(), all.begin() + points)) << nth;
    // Odd columns set the bar too (5 at column 3, 15 at column 9); the blob pass leaves it.
    if (nth == 0) {
      EXPECT_EQ(seen,
                "M0:0 M2:0 M4:5 M6:10 M8:10 M10:15 R0:95 R2:95 R4:95 R6:95 R8:95 B10:95 R10:95 ");
    }
  }
}

// round(2.5 - 1) = round(2.5): the grid must still get a border around the scan area.
// Black outside the scan area (first to last) and in its two corners.
TEST(ScanPoints, RectangleOnHalfPixelsKeepsABorder) {
  const std::tuple<float, float, float, float, PictureCell, PictureCell> cases[] = {
      {2.5f, 10.5f, 2.5f, 8.5f, {2, 2}, {10, 8}},
      {0.5f, 12.5f, 0.5f, 10.5f, {0, 0}, {12, 10}},
      {2, 11, 4.5f, 9, {2, 4}, {10, 8}}};
  for (const auto& [xs, xe, yt, yb, first, last] : cases) {
    PixelArray picture(14, 12, kBlack);
    for (int y = first.y; y <= last.y; ++y)
      for (int x = first.x; x <= last.x; ++x)
        if (PictureCell{x, y} != first && PictureCell{x, y} != last) picture.set(x, y, kWhite);
    const ScanPointsParams params{{xs, xe, yt, yb, 0, 1, 0, 1}, 12, true};
    const ScanPointsResult result = scanPoints(picture, params);
    EXPECT_EQ(fields(result.points),
              (Fields{blobPoint(params, first.x, first.y), blobPoint(params, last.x, last.y)}));
    EXPECT_EQ(result.painted.size(), 16u) << xs;
  }
}

// A 30000 x 30000 grid would not be allocated for this 6 x 5 picture.
TEST(ScanPoints, RectangleIsClampedToThePicture) {
  const PixelArray picture = pictureFrom({"#.....", "......", "......", "......", ".....#"});
  const std::pair<std::array<float, 4>, std::size_t> cases[] = {
      {{-5, 30000, -5, 30000}, 2}, {{20, 30, 20, 30}, 0}, {{NAN, 6, 0, 5}, 0}, {{3, 3, 0, 5}, 0}};
  for (const auto& [r, points] : cases)
    EXPECT_EQ(scanPoints(picture, {{r[0], r[1], r[2], r[3], 0, 1, 0, 1}, 5}).points.size(), points);
  EXPECT_TRUE(scanPoints(PixelArray(), wholePicture(picture)).points.empty());
}

// pct = x / 200 * 100: 9/200 and 19/200 round halves to even; 59/200 is 29.4999981 in float.
TEST(ScanPoints, ProgressBarFollowsTheRoundedPercentage) {
  const std::nullopt_t none = std::nullopt;
  const std::tuple<int, float, float, std::optional<int>> cases[] = {
      {0, 0, 200, 0},     {4, 0, 200, none}, {9, 0, 200, none},     {19, 0, 200, 9},
      {59, 0, 200, none}, {110, 0, 200, 55}, {2, 2.5f, 2.5f, none}, {2, 2.5f, 102.5f, 0}};
  for (const auto& [x, xs, xe, shown] : cases)
    EXPECT_EQ(scanProgressValue(x, xs, xe), shown) << x << ' ' << xs << ' ' << xe;
}

TEST(VisitedCellBox, CornersRoundedAndOrdered) {
  const std::tuple<PictureCell, float, int, int, DisplayBox> cases[] = {
      {{3, 4}, 1, 0, 0, {3, 4, 3, 4}},       {{3, 4}, 2, 10, 6, {-4, 2, -3, 3}},
      {{3, 4}, 0.5f, 0, 0, {1, 2, 2, 2}},    {{5, 1}, 0.25f, 0, 0, {0, 0, 1, 0}},
      {{-1, -1}, 4, 0, 0, {-4, -4, -1, -1}}, {{100, 50}, 64, 6000, 3000, {400, 200, 463, 263}}};
  for (const auto& [cell, zoom, h, v, box] : cases)
    EXPECT_EQ(visitedCellBox(cell, zoom, h, v), box) << cell.x << " zoom " << zoom;
}

}  // namespace
}  // namespace plotvane
