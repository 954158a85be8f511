// The working picture and everything that must change in step with it: its
// pixels, a version that counts every change, the reduced copy the view
// draws from at small magnifications, and the reference rectangle. Nobody
// else writes the pixels; while a digitizing run reads them (and yields to
// events) every edit is refused here.
#pragma once

#include <cstdint>
#include <utility>

#include "base/pixel_array.h"
#include "base/pixel_rect.h"

namespace plotvane {

class WorkingPicture {
 public:
  WorkingPicture() = default;
  WorkingPicture(const WorkingPicture&) = delete;
  WorkingPicture& operator=(const WorkingPicture&) = delete;

  bool empty() const { return pixels_.empty(); }
  int width() const { return pixels_.width(); }
  int height() const { return pixels_.height(); }
  const PixelArray& pixels() const { return pixels_; }

  // Bumped by every change of the pixels.
  std::uint64_t version() const { return version_; }

  // The reference rectangle in picture pixels. It is not clamped here: the
  // owner of a size change decides how it follows.
  const PixelRect& rect() const { return rect_; }
  void setRect(const PixelRect& rect) { rect_ = rect; }

  // Edits are refused (false, nothing changed) while a run holds the picture.
  bool editable() const { return runHolds_ == 0; }

  // A whole new picture: loading, a rotation, an undo to another size.
  bool replace(PixelArray picture);

  // Changes pixels in place: `edit` gets the pixels and writes only inside
  // the columns left ... right - 1 and rows top ... bottom - 1 (clamped to
  // the picture by the caller's arithmetic or here, whichever is smaller).
  template <typename Edit>
  bool editRegion(int left, int top, int right, int bottom, Edit&& edit) {
    if (!editable()) return false;
    (void)left, (void)top, (void)right, (void)bottom;
    std::forward<Edit>(edit)(pixels_);
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

 private:
  void changed();

  PixelArray pixels_;
  std::uint64_t version_ = 0;
  PixelRect rect_;
  PixelArray reduced_;
  int reducedShift_ = 0;
  std::uint64_t reducedVersion_ = 0;
  int runHolds_ = 0;
};

}  // namespace plotvane
