// The zoomed and scrolled view of the working picture: the magnification,
// the viewport and its scroll bars, and the redraw pipeline that every
// change of picture, zoom, scroll position or window size goes through.
#pragma once

#include <cstdint>
#include <string>

#include "app/form1.h"

namespace plotvane {

inline constexpr float kMinZoom = 1.0f / 64;
inline constexpr float kMaxZoom = 64;
// Picture3 draws a sunken border of this many pixels around the view.
inline constexpr int kViewportBorder = 2;
// Display positions are 16-bit: no zoomed side may pass this.
inline constexpr int kMaxDisplayExtent = 32767;

// Viewport's inner size in pixels (the room for Picture1).
int viewportInnerWidth(const Form1& form);
int viewportInnerHeight(const Form1& form);

// "Magnification : 1/4", "Magnification : 8" in the current language.
std::string magnificationText(const Form1& form, float zoom);

// Rebuilds the view for the current zoom: 1 when done (or no picture), 0
// when the layout refused the zoom.
std::int16_t pict1Reload(Form1& form);
std::int16_t LayoutPicturePane(Form1& form);
void Pict1SizeSet(Form1& form);
void SnapScrollPositions(Form1& form);
void Pict1PictSet(Form1& form);

// Layout and redraw without the rebuild: the window's resize, and the view
// again at a zoom restored after a refusal.
void relayoutView(Form1& form);

// Scroll and Change of HScroll1 and VScroll1 (the bar's value is already in
// its model).
void scrollBarChange(Form1& form);

void mnuZoomInClick(Form1& form);
void mnuZoomOutClick(Form1& form);

// Key codes of the view's KeyDown.
enum ViewKey : int {
  kKeyEnter = 13,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
};
void picture1KeyDown(Form1& form, int keyCode);

}  // namespace plotvane
