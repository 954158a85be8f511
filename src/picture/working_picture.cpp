#include "picture/working_picture.h"

#include "picture/pixel_transfer.h"

namespace plotvane {

bool WorkingPicture::replace(PixelArray picture) {
  if (!editable()) return false;
  // The old pixels go before the reduced copy of the new ones is made.
  pixels_ = std::move(picture);
  changed();
  return true;
}

const PixelArray& WorkingPicture::reduced(int shift) {
  if (reducedShift_ != shift || reducedVersion_ != version_ || reduced_.empty()) {
    reduced_ = PixelArray();
    reduced_ = reducePicture(pixels_, shift);
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
