#include "picture/tiled_picture.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace plotvane {
namespace {

PixelArray noisePicture(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  PixelArray picture(width, height);
  for (std::size_t i = 0; i < picture.size(); ++i) picture.data()[i] = random() & kRgbMask;
  return picture;
}

void fill(TiledPicture& picture, int x0, int y0, int x1, int y1, std::uint32_t colour) {
  picture.editRegion(x0, y0, x1, y1, [&](PixelArray& pixels) {
    for (int y = std::max(y0, 0); y < std::min(y1, pixels.height()); ++y)
      for (int x = std::max(x0, 0); x < std::min(x1, pixels.width()); ++x) pixels.set(x, y, colour);
  });
}

// Noise does not compress, so every saved 4 x 4 tile of the 16 x 12 picture
// costs the same; a second write saves nothing more. The regions: a pixel, a
// corner of four tiles, exactly one tile, clipped on the left, clipped at the
// far corner, everything, outside, inverted.
TEST(TiledPicture, AnEditSavesOnlyTheTilesItTouches) {
  // clang-format off
  const struct { int x0, y0, x1, y1, n; } cases[] = {  // n: tiles saved
      {.x0 = 0, .y0 = 0, .x1 = 1, .y1 = 1, .n = 1}, {.x0 = 3, .y0 = 3, .x1 = 5, .y1 = 5, .n = 4},
      {.x0 = 4, .y0 = 4, .x1 = 8, .y1 = 8, .n = 1}, {.x0 = -5, .y0 = 2, .x1 = 9, .y1 = 3, .n = 3},
      {.x0 = 15, .y0 = 11, .x1 = 40, .y1 = 40, .n = 1},
      {.x0 = 0, .y0 = 0, .x1 = 16, .y1 = 12, .n = 12},
      {.x0 = 16, .y0 = 0, .x1 = 20, .y1 = 5, .n = 0}, {.x0 = 6, .y0 = 6, .x1 = 2, .y1 = 9, .n = 0}};
  // clang-format on
  const std::size_t tileCost = [] {  // one write of one tile
    TiledPicture picture(noisePicture(16, 12, 1), 4);
    const PictureSnapshot before = picture.snapshot();
    fill(picture, 0, 0, 1, 1, 0);
    return picture.undoBytes();
  }();
  ASSERT_GT(tileCost, 64u);
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1);
    const PixelArray original = noisePicture(16, 12, 2);
    TiledPicture picture(original, 4);
    const PictureSnapshot before = picture.snapshot();
    fill(picture, c.x0, c.y0, c.x1, c.y1, 0x123456);
    fill(picture, c.x0, c.y0, c.x1, c.y1, 0x654321);
    EXPECT_EQ(picture.undoBytes(), c.n * tileCost);
    EXPECT_EQ(picture.contents(before), original);
    EXPECT_FALSE(picture.restore(before));
    EXPECT_EQ(picture.pixels(), original);
  }
}

TEST(TiledPicture, SavedCopiesCostLittleOnChartsAndGoWithTheirSnapshots) {
  PixelArray chart(300, 200, 0xFFFFFF);
  for (int x = 0; x < 300; ++x) chart.set(x, 100 + x / 10, 0x102080);
  for (int y = 0; y < 200; ++y) chart.set(150, y, 0xC0C0C0);
  TiledPicture picture(chart, 64);
  fill(picture, 0, 0, 1, 1, 0);  // no snapshot to keep: nothing is saved
  EXPECT_EQ(picture.undoBytes(), 0u);
  chart.set(0, 0, 0);
  {
    const PictureSnapshot before = picture.snapshot();
    picture.replace(PixelArray(300, 200, 0x808080));
    EXPECT_LT(picture.undoBytes(), chart.size() * 4 / 20);
    EXPECT_EQ(picture.contents(before), chart);
    const PictureSnapshot gray = picture.snapshot();
    fill(picture, 10, 10, 20, 20, 0);
    const std::size_t saved = picture.undoBytes();
    fill(picture, 30, 30, 40, 40, 0);  // the same tile again
    EXPECT_EQ(picture.undoBytes(), saved);
    EXPECT_EQ(picture.contents(gray), PixelArray(300, 200, 0x808080));
  }
  EXPECT_EQ(picture.undoBytes(), 0u);
}

// A restored tile whose snapshots are gone is written in place: its old copy
// must not stand in for it in the next snapshot. Restored tiles, one-colour
// and raw, keep their copies until released.
TEST(TiledPicture, RestoredTilesAreSavedAfreshAndReleased) {
  for (const PixelArray& start : {PixelArray(13, 9, 7), noisePicture(13, 9, 8)}) {
    TiledPicture picture(start, 4);
    {
      const PictureSnapshot s0 = picture.snapshot();
      fill(picture, 0, 0, 13, 9, 1);
      picture.restore(s0);
    }
    fill(picture, 0, 0, 2, 2, 2);
    const PixelArray edited = picture.pixels();
    {
      const PictureSnapshot s1 = picture.snapshot();
      fill(picture, 0, 0, 2, 2, 3);
      picture.restore(s1);
    }
    EXPECT_EQ(picture.pixels(), edited);
    EXPECT_GT(picture.undoBytes(), 0u);
    picture.releaseUnusedMemory();
    EXPECT_EQ(picture.undoBytes(), 0u);
    EXPECT_EQ(picture.pixels(), edited);
  }
}

TEST(TiledPicture, ForeignOrDamagedSnapshotsChangeNothing) {
  const PixelArray original = noisePicture(13, 9, 6);
  TiledPicture picture(original, 4), other(original, 4);
  PictureSnapshot damaged = picture.snapshot(), nullTile = picture.snapshot();
  damaged.tiles.pop_back();
  nullTile.tiles[3] = nullptr;
  for (const PictureSnapshot& snapshot : {other.snapshot(), PictureSnapshot{}, damaged, nullTile}) {
    EXPECT_THROW(picture.restore(snapshot), std::invalid_argument);
    EXPECT_THROW(picture.contents(snapshot), std::invalid_argument);
    EXPECT_EQ(picture.pixels(), original);
  }
  EXPECT_THROW(TiledPicture(0), std::invalid_argument);
  EXPECT_THROW(TiledPicture(kMaxTileSize + 1), std::invalid_argument);
}

}  // namespace
}  // namespace plotvane
