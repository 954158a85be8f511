#include "picture/undo_ring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace plotvane {
namespace {

// The ring with a full copy of the picture in every record, step for step as
// the program's undo is defined; the tile ring must behave exactly like it.
class LiteralUndo {
 public:
  struct Record {
    std::int16_t kind = 0;
    PixelRect rect;
    PixelArray pixels = PixelArray(1, 1, 0);
    int width = 0, height = 0;
  };

  LiteralUndo(int undoBufferSize, PixelArray& picture, PixelRect& rect)
      : size_(undoBufferSize), records_(undoBufferSize + 1), picture_(picture), rect_(rect) {}

  void push(std::int16_t kind) {
    for (int i = 1; i <= redoCount; ++i) records_[after(undoCursor, i)] = Record{};
    Record& r = records_[undoCursor];
    r.kind = kind;
    capture(kind, r);
    if (undoCount > 0) capture(records_[after(undoCursor, -1)].kind, r);
    undoCursor = after(undoCursor, 1);
    undoCount = std::min(undoCount + 1, size_);
    redoCount = 0;
    undoEnabled = true;
    redoEnabled = false;
  }
  bool undo() {  // returns whether the picture size changed
    if (undoCount == 0) return false;
    const int old = undoCursor;
    undoCursor = after(undoCursor, -1);
    const Record& r = records_[undoCursor];
    if (redoCount == 0) {
      records_[old].kind = r.kind;
      capture(r.kind, records_[old]);
    }
    --undoCount, ++redoCount;
    if (undoCount == 0) undoEnabled = false;
    redoEnabled = true;
    return restore(r.kind, r);
  }
  bool redo() {
    if (redoCount == 0) return false;
    ++undoCount, --redoCount;
    if (redoCount == 0) redoEnabled = false;
    undoEnabled = true;
    const int old = undoCursor;
    undoCursor = after(undoCursor, 1);
    return restore(records_[old].kind, records_[undoCursor]);
  }
  void reset() {
    for (Record& r : records_) r.pixels = PixelArray(1, 1, 0);
    undoCursor = undoCount = redoCount = 0;
    undoEnabled = redoEnabled = false;
  }
  // The tile ring dropped its oldest steps to stay within its budget.
  void keepNewest(int steps) {
    undoCount = std::min(undoCount, steps);
    undoEnabled = undoEnabled && undoCount > 0;
  }

  int undoCursor = 0, undoCount = 0, redoCount = 0;
  bool undoEnabled = false, redoEnabled = false;

 private:
  int after(int slot, int steps) const {
    return ((slot + steps) % (size_ + 1) + size_ + 1) % (size_ + 1);
  }
  void capture(int kind, Record& r) {
    if (kind == 1) r.pixels = picture_, r.width = picture_.width(), r.height = picture_.height();
    if (kind == 1 || kind == 2) r.rect = rect_;
  }
  bool restore(int kind, const Record& r) {
    const bool resized =
        kind == 1 && (r.width != picture_.width() || r.height != picture_.height());
    if (kind == 1) picture_ = r.pixels;
    if (kind == 2 || resized) rect_ = r.rect;
    return resized;
  }

  int size_;
  std::vector<Record> records_;
  PixelArray& picture_;
  PixelRect& rect_;
};

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

// Both sides of one run: the tile ring on a TiledPicture, the model on copies.
struct Twin {
  Twin(int capacity, int tileSize, std::size_t budget, std::mt19937& random)
      : picture(randomPicture(random), tileSize),
        modelPicture(picture.pixels()),
        state(picture, rect),
        ring(static_cast<std::int16_t>(capacity), state, budget),
        model(capacity, modelPicture, modelRect) {}

  void fillBoth(int x0, int y0, int x1, int y1, std::uint32_t colour) {
    auto paint = [&](PixelArray& p) {
      for (int y = std::max(y0, 0); y < std::min(y1, p.height()); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, p.width()); ++x) p.set(x, y, colour);
    };
    paint(modelPicture);
    picture.editRegion(x0, y0, x1, y1, paint);
  }

  TiledPicture picture;
  PixelRect rect;
  PixelArray modelPicture;
  PixelRect modelRect;
  PictureUndoState state;
  UndoRing ring;
  LiteralUndo model;
};

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
  void drag(PixelRect to) {
    ring.push(kUndoRect);
    rect = to;
  }
  std::uint32_t colour() const { return picture.pixels().at(12, 8); }

  TiledPicture picture{4};
  PixelRect rect{1, 2, 3, 4};
  PictureUndoState state{picture, rect};
  UndoRing ring;
};

// Edit A (a quarter turn: picture and size), edit B (rectangle), two undos,
// two redos; the undoCount equals the cursor throughout.
TEST(UndoRing, WorkedExampleReadsAndWritesTheRightSlots) {
  Editor e(50);
  const PixelRect r0 = e.rect, rB{5, 6, 7, 8};
  e.ring.push(kUndoPicture);
  e.picture.replace(PixelArray(9, 13, 0xA));
  e.drag(rB);
  ASSERT_EQ(e.ring.record(0).kind, kUndoPicture);
  EXPECT_EQ(e.picture.contents(e.ring.record(0).picture), PixelArray(13, 9, 0));
  ASSERT_EQ(e.ring.record(1).kind, kUndoRect);
  EXPECT_EQ(e.ring.record(1).rect, r0);
  EXPECT_EQ(e.picture.contents(e.ring.record(1).picture), PixelArray(9, 13, 0xA));
  struct Step {
    bool undo;
    int cursor, width;
    PixelRect rect;
    std::int16_t kind;
    bool resized;
  };
  const Step steps[] = {
      {.undo = true, .cursor = 1, .width = 9, .rect = r0, .kind = kUndoRect, .resized = false},
      {.undo = true, .cursor = 0, .width = 13, .rect = r0, .kind = kUndoPicture, .resized = true},
      {.undo = false, .cursor = 1, .width = 9, .rect = r0, .kind = kUndoPicture, .resized = true},
      {.undo = false, .cursor = 2, .width = 9, .rect = rB, .kind = kUndoRect, .resized = false},
  };
  for (const Step& step : steps) {
    const UndoOutcome outcome = step.undo ? e.ring.undo() : e.ring.redo();
    EXPECT_EQ(e.ring.undoCursor(), step.cursor);
    EXPECT_EQ(e.ring.undoCount(), step.cursor);
    EXPECT_EQ(e.ring.canUndo(), step.cursor > 0) << step.cursor;
    EXPECT_EQ(e.ring.canRedo(), step.cursor < 2) << step.cursor;
    EXPECT_EQ(outcome.restored, step.kind) << step.cursor;
    EXPECT_EQ(outcome.sizeChanged, step.resized) << step.cursor;
    EXPECT_EQ(e.picture.pixels(), step.width == 9 ? PixelArray(9, 13, 0xA) : PixelArray(13, 9, 0))
        << step.cursor;
    EXPECT_EQ(e.rect, step.rect) << step.cursor;
    if (step.cursor == 1 && step.undo) {  // the first undo kept the newest rectangle
      EXPECT_EQ(e.ring.record(2).kind, kUndoRect);
      EXPECT_EQ(e.ring.record(2).rect, rB);
    }
  }
}

// Picture i has colour i; undo walks back as far as the capacity allows, also
// across the end of the ring, and redo walks forward again.
TEST(UndoRing, UndoAndRedoWalkTheStatesWithinTheCapacity) {
  struct Case {
    int capacity, edits;
  };
  const Case cases[] = {{.capacity = 3, .edits = 4}, {.capacity = 3, .edits = 2},
                        {.capacity = 3, .edits = 9}, {.capacity = 1, .edits = 3},
                        {.capacity = 5, .edits = 5}, {.capacity = 5, .edits = 13}};
  for (const Case& c : cases) {
    Editor e(c.capacity);
    for (int i = 1; i <= c.edits; ++i) e.paint(std::uint32_t(i));
    const int steps = std::min(c.capacity, c.edits);
    for (int i = 1; i <= steps; ++i) {
      EXPECT_TRUE(e.ring.undo().moved);
      EXPECT_EQ(e.colour(), std::uint32_t(c.edits - i)) << c.capacity << "/" << c.edits;
    }
    EXPECT_FALSE(e.ring.canUndo());
    EXPECT_FALSE(e.ring.undo().moved);
    EXPECT_EQ(e.colour(), std::uint32_t(c.edits - steps)) << c.capacity << "/" << c.edits;
    for (int i = steps - 1; i >= 0; --i) {
      EXPECT_TRUE(e.ring.redo().moved);
      EXPECT_EQ(e.colour(), std::uint32_t(c.edits - i)) << c.capacity << "/" << c.edits;
    }
    EXPECT_FALSE(e.ring.canRedo());
  }
}

TEST(UndoRing, ANewEditDropsTheRedoStates) {
  Editor e(5);
  for (std::uint32_t colour : {1u, 2u, 3u}) e.paint(colour);
  e.ring.undo();
  e.ring.undo();
  e.drag({9, 9, 9, 9});
  EXPECT_FALSE(e.ring.canRedo());
  EXPECT_FALSE(e.ring.redo().moved);
  for (int slot : {2, 3}) {
    EXPECT_EQ(e.ring.record(slot).kind, kUndoEmpty);
    EXPECT_EQ(e.ring.record(slot).rect, PixelRect{});
    EXPECT_TRUE(e.ring.record(slot).picture.empty());
  }
  EXPECT_EQ(e.ring.undo().restored, kUndoRect);
  EXPECT_EQ(e.rect, (PixelRect{1, 2, 3, 4}));
  EXPECT_EQ(e.ring.undo().restored, kUndoPicture);
  EXPECT_EQ(e.colour(), 0u);
}

TEST(UndoRing, ResetAndAZeroCapacityHoldNothing) {
  Editor e(4);
  for (std::uint32_t colour : {1u, 2u, 3u}) e.paint(colour);
  e.ring.undo();
  e.ring.reset();
  e.picture.replace(PixelArray(13, 9, 5));
  EXPECT_EQ(e.ring.heldBytes(), 0u);
  EXPECT_FALSE(e.ring.canUndo() || e.ring.canRedo());
  EXPECT_FALSE(e.ring.undo().moved || e.ring.redo().moved);
  EXPECT_EQ(e.ring.record(0).kind, kUndoPicture);  // kinds stay; nothing reads them
  // No step fits: Undo stays disabled after a push.
  Editor none(0);
  none.paint(1);
  EXPECT_FALSE(none.ring.canUndo());
  EXPECT_FALSE(none.ring.undo().moved);
  EXPECT_EQ(none.ring.heldBytes(), 0u);
  EXPECT_EQ(none.colour(), 1u);
}

// Each edit paints a different tile of a noise picture. The full ring keeps
// the tiles of the states it can still bring back and no others.
TEST(UndoRing, AFullRingFreesTheStateItCanNoLongerReach) {
  std::mt19937 random(7);
  PixelArray noise(16, 12);
  for (std::size_t i = 0; i < noise.size(); ++i) noise.data()[i] = random() & kRgbMask;
  TiledPicture picture(noise, 4);
  PixelRect rect;
  PictureUndoState state(picture, rect);
  UndoRing ring(2, state);
  std::size_t tileCost = 0;
  for (int i = 0; i < 10; ++i) {
    ring.push(kUndoPicture);
    picture.editRegion(i * 4 % 16, i / 4 * 4, i * 4 % 16 + 1, i / 4 * 4 + 1,
                       [&](PixelArray& p) { p.set(i * 4 % 16, i / 4 * 4, 0); });
    if (i == 0) tileCost = picture.undoBytes();
  }
  EXPECT_EQ(picture.undoBytes(), 2 * tileCost);
}

enum class Op { localEdit, fullEdit, rectEdit, emptyPush, undo, redo, load };

// Runs random steps and compares the two sides after each one; returns how
// many pushes lost steps to the budget.
int runEquivalence(int capacity, int tileSize, std::size_t budget, unsigned seed, int steps) {
  std::mt19937 random(seed);
  Twin twin(capacity, tileSize, budget, random);
  const Op ops[] = {Op::localEdit, Op::localEdit, Op::localEdit, Op::localEdit, Op::fullEdit,
                    Op::fullEdit,  Op::rectEdit,  Op::rectEdit,  Op::emptyPush, Op::undo,
                    Op::undo,      Op::undo,      Op::redo,      Op::redo,      Op::load};
  int trimmed = 0;
  std::string trail;
  for (int step = 0; step < steps; ++step) {
    const Op op = ops[random() % std::size(ops)];
    trail += std::to_string(static_cast<int>(op));
    auto push = [&](std::int16_t kind) {
      twin.model.push(kind);
      twin.ring.push(kind);
      EXPECT_TRUE(twin.ring.heldBytes() <= budget) << trail;
      trimmed += twin.ring.undoCount() < twin.model.undoCount;
      twin.model.keepNewest(twin.ring.undoCount());
    };
    auto coordinate = [&] { return static_cast<int>(random() % 20) - 3; };
    switch (op) {
      case Op::localEdit: {
        push(kUndoPicture);
        const int x0 = coordinate(), y0 = coordinate();
        twin.fillBoth(x0, y0, x0 + coordinate(), y0 + coordinate(), random() & kRgbMask);
        break;
      }
      case Op::fullEdit: {
        push(kUndoPicture);
        twin.modelPicture = randomPicture(random);
        twin.picture.replace(twin.modelPicture);
        // The picture's owner keeps the rectangle inside a new size.
        const auto w = static_cast<float>(twin.modelPicture.width());
        const auto h = static_cast<float>(twin.modelPicture.height());
        const PixelRect r = twin.modelRect;
        twin.rect = twin.modelRect = {std::clamp(r.lineXS, 0.0f, w), std::clamp(r.lineXE, 0.0f, w),
                                      std::clamp(r.lineYT, 0.0f, h), std::clamp(r.lineYB, 0.0f, h)};
        break;
      }
      case Op::rectEdit:
        push(kUndoRect);
        twin.rect = twin.modelRect = {float(coordinate()), float(coordinate()),
                                      float(coordinate()) + 0.5f, float(coordinate())};
        break;
      case Op::emptyPush:
        push(kUndoEmpty);
        break;
      case Op::undo:
      case Op::redo: {
        const bool possible = op == Op::undo ? twin.model.undoCount > 0 : twin.model.redoCount > 0;
        const bool resized = op == Op::undo ? twin.model.undo() : twin.model.redo();
        const UndoOutcome outcome = op == Op::undo ? twin.ring.undo() : twin.ring.redo();
        EXPECT_EQ(outcome.sizeChanged, resized) << trail;
        EXPECT_EQ(outcome.moved, possible) << trail;
        break;
      }
      case Op::load:
        twin.model.reset();
        twin.ring.reset();
        twin.modelPicture = randomPicture(random);
        twin.picture.replace(twin.modelPicture);
        twin.rect = twin.modelRect = {0, float(twin.modelPicture.width()), 0,
                                      float(twin.modelPicture.height())};
        break;
    }
    const UndoRing& ring = twin.ring;
    const LiteralUndo& model = twin.model;
    EXPECT_EQ(twin.picture.pixels(), twin.modelPicture) << trail;
    EXPECT_EQ(twin.rect, twin.modelRect) << trail;
    EXPECT_EQ(ring.canUndo(), model.undoEnabled) << trail;
    EXPECT_EQ(ring.canRedo(), model.redoEnabled) << trail;
    EXPECT_EQ(ring.undoCursor(), model.undoCursor) << trail;
    EXPECT_EQ(ring.undoCount(), model.undoCount) << trail;
    EXPECT_EQ(ring.redoCount(), model.redoCount) << trail;
    if (::testing::Test::HasFailure()) break;
  }
  return trimmed;
}

TEST(UndoRing, BehavesExactlyLikeFullCopiesInRandomRuns) {
  struct Case {
    int capacity, tileSize;
  };
  const Case cases[] = {{.capacity = 1, .tileSize = 4}, {.capacity = 2, .tileSize = 3},
                        {.capacity = 3, .tileSize = 4}, {.capacity = 4, .tileSize = 8},
                        {.capacity = 5, .tileSize = 4}, {.capacity = 5, .tileSize = 1}};
  for (const Case& c : cases)
    for (unsigned seed = 1; seed <= 40; ++seed) {
      SCOPED_TRACE("capacity " + std::to_string(c.capacity) + " tile " +
                   std::to_string(c.tileSize) + " seed " + std::to_string(seed));
      EXPECT_EQ(runEquivalence(c.capacity, c.tileSize, SIZE_MAX, seed, 300), 0);
      if (HasFailure()) return;
    }
}

// A budget of a few tiles: the oldest steps go, nothing fails, and the steps
// kept still undo and redo like the full copies.
TEST(UndoRing, ATinyBudgetDropsTheOldestStepsOnly) {
  int trimmed = 0;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    trimmed += runEquivalence(5, 4, 1500, seed, 300);
    if (HasFailure()) return;
  }
  EXPECT_GT(trimmed, 100);
}

}  // namespace
}  // namespace plotvane
