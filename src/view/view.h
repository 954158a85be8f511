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

// Ctrl + wheel: one zoom step in or out that keeps the picture point under
// the pointer (x, y on the view) where it is, as far as the scroll range
// allows.
void zoomAround(Form1& form, bool in, float x, float y);

// The wheel: notches away from the user scroll up (or left).
void scrollBy(Form1& form, int notches, bool horizontal);
void mnuZoomOutClick(Form1& form);

// The magnification that fits a W x H picture into the free room (twips):
// 1, halved while the picture is wider than the free width, then while it is
// taller than the free height, never below 1/64.
float fitZoom(int pictureWidth, int pictureHeight, int freeWidthTwips, int freeHeightTwips);

// How the working picture has just changed.
enum class PictureChange {
  Loaded,   // a new picture: fitted, shown whole, selected whole, undo emptied
  Edited,   // new pixels, same size
  Resized,  // new pixels of another size: the rectangle is kept inside them
};

// Brings the view, the status line and the picture commands in step with the
// working picture after it changed: the one routine that loading, undo and
// redo, rotation and the filters run after giving the picture its pixels.
void showChangedPicture(Form1& form, PictureChange change);

// The picture commands, disabled until a picture is loaded.
void disablePictureCommands(Form1& form);

}  // namespace plotvane
