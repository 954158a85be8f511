// Undo and redo over a fixed ring of undoBufferSize + 1 records. Each edit
// pushes the state it is about to change: the working picture (kind 1) or the
// reference rectangle (kind 2). Picture states are tile snapshots, so the ring
// holds only the tiles that later edits overwrote; a byte budget bounds it,
// dropping the oldest steps when it is exceeded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/pixel_rect.h"
#include "picture/tiled_picture.h"

namespace plotvane {

// What the ring saves and brings back; the application's picture owner
// implements it and does the follow-up work (view, read-out, clamping).
class UndoState {
 public:
  virtual ~UndoState() = default;
  virtual PictureSnapshot capturePicture() = 0;
  virtual PixelRect captureRect() = 0;
  // Returns true when the picture's size changed.
  virtual bool restorePicture(const PictureSnapshot& snapshot) = 0;
  virtual void restoreRect(const PixelRect& rect) = 0;
  // Bytes of picture data held for undo.
  virtual std::size_t undoBytes() const = 0;
  // Frees what the snapshots do not need.
  virtual void releaseUnusedMemory() = 0;
};

// A TiledPicture and a rectangle, restored as they are (no clamping).
class PictureUndoState final : public UndoState {
 public:
  PictureUndoState(TiledPicture& picture, PixelRect& rect) : picture_(picture), rect_(rect) {}
  PictureSnapshot capturePicture() override { return picture_.snapshot(); }
  PixelRect captureRect() override { return rect_; }
  bool restorePicture(const PictureSnapshot& snapshot) override {
    return picture_.restore(snapshot);
  }
  void restoreRect(const PixelRect& rect) override { rect_ = rect; }
  std::size_t undoBytes() const override { return picture_.undoBytes(); }
  void releaseUnusedMemory() override { picture_.releaseUnusedMemory(); }

 private:
  TiledPicture& picture_;
  PixelRect& rect_;
};

inline constexpr std::int16_t kUndoEmpty = 0;
inline constexpr std::int16_t kUndoPicture = 1;
inline constexpr std::int16_t kUndoRect = 2;

// A quarter of physical memory, at most 2 GiB (2 GiB when the size is unknown).
std::size_t defaultUndoBudget();

// What an Undo or Redo did, for the caller's follow-up.
struct UndoOutcome {
  bool moved = false;                  // false: nothing to undo or redo, nothing changed
  std::int16_t restored = kUndoEmpty;  // kUndoPicture, kUndoRect, or nothing restored
  bool sizeChanged = false;            // the picture came back with another size,
                                       // and with it the rectangle it had then
};

class UndoRing {
 public:
  // One slot of the ring. The kind says which state an undo into this slot
  // restores; a slot may hold both.
  struct UndoRecord {
    std::int16_t kind = kUndoEmpty;
    PixelRect rect;
    PictureSnapshot picture;
    std::int32_t width = 0;
    std::int32_t height = 0;
  };

  // A negative undoBufferSize counts as 0 (one slot, nothing undoable).
  UndoRing(std::int16_t undoBufferSize, UndoState& state,
           std::size_t budgetBytes = defaultUndoBudget());
  UndoRing(const UndoRing&) = delete;
  UndoRing& operator=(const UndoRing&) = delete;

  // Records the state of the given kind before an edit changes it.
  void push(std::int16_t kind);
  UndoOutcome undo();
  UndoOutcome redo();
  // A new picture was loaded: nothing to undo or redo, every picture released.
  void reset();
  // Drops the oldest steps while the ring holds more than its budget.
  void trimToBudget();

  bool canUndo() const { return undoCount_ > 0; }
  bool canRedo() const { return redoCount_ > 0; }
  std::int16_t undoBufferSize() const { return undoBufferSize_; }
  std::int16_t undoCursor() const { return undoCursor_; }
  std::int16_t undoCount() const { return undoCount_; }
  std::int16_t redoCount() const { return redoCount_; }
  const UndoRecord& record(int slot) const { return records_.at(static_cast<std::size_t>(slot)); }
  std::size_t budgetBytes() const { return budgetBytes_; }
  // Picture data held for undo plus the snapshots' handle lists.
  std::size_t heldBytes() const { return state_.undoBytes() + listBytes_; }

 private:
  int nextSlot(int slot) const { return slot == undoBufferSize_ ? 0 : slot + 1; }
  int previousSlot(int slot) const { return slot == 0 ? undoBufferSize_ : slot - 1; }
  int slotAfter(int slot, int steps) const;
  void capture(std::int16_t kind, UndoRecord& record, const PictureSnapshot& picture);
  void store(int slot, UndoRecord record);
  void releasePicture(int slot);
  UndoOutcome restore(std::int16_t kind, const UndoRecord& from);

  UndoState& state_;
  std::int16_t undoBufferSize_;
  std::vector<UndoRecord> records_;
  std::int16_t undoCursor_ = 0;
  std::int16_t undoCount_ = 0;
  std::int16_t redoCount_ = 0;
  std::size_t budgetBytes_;
  std::size_t listBytes_ = 0;  // handle lists of the pictures in records_
};

}  // namespace plotvane
