// What is drawn over the picture: the reference rectangle's lines and value
// labels, the point crosses and the trace polyline, and the footprints that
// follow the pointer.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "app/form1.h"

namespace plotvane {

// Colours as the platform's drawing calls take them: red in the low byte.
inline constexpr std::uint32_t kPlatformRed = 0x0000FF;
inline constexpr std::uint32_t kPlatformCyan = 0xFFFF00;

// A platform colour as a pixel value (red in the high byte).
constexpr std::uint32_t pixelFromPlatformColour(std::uint32_t colour) {
  return rgbValue(static_cast<int>(colour & 255u), static_cast<int>((colour >> 8) & 255u),
                  static_cast<int>((colour >> 16) & 255u));
}

// Design values of the line controls over the view; they are only moved and
// shown or hidden, never recoloured.
enum class LineStyle { Solid, Dotted };
struct OverlayLineDesign {
  LineControl Form1Controls::*line;
  std::uint32_t colour;  // pixel value
  LineStyle style;
};
inline constexpr std::uint32_t kEdgeColour = 0x404040;
inline constexpr std::uint32_t kExtensionColour = 0x808080;
inline constexpr std::uint32_t kMarkerColour = 0x000000;
inline constexpr std::array<OverlayLineDesign, 14> kOverlayLines{{
    {&Form1Controls::LineT1, kExtensionColour, LineStyle::Dotted},
    {&Form1Controls::LineT2, kExtensionColour, LineStyle::Dotted},
    {&Form1Controls::LineB1, kExtensionColour, LineStyle::Dotted},
    {&Form1Controls::LineB2, kExtensionColour, LineStyle::Dotted},
    {&Form1Controls::LineL1, kExtensionColour, LineStyle::Dotted},
    {&Form1Controls::LineL2, kExtensionColour, LineStyle::Dotted},
    {&Form1Controls::LineR1, kExtensionColour, LineStyle::Dotted},
    {&Form1Controls::LineR2, kExtensionColour, LineStyle::Dotted},
    {&Form1Controls::Line1, kEdgeColour, LineStyle::Solid},
    {&Form1Controls::Line2, kEdgeColour, LineStyle::Solid},
    {&Form1Controls::Line3, kEdgeColour, LineStyle::Solid},
    {&Form1Controls::Line4, kEdgeColour, LineStyle::Solid},
    {&Form1Controls::Line5, kMarkerColour, LineStyle::Solid},
    {&Form1Controls::Line6, kMarkerColour, LineStyle::Solid},
}};

// The on-picture value fields: the X labels sit on the top border of the
// view, the Y labels on its left border, each this many pixels high.
inline constexpr int kValueLabelHeight = 11;

// The reference rectangle in display pixels, each edge rounded to 16 bits
// with halves to even (saturating where a view cannot reach).
struct DisplayEdges {
  std::int16_t xs = 0, yt = 0, xe = 0, yb = 0;
  bool operator==(const DisplayEdges&) const = default;
};
DisplayEdges displayEdges(const Form1& form);

void PlaceReferenceLines(Form1& form);
void PlaceReferenceLabels(Form1& form);

// How the view shows the picture: a data point's display position follows
// from these.
struct ViewPlacement {
  float zoom = 1;
  int hScroll = 0;
  int vScroll = 0;
  int pictureHeight = 0;  // turns YPixel (counted from the bottom) into a row
};
ViewPlacement viewPlacement(const Form1& form);

struct DisplayPoint {
  std::int16_t x = 0, y = 0;
  bool operator==(const DisplayPoint&) const = default;
};
// Rounded with halves to even; positions beyond 16 bits saturate (they lie
// far outside any view).
DisplayPoint displayPosition(const ViewPlacement& view, const DataPoint& point);

// The pure drawing behind the handlers below; colours are pixel values.
void paintCross(PixelArray& view, int x, int y, std::uint32_t colour);
void paintPointCrosses(PixelArray& view, std::span<const DataPoint> points,
                       const ViewPlacement& placement, std::uint32_t colour);

// The previous vertex of a polyline being drawn.
struct PolylinePen {
  std::int16_t x = 0, y = 0;
};
// drawFlag 0 starts a new polyline at (x, y); otherwise the segment from the
// previous vertex is drawn unless it lies wholly off one side of the view.
void paintPolylineSegment(PixelArray& view, PolylinePen& pen, std::int16_t x, std::int16_t y,
                          std::int32_t drawFlag, std::uint32_t colour);
void paintTracePolyline(PixelArray& view, std::span<const DataPoint> points,
                        const ViewPlacement& placement, PolylinePen& pen, std::uint32_t colour);

// The points of the list: dataPoints 1 ... pointCount.
std::span<const DataPoint> listedPoints(const Form1& form);

// Draw into the view image; colours in the platform's form, 0 meaning the
// default (cyan crosses for the marks, red for a single cross).
void DrawPointMarks(Form1& form, std::uint32_t colour);
void DrawCross(Form1& form, std::int16_t x, std::int16_t y, std::uint32_t colour);
void DrawTracePolyline(Form1& form);
void DrawPolylineSegment(Form1& form, std::int16_t x, std::int16_t y, std::int32_t drawFlag);

// The pointer moved over the viewport around the view, or over the window
// itself: it has left the picture, and the footprints go.
void Picture3MouseMove(Form1& form);
void Form1MouseMove(Form1& form);

}  // namespace plotvane
