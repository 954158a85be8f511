#include "picture/undo_ring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "picture/tiled_picture.h"

namespace plotvane {
namespace {

// The ring with a full copy of the picture in every record, step for step as the program's undo is
// defined; the tile ring must behave exactly like it.
struct LiteralUndo {
  struct Record {
    std::int16_t kind = 0;
    PixelRect rect;
    PixelArray pixels = PixelArray(1, 1, 0);
  };
  int size;
  PixelArray& picture;
  PixelRect& rect;
  std::vector<Record> records = std::vector<Record>(size + 1);
  int cursor = 0, undoCount = 0, redoCount = 0;

  Record& at(int steps) { return records[(cursor + steps + size + 1) % (size + 1)]; }
  void capture(int kind, Record& r) {
    if (kind == 1) r.pixels = picture;
    if (kind == 1 || kind == 2) r.rect = rect;
  }
  bool restore(int kind, const Record& r) {  // whether the picture size changed
    const bool resized =
        kind == 1 && (r.pixels.width() != picture.width() || r.pixels.height() != picture.height());
    if (kind == 1) picture = r.pixels;
    if (kind == 2 || resized) rect = r.rect;
    return resized;
  }
  void push(std::int16_t kind) {
    for (int i = 1; i <= redoCount; ++i) at(i) = Record{};
    at(0).kind = kind;
    capture(kind, at(0));
    if (undoCount > 0) capture(at(-1).kind, at(0));
    cursor = (cursor + 1) % (size + 1);
    undoCount = std::min(undoCount + 1, size), redoCount = 0;
  }
  bool undo() {
    if (undoCount == 0) return false;
    if (redoCount == 0) at(0).kind = at(-1).kind, capture(at(-1).kind, at(0));
    cursor = (cursor + size) % (size + 1);
    --undoCount, ++redoCount;
    return restore(at(0).kind, at(0));
  }
  bool redo() {
    if (redoCount == 0) return false;
    ++undoCount, --redoCount;
    cursor = (cursor + 1) % (size + 1);
    return restore(at(-1).kind, at(0));
  }
  void reset() {
    for (Record& r : records) r.pixels = PixelArray(1, 1, 0);
    cursor = undoCount = redoCount = 0;
  }
};

PixelArray noisePicture(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  PixelArray picture(width, height);
  for (std::size_t i = 0; i < picture.size(); ++i) picture.data()[i] = random() & kRgbMask;
  return picture;
}

void paint(PixelArray& pixels, int x0, int y0, int x1, int y1, std::uint32_t colour) {
  for (int y = std::max(y0, 0); y < std::min(y1, pixels.height()); ++y)
    for (int x = std::max(x0, 0); x < std::min(x1, pixels.width()); ++x) pixels.set(x, y, colour);
}

void fill(TiledPicture& picture, int x0, int y0, int x1, int y1, std::uint32_t colour) {
  picture.editRegion(x0, y0, x1, y1, [&](PixelArray& p) { paint(p, x0, y0, x1, y1, colour); });
}

PixelArray randomPicture(std::mt19937& random) {
  static const int sizes[][2] = {{13, 9}, {9, 13}, {16, 8}, {5, 3}};
  const auto& size = sizes[random() % 4];
  PixelArray picture(size[0], size[1], 0xFFFFFF);
  const int style = static_cast<int>(random() % 3);
  for (int y = 0; y < size[1]; ++y)
    for (int x = 0; x < size[0]; ++x) {
      if (style == 0 && (x + y) % 5 == 0) picture.set(x, y, 0x000080);  // stripes: packs
      if (style == 1) picture.set(x, y, random() & kRgbMask);           // noise: raw
    }
  return picture;
}

// Runs 300 random steps on both sides and compares them after each one; returns how many pushes
// lost steps to the budget.
int runEquivalence(int capacity, int tileSize, std::size_t budget, unsigned seed) {
  std::mt19937 random(seed);
  // The tile ring on a TiledPicture, the model on copies.
  TiledPicture picture(randomPicture(random), tileSize);
  PixelArray copy = picture.pixels();
  PixelRect rect, copyRect;
  PictureUndoState state(picture, rect);
  UndoRing ring(static_cast<std::int16_t>(capacity), state, budget);
  LiteralUndo model{.size = capacity, .picture = copy, .rect = copyRect};
  int trimmed = 0;
  std::string trail;  // the steps so far, one letter each as below
  const auto push = [&](std::int16_t kind) {
    model.push(kind);
    ring.push(kind);
    EXPECT_LE(ring.heldBytes(), budget) << trail;
    trimmed += ring.undoCount() < model.undoCount;
    model.undoCount = std::min(model.undoCount, int(ring.undoCount()));  // budget trims
  };
  const auto coordinate = [&] { return static_cast<int>(random() % 20) - 3; };
  const auto newPicture = [&] {
    copy = randomPicture(random);
    picture.replace(copy);
  };
  for (int step = 0; step < 300 && !::testing::Test::HasFailure(); ++step) {
    const char op = "llllffrreuuuddn"[random() % 15];
    trail += op;
    if (op == 'l') {  // an edit of a few tiles
      push(kUndoPicture);
      const int x0 = coordinate(), y0 = coordinate(), x1 = x0 + coordinate(),
                y1 = y0 + coordinate();
      const std::uint32_t colour = random() & kRgbMask;
      paint(copy, x0, y0, x1, y1, colour);
      fill(picture, x0, y0, x1, y1, colour);
    } else if (op == 'f') {  // a whole new picture; its owner keeps the rectangle inside
      push(kUndoPicture);
      newPicture();
      const auto w = float(copy.width()), h = float(copy.height());
      const PixelRect r = copyRect;
      rect = copyRect = {std::clamp(r.lineXS, 0.0f, w), std::clamp(r.lineXE, 0.0f, w),
                         std::clamp(r.lineYT, 0.0f, h), std::clamp(r.lineYB, 0.0f, h)};
    } else if (op == 'r') {  // a dragged rectangle
      push(kUndoRect);
      rect = copyRect = {float(coordinate()), float(coordinate()), float(coordinate()) + 0.5f,
                         float(coordinate())};
    } else if (op == 'e') {
      push(kUndoEmpty);
    } else if (op == 'n') {  // a new picture loaded
      model.reset();
      ring.reset();
      newPicture();
      rect = copyRect = {0, float(copy.width()), 0, float(copy.height())};
    } else {
      const bool undo = op == 'u';
      const bool possible = (undo ? model.undoCount : model.redoCount) > 0;
      const bool resized = undo ? model.undo() : model.redo();
      const UndoOutcome outcome = undo ? ring.undo() : ring.redo();
      EXPECT_EQ(outcome.sizeChanged, resized) << trail;
      EXPECT_EQ(outcome.moved, possible) << trail;
    }
    EXPECT_EQ(picture.pixels(), copy) << trail;
    EXPECT_EQ(rect, copyRect) << trail;
    EXPECT_EQ(ring.undoCursor(), model.cursor) << trail;
    EXPECT_EQ(ring.undoCount(), model.undoCount) << trail;
    EXPECT_EQ(ring.redoCount(), model.redoCount) << trail;
  }
  return trimmed;
}

// With a budget of a few tiles the oldest steps go, nothing fails, and the steps kept still undo
// and redo like the full copies.
TEST(UndoRing, BehavesExactlyLikeFullCopiesInRandomRuns) {
  // clang-format off
  const struct { int capacity, tile; std::size_t budget = SIZE_MAX; } cases[] = {
      {.capacity = 1, .tile = 4}, {.capacity = 2, .tile = 3}, {.capacity = 3, .tile = 8},
      {.capacity = 5, .tile = 1}, {.capacity = 5, .tile = 4, .budget = 1500}};
  // clang-format on
  for (const auto& c : cases) {
    int trimmed = 0;
    for (unsigned seed = 1; seed <= 40 && !HasFailure(); ++seed) {
      SCOPED_TRACE(::testing::Message() << "capacity " << c.capacity << " tile " << c.tile
                                        << " budget " << c.budget << " seed " << seed);
      trimmed += runEquivalence(c.capacity, c.tile, c.budget, seed);
    }
    // Without a budget no step is lost; a tiny one loses many.
    EXPECT_EQ(trimmed > 100, c.budget != SIZE_MAX) << trimmed;
    EXPECT_EQ(trimmed == 0, c.budget == SIZE_MAX) << trimmed;
  }
}

// A ring over a 13 x 9 picture in 4 x 4 tiles whose states are single colours.
struct Editor {
  explicit Editor(int capacity) : ring(static_cast<std::int16_t>(capacity), state) {
    picture.replace(PixelArray(13, 9, 0));
  }
  void paint(std::uint32_t colour) {
    ring.push(kUndoPicture);
    picture.editRegion(0, 0, 13, 9,
                       [&](PixelArray& p) { std::fill_n(p.data(), p.size(), colour); });
  }
  std::uint32_t colour() const { return picture.pixels().at(12, 8); }

  TiledPicture picture{4};
  PixelRect rect{1, 2, 3, 4};
  PictureUndoState state{picture, rect};
  UndoRing ring;
};

// Edit A (a quarter turn: picture and size), edit B (rectangle), two undos, two redos; the
// undoCount equals the cursor throughout.
TEST(UndoRing, WorkedExampleReadsAndWritesTheRightSlots) {
  Editor e(50);
  const PixelRect r0 = e.rect, rB{5, 6, 7, 8};
  const PixelArray a(13, 9, 0), turned(9, 13, 0xA);
  e.ring.push(kUndoPicture);
  e.picture.replace(turned);
  e.ring.push(kUndoRect);
  e.rect = rB;
  ASSERT_EQ(e.ring.record(0).kind, kUndoPicture);
  EXPECT_EQ(e.picture.contents(e.ring.record(0).picture), a);
  ASSERT_EQ(e.ring.record(1).kind, kUndoRect);
  EXPECT_EQ(e.ring.record(1).rect, r0);
  EXPECT_EQ(e.picture.contents(e.ring.record(1).picture), turned);
  // clang-format off
  const struct { bool undo; int cursor; bool turned; PixelRect rect; std::int16_t kind; }
      steps[] = {
      {.undo = true, .cursor = 1, .turned = true, .rect = r0, .kind = kUndoRect},
      {.undo = true, .cursor = 0, .turned = false, .rect = r0, .kind = kUndoPicture},
      {.undo = false, .cursor = 1, .turned = true, .rect = r0, .kind = kUndoPicture},
      {.undo = false, .cursor = 2, .turned = true, .rect = rB, .kind = kUndoRect}};
  // clang-format on
  for (const auto& step : steps) {
    SCOPED_TRACE(::testing::Message() << (step.undo ? "undo to " : "redo to ") << step.cursor);
    const UndoOutcome out = step.undo ? e.ring.undo() : e.ring.redo();
    EXPECT_EQ(std::tuple(e.ring.undoCursor(), e.ring.undoCount(), e.ring.canUndo(),
                         e.ring.canRedo(), out.restored, out.sizeChanged),
              std::tuple(step.cursor, step.cursor, step.cursor > 0, step.cursor < 2, step.kind,
                         step.kind == kUndoPicture));
    EXPECT_EQ(e.picture.pixels(), step.turned ? turned : a);
    EXPECT_EQ(e.rect, step.rect);
    if (step.cursor == 1 && step.undo) {  // the first undo kept the newest rectangle
      EXPECT_EQ(e.ring.record(2).kind, kUndoRect);
      EXPECT_EQ(e.ring.record(2).rect, rB);
    }
  }
}

// Picture i has colour i; undo walks back as far as the capacity allows, also across the end of the
// ring, and redo walks forward again.
TEST(UndoRing, UndoAndRedoWalkTheStatesWithinTheCapacity) {
  // clang-format off
  const struct { int capacity, edits; std::vector<std::uint32_t> back; } cases[] = {
      {.capacity = 3, .edits = 4, .back = {3, 2, 1}}, {.capacity = 3, .edits = 2, .back = {1, 0}},
      {.capacity = 3, .edits = 9, .back = {8, 7, 6}}, {.capacity = 1, .edits = 3, .back = {2}}};
  // clang-format on
  for (const auto& c : cases) {
    Editor e(c.capacity);
    for (int i = 1; i <= c.edits; ++i) e.paint(std::uint32_t(i));
    std::vector<std::uint32_t> back, forward, again(c.back.rbegin() + 1, c.back.rend());
    for (int i = 0; i <= c.capacity && e.ring.undo().moved; ++i) back.push_back(e.colour());
    for (int i = 0; i <= c.capacity && e.ring.redo().moved; ++i) forward.push_back(e.colour());
    again.push_back(std::uint32_t(c.edits));
    EXPECT_EQ(back, c.back) << "capacity " << c.capacity << ", " << c.edits << " edits";
    EXPECT_EQ(forward, again) << "capacity " << c.capacity << ", " << c.edits << " edits";
  }
}

// A new edit drops the redo states, a reset every state, and a full ring its oldest: each lets go
// of the pictures it can no longer bring back.
TEST(UndoRing, PicturesNoStepCanReachAreReleased) {
  Editor e(5);
  for (std::uint32_t colour : {1u, 2u, 3u}) e.paint(colour);
  e.ring.undo(), e.ring.undo();
  e.ring.push(kUndoRect);
  EXPECT_TRUE(e.ring.record(2).picture.empty() && e.ring.record(3).picture.empty());
  e.ring.reset();
  e.picture.replace(PixelArray(13, 9, 5));
  EXPECT_EQ(e.ring.heldBytes(), 0u);
  Editor none(0);  // no step fits
  none.paint(1);
  EXPECT_FALSE(none.ring.undo().moved);
  EXPECT_EQ(none.ring.heldBytes(), 0u);
  // Each edit paints a different tile of a noise picture: a full ring of two keeps the tiles of the
  // two states it can still bring back.
  TiledPicture picture(noisePicture(16, 12, 7), 4);
  PixelRect rect;
  PictureUndoState state(picture, rect);
  UndoRing ring(2, state);
  std::size_t tileCost = 0;
  for (int i = 0; i < 10; ++i) {
    ring.push(kUndoPicture);
    const int x = i * 4 % 16, y = i / 4 * 4;
    fill(picture, x, y, x + 1, y + 1, 0);
    if (i == 0) tileCost = picture.undoBytes();
  }
  EXPECT_EQ(picture.undoBytes(), 2 * tileCost);
}

// Noise does not compress, so every saved 4 x 4 tile of the 16 x 12 picture costs the same; a
// second write saves nothing more. The regions: a pixel, a corner of four tiles, exactly one tile,
// clipped on the left, clipped at the far corner, everything, outside, inverted.
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
    EXPECT_EQ(picture.contents(gray), PixelArray(300, 200, 0x808080));
  }
  EXPECT_EQ(picture.undoBytes(), 0u);
}

// A restored tile whose snapshots are gone is written in place: its old copy must not stand in for
// it in the next snapshot. Restored tiles, one-colour and raw, keep their copies until released.
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
