// What the two picture filter dialogs (brightness and contrast, colour mask)
// share: two preview panes showing the same area of the working picture, the
// left one as it is and the right one filtered, zoomed with two buttons and
// panned with the left button; and OK, which runs the same filter over the
// whole working picture.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/form1.h"
#include "base/pixel_array.h"
#include "digitize/picture_input.h"
#include "filters/filter_pass.h"

namespace plotvane {

// The size of each preview pane in screen pixels.
inline constexpr int kPreviewPaneWidth = 320;
inline constexpr int kPreviewPaneHeight = 320;

// A preview pane and what it shows, exactly its size; the version counts the
// redraws so the window repaints only after one.
struct PreviewPane : Control {
  using Control::Control;
  PixelArray image;
  std::uint64_t version = 0;
};

enum class PreviewPaneId { Picture1, Picture2 };

// Where both panes look; single precision, in picture pixels unless said.
struct PreviewState {
  float previewZoom = 1;
  float dragAnchorX = 0, dragAnchorY = 0;  // pane pixels where the left button went down
  float panOriginX = 0, panOriginY = 0;    // panX, panY as the current drag started
  float panX = 0, panY = 0;                // picture position of the panes' top-left corner
};

// The pan that centres a picture side of pictureSize pixels in a pane side
// of paneSize screen pixels: (pictureSize - paneSize / zoom) * 0.5, negative
// when the zoomed picture is smaller than the pane.
float centredPan(int pictureSize, int paneSize, float zoom);

// A pan kept on the picture: a side that fits the pane at this zoom stays
// centred whatever the pan; otherwise the pan is held from 0 to
// pictureSize - paneSize / zoom.
float clampedPan(float pan, int pictureSize, int paneSize, float zoom);

// The colour of a pane at a pointer position that lies strictly inside it
// (0 < x < width, 0 < y < height: the first row and column do not count),
// rounded half to even to a pixel. Nothing outside, or where the rounding
// reaches past the last column or row.
std::optional<std::uint32_t> paneColourAt(const PixelArray& image, float x, float y);

// The part of a filter dialog's model that both dialogs share.
struct FilterDialog : Dialog {
  FilterDialog(DialogId dialogId, std::string name);

  PreviewPane Picture1{"Picture1"};  // the working picture as it is
  PreviewPane Picture2{"Picture2"};  // the same area, filtered
  Control cmdZoomIn{"cmdZoomIn"}, cmdZoomOut{"cmdZoomOut"};
  Control OKButton{"OKButton"}, CancelButton{"CancelButton"};
  PreviewState preview;
  // OK's pass over the working picture is under way; it yields to events, and
  // only Cancel (a cancel request) is taken meanwhile.
  bool applying = false;

  PreviewPane& pane(PreviewPaneId id) {
    return id == PreviewPaneId::Picture1 ? Picture1 : Picture2;
  }

  // The dialog's filter with its current settings, from source into result:
  // the one pure pass behind the right pane and OK. False when yield cancels.
  virtual bool filter(const PixelArray& source, PixelArray& result,
                      const FilterYield& yield) const = 0;

  // Enables or disables every control but CancelButton.
  virtual void enableSettings(bool enabled);

  // Run first on a pointer move or release over either pane.
  virtual void pointerMoved(PreviewPaneId, const PointerEvent&) {}
  virtual void pointerReleased(PreviewPaneId, const PointerEvent&) {}
};

// The loaded filter dialog of that id, if any.
FilterDialog* filterDialog(const Form1& form, DialogId id);

// Loads the dialog: the main window is disabled, the preview takes the main
// window's zoom and is centred on the picture, and both panes are drawn
// unfiltered. The caller has set the captions.
void loadFilterDialog(Form1& form, std::shared_ptr<FilterDialog> dialog);

// Draws both panes from the working picture at the preview's zoom and pan;
// the right one through the filter, or as it is (during a drag).
void drawPreviewPanes(Form1& form, FilterDialog& dialog, bool filtered);

// Click of cmdZoomIn (in) or cmdZoomOut: the zoom doubles or halves within
// the main view's limits (1/64 to 64; a click past them changes nothing),
// the preview is centred again and both panes drawn, the right filtered.
void previewZoomClick(Form1& form, DialogId id, bool in);

// The pointer on either pane, in pane pixels. A left press anchors a drag; a
// move with the left button held pans both panes (the right unfiltered); any
// release ends the drag and draws both panes, the right filtered.
void previewMouseDown(Form1& form, DialogId id, PreviewPaneId pane, const PointerEvent& event);
void previewMouseMove(Form1& form, DialogId id, PreviewPaneId pane, const PointerEvent& event);
void previewMouseUp(Form1& form, DialogId id, PreviewPaneId pane, const PointerEvent& event);

// Click of OKButton: an undo snapshot of the working picture, the filter
// over all of it with ProgressBar1 showing the progress, the view redrawn,
// the dialog unloaded. A cancel request during the pass (Cancel, the close
// box) leaves the picture exactly as it was; the snapshot stays, an undo step
// equal to the picture.
void filterOkClick(Form1& form, DialogId id);

// Click of CancelButton, the close box, or the main window's shut-down: the
// dialog unloads and the main window is enabled, nothing else changed.
// During OK's pass this is a cancel request instead, and OK unloads the
// dialog once its pass has stopped.
void filterUnload(Form1& form, DialogId id);

}  // namespace plotvane
