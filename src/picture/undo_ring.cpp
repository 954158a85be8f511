#include "picture/undo_ring.h"

#include <unistd.h>

#include <algorithm>
#include <utility>

namespace plotvane {

std::size_t defaultUndoBudget() {
  constexpr std::size_t kCeiling = std::size_t{2} << 30;
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return kCeiling;
  return std::min(kCeiling,
                  static_cast<std::size_t>(pages) / 4 * static_cast<std::size_t>(pageSize));
}

UndoRing::UndoRing(std::int16_t undoBufferSize, UndoState& state, std::size_t budgetBytes)
    : state_(state),
      undoBufferSize_(std::max<std::int16_t>(undoBufferSize, 0)),
      records_(static_cast<std::size_t>(undoBufferSize_) + 1),
      budgetBytes_(budgetBytes) {}

// Invariant kept by every operation: a slot that neither Undo nor Redo can
// reach holds no picture, so unreachable states cost no memory. Reachable are
// the undoCount slots before the cursor and, while redo is possible, the
// cursor's slot and the redoCount slots after it.

int UndoRing::slotAfter(int slot, int steps) const {
  const int slots = undoBufferSize_ + 1;
  return ((slot + steps) % slots + slots) % slots;
}

void UndoRing::capture(std::int16_t kind, UndoRecord& record, const PictureSnapshot& picture) {
  if (kind == kUndoPicture) {
    record.picture = picture;
    record.width = picture.width;
    record.height = picture.height;
    // A change of size moves the rectangle into the new picture; it comes
    // back with the picture's old size.
    record.rect = state_.captureRect();
  } else if (kind == kUndoRect) {
    record.rect = state_.captureRect();
  }
}

void UndoRing::store(int slot, UndoRecord record) {
  UndoRecord& target = records_[static_cast<std::size_t>(slot)];
  listBytes_ -= target.picture.listBytes();
  listBytes_ += record.picture.listBytes();
  target = std::move(record);
}

void UndoRing::releasePicture(int slot) {
  UndoRecord& target = records_[static_cast<std::size_t>(slot)];
  listBytes_ -= target.picture.listBytes();
  target.picture = PictureSnapshot{};
}

void UndoRing::push(std::int16_t kind) {
  // The new record is built whole before anything changes, so a failed
  // capture leaves the ring as it was.
  const std::int16_t previousKind =
      undoCount_ > 0 ? records_[static_cast<std::size_t>(previousSlot(undoCursor_))].kind
                     : kUndoEmpty;
  const PictureSnapshot picture = kind == kUndoPicture || previousKind == kUndoPicture
                                      ? state_.capturePicture()
                                      : PictureSnapshot{};
  const UndoRecord& old = records_[static_cast<std::size_t>(undoCursor_)];
  UndoRecord next{
      .kind = kind, .rect = old.rect, .picture = {}, .width = old.width, .height = old.height};
  capture(kind, next, picture);
  // Redo of the previous edit restores the state after it from this record.
  if (undoCount_ > 0) capture(previousKind, next, picture);

  for (int i = 1; i <= redoCount_; ++i) store(slotAfter(undoCursor_, i), UndoRecord{});
  store(undoCursor_, std::move(next));
  undoCursor_ = static_cast<std::int16_t>(nextSlot(undoCursor_));
  undoCount_ = std::min<std::int16_t>(static_cast<std::int16_t>(undoCount_ + 1), undoBufferSize_);
  redoCount_ = 0;
  // The oldest state when the ring is full; with a capacity of 0, this push.
  releasePicture(undoCursor_);
  trimToBudget();
}

UndoOutcome UndoRing::undo() {
  if (undoCount_ <= 0) return {};
  const int old = undoCursor_;
  const int cursor = previousSlot(old);
  const UndoRecord& from = records_[static_cast<std::size_t>(cursor)];
  // The first undo after edits keeps the newest state for Redo.
  const bool keepNewest = redoCount_ == 0;
  UndoRecord newest;
  if (keepNewest) {
    const UndoRecord& stale = records_[static_cast<std::size_t>(old)];
    newest = {.kind = from.kind,
              .rect = stale.rect,
              .picture = {},
              .width = stale.width,
              .height = stale.height};
    capture(from.kind, newest,
            from.kind == kUndoPicture ? state_.capturePicture() : PictureSnapshot{});
  }
  const UndoOutcome outcome = restore(from.kind, from);
  if (keepNewest) store(old, std::move(newest));
  undoCursor_ = static_cast<std::int16_t>(cursor);
  --undoCount_;
  ++redoCount_;
  return outcome;
}

UndoOutcome UndoRing::redo() {
  if (redoCount_ <= 0) return {};
  const int old = undoCursor_;
  const int cursor = nextSlot(old);
  // The kind of the edit being redone, the state after it from the next slot.
  const UndoOutcome outcome = restore(records_[static_cast<std::size_t>(old)].kind,
                                      records_[static_cast<std::size_t>(cursor)]);
  undoCursor_ = static_cast<std::int16_t>(cursor);
  ++undoCount_;
  --redoCount_;
  return outcome;
}

UndoOutcome UndoRing::restore(std::int16_t kind, const UndoRecord& from) {
  UndoOutcome outcome{.moved = true};
  if (kind == kUndoPicture && !from.picture.empty()) {
    outcome.sizeChanged = state_.restorePicture(from.picture);
    if (outcome.sizeChanged) state_.restoreRect(from.rect);
    outcome.restored = kUndoPicture;
  } else if (kind == kUndoRect) {
    state_.restoreRect(from.rect);
    outcome.restored = kUndoRect;
  }
  return outcome;
}

void UndoRing::reset() {
  undoCursor_ = 0;
  undoCount_ = 0;
  redoCount_ = 0;
  for (int slot = 0; slot <= undoBufferSize_; ++slot) releasePicture(slot);
  state_.releaseUnusedMemory();
}

void UndoRing::trimToBudget() {
  if (heldBytes() <= budgetBytes_) return;
  state_.releaseUnusedMemory();
  while (heldBytes() > budgetBytes_ && undoCount_ > 0) {
    releasePicture(slotAfter(undoCursor_, -undoCount_));
    --undoCount_;
    state_.releaseUnusedMemory();
  }
}

}  // namespace plotvane
