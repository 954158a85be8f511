#include "digitize/digitize_handlers.h"

#include <cstddef>
#include <span>

#include "base/number_text.h"
#include "data/data_list.h"
#include "data/spreadsheet_export.h"
#include "digitize/calibration.h"
#include "digitize/scan_points.h"
#include "digitize/trace_line.h"
#include "digitize/trace_surface.h"
#include "picture/drawing.h"
#include "view/overlays.h"
#include "view/view.h"

namespace plotvane {
namespace {

// Appends the points of a run that are not in the list yet. False when the
// list is full: the run stops as on Cancel.
class PointFeed {
 public:
  explicit PointFeed(Form1& form) : form_(form) {}

  bool append(std::span<const DataPoint> points) {
    for (; appended_ < points.size(); ++appended_) {
      const DataPoint& point = points[appended_];
      if (appendDataPoint(form_, point.XData, point.YData, point.XPixel, point.YPixel) ==
          AddResult::ListFull) {
        full_ = true;
        return false;
      }
    }
    return true;
  }
  bool full() const { return full_; }

 private:
  Form1& form_;
  std::size_t appended_ = 0;
  bool full_ = false;
};

bool cancelled(const Form1& form) {
  return form.app.cancelRequested;
}

// "Excel Auto Export": a completed run sends the list with its chart.
void autoExport(Form1& form, ChartKind kind) {
  if (form.ui.chkExcel.value == 1) ExportToSpreadsheet(form, kind);
}

// Trace Line and Trace Surface share everything but the pixel routine.
template <typename Routine>
void runTrace(Form1& form, Routine routine) {
  form.app.cancelRequested = false;
  pict1Reload(form);
  const TraceParams params = traceParamsOf(form);
  PointFeed feed(form);
  TraceResult result;
  try {
    result = routine(form.state.Picture2.pixels(), params, [&](const TraceYield& report) {
      if (report.pass == TracePass::Scan && report.marker)
        ShowPointMarker(form, report.marker->x, report.marker->y);
      if (report.pass == TracePass::Points && !feed.append(report.points)) return false;
      form.platform.yieldEvents();
      return !cancelled(form);
    });
  } catch (...) {
    // A refused run (a value beyond the single range) leaves no marker.
    hidePointMarker(form);
    throw;
  }
  hidePointMarker(form);
  if (result.end != TraceEnd::Completed || feed.full()) return;
  if (!feed.append(result.points)) return;
  DrawTracePolyline(form);
  DrawPointMarks(form, 0);
  autoExport(form, ChartKind::Line);
}

}  // namespace

TraceParams traceParamsOf(const Form1& form) {
  TraceParams params;
  params.rect = form.state.Picture2.rect();
  params.minX = form.state.minX;
  params.minY = form.state.minY;
  params.maxY = form.state.maxY;
  // The count and the pitch are what their fields show, read as text at
  // the start of the run.
  params.divisions = static_cast<int>(intPart(leadingNumber(form.ui.txtSmpX.text)));
  params.pitch = leadingNumber(form.ui.txtStpX.text);
  params.filter = yFilterHeight(form.ui.cmbFRange.text).value_or(1);
  return params;
}

void runTraceLine(Form1& form) {
  runTrace(form, traceLine);
}

void runTraceSurface(Form1& form) {
  runTrace(form, traceSurface);
}

void runScanPoints(Form1& form) {
  form.app.cancelRequested = false;
  pict1Reload(form);
  ScanPointsParams params;
  params.calibration = currentCalibration(form);
  params.pictureHeight = static_cast<float>(form.state.Picture2.height());
  params.recordPainted = true;

  ProgressBarControl& progress = form.ui.ProgressBar1;
  progress.visible = true;
  PointFeed feed(form);
  std::size_t paintedShown = 0;
  const ScanPointsResult result =
      scanPoints(form.state.Picture2.pixels(), params, [&](const ScanPointsProgress& report) {
        if (report.stage == ScanStage::Marking) {
          if (report.progressBar >= 0) progress.value = report.progressBar;
        } else {
          progress.visible = false;
        }
        // The outlines found so far, in red at the current zoom and scroll.
        PixelArray& view = form.state.Picture1Image;
        for (; paintedShown < report.painted.size(); ++paintedShown) {
          const DisplayBox box = visitedCellBox(report.painted[paintedShown], form.app.zoom,
                                                form.ui.HScroll1.value, form.ui.VScroll1.value);
          fillBox(view, box.left, box.top, box.right, box.bottom, rgbValue(255, 0, 0));
        }
        if (!report.painted.empty()) ++form.state.picture1Version;
        if (!feed.append(report.points)) return false;
        form.platform.yieldEvents();
        return !cancelled(form);
      });
  progress.visible = false;
  if (result.status == ScanPointsStatus::Stopped || feed.full()) return;
  if (!feed.append(result.points)) return;
  if (result.status == ScanPointsStatus::SumError) {
    form.showMessage(form.message(Message::CentroidError));
    return;
  }
  DrawPointMarks(form, 0);
  autoExport(form, ChartKind::Point);
}

}  // namespace plotvane
