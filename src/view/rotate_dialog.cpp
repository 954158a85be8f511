#include "view/rotate_dialog.h"

#include <memory>
#include <optional>

#include "base/number_text.h"
#include "picture/rotation.h"
#include "view/undo_commands.h"
#include "view/view.h"

namespace plotvane {
namespace {

constexpr int kEnterKey = 13;

std::shared_ptr<RotateDialog> openDialog(Form1& form) {
  return std::static_pointer_cast<RotateDialog>(
      form.dialogs[static_cast<std::size_t>(DialogId::Rotate)]);
}

// Clears a flag however the scope is left.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void mnuPictRotClick(Form1& form) {
  if (form.state.picturePath.empty() || !form.state.Picture2.editable()) return;
  if (form.dialog(DialogId::Rotate)) return;
  auto dialog = std::make_shared<RotateDialog>();
  dialog->window.text = form.caption(Caption::RotateTitle);
  dialog->Frame1.text = form.caption(Caption::RotateFrame);
  dialog->Option2.text = form.caption(Caption::RotateCcw);
  dialog->Option1.text = form.caption(Caption::RotateCw);
  dialog->Label1.text = form.caption(Caption::RotateAngle);
  dialog->CancelButton.text = form.caption(Caption::RotateCancel);
  dialog->OKButton.text = form.caption(Caption::RotateOk);
  dialog->txtRot.text = "1";
  dialog->Option1.value = 1;
  form.loadDialog(std::move(dialog));
}

void rotateOptionClick(Form1& form, bool clockwise) {
  const std::shared_ptr<RotateDialog> dialog = openDialog(form);
  if (!dialog || dialog->rotating) return;
  dialog->Option1.value = clockwise ? 1 : 0;
  dialog->Option2.value = clockwise ? 0 : 1;
}

void rotateOkClick(Form1& form) {
  // Held here: a shut-down during the rotation's yields unloads the dialog.
  const std::shared_ptr<RotateDialog> dialog = openDialog(form);
  if (!dialog || dialog->rotating) return;
  WorkingPicture& picture = form.state.Picture2;
  if (!picture.editable()) return;

  const float angle = normaliseAngle(rotationAngle(
      form.app.rotationBase, leadingNumber(dialog->txtRot.text), dialog->Option1.value != 0));
  // Every routine counts picture pixels in 16 bits and copies the picture
  // for undo: a result the loader would refuse must not become the picture.
  const RotationGeometry geometry = rotationGeometry(picture.width(), picture.height(), angle);
  if (!PictureLimits::forThisMachine().accepts(geometry.newWidth, geometry.newHeight)) {
    form.showMessage(form.message(Message::RotatedPictureTooLarge));
    return;
  }

  PushUndoSnapshot(form, kUndoPicture);
  {
    const FlagScope rotating(dialog->rotating);
    RotatePictform1(form, angle);
  }
  form.app.rotationBase = 0;
  if (form.dialog(DialogId::Rotate) == dialog.get()) rotateUnload(form);
}

void rotateKeyPress(Form1& form, int keyAscii) {
  if (keyAscii == kEnterKey) rotateOkClick(form);
}

void rotateCancelClick(Form1& form) {
  const std::shared_ptr<RotateDialog> dialog = openDialog(form);
  if (!dialog || dialog->rotating) return;
  rotateUnload(form);
}

void rotateUnload(Form1& form) {
  form.unloadDialog(DialogId::Rotate);
}

void RotatePictform1(Form1& form, float rot) {
  WorkingPicture& picture = form.state.Picture2;
  if (!picture.editable()) return;
  ProgressBarControl& bar = form.ui.ProgressBar1;
  std::optional<PixelArray> turned;
  {
    // The source is read between yields: nothing may replace it meanwhile.
    const WorkingPicture::RunHold hold = picture.holdForRun();
    bar.visible = true;
    struct HideBar {
      ProgressBarControl& bar;
      ~HideBar() { bar.visible = false; }
    } hideBar{bar};
    turned = RotatePicture(picture.pixels(), rot, [&form, &bar](std::optional<float> progress) {
      form.platform.yieldEvents();
      if (progress) bar.value = roundToInt32(*progress);
    });
  }
  if (!turned || !picture.replace(std::move(*turned))) return;
  showChangedPicture(form, PictureChange::Resized);
}

}  // namespace plotvane
