#include "view/view.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "app/graph_types.h"
#include "app/window_design.h"
#include "base/number_text.h"
#include "picture/pixel_transfer.h"
#include "view/overlays.h"
#include "view/selection.h"

namespace plotvane {
namespace {

// Room the layout keeps: the window's edge beside a hidden scroll bar, the
// edge with a scroll bar shown, and the status line under the pane.
constexpr int kEdgeTwips = 45;
constexpr int kEdgeWithBarTwips = 315;
constexpr int kScrollBarTwips = 270;
constexpr int kStatusLineTwips = 270;

int innerPixels(int twips) {
  return std::max(0, twips / kTwipsPerPixel - 2 * kViewportBorder);
}

// A size the layout cannot give (a window too small) leaves the control as
// it was.
void setSize(int& field, int twips) {
  if (twips >= 0) field = twips;
}

bool showsPolyline(const Form1& form) {
  return tracesPolyline(form.ui.cmbGraphType.selected);
}

// Arrow and page steps of a bar, whole picture pixels at zoom above 1 so the
// snapping does not pull an arrow click back.
void setSteps(ScrollBarControl& bar, int innerPixelsOfBar, float zoom) {
  const int pixel = zoom > 1 ? static_cast<int>(zoom) : 1;
  bar.smallChange = std::max(16, pixel);
  bar.largeChange = std::max(bar.smallChange, innerPixelsOfBar / pixel * pixel);
}

void clampValue(ScrollBarControl& bar) {
  bar.value = std::clamp(bar.value, bar.minimum, std::max(bar.minimum, bar.maximum));
}

// k where zoom is 2^-k for k from 1 to 6, else 0.
int reductionShift(float zoom) {
  for (int shift = 1; shift <= 6; ++shift)
    if (zoom == 1.0f / float(1 << shift)) return shift;
  return 0;
}

}  // namespace

int viewportInnerWidth(const Form1& form) {
  return innerPixels(form.ui.Picture3.geometry.width);
}

int viewportInnerHeight(const Form1& form) {
  return innerPixels(form.ui.Picture3.geometry.height);
}

std::string magnificationText(const Form1& form, float zoom) {
  if (zoom < 1) return form.caption(Caption::Magnification) + "1/" + singleText(1 / zoom);
  return form.caption(Caption::Magnification) + singleText(zoom);
}

std::int16_t pict1Reload(Form1& form) {
  if (form.state.picturePath.empty()) return 1;
  form.setPanel(StatusPanel::Magnification, magnificationText(form, form.app.zoom));
  if (LayoutPicturePane(form) == 0) return 0;
  Pict1SizeSet(form);
  SnapScrollPositions(form);
  PlaceReferenceLines(form);
  PlaceReferenceLabels(form);
  Pict1PictSet(form);
  return 1;
}

std::int16_t LayoutPicturePane(Form1& form) {
  Form1Controls& ui = form.ui;
  const float zoom = form.app.zoom;
  const int pictureW = form.state.Picture2.width();
  const int pictureH = form.state.Picture2.height();
  const int fw = form.state.clientWidth;
  const int fh = form.state.clientHeight;
  Geometry& port = ui.Picture3.geometry;
  port.left = design::kPicture3Left;
  port.top = design::kPicture3Top;

  // Showing one scroll bar takes room from the other direction; the second
  // pass settles what the first decided.
  for (int pass = 0; pass < 2; ++pass) {
    if (static_cast<float>(pictureH) * zoom < static_cast<float>(viewportInnerHeight(form))) {
      setSize(port.width, fw - port.left - kEdgeTwips);
      ui.VScroll1.visible = false;
    } else {
      setSize(port.width, fw - port.left - kEdgeWithBarTwips);
      ui.VScroll1.visible = true;
    }
    if (static_cast<float>(pictureW) * zoom < static_cast<float>(viewportInnerWidth(form))) {
      setSize(port.height, fh - port.top - kEdgeTwips - kStatusLineTwips);
      ui.HScroll1.visible = false;
    } else {
      setSize(port.height, fh - port.top - kEdgeWithBarTwips - kStatusLineTwips);
      ui.HScroll1.visible = true;
    }
    ui.Picture1.geometry.left = 0;
    ui.Picture1.geometry.top = 0;
  }

  if (zoom == 0) return 0;
  const int innerW = viewportInnerWidth(form);
  const int innerH = viewportInnerHeight(form);
  const double zoomedW = static_cast<float>(pictureW) * zoom;
  const double zoomedH = static_cast<float>(pictureH) * zoom;
  if (zoomedW > kMaxDisplayExtent || zoomedH > kMaxDisplayExtent) return 0;
  const double vmax = zoomedH - std::floor(innerH / double(zoom)) * zoom;
  if (vmax > kMaxDisplayExtent) return 0;
  const double hmax = zoomedW - std::floor(innerW / double(zoom)) * zoom;
  if (hmax > kMaxDisplayExtent) return 0;

  ui.HScroll1.geometry = {port.left, port.top + port.height, port.width, kScrollBarTwips};
  ui.VScroll1.maximum = std::max<int>(0, roundToInt16(vmax));
  ui.VScroll1.geometry = {port.left + port.width, port.top, kScrollBarTwips, port.height};
  ui.HScroll1.maximum = std::max<int>(0, roundToInt16(hmax));
  for (ScrollBarControl* bar : {&ui.HScroll1, &ui.VScroll1}) {
    bar->minimum = 0;
    clampValue(*bar);
  }
  setSteps(ui.HScroll1, innerW, zoom);
  setSteps(ui.VScroll1, innerH, zoom);
  return 1;
}

void Pict1SizeSet(Form1& form) {
  try {
    const float zoom = form.app.zoom;
    const int innerW = viewportInnerWidth(form);
    const int innerH = viewportInnerHeight(form);
    // Whole display pixels only: below zoom 1 the picture pixels of a last
    // partial display pixel are dropped like every other skipped pixel, and
    // the copy's column count stays within 16 bits up to the largest picture.
    const double zoomedW = std::floor(static_cast<float>(form.state.Picture2.width()) * zoom);
    const double zoomedH = std::floor(static_cast<float>(form.state.Picture2.height()) * zoom);
    const int width = zoomedW <= innerW ? static_cast<int>(zoomedW) : innerW;
    const int height = zoomedH <= innerH ? static_cast<int>(zoomedH) : innerH;
    form.ui.Picture1.geometry.width = width * kTwipsPerPixel;
    form.ui.Picture1.geometry.height = height * kTwipsPerPixel;
    PixelArray& image = form.state.Picture1Image;
    if (image.width() != width || image.height() != height) {
      image = PixelArray();
      image = PixelArray(width, height, form.platform.buttonFaceColour());
      ++form.state.picture1Version;
    }
  } catch (const std::exception&) {
  }
}

void SnapScrollPositions(Form1& form) {
  const float zoom = form.app.zoom;
  if (zoom == 0) return;
  for (ScrollBarControl* bar : {&form.ui.HScroll1, &form.ui.VScroll1}) {
    const double snapped = std::floor(bar->value / double(zoom)) * zoom;
    if (snapped <= bar->maximum) bar->value = roundToInt16(snapped);
  }
}

void Pict1PictSet(Form1& form) {
  const float zoom = form.app.zoom;
  if (zoom == 0) return;
  try {
    const auto srcX = static_cast<float>(std::floor(form.ui.HScroll1.value / double(zoom)));
    const auto srcY = static_cast<float>(std::floor(form.ui.VScroll1.value / double(zoom)));
    FormState& state = form.state;
    const std::uint32_t face = form.platform.buttonFaceColour();
    if (const int shift = reductionShift(zoom); shift > 0) {
      // Shows the same pixels as the scaled copy of the whole picture: the
      // view starts at a multiple of 2^shift, and the reduction keeps exactly
      // those columns and rows.
      BlitZoomed(state.Picture2.reduced(shift), state.Picture1Image, 1, std::ldexp(srcX, -shift),
                 std::ldexp(srcY, -shift), face);
    } else {
      BlitZoomed(state.Picture2.pixels(), state.Picture1Image, zoom, srcX, srcY, face);
    }
    ++form.state.picture1Version;
    if (showsPolyline(form)) DrawTracePolyline(form);
    DrawPointMarks(form, 0);
  } catch (const std::exception&) {
  }
}

void relayoutView(Form1& form) {
  LayoutPicturePane(form);
  Pict1SizeSet(form);
  SnapScrollPositions(form);
  PlaceReferenceLines(form);
  PlaceReferenceLabels(form);
  Pict1PictSet(form);
}

void scrollBarChange(Form1& form) {
  if (form.app.zoom == 0) return;
  clampValue(form.ui.HScroll1);
  clampValue(form.ui.VScroll1);
  SnapScrollPositions(form);
  PlaceReferenceLines(form);
  PlaceReferenceLabels(form);
  Pict1PictSet(form);
}

namespace {

void zoomBy(Form1& form, float factor) {
  AppState& app = form.app;
  if (form.state.picturePath.empty() || app.zoom == 0) return;
  if (factor > 1 ? app.zoom >= kMaxZoom : app.zoom <= kMinZoom) return;
  app.zoom *= factor;
  if (pict1Reload(form) != 0) {
    if (showsPolyline(form)) DrawTracePolyline(form);
    DrawPointMarks(form, 0);
    ++form.state.picture1Version;
    return;
  }
  app.zoom /= factor;
  relayoutView(form);
}

}  // namespace

void mnuZoomInClick(Form1& form) {
  zoomBy(form, 2);
}

void zoomAround(Form1& form, bool in, float x, float y) {
  const float before = form.app.zoom;
  if (!(before > 0)) return;
  const double px = (form.ui.HScroll1.value + double(x)) / before;
  const double py = (form.ui.VScroll1.value + double(y)) / before;
  zoomBy(form, in ? 2 : 0.5f);
  const float after = form.app.zoom;
  if (after == before) return;
  // The picture point under the pointer stays under it where the scroll
  // range allows.
  const auto scrollTo = [](ScrollBarControl& bar, double value) {
    bar.value = static_cast<int>(std::clamp(std::nearbyint(value), double(bar.minimum),
                                            double(std::max(bar.minimum, bar.maximum))));
  };
  scrollTo(form.ui.HScroll1, px * after - x);
  scrollTo(form.ui.VScroll1, py * after - y);
  scrollBarChange(form);
}

void scrollBy(Form1& form, int notches, bool horizontal) {
  ScrollBarControl& bar = horizontal ? form.ui.HScroll1 : form.ui.VScroll1;
  if (form.app.zoom == 0 || !bar.visible) return;
  // Three arrow steps a notch, as desktop views scroll.
  bar.value -= notches * 3 * bar.smallChange;
  scrollBarChange(form);
}

void mnuZoomOutClick(Form1& form) {
  zoomBy(form, 0.5f);
}

}  // namespace plotvane
