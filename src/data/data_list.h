// The data point list: the points in dataPoints and the rows of ListView1
// kept in step, the delete commands, the enabling of the data commands, and
// the link from a row to its point on the picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/form1.h"

namespace plotvane {

// pointCount is 16-bit: the list ends here.
inline constexpr std::int16_t kMaxPointCount = 32767;

// The Delete key's code in KeyDown.
inline constexpr int kDeleteKey = 46;

enum class AddResult { Added, ListFull };

// The five cells of a row: the number, then the four values as
// single-precision number texts.
std::vector<std::string> dataRowTexts(int number, const DataPoint& point);

// Appends point n + 1 (n is the current pointCount) to dataPoints and as the
// last row of ListView1; the first point of an empty list enables the data
// commands. The caller increments pointCount. With the list full (n is
// 32767) nothing is added, message 6 is shown and ListFull returned: the
// caller stops as on Cancel (no further points, no redraw, no export). A value
// that is not finite (beyond the single-precision range) adds nothing and
// raises OverflowError.
[[nodiscard]] AddResult AddDataPoint(Form1& form, std::int16_t n, float xData, float yData,
                                     float xPixel, float yPixel);

// AddDataPoint with n = pointCount, then pointCount + 1 when it was added.
[[nodiscard]] AddResult appendDataPoint(Form1& form, float xData, float yData, float xPixel,
                                        float yPixel);

// All rows removed and pointCount 0; dataPoints keeps its elements, stale.
// The data commands stay as they are (Execute's start uses this).
void removeAllPoints(Form1& form);

// mnuDataSave, mnuDataExcel and its three entries, cmdSaveData, cmdSendExcel.
// mnuDataSave and cmdSaveData stay disabled while a run is active.
void setDataCommandsEnabled(Form1& form, bool enabled);

// The selected row of ListView1 (0-based), if any; the list selects one row
// at most.
std::optional<std::size_t> selectedRow(const ListViewControl& list);
void selectRow(ListViewControl& list, std::optional<std::size_t> row);

// Click of mnuDataDelSelect and the Delete key: removes the selected row and
// its point; the rows keep their number texts. Nothing happens without a
// selected row.
void mnuDataDelSelectClick(Form1& form);
void ListView1KeyDown(Form1& form, int keyCode);

// Click of mnuDataDelAll: empties the list. Click of cmdListDelAll: the same,
// then the view is laid out and redrawn without the points.
void mnuDataDelAllClick(Form1& form);
void cmdListDelAllClick(Form1& form);

// Click of cmdSaveData: runs mnuDataSave.
void cmdSaveDataClick(Form1& form);

// Where a row's point lands in the zoomed view, and the marker position in
// picture pixels (row 0 at the top).
struct PointTarget {
  std::int16_t xz = 0, yz = 0;
  float px = 0, py = 0;
};

// OverflowError when a zoomed position does not fit 16 bits.
PointTarget pointTarget(float xPixel, float yPixel, float zoom, int pictureHeight);

// The scroll value that keeps a zoomed position at least 15 pixels inside the
// far edge and 10 inside the near edge of a viewport this many pixels long,
// where the scroll range allows. Values outside the bar's range are not set.
int scrollValueToShow(const ScrollBarControl& bar, int target, double viewportPixels);

struct LineEnds {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const LineEnds&) const = default;
};

// Line5 (vertical) and Line6 (horizontal) of the marker centred on a picture
// position, in Picture1 pixels; arms of 12 screen pixels, longer when
// zoomed in.
struct MarkerLines {
  LineEnds vertical, horizontal;
};
MarkerLines pointMarkerLines(float px, float py, float zoom, int hScroll, int vScroll);

// Shows the marker cross on a picture position. Nothing without a picture.
void ShowPointMarker(Form1& form, float px, float py);
void hidePointMarker(Form1& form);

// ItemClick of ListView1 on a row (0-based): the row becomes the selection,
// the view scrolls to its point and the marker shows it.
void ListView1ItemClick(Form1& form, std::size_t row);

// MouseMove of ListView1: the list takes the input focus, so that keys such
// as Delete act on the list the mouse is over, unless a text field is being
// edited (Form1Controls::editingText): a Delete meant for the field must not
// remove a point. Returns whether the list holds the focus. Gaining the focus
// hides the marker, which so stays on screen while the pointer is over the
// picture.
bool ListView1MouseMove(Form1& form);
void ListView1GotFocus(Form1& form);

// Installs the Clicks of cmdListDelAll and cmdSaveData. The handlers keep a
// reference to form.
void installDataListHandlers(Form1& form);

}  // namespace plotvane
