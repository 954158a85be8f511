#include "filters/filter_dialog.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/number_text.h"
#include "picture/pixel_transfer.h"
#include "view/undo_commands.h"
#include "view/view.h"

namespace plotvane {
namespace {

std::size_t slotOf(DialogId id) {
  return static_cast<std::size_t>(id);
}

void showPane(PreviewPane& pane) {
  ++pane.version;
}

// The right pane as the left one shows it, in the storage it already has.
void copyPane(const PixelArray& from, PixelArray& to) {
  if (to.width() == from.width() && to.height() == from.height())
    std::copy_n(from.data(), from.size(), to.data());
  else
    to = from;
}

void centrePreview(const Form1& form, FilterDialog& dialog) {
  PreviewState& preview = dialog.preview;
  const WorkingPicture& picture = form.state.Picture2;
  preview.panX = centredPan(picture.width(), dialog.Picture1.image.width(), preview.previewZoom);
  preview.panY = centredPan(picture.height(), dialog.Picture1.image.height(), preview.previewZoom);
  preview.panOriginX = preview.panX;
  preview.panOriginY = preview.panY;
}

// A dialog that takes pointer and button events: loaded and not applying.
FilterDialog* idleDialog(const Form1& form, DialogId id) {
  FilterDialog* dialog = filterDialog(form, id);
  return dialog && !dialog->applying ? dialog : nullptr;
}

}  // namespace

float centredPan(int pictureSize, int paneSize, float zoom) {
  return (static_cast<float>(pictureSize) - static_cast<float>(paneSize) / zoom) * 0.5f;
}

float clampedPan(float pan, int pictureSize, int paneSize, float zoom) {
  const auto picture = static_cast<float>(pictureSize);
  const auto pane = static_cast<float>(paneSize);
  if (picture * zoom <= pane) return centredPan(pictureSize, paneSize, zoom);
  if (pan < 0) pan = 0;
  if (picture - pane / zoom < pan) pan = picture - pane / zoom;
  return pan;
}

std::optional<std::uint32_t> paneColourAt(const PixelArray& image, float x, float y) {
  if (!(x > 0 && x < static_cast<float>(image.width()) && y > 0 &&
        y < static_cast<float>(image.height())))
    return std::nullopt;
  const int column = roundToInt32(x);
  const int row = roundToInt32(y);
  if (column >= image.width() || row >= image.height()) return std::nullopt;
  return image.at(column, row);
}

FilterDialog::FilterDialog(DialogId dialogId, std::string name)
    : Dialog(dialogId, std::move(name)) {
  for (PreviewPane* pane : {&Picture1, &Picture2}) {
    pane->geometry.width = kPreviewPaneWidth * kTwipsPerPixel;
    pane->geometry.height = kPreviewPaneHeight * kTwipsPerPixel;
    pane->image = PixelArray(kPreviewPaneWidth, kPreviewPaneHeight, 0);
  }
}

void FilterDialog::enableSettings(bool enabled) {
  for (Control* control : {static_cast<Control*>(&Picture1), static_cast<Control*>(&Picture2),
                           &cmdZoomIn, &cmdZoomOut, &OKButton})
    control->enabled = enabled;
}

FilterDialog* filterDialog(const Form1& form, DialogId id) {
  if (id != DialogId::Contrast && id != DialogId::ColourMask) return nullptr;
  return form.dialogAs<FilterDialog>(id);
}

void loadFilterDialog(Form1& form, std::shared_ptr<FilterDialog> dialog) {
  const float zoom = form.app.zoom;
  dialog->preview.previewZoom = zoom > 0 ? zoom : 1;
  centrePreview(form, *dialog);
  drawPreviewPanes(form, *dialog, false);
  form.loadDialog(std::move(dialog));
}

void drawPreviewPanes(Form1& form, FilterDialog& dialog, bool filtered) {
  const PreviewState& preview = dialog.preview;
  BlitZoomed(form.state.Picture2.pixels(), dialog.Picture1.image, preview.previewZoom, preview.panX,
             preview.panY, form.platform.buttonFaceColour());
  // Both panes show the same area: the right one is the left one's copy, or
  // its filtered copy. The preview is a pane's worth of pixels and does not
  // yield, so no event can unload the dialog in the middle of it.
  if (filtered)
    dialog.filter(dialog.Picture1.image, dialog.Picture2.image, {});
  else
    copyPane(dialog.Picture1.image, dialog.Picture2.image);
  showPane(dialog.Picture1);
  showPane(dialog.Picture2);
}

void previewZoomClick(Form1& form, DialogId id, bool in) {
  FilterDialog* dialog = idleDialog(form, id);
  if (!dialog) return;
  PreviewState& preview = dialog->preview;
  if (in ? preview.previewZoom >= kMaxZoom : preview.previewZoom <= kMinZoom) return;
  preview.previewZoom = in ? preview.previewZoom * 2 : preview.previewZoom / 2;
  centrePreview(form, *dialog);
  drawPreviewPanes(form, *dialog, true);
}

void previewMouseDown(Form1& form, DialogId id, PreviewPaneId, const PointerEvent& event) {
  FilterDialog* dialog = idleDialog(form, id);
  if (!dialog || event.button != PointerButton::Left) return;
  dialog->preview.dragAnchorX = event.x;
  dialog->preview.dragAnchorY = event.y;
}

void previewMouseMove(Form1& form, DialogId id, PreviewPaneId pane, const PointerEvent& event) {
  FilterDialog* dialog = idleDialog(form, id);
  if (!dialog) return;
  dialog->pointerMoved(pane, event);
  if (event.button != PointerButton::Left) return;
  PreviewState& preview = dialog->preview;
  const WorkingPicture& picture = form.state.Picture2;
  const float zoom = preview.previewZoom;
  preview.panX = clampedPan(preview.panOriginX + (preview.dragAnchorX - event.x) / zoom,
                            picture.width(), dialog->Picture1.image.width(), zoom);
  preview.panY = clampedPan(preview.panOriginY + (preview.dragAnchorY - event.y) / zoom,
                            picture.height(), dialog->Picture1.image.height(), zoom);
  drawPreviewPanes(form, *dialog, false);
}

void previewMouseUp(Form1& form, DialogId id, PreviewPaneId pane, const PointerEvent& event) {
  FilterDialog* dialog = idleDialog(form, id);
  if (!dialog) return;
  dialog->pointerReleased(pane, event);
  dialog->preview.panOriginX = dialog->preview.panX;
  dialog->preview.panOriginY = dialog->preview.panY;
  drawPreviewPanes(form, *dialog, true);
}

void filterOkClick(Form1& form, DialogId id) {
  // Held here: the pass yields, and whatever runs then must not free the
  // model under it.
  const std::shared_ptr<Dialog> held = form.dialogs[slotOf(id)];
  FilterDialog* dialog = idleDialog(form, id);
  if (!dialog) return;
  WorkingPicture& picture = form.state.Picture2;
  if (picture.editable()) {
    PushUndoSnapshot(form, kUndoPicture);
    dialog->applying = true;
    dialog->enableSettings(false);
    form.app.cancelRequested = false;
    ProgressBarControl& progress = form.ui.ProgressBar1;
    progress.value = 0;
    progress.visible = true;
    PixelArray result;
    bool completed = false;
    {
      // Nothing may change the pixels that the pass reads while it yields.
      const WorkingPicture::RunHold hold = picture.holdForRun();
      completed = dialog->filter(picture.pixels(), result, [&form](int, int percent) {
        form.ui.ProgressBar1.value = percent;
        form.platform.yieldEvents();
        return !form.app.cancelRequested;
      });
    }
    progress.visible = false;
    dialog->applying = false;
    if (completed) picture.replace(std::move(result));
    showChangedPicture(form, PictureChange::Edited);
  }
  filterUnload(form, id);
}

void filterUnload(Form1& form, DialogId id) {
  FilterDialog* dialog = filterDialog(form, id);
  if (!dialog) return;
  if (dialog->applying) {
    form.app.cancelRequested = true;
    return;
  }
  form.unloadDialog(id);
}

}  // namespace plotvane
