// Design positions of the main window's controls, in twips (15 per pixel).
// Sizes that follow the window are computed by formResize and the picture
// pane layout.
#pragma once

namespace plotvane::design {

inline constexpr int kToolbarHeight = 780;

inline constexpr int kTabStripLeft = 60;
inline constexpr int kTabStripTop = 840;
inline constexpr int kTabStripWidth = 4560;

// The three panes are the pages of the tab strip.
inline constexpr int kPaneLeft = 120;
inline constexpr int kPaneTop = 1260;
inline constexpr int kPaneWidth = 4440;

// File pane, relative to the pane. The lists share one left edge and width;
// txtMD sits small in the top right corner, beside Label20.
inline constexpr int kFileListLeft = 60;
inline constexpr int kFileListWidth = kPaneWidth - 2 * kFileListLeft;
inline constexpr int kTxtMDWidth = 360;
inline constexpr int kTxtMDHeight = 270;
inline constexpr int kTxtMDLeft = kPaneWidth - kFileListLeft - kTxtMDWidth;
inline constexpr int kTxtMDTop = 60;
inline constexpr int kLabel20Top = 120;
inline constexpr int kLabel20Width = kTxtMDLeft - kFileListLeft - 60;
inline constexpr int kLabel20Height = 300;
inline constexpr int kDrive1Top = 480;
inline constexpr int kDrive1Height = 360;
inline constexpr int kDir1Top = 900;
inline constexpr int kDir1Height = 2400;
inline constexpr int kFile1Top = 3360;

// Data pane, relative to the pane.
inline constexpr int kListViewLeft = 60;
inline constexpr int kListViewTop = 600;

inline constexpr int kPicture3Left = 4740;
inline constexpr int kPicture3Top = 840;

// Status line: panel widths, and the read-out fields and progress bar that
// sit on it.
inline constexpr int kStatusBarHeight = 270;
inline constexpr int kStatusPanelWidths[5] = {1950, 1950, 4500, 3000, 3000};
inline constexpr int kStatusFieldHeight = 240;
inline constexpr int kText1Left = 420;
inline constexpr int kText2Left = 1950 + 420;
inline constexpr int kReadOutWidth = 1440;
inline constexpr int kProgressBarLeft = 1950 * 2 + 4500 + 60;
inline constexpr int kProgressBarWidth = 2820;

}  // namespace plotvane::design
