#include "picture/working_picture.h"

#include "picture/pixel_transfer.h"

namespace plotvane {

bool WorkingPicture::replace(PixelArray picture) {
  if (!editable()) return false;
  tiles_.replace(std::move(picture));
  changed();
  return true;
}

bool WorkingPicture::restorePicture(const PictureSnapshot& snapshot) {
  const bool resized = tiles_.restore(snapshot);
  changed();
  return resized;
}

const PixelArray& WorkingPicture::reduced(int shift) {
  if (reducedShift_ != shift || reducedVersion_ != version_ || reduced_.empty()) {
    reduced_ = PixelArray();
    reduced_ = reducePicture(pixels(), shift);
    reducedShift_ = shift;
    reducedVersion_ = version_;
  }
  return reduced_;
}

void WorkingPicture::changed() {
  ++version_;
  reduced_ = PixelArray();
  reducedShift_ = 0;
}

}  // namespace plotvane
