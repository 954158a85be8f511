#include "data/data_list.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <stdexcept>

#include "base/number_text.h"
#include "data/data_export.h"
#include "view/overlays.h"
#include "view/view.h"

namespace plotvane {
namespace {

std::string integerText(int value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// Scrolling to a point tolerates failing steps: each runs whatever the one
// before it did.
template <typename Step>
void ignoringErrors(Step&& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

void clearList(Form1& form) {
  removeAllPoints(form);
  setDataCommandsEnabled(form, false);
}

}  // namespace

std::vector<std::string> dataRowTexts(int number, const DataPoint& point) {
  return {integerText(number), singleText(point.XData), singleText(point.YData),
          singleText(point.XPixel), singleText(point.YPixel)};
}

AddResult AddDataPoint(Form1& form, std::int16_t n, float xData, float yData, float xPixel,
                       float yPixel) {
  if (n >= kMaxPointCount) {
    form.showMessage(form.message(Message::ListFull));
    return AddResult::ListFull;
  }
  if (n < 0) throw std::out_of_range("Subscript out of range");
  // A value beyond the single-precision range would stand in the list and
  // the data file as "Infinity" or "NaN".
  for (const float value : {xData, yData, xPixel, yPixel})
    if (!std::isfinite(value)) throw OverflowError();
  AppState& app = form.app;
  const int number = n + 1;
  const DataPoint point{xData, yData, xPixel, yPixel};
  ListRow row{dataRowTexts(number, point), false};
  // Resizing to exactly 0 ... n + 1 drops stale elements above the new point;
  // the vector's own growth keeps the adds amortised.
  app.dataPoints.resize(static_cast<std::size_t>(number) + 1);
  app.dataPoints[static_cast<std::size_t>(number)] = point;
  form.ui.ListView1.rows.push_back(std::move(row));
  if (n == 0) setDataCommandsEnabled(form, true);
  return AddResult::Added;
}

AddResult appendDataPoint(Form1& form, float xData, float yData, float xPixel, float yPixel) {
  const AddResult result = AddDataPoint(form, form.app.pointCount, xData, yData, xPixel, yPixel);
  if (result == AddResult::Added) ++form.app.pointCount;
  return result;
}

void removeAllPoints(Form1& form) {
  ListViewControl& list = form.ui.ListView1;
  list.rows.clear();
  ++list.removals;
  form.app.pointCount = 0;
}

void setDataCommandsEnabled(Form1& form, bool enabled) {
  for (MenuId id : {MenuId::mnuDataExcelData, MenuId::mnuDataExcelLine, MenuId::mnuDataExcelPoint,
                    MenuId::mnuDataExcel})
    form.setCommandEnabled(id, enabled);
  form.ui.cmdSendExcel.enabled = enabled;
  // Saving waits for a run to end: the list is still being filled. The run
  // sets these again when it ends.
  const bool save = enabled && !form.state.runActive;
  form.setCommandEnabled(MenuId::mnuDataSave, save);
  form.ui.cmdSaveData.enabled = save;
}

std::optional<std::size_t> selectedRow(const ListViewControl& list) {
  for (std::size_t row = 0; row < list.rows.size(); ++row)
    if (list.rows[row].selected) return row;
  return std::nullopt;
}

void selectRow(ListViewControl& list, std::optional<std::size_t> row) {
  for (std::size_t index = 0; index < list.rows.size(); ++index)
    list.rows[index].selected = row == index;
}

void mnuDataDelSelectClick(Form1& form) {
  AppState& app = form.app;
  ListViewControl& list = form.ui.ListView1;
  if (app.pointCount <= 0) return;
  const std::optional<std::size_t> row = selectedRow(list);
  if (!row) return;
  list.rows.erase(list.rows.begin() + static_cast<std::ptrdiff_t>(*row));
  ++list.removals;
  // Point k sits in element k; the points above it move down one element.
  const std::size_t stored = app.dataPoints.empty() ? 0 : app.dataPoints.size() - 1;
  const std::size_t last = std::min(static_cast<std::size_t>(app.pointCount), stored);
  for (std::size_t i = *row + 1; i < last; ++i) app.dataPoints[i] = app.dataPoints[i + 1];
  --app.pointCount;
  if (app.pointCount == 0) setDataCommandsEnabled(form, false);
  Pict1PictSet(form);
}

void ListView1KeyDown(Form1& form, int keyCode) {
  if (keyCode == kDeleteKey) mnuDataDelSelectClick(form);
}

void mnuDataDelAllClick(Form1& form) {
  clearList(form);
}

void cmdListDelAllClick(Form1& form) {
  clearList(form);
  pict1Reload(form);
}

void cmdSaveDataClick(Form1& form) {
  saveData(form);
}

PointTarget pointTarget(float xPixel, float yPixel, float zoom, int pictureHeight) {
  PointTarget target;
  target.xz = roundToInt16(std::floor(double(xPixel) * zoom + 0.5));
  target.yz =
      roundToInt16(double(pictureHeight) * zoom - 1 - std::floor(double(yPixel) + 0.5) * zoom);
  target.px = xPixel;
  target.py = static_cast<float>(double(pictureHeight) - 1 - yPixel);
  return target;
}

int scrollValueToShow(const ScrollBarControl& bar, int target, double viewportPixels) {
  int value = bar.value;
  // A value outside the bar's range is refused and the next rule goes on.
  const auto set = [&](double wanted) {
    if (wanted >= bar.minimum && wanted <= bar.maximum) value = static_cast<int>(wanted);
  };
  const double farEdge = target - viewportPixels + 15;
  if (farEdge > value) {
    if (farEdge > bar.maximum)
      set(bar.maximum);
    else
      set(std::nearbyint(farEdge));
  }
  if (value > target - 10) {
    if (bar.minimum > target - 10)
      set(target);
    else
      set(target - 10);
  }
  return value;
}

MarkerLines pointMarkerLines(float px, float py, float zoom, int hScroll, int vScroll) {
  const double arm = 12.0 * (zoom >= 1 ? zoom : 1);
  const double sx = (double(px) - std::floor(hScroll / double(zoom))) * zoom;
  const double sy = (double(py) - std::floor(vScroll / double(zoom))) * zoom;
  const auto f = [](double v) { return static_cast<float>(v); };
  return {{f(sx), f(sy - arm), f(sx), f(sy + arm)}, {f(sx - arm), f(sy), f(sx + arm), f(sy)}};
}

void ShowPointMarker(Form1& form, float px, float py) {
  const float zoom = form.app.zoom;
  if (!(zoom > 0)) return;
  Form1Controls& ui = form.ui;
  const MarkerLines lines = pointMarkerLines(px, py, zoom, ui.HScroll1.value, ui.VScroll1.value);
  for (auto [line, ends] :
       {std::pair{&ui.Line5, lines.vertical}, std::pair{&ui.Line6, lines.horizontal}}) {
    line->x1 = ends.x1;
    line->y1 = ends.y1;
    line->x2 = ends.x2;
    line->y2 = ends.y2;
    line->visible = true;
  }
}

void hidePointMarker(Form1& form) {
  form.ui.Line5.visible = false;
  form.ui.Line6.visible = false;
}

void ListView1ItemClick(Form1& form, std::size_t row) {
  Form1Controls& ui = form.ui;
  ListViewControl& list = ui.ListView1;
  if (row >= list.rows.size()) return;
  selectRow(list, row);
  const float zoom = form.app.zoom;
  if (!(zoom > 0)) return;
  // The point is found from the row's texts, as the list shows them, not
  // from dataPoints: a row and its point stay one thing for the user.
  const std::vector<std::string>& cells = list.rows[row].cells;
  if (cells.size() < 5) return;
  const std::optional<double> xPixel = strictNumber(cells[3]);
  const std::optional<double> yPixel = strictNumber(cells[4]);
  if (!xPixel || !yPixel) return;
  const PointTarget target =
      pointTarget(toSingle(*xPixel), toSingle(*yPixel), zoom, form.state.Picture2.height());

  const Geometry& viewport = ui.Picture3.geometry;
  ignoringErrors([&] {
    ui.HScroll1.value =
        scrollValueToShow(ui.HScroll1, target.xz, double(viewport.width) / kTwipsPerPixel);
  });
  ignoringErrors([&] {
    ui.VScroll1.value =
        scrollValueToShow(ui.VScroll1, target.yz, double(viewport.height) / kTwipsPerPixel);
  });
  ignoringErrors([&] { SnapScrollPositions(form); });
  ignoringErrors([&] { Pict1PictSet(form); });
  ignoringErrors([&] { PlaceReferenceLines(form); });
  ignoringErrors([&] { PlaceReferenceLabels(form); });
  ignoringErrors([&] { ShowPointMarker(form, target.px, target.py); });
}

bool ListView1MouseMove(Form1& form) {
  Form1Controls& ui = form.ui;
  if (ui.focused == &ui.ListView1) return true;
  if (ui.editingText()) return false;
  ui.focused = &ui.ListView1;
  ListView1GotFocus(form);
  return true;
}

void ListView1GotFocus(Form1& form) {
  hidePointMarker(form);
}

void installDataListHandlers(Form1& form) {
  form.ui.cmdListDelAll.onChange = [&form] { cmdListDelAllClick(form); };
  form.ui.cmdSaveData.onChange = [&form] { cmdSaveDataClick(form); };
}

}  // namespace plotvane
