#include "digitize/scan_points.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <optional>
#include <string_view>
#include <tuple>
#include <vector>

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = rgbValue(255, 255, 255);
constexpr std::uint32_t kBlack = rgbValue(0, 0, 0);

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
ScanPointsParams wholePicture(const PixelArray& picture, bool recordPainted = false) {
  const float w = static_cast<float>(picture.width()), h = static_cast<float>(picture.height());
  return {{0, w, 0, h, 0, 2 * w, -h, h}, h, recordPainted};
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
  const DataValue value = pixelToData(params.calibration, px, py).value();
  return {value.x, value.y, px, static_cast<float>(params.pictureHeight - 1 - my - 0.5)};
}

// The eight red squares around a single pixel, clockwise from the one above.
std::vector<PictureCell> ring(int x, int y) {
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
      // Single pixels (eight squares each, see the yields test); corners put the
      // walker on the grid border.
      {{"...", ".#.", "..."}, {{1, 1}}, ok, ring(1, 1)},
      {{"#.", ".."}, {{0, 0}}, ok, ring(0, 0)},
      {{"..#", "..."}, {{2, 0}}, ok, ring(2, 0)},
      {{"...", "..#"}, {{2, 1}}, ok, ring(2, 1)},
      {{"......", ".d..l.", "......", ".y..z."}, {{1, 1}, {1, 3}}},  // r + g + b <= 600
      {{"......", "..#...", "...#..", "......"}, {{2.5, 1.5}}},      // diagonals
      {{"......", "...#..", "..#...", "......"}, {{2.5, 1.5}}},
      // Ring of 24 around (5, 5) and a loose pixel (4, 5) inside it.
      {{"...........", "...........", "..#######..", "..#.....#..", "..#.....#..", "..#.#...#..",
        "..#.....#..", "..#.....#..", "..#######..", "..........."},
       {{124.0 / 25, 125.0 / 25}}},
      {{"..........", ".##....#..", ".......#..", ".........."}, {{1.5, 1}, {7, 1.5}}},
      {{"....", "....", "...."}, {}},
      // The arch's spans cover (2, 2): counted with the arch and again with
      // the blob from (2, 3), whose walk cannot return to its start.
      {{".###.", "#...#", "..#..", "..#.."}, {{12.0 / 6, 4.0 / 6}, {2, 2.5}}},
      // The walker steps back from (3, 2) onto the dark (2, 2) and circles
      // without coming back to its first state. Mean row 7/3 in double precision.
      {{".####.", "#....#", "..##..", "...#.."}, {{2.5, 0.75}, {8.0 / 3, 7.0 / 3}}, ok, wideTail},
      // The blob from (3, 4) under the visited (3, 3) walks rows 1 to 3 and its
      // spans hold no dark cell: "SumX,SumY ERROR" ends the run after the arch.
      {{".###..", "#...#.", "#.#..#", "...#..", "...#..", "#....."}, {{20 / 9., 11 / 9.}}, error}};
  for (const Case& c : cases) {
    const PixelArray picture = pictureFrom(c.rows);
    const ScanPointsParams params = wholePicture(picture, true);
    const ScanPointsResult result = scanPoints(picture, params);
    SCOPED_TRACE(testing::PrintToString(c.rows));
    EXPECT_EQ(result.status, c.status);
    Fields expected;
    for (const auto& [mx, my] : c.means) expected.push_back(blobPoint(params, mx, my));
    EXPECT_EQ(fields(result.points), expected);
    ASSERT_GE(result.painted.size(), c.paintedTail.size());
    EXPECT_EQ(std::vector(result.painted.end() - c.paintedTail.size(), result.painted.end()),
              c.paintedTail);
  }
}

TEST(ScanPoints, BlobsComeTopRowFirstThenLeftToRight) {
  PixelArray picture(60, 40, kWhite);
  for (const PictureCell c : {PictureCell{50, 10}, {20, 30}, {5, 30}})
    picture.set(c.x, c.y, kBlack);
  // X 0..120 over columns 0..60, Y 40..-40 over rows 0..40; xPixel = x + 0.5.
  EXPECT_EQ(fields(scanPoints(picture, wholePicture(picture)).points),
            (Fields{{101, 19, 50.5f, 28.5f}, {11, -21, 5.5f, 8.5f}, {41, -21, 20.5f, 8.5f}}));
}

// round(2.5 - 1) = round(2.5): the grid must still get a border around the scan area.
TEST(ScanPoints, RectangleOnHalfPixelsKeepsABorder) {
  const std::tuple<float, float, float, float, PictureCell, PictureCell> cases[] = {
      {2.5f, 10.5f, 2.5f, 8.5f, {2, 2}, {10, 8}},
      {1.5f, 9.5f, 1.5f, 7.5f, {2, 2}, {8, 6}},
      {0.5f, 12.5f, 0.5f, 10.5f, {0, 0}, {12, 10}},
      {2, 11, 4.5f, 9, {2, 4}, {10, 8}}};
  for (const auto& [xs, xe, yt, yb, first, last] : cases) {
    // Black outside the scan area (first to last) and in its two corners.
    PixelArray picture(14, 12, kBlack);
    for (int y = first.y; y <= last.y; ++y)
      for (int x = first.x; x <= last.x; ++x) picture.set(x, y, kWhite);
    picture.set(first.x, first.y, kBlack);
    picture.set(last.x, last.y, kBlack);
    const ScanPointsParams params{{xs, xe, yt, yb, 0, 1, 0, 1}, 12, true};
    const ScanPointsResult result = scanPoints(picture, params);
    EXPECT_EQ(result.status, ScanPointsStatus::Completed) << xs;
    EXPECT_EQ(fields(result.points),
              (Fields{blobPoint(params, first.x, first.y), blobPoint(params, last.x, last.y)}));
    EXPECT_EQ(result.painted.size(), 16u) << xs;
  }
}

TEST(ScanPoints, RectangleIsClampedToThePicture) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const PixelArray picture = pictureFrom({"#.....", "......", "......", "......", ".....#"});
  // A 30000 x 30000 grid would not be allocated for this 6 x 5 picture.
  const std::pair<Calibration, std::size_t> cases[] = {{{-5, 30000, -5, 30000, 0, 1, 0, 1}, 2},
                                                       {{20, 30, 20, 30, 0, 1, 0, 1}, 0},
                                                       {{nan, 6, 0, 5, 0, 1, 0, 1}, 0},
                                                       {{3, 3, 0, 5, 0, 1, 0, 1}, 0}};
  for (const auto& [calibration, points] : cases) {
    const ScanPointsResult result =
        scanPoints(picture, {calibration, 5}, [](const ScanPointsProgress& p) {
          EXPECT_TRUE(p.position >= 0 && p.position < 6) << p.position;
          return true;
        });
    EXPECT_EQ(result.status, ScanPointsStatus::Completed);
    EXPECT_EQ(result.points.size(), points) << calibration.lineXS;
  }
  EXPECT_TRUE(scanPoints(PixelArray(), wholePicture(picture)).points.empty());
}

TEST(ScanPoints, YieldsInOrderAndStopsWhereTheCallbackSays) {
  using enum ScanStage;
  const PixelArray dot = pictureFrom({"...", ".#.", "..."});
  std::vector<std::pair<ScanStage, int>> seen;
  scanPoints(dot, wholePicture(dot), [&](const ScanPointsProgress& p) {
    seen.emplace_back(p.stage, p.position);
    return true;
  });
  EXPECT_EQ(seen, (decltype(seen){{Marking, 0}, {Marking, 2}, {Row, 0}, {Blob, 1}, {Row, 2}}));

  PixelArray picture(20, 12, kWhite);
  for (const PictureCell c : {PictureCell{3, 1}, {10, 5}, {15, 9}, {4, 11}})
    picture.set(c.x, c.y, kBlack);
  // Stop at the n-th yield of a stage, counted from 1; the points appended so far stay.
  const std::tuple<ScanStage, int, std::size_t> cases[] = {
      {Marking, 1, 0}, {Row, 3, 1}, {Blob, 1, 0}, {Blob, 3, 2}};
  for (const auto& [stage, nth, points] : cases) {
    int count = 0;
    bool stopped = false;
    const ScanPointsResult result =
        scanPoints(picture, wholePicture(picture, true), [&](const ScanPointsProgress& p) {
          EXPECT_FALSE(stopped) << "called after stopping";
          // Eight squares per single-pixel blob, the current blob's included.
          EXPECT_EQ(p.painted.size(), (p.points.size() + (p.stage == Blob)) * 8);
          stopped = p.stage == stage && ++count == nth;
          return !stopped;
        });
    EXPECT_EQ(result.status, ScanPointsStatus::Stopped);
    EXPECT_EQ(result.points.size(), points) << int(stage) << ' ' << nth;
  }
}

TEST(ScanPoints, ProgressBarFollowsTheRoundedPercentage) {
  const std::nullopt_t none = std::nullopt;
  // 9/200 and 19/200 round halves to even; 59/200 is 29.4999981 in single precision.
  const std::tuple<int, float, float, std::optional<int>> cases[] = {
      {0, 0, 100, 0},        {5, 0, 100, 5},   {4, 0, 100, none},    {9, 0, 200, none},
      {19, 0, 200, 9},       {21, 0, 200, 10}, {59, 0, 200, none},   {2, 2.5f, 3.5f, 0},
      {2, 2.5f, 2.5f, none}, {12, 10, 30, 10}, {2, 2.5f, 102.5f, 0}, {110, 0, 200, 55}};
  for (const auto& [x, xs, xe, shown] : cases)
    EXPECT_EQ(scanProgressValue(x, xs, xe), shown) << x << ' ' << xs << ' ' << xe;

  // At each even column the bar shows the last value set, odd columns included.
  const PixelArray picture(400, 1, kWhite);
  std::vector<int> bar;
  scanPoints(picture, wholePicture(picture), [&](const ScanPointsProgress& p) {
    if (p.stage == ScanStage::Marking && p.position <= 40) bar.push_back(p.progressBar);
    return true;
  });
  EXPECT_EQ(bar, (std::vector{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 5, 5, 5, 5, 5, 5, 5, 5, 9, 10}));
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
