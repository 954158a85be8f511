#include "view/overlays.h"

#include <algorithm>
#include <cmath>

#include "picture/drawing.h"

namespace plotvane {
namespace {

// Single-precision positions as the view's 16-bit display coordinates.
std::int16_t displayCoordinate(float value) {
  if (std::isnan(value)) return 0;
  const float rounded = std::nearbyint(value);
  return static_cast<std::int16_t>(std::clamp(rounded, -32768.0f, 32767.0f));
}

int pixelsOf(int twips) {
  return twips / kTwipsPerPixel;
}

void place(LineControl& line, int x1, int y1, int x2, int y2) {
  line.x1 = static_cast<float>(x1);
  line.y1 = static_cast<float>(y1);
  line.x2 = static_cast<float>(x2);
  line.y2 = static_cast<float>(y2);
}

}  // namespace

DisplayEdges displayEdges(const Form1& form) {
  const float zoom = form.app.zoom;
  const auto h = static_cast<float>(form.ui.HScroll1.value);
  const auto v = static_cast<float>(form.ui.VScroll1.value);
  const PixelRect& r = form.state.Picture2.rect();
  return {displayCoordinate(zoom * r.lineXS - h), displayCoordinate(zoom * r.lineYT - v),
          displayCoordinate(zoom * r.lineXE - h - 1), displayCoordinate(zoom * r.lineYB - v - 1)};
}

void PlaceReferenceLines(Form1& form) {
  Form1Controls& ui = form.ui;
  const DisplayEdges e = displayEdges(form);
  const int w = pixelsOf(ui.Picture1.geometry.width);
  const int hv = pixelsOf(ui.Picture1.geometry.height);
  place(ui.Line1, e.xs, e.yt, e.xs, e.yb);
  place(ui.Line2, e.xe, e.yt, e.xe, e.yb);
  place(ui.Line3, e.xs, e.yt, e.xe, e.yt);
  place(ui.Line4, e.xs, e.yb, e.xe, e.yb);
  place(ui.LineT1, e.xs, 0, e.xs, e.yt);
  place(ui.LineT2, e.xe, 0, e.xe, e.yt);
  place(ui.LineB1, e.xs, e.yb, e.xs, hv);
  place(ui.LineB2, e.xe, e.yb, e.xe, hv);
  place(ui.LineL1, 0, e.yt, e.xs, e.yt);
  place(ui.LineL2, 0, e.yb, e.xs, e.yb);
  place(ui.LineR1, e.xe, e.yt, w, e.yt);
  place(ui.LineR2, e.xe, e.yb, w, e.yb);
}

void PlaceReferenceLabels(Form1& form) {
  Form1Controls& ui = form.ui;
  const DisplayEdges e = displayEdges(form);
  constexpr int kHeight = kValueLabelHeight * kTwipsPerPixel;
  for (Control* label : {&ui.txtLXS, &ui.txtLXE}) {
    label->geometry.top = 0;
    label->geometry.height = kHeight;
  }
  for (Control* label : {&ui.txtLYT, &ui.txtLYB}) {
    label->geometry.left = 0;
    label->geometry.height = kHeight;
  }
  ui.txtLXE.geometry.left = (e.xe + 1) * kTwipsPerPixel;
  ui.txtLYB.geometry.top = (e.yb - 12) * kTwipsPerPixel;
  // With the rectangle's top-left corner in the view's top-left corner the
  // two labels there would overlap: the Y label moves below the X label.
  if (e.xs >= 0 && e.xs < 7 && e.yt >= 0 && e.yt < 12) {
    ui.txtLYT.geometry.top = 11 * kTwipsPerPixel;
    ui.txtLXS.geometry.left = 7 * kTwipsPerPixel;
  } else {
    ui.txtLXS.geometry.left = (e.xs + 1) * kTwipsPerPixel;
    ui.txtLYT.geometry.top = (e.yt + 1) * kTwipsPerPixel;
  }
}

ViewPlacement viewPlacement(const Form1& form) {
  return {form.app.zoom, form.ui.HScroll1.value, form.ui.VScroll1.value,
          form.state.Picture2.height()};
}

DisplayPoint displayPosition(const ViewPlacement& view, const DataPoint& point) {
  const float zoom = view.zoom;
  const float x = zoom * point.XPixel - static_cast<float>(view.hScroll);
  const float topRow = std::floor(static_cast<float>(view.vScroll) / zoom);
  const float y = (static_cast<float>(view.pictureHeight - 1) - point.YPixel - topRow) * view.zoom;
  return {displayCoordinate(x), displayCoordinate(y)};
}

void paintCross(PixelArray& view, int x, int y, std::uint32_t colour) {
  if (x >= 3 && y >= 3 && x + 2 < view.width() && y + 2 < view.height()) {
    // Wholly inside: the two arms' pixels directly.
    colour &= kRgbMask;
    std::fill_n(view.row(y) + x - 3, 6, colour);
    for (int row = y - 3; row < y + 3; ++row) view.row(row)[x] = colour;
    return;
  }
  drawLine(view, x - 3, y, x + 3, y, colour);
  drawLine(view, x, y - 3, x, y + 3, colour);
}

void paintPointCrosses(PixelArray& view, std::span<const DataPoint> points,
                       const ViewPlacement& placement, std::uint32_t colour) {
  if (!(placement.zoom > 0)) return;
  const int width = view.width(), height = view.height();
  for (const DataPoint& point : points) {
    const DisplayPoint at = displayPosition(placement, point);
    if (at.x >= 0 && at.x < width && at.y >= 0 && at.y < height)
      paintCross(view, at.x, at.y, colour);
  }
}

void paintPolylineSegment(PixelArray& view, PolylinePen& pen, std::int16_t x, std::int16_t y,
                          std::int32_t drawFlag, std::uint32_t colour) {
  bool draw = drawFlag != 0;
  // A segment wholly off one side of the view is skipped.
  if (pen.x < 0 && x < 0) draw = false;
  if (pen.y < 0 && y < 0) draw = false;
  if (x > view.width() && pen.x > view.width()) draw = false;
  if (y > view.height() && pen.y > view.height()) draw = false;
  if (draw) drawLine(view, pen.x, pen.y, x, y, colour);
  pen = {x, y};
}

void paintTracePolyline(PixelArray& view, std::span<const DataPoint> points,
                        const ViewPlacement& placement, PolylinePen& pen, std::uint32_t colour) {
  if (!(placement.zoom > 0)) return;
  std::int32_t index = 0;
  for (const DataPoint& point : points) {
    const DisplayPoint at = displayPosition(placement, point);
    paintPolylineSegment(view, pen, at.x, at.y, index, colour);
    ++index;
  }
}

std::span<const DataPoint> listedPoints(const Form1& form) {
  const std::vector<DataPoint>& points = form.app.dataPoints;
  if (form.app.pointCount <= 0 || points.size() < 2) return {};
  const std::size_t count = std::min<std::size_t>(form.app.pointCount, points.size() - 1);
  return std::span<const DataPoint>(points).subspan(1, count);
}

void DrawPointMarks(Form1& form, std::uint32_t colour) {
  if (colour == 0) colour = kPlatformCyan;
  paintPointCrosses(form.state.Picture1Image, listedPoints(form), viewPlacement(form),
                    pixelFromPlatformColour(colour));
  ++form.state.picture1Version;
}

void DrawCross(Form1& form, std::int16_t x, std::int16_t y, std::uint32_t colour) {
  if (colour == 0) colour = kPlatformRed;
  paintCross(form.state.Picture1Image, x, y, pixelFromPlatformColour(colour));
  ++form.state.picture1Version;
}

void DrawTracePolyline(Form1& form) {
  PolylinePen pen{form.state.polylinePrevX, form.state.polylinePrevY};
  paintTracePolyline(form.state.Picture1Image, listedPoints(form), viewPlacement(form), pen,
                     pixelFromPlatformColour(kPlatformRed));
  form.state.polylinePrevX = pen.x;
  form.state.polylinePrevY = pen.y;
  ++form.state.picture1Version;
}

void DrawPolylineSegment(Form1& form, std::int16_t x, std::int16_t y, std::int32_t drawFlag) {
  PolylinePen pen{form.state.polylinePrevX, form.state.polylinePrevY};
  paintPolylineSegment(form.state.Picture1Image, pen, x, y, drawFlag,
                       pixelFromPlatformColour(kPlatformRed));
  form.state.polylinePrevX = pen.x;
  form.state.polylinePrevY = pen.y;
  ++form.state.picture1Version;
}

void Picture3MouseMove(Form1& form) {
  form.ui.shapPicUpRange.visible = false;
  form.ui.shapEraseRange.visible = false;
}

void Form1MouseMove(Form1& form) {
  Picture3MouseMove(form);
}

}  // namespace plotvane
