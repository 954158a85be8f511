// The working picture and everything that must change in step with it: its
// pixels (kept in tiles for the undo history), a version that counts every
// change, the reduced copy the view draws from at small magnifications, and
// the reference rectangle. Nobody else writes the pixels; while a digitizing
// run reads them (and yields to events) every edit is refused here.
#pragma once

#include <cstdint>
#include <utility>

#include "base/pixel_array.h"
#include "base/pixel_rect.h"
#include "picture/tiled_picture.h"
#include "picture/undo_ring.h"

namespace plotvane {

class WorkingPicture final : public UndoState {
 public:
  WorkingPicture() = default;
  WorkingPicture(const WorkingPicture&) = delete;
  WorkingPicture& operator=(const WorkingPicture&) = delete;

  bool empty() const { return pixels().empty(); }
  int width() const { return tiles_.width(); }
  int height() const { return tiles_.height(); }
  const PixelArray& pixels() const { return tiles_.pixels(); }

  // Bumped by every change of the pixels.
  std::uint64_t version() const { return version_; }

  // The reference rectangle in picture pixels. It is not clamped here: the
  // owner of a size change decides how it follows.
  const PixelRect& rect() const { return rect_; }
  void setRect(const PixelRect& rect) { rect_ = rect; }

  // Edits are refused (false, nothing changed) while a run holds the picture.
  bool editable() const { return runHolds_ == 0; }

  // A whole new picture: loading, a rotation, a filter's result. The old
  // pixels that the undo history still needs are kept first.
  bool replace(PixelArray picture);

  // Changes pixels in place: `edit` gets the pixels and writes only inside
  // the columns left ... right - 1 and rows top ... bottom - 1. Only the
  // tiles there are saved for undo.
  template <typename Edit>
  bool editRegion(int left, int top, int right, int bottom, Edit&& edit) {
    if (!editable()) return false;
    if (!tiles_.editRegion(left, top, right, bottom, std::forward<Edit>(edit))) return false;
    changed();
    return true;
  }

  // Every 2^shift-th pixel of every 2^shift-th row from (0, 0), for shift 1
  // to 6: what the view shows at zoom 2^-shift. Kept until the pixels or
  // the shift change.
  const PixelArray& reduced(int shift);

  // Held from the start of a digitizing run to its end.
  class RunHold {
   public:
    explicit RunHold(WorkingPicture& picture) : picture_(&picture) { ++picture_->runHolds_; }
    ~RunHold() {
      if (picture_) --picture_->runHolds_;
    }
    RunHold(const RunHold&) = delete;
    RunHold& operator=(const RunHold&) = delete;

   private:
    WorkingPicture* picture_;
  };
  RunHold holdForRun() { return RunHold(*this); }

  // The undo history's view of the picture and the rectangle.
  PictureSnapshot capturePicture() override { return tiles_.snapshot(); }
  PixelRect captureRect() override { return rect_; }
  bool restorePicture(const PictureSnapshot& snapshot) override;
  void restoreRect(const PixelRect& rect) override { rect_ = rect; }
  std::size_t undoBytes() const override { return tiles_.undoBytes(); }
  void releaseUnusedMemory() override { tiles_.releaseUnusedMemory(); }

 private:
  void changed();

  TiledPicture tiles_;
  std::uint64_t version_ = 0;
  PixelRect rect_;
  PixelArray reduced_;
  int reducedShift_ = 0;
  std::uint64_t reducedVersion_ = 0;
  int runHolds_ = 0;
};

}  // namespace plotvane
