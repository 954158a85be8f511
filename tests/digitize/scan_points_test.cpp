#include "digitize/scan_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace plotvane {
namespace {

constexpr std::uint32_t kWhite = rgbValue(255, 255, 255);
constexpr std::uint32_t kBlack = rgbValue(0, 0, 0);

// '#' is black, anything else white.
PixelArray pictureFrom(const std::vector<std::string_view>& rows) {
  PixelArray picture(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), kWhite);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (rows[y][x] == '#') picture.set(x, y, kBlack);
    }
  }
  return picture;
}

// The whole picture as the rectangle; X runs 0 to 2W, Y runs -H (bottom) to H.
ScanPointsParams wholePicture(const PixelArray& picture, bool recordPainted = false) {
  const float w = static_cast<float>(picture.width()), h = static_cast<float>(picture.height());
  ScanPointsParams params;
  params.calibration = {0, w, 0, h, 0, 2 * w, -h, h};
  params.pictureHeight = h;
  params.recordPainted = recordPainted;
  return params;
}

// The point of a blob whose counted pixels have the mean column meanX and
// mean row meanY (means of whole numbers, taken in double precision).
DataPoint blobPoint(const ScanPointsParams& params, double meanX, double meanY) {
  const float px = static_cast<float>(meanX + 0.5), py = static_cast<float>(meanY + 0.5);
  const DataValue value = pixelToData(params.calibration, px, py).value();
  return {value.x, value.y, px,
          static_cast<float>(static_cast<double>(params.pictureHeight - 1) - meanY - 0.5)};
}

void expectPoints(const std::vector<DataPoint>& actual, const std::vector<DataPoint>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(actual[i].XData, expected[i].XData) << "point " << i;
    EXPECT_EQ(actual[i].YData, expected[i].YData) << "point " << i;
    EXPECT_EQ(actual[i].XPixel, expected[i].XPixel) << "point " << i;
    EXPECT_EQ(actual[i].YPixel, expected[i].YPixel) << "point " << i;
  }
}

TEST(ScanPoints, SinglePixelIsItsOwnCentreAndPaintsItsEightNeighbours) {
  struct Case {
    int x, y;
  };
  // The corners put the walker on the grid border.
  for (const Case c : {Case{5, 7}, Case{0, 0}, Case{11, 9}, Case{11, 0}}) {
    PixelArray picture(12, 10, kWhite);
    picture.set(c.x, c.y, kBlack);
    ScanPointsParams params = wholePicture(picture, true);
    params.calibration = {0, 12, 0, 10, 0, 10, -5, 5};
    const ScanPointsResult result = scanPoints(picture, params);
    EXPECT_EQ(result.status, ScanPointsStatus::Completed);
    expectPoints(result.points, {blobPoint(params, c.x, c.y)});
    const int x = c.x, y = c.y;
    const std::vector<PictureCell> clockwise = {{x, y - 1},     {x + 1, y - 1}, {x + 1, y},
                                                {x + 1, y + 1}, {x, y + 1},     {x - 1, y + 1},
                                                {x - 1, y},     {x - 1, y - 1}};
    EXPECT_EQ(result.painted, clockwise) << x << ',' << y;
  }
  // (5.5, 7.5) on X 0..10 over 0..12 and Y -5..5 over 10..0 rows.
  PixelArray picture(12, 10, kWhite);
  picture.set(5, 7, kBlack);
  ScanPointsParams params = wholePicture(picture);
  params.calibration = {0, 12, 0, 10, 0, 12, -5, 5};
  const ScanPointsResult result = scanPoints(picture, params);
  ASSERT_EQ(result.points.size(), 1u);
  EXPECT_EQ(result.points[0].XData, 5.5f);
  EXPECT_EQ(result.points[0].YData, -2.5f);
  EXPECT_EQ(result.points[0].XPixel, 5.5f);
  EXPECT_EQ(result.points[0].YPixel, 1.5f);
}

TEST(ScanPoints, ConnectedMarksGiveOnePointAtTheirCentreOfMass) {
  struct Case {
    const char* name;
    std::vector<std::string_view> rows;
    std::vector<std::pair<double, double>> means;
  };
  const Case cases[] = {
      {"diagonal", {"......", "..#...", "...#..", "......"}, {{2.5, 1.5}}},
      {"anti-diagonal", {"......", "...#..", "..#...", "......"}, {{2.5, 1.5}}},
      // Ring of 24 pixels around (5, 5) plus one loose pixel at (4, 5) inside:
      // x sum 120 + 4, y sum 120 + 5, over 25.
      {"ring with a mark inside",
       {"...........", "...........", "..#######..", "..#.....#..", "..#.....#..", "..#.#...#..",
        "..#.....#..", "..#.....#..", "..#######..", "..........."},
       {{124.0 / 25, 125.0 / 25}}},
      // Two marks on one row: the first one's spans must not reach the second.
      {"same row", {"..........", ".##....#..", ".......#..", ".........."}, {{1.5, 1}, {7, 1.5}}},
      {"white", {"....", "....", "...."}, {}},
  };
  for (const Case& c : cases) {
    const PixelArray picture = pictureFrom(c.rows);
    const ScanPointsParams params = wholePicture(picture);
    const ScanPointsResult result = scanPoints(picture, params);
    EXPECT_EQ(result.status, ScanPointsStatus::Completed) << c.name;
    std::vector<DataPoint> expected;
    for (const auto& [mx, my] : c.means) expected.push_back(blobPoint(params, mx, my));
    SCOPED_TRACE(c.name);
    expectPoints(result.points, expected);
  }
}

TEST(ScanPoints, DarkMeansAtMost600) {
  struct Case {
    std::uint32_t colour;
    bool dark;
  };
  const Case cases[] = {{rgbValue(200, 200, 200), true}, {rgbValue(201, 201, 201), false},
                        {rgbValue(255, 255, 90), true},  {rgbValue(255, 255, 91), false},
                        {rgbValue(90, 255, 255), true},  {rgbValue(0, 0, 0), true},
                        {rgbValue(255, 254, 92), false}};
  for (const Case& c : cases) {
    PixelArray picture(5, 5, kWhite);
    picture.set(2, 3, c.colour);
    EXPECT_EQ(scanPoints(picture, wholePicture(picture)).points.size(), c.dark ? 1u : 0u)
        << std::hex << c.colour;
  }
}

TEST(ScanPoints, BlobsComeTopRowFirstThenLeftToRight) {
  PixelArray picture(60, 40, kWhite);
  picture.set(50, 10, kBlack);
  picture.set(20, 30, kBlack);
  picture.set(5, 30, kBlack);
  const ScanPointsResult result = scanPoints(picture, wholePicture(picture));
  ASSERT_EQ(result.points.size(), 3u);
  EXPECT_EQ(result.points[0].XPixel, 50.5f);
  EXPECT_EQ(result.points[1].XPixel, 5.5f);
  EXPECT_EQ(result.points[2].XPixel, 20.5f);
}

// The cell above a blob's start can be dark and already visited by an earlier
// blob's spans; the walk then never returns to its start cell.
TEST(ScanPoints, TraceThatCannotReachItsStartStillEnds) {
  // The arch's spans cover (2, 2), which counts with the arch and again with
  // the blob that starts at (2, 3).
  const PixelArray arch = pictureFrom({".###.", "#...#", "..#..", "..#.."});
  ScanPointsParams params = wholePicture(arch);
  ScanPointsResult result = scanPoints(arch, params);
  EXPECT_EQ(result.status, ScanPointsStatus::Completed);
  expectPoints(result.points, {blobPoint(params, 12.0 / 6, 4.0 / 6), blobPoint(params, 2, 2.5)});

  // The walker steps back from the dark (3, 2) onto the dark (2, 2) and later
  // circles without coming back to its first state.
  const PixelArray wide = pictureFrom({".####.", "#....#", "..##..", "...#.."});
  params = wholePicture(wide, true);
  result = scanPoints(wide, params);
  EXPECT_EQ(result.status, ScanPointsStatus::Completed);
  expectPoints(result.points,
               {blobPoint(params, 20.0 / 8, 6.0 / 8), blobPoint(params, 8.0 / 3, 7.0 / 3)});
  // Means in double precision: in single precision 3 - 7/3 - 0.5 would be 0.16666675.
  EXPECT_EQ(result.points[1].YPixel, 0.166666672f);
  const std::vector<PictureCell> secondTrace = {{2, 2}, {2, 1}, {3, 1}, {4, 1}, {4, 2},
                                                {4, 3}, {4, 4}, {3, 4}, {2, 4}, {2, 3},
                                                {2, 3}, {1, 3}, {1, 2}, {1, 1}, {2, 1}};
  ASSERT_GE(result.painted.size(), secondTrace.size());
  EXPECT_EQ(
      std::vector<PictureCell>(result.painted.end() - secondTrace.size(), result.painted.end()),
      secondTrace);
}

TEST(ScanPoints, BlobWithoutDarkCellsInItsSpansEndsTheRun) {
  // The second blob starts at (3, 4) under the dark, visited (3, 3); its walk
  // stays in rows 1 to 3 and its spans hold no dark cell.
  const PixelArray picture =
      pictureFrom({".###..", "#...#.", "#.#..#", "...#..", "...#..", "#....."});
  const ScanPointsParams params = wholePicture(picture);
  std::vector<ScanStage> stages;
  const ScanPointsResult result = scanPoints(picture, params, [&](const ScanPointsProgress& p) {
    stages.push_back(p.stage);
    return true;
  });
  EXPECT_EQ(result.status, ScanPointsStatus::SumError);
  // The arch with (2, 2) and (3, 3) from its spans; nothing after the error.
  expectPoints(result.points, {blobPoint(params, 20.0 / 9, 11.0 / 9)});
  ASSERT_FALSE(stages.empty());
  EXPECT_EQ(stages.back(), ScanStage::Blob);
}

TEST(ScanPoints, RectangleOnHalfPixelsKeepsABorder) {
  struct Case {
    float xs, xe, yt, yb;
    PictureCell first, last;  // corners of the scan area
  };
  const Case cases[] = {
      {2.5f, 10.5f, 2.5f, 8.5f, {2, 2}, {10, 8}},
      {1.5f, 9.5f, 1.5f, 7.5f, {2, 2}, {8, 6}},
      {0.5f, 12.5f, 0.5f, 10.5f, {0, 0}, {12, 10}},
      {3.5f, 11.5f, 3.5f, 9.5f, {4, 4}, {10, 8}},
      {2, 11, 4.5f, 9, {2, 4}, {10, 8}},
  };
  for (const Case& c : cases) {
    // Black everywhere outside the scan area, one black pixel in each corner.
    PixelArray picture(14, 12, kBlack);
    for (int y = c.first.y; y <= c.last.y; ++y) {
      for (int x = c.first.x; x <= c.last.x; ++x) picture.set(x, y, kWhite);
    }
    picture.set(c.first.x, c.first.y, kBlack);
    picture.set(c.last.x, c.last.y, kBlack);
    ScanPointsParams params = wholePicture(picture, true);
    params.calibration = {c.xs, c.xe, c.yt, c.yb, 0, 1, 0, 1};
    const ScanPointsResult result = scanPoints(picture, params);
    SCOPED_TRACE(c.xs);
    EXPECT_EQ(result.status, ScanPointsStatus::Completed);
    expectPoints(result.points,
                 {blobPoint(params, c.first.x, c.first.y), blobPoint(params, c.last.x, c.last.y)});
    EXPECT_EQ(result.painted.size(), 16u);
  }
}

TEST(ScanPoints, RectangleIsClampedToThePicture) {
  struct Case {
    Calibration calibration;
    std::size_t points;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // A 30000 x 30000 grid would not be allocated for a 6 x 5 picture.
  const Case cases[] = {{{-5, 30000, -5, 30000, 0, 1, 0, 1}, 2},
                        {{3, 30000, 2, 30000, 0, 1, 0, 1}, 1},
                        {{20, 30, 20, 30, 0, 1, 0, 1}, 0},
                        {{nan, 6, 0, 5, 0, 1, 0, 1}, 0},
                        {{3, 3, 0, 5, 0, 1, 0, 1}, 0}};
  PixelArray picture(6, 5, kWhite);
  picture.set(0, 0, kBlack);
  picture.set(5, 4, kBlack);
  for (const Case& c : cases) {
    ScanPointsParams params = wholePicture(picture);
    params.calibration = c.calibration;
    const ScanPointsResult result = scanPoints(picture, params, [](const ScanPointsProgress& p) {
      EXPECT_GE(p.position, 0);
      EXPECT_LT(p.position, 6);
      return true;
    });
    EXPECT_EQ(result.status, ScanPointsStatus::Completed);
    EXPECT_EQ(result.points.size(), c.points) << c.calibration.lineXS;
  }
  EXPECT_TRUE(scanPoints(PixelArray(), wholePicture(picture)).points.empty());
}

TEST(ScanPoints, YieldsInOrderAndStopsWhereTheCallbackSays) {
  // Yield points of a 3 x 3 picture with its centre black.
  const PixelArray dot = pictureFrom({"...", ".#.", "..."});
  std::vector<std::pair<ScanStage, int>> seen;
  const ScanPointsResult full =
      scanPoints(dot, wholePicture(dot), [&](const ScanPointsProgress& p) {
        seen.emplace_back(p.stage, p.position);
        return true;
      });
  EXPECT_EQ(full.points.size(), 1u);
  const std::vector<std::pair<ScanStage, int>> order = {{ScanStage::Marking, 0},
                                                        {ScanStage::Marking, 2},
                                                        {ScanStage::Row, 0},
                                                        {ScanStage::Blob, 1},
                                                        {ScanStage::Row, 2}};
  EXPECT_EQ(seen, order);

  struct Case {
    ScanStage stage;
    int occurrence;  // stop at the n-th yield of that stage
    std::size_t points;
  };
  const Case cases[] = {{ScanStage::Marking, 1, 0}, {ScanStage::Marking, 7, 0},
                        {ScanStage::Row, 1, 0},     {ScanStage::Row, 3, 1},
                        {ScanStage::Blob, 1, 0},    {ScanStage::Blob, 3, 2}};
  PixelArray picture(20, 12, kWhite);
  picture.set(3, 1, kBlack);
  picture.set(10, 5, kBlack);
  picture.set(15, 9, kBlack);
  picture.set(4, 11, kBlack);
  for (const Case& c : cases) {
    int count = 0;
    bool stopped = false;
    const ScanPointsResult result =
        scanPoints(picture, wholePicture(picture, true), [&](const ScanPointsProgress& p) {
          EXPECT_FALSE(stopped) << "called after stopping";
          // Points and squares so far: eight squares per single-pixel blob.
          EXPECT_EQ(p.painted.size(), (p.points.size() + (p.stage == ScanStage::Blob)) * 8);
          if (p.stage == c.stage && ++count == c.occurrence) stopped = true;
          return !stopped;
        });
    EXPECT_TRUE(stopped);
    EXPECT_EQ(result.status, ScanPointsStatus::Stopped);
    EXPECT_EQ(result.points.size(), c.points) << int(c.stage) << ' ' << c.occurrence;
  }
}

TEST(ScanPoints, ProgressBarFollowsTheRoundedPercentage) {
  struct Case {
    int x;
    float xs, xe;
    std::optional<int> shown;
  };
  const std::nullopt_t none = std::nullopt;
  const Case cases[] = {
      {0, 0, 100, 0},     {5, 0, 100, 5},       {4, 0, 100, none},  {99, 0, 100, none},
      {95, 0, 100, 95},   {9, 0, 200, none},    {19, 0, 200, 9},    {29, 0, 200, none},
      {21, 0, 200, 10},   {2, 2.5f, 102.5f, 0}, {2, 2.5f, 3.5f, 0}, {2, 2.5f, 2.5f, none},
      {59, 0, 200, none}, {109, 0, 200, none},  {110, 0, 200, 55},  {12, 10, 30, 10},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(scanProgressValue(c.x, c.xs, c.xe), c.shown) << c.x << ' ' << c.xs << ' ' << c.xe;
  }

  // At each even column the bar shows the last value set, odd columns included.
  const PixelArray picture(400, 1, kWhite);
  std::vector<int> bar;
  scanPoints(picture, wholePicture(picture), [&](const ScanPointsProgress& p) {
    if (p.stage == ScanStage::Marking && p.position <= 40) bar.push_back(p.progressBar);
    return true;
  });
  const std::vector<int> expected = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5,
                                     5, 5, 5, 5, 5, 5, 5, 5, 9, 10};
  EXPECT_EQ(bar, expected);
}

TEST(VisitedCellBox, CornersRoundedAndOrdered) {
  struct Case {
    PictureCell cell;
    float zoom;
    int h, v;
    DisplayBox box;
  };
  const Case cases[] = {
      {{3, 4}, 1, 0, 0, {3, 4, 3, 4}},
      {{3, 4}, 2, 10, 6, {-4, 2, -3, 3}},
      {{3, 4}, 0.5f, 0, 0, {1, 2, 2, 2}},
      {{5, 1}, 0.25f, 0, 0, {0, 0, 1, 0}},
      {{-1, -1}, 4, 0, 0, {-4, -4, -1, -1}},
      {{5, 7}, 0.5f, 3, 0, {-1, 3, 0, 4}},
      {{100, 50}, 64, 6000, 3000, {400, 200, 463, 263}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(visitedCellBox(c.cell, c.zoom, c.h, c.v), c.box)
        << c.cell.x << ',' << c.cell.y << " zoom " << c.zoom;
  }
}

}  // namespace
}  // namespace plotvane
