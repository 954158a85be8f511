#include "digitize/calibration.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "base/number_text.h"

namespace plotvane {

Calibration currentCalibration(const Form1& form) {
  const Form1Controls& ui = form.ui;
  const AppState& app = form.app;
  return {app.lineXS,
          app.lineXE,
          app.lineYT,
          app.lineYB,
          toSingle(leadingNumber(ui.txtMinLabelX.text)),
          toSingle(leadingNumber(ui.txtMaxLabelX.text)),
          toSingle(leadingNumber(ui.txtMinLabelY.text)),
          toSingle(leadingNumber(ui.txtMaxLabelY.text))};
}

std::optional<DataValue> pixelToData(const Calibration& c, float px, float py) {
  const float height = c.lineYB - c.lineYT;
  const float width = c.lineXE - c.lineXS;
  if (height <= 0 || width <= 0) return std::nullopt;
  const double x =
      (double(px) - c.lineXS) * (double(c.x1) - c.x0) / (double(c.lineXE) - c.lineXS) + c.x0;
  const double y =
      (double(c.lineYB) - py) * (double(c.y1) - c.y0) / (double(c.lineYB) - c.lineYT) + c.y0;
  return DataValue{toSingle(x), toSingle(y)};
}

DataValue PixelToData(const Form1& form, float px, float py) {
  return pixelToData(currentCalibration(form), px, py).value_or(DataValue{});
}

std::string rectangleReadOut(const Form1& form) {
  const AppState& app = form.app;
  return form.caption(68) + "l:" + singleText(app.lineXS) + " t:" + singleText(app.lineYT) +
         "  w:" + singleText(app.lineXE - app.lineXS) + " h:" + singleText(app.lineYB - app.lineYT);
}

float snapToGrid(const GridSnap& grid, int offset, int d, float extent) {
  if (!(grid.zoom > 0)) return 0;
  const double display = double(offset) + d;
  double p;
  if (grid.onGrid != 0 && grid.gridStep > 0)
    p = std::floor(display / grid.gridStep / grid.zoom + 0.5) * grid.gridStep;
  else
    p = display / grid.zoom;
  if (p < 0) p = 0;
  if (p >= extent) p = extent;
  return static_cast<float>(p);
}

float SnapToGrid(const Form1& form, int offset, std::int16_t d, float extent) {
  return snapToGrid({form.app.onGrid, form.app.gridStep, form.app.zoom}, offset, d, extent);
}

int valueFieldWidth(std::string_view text) {
  int characters = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;  // not a UTF-8 continuation
  return 6 * characters * kTwipsPerPixel;
}

bool valueFieldInvalid(const Form1& form, const Control& field) {
  const Form1Controls& ui = form.ui;
  const auto& invalid = form.state.valueFieldInvalid;
  if (&field == &ui.txtLXS) return invalid.txtLXS;
  if (&field == &ui.txtLXE) return invalid.txtLXE;
  if (&field == &ui.txtLYT) return invalid.txtLYT;
  if (&field == &ui.txtLYB) return invalid.txtLYB;
  return false;
}

namespace {

// A scale field and its on-picture value field write each other's text.
// While one of them writes its mirror, the mirror's handling sets the value
// but leaves the first field alone: writing a number text back would replace
// what the user is typing ("." would become "0", "-" would become "0").
struct MirrorGuard {
  bool writing = false;
};

class MirrorWrite {
 public:
  explicit MirrorWrite(MirrorGuard& guard) : guard_(guard) { guard_.writing = true; }
  ~MirrorWrite() { guard_.writing = false; }
  MirrorWrite(const MirrorWrite&) = delete;
  MirrorWrite& operator=(const MirrorWrite&) = delete;

 private:
  MirrorGuard& guard_;
};

// One scale value with its settings-pane field and its on-picture field.
struct ScaleLink {
  Control& scaleField;
  Control& valueField;
  float& value;
  bool& valueFieldInvalid;
  bool updatesPitch;  // the X values also set the pitch of the divisions
};

// Change of a settings-pane scale field: the leading number becomes the
// reference value and is mirrored into the on-picture field.
void scaleFieldChanged(Form1& form, MirrorGuard& guard, const ScaleLink& link) {
  FormState& state = form.state;
  Form1Controls& ui = form.ui;
  const float value = toSingle(leadingNumber(link.scaleField.text));
  const float previous = link.value;
  link.value = value;
  // With a division count of 0 only the pitch stays as it was: the value and
  // its mirror must still follow the field that PixelToData reads.
  const double count = link.updatesPitch ? leadingNumber(ui.txtSmpX.text) : 0;
  if (count != 0) {
    const double pitch = (double(state.maxX) - double(state.minX)) / count;
    if (!std::isfinite(pitch)) {
      link.value = previous;
      throw OverflowError();
    }
    ui.txtStpX.setText(doubleText(pitch));
  }
  if (guard.writing) return;
  MirrorWrite writing(guard);
  link.valueFieldInvalid = false;
  link.valueField.setText(singleText(value));
}

// Change of an on-picture value field: strict conversion; text that does not
// convert (or lies beyond the single range) leaves the value and the
// settings field as they were and marks the field.
void valueFieldChanged(MirrorGuard& guard, const ScaleLink& link) {
  link.valueField.geometry.width = valueFieldWidth(link.valueField.text);
  const std::optional<double> number = strictNumber(link.valueField.text);
  const std::optional<float> value = number ? singleOf(*number) : std::nullopt;
  link.valueFieldInvalid = !value;
  if (!value) return;
  link.value = *value;
  if (guard.writing) return;
  MirrorWrite writing(guard);
  link.scaleField.setText(singleText(*value));
}

// A footprint's side in display pixels, as the geometry's twips. Negative
// sides draw nothing; sides are capped where a 16-bit view ends.
void sizeFootprint(ShapeControl& shape, const Control& field) {
  double side = toSingle(leadingNumber(field.text));
  side = std::clamp(side, 0.0, 32767.0);
  const int twips = roundToInt32(side * kTwipsPerPixel);
  shape.geometry.width = twips;
  shape.geometry.height = twips;
}

}  // namespace

void installCalibrationHandlers(Form1& form) {
  Form1Controls& ui = form.ui;
  FormState& state = form.state;
  AppState& app = form.app;
  auto guard = std::make_shared<MirrorGuard>();
  auto& invalid = state.valueFieldInvalid;

  const ScaleLink links[] = {
      {ui.txtMinLabelX, ui.txtLXS, state.minX, invalid.txtLXS, true},
      {ui.txtMaxLabelX, ui.txtLXE, state.maxX, invalid.txtLXE, true},
      {ui.txtMinLabelY, ui.txtLYB, state.minY, invalid.txtLYB, false},
      {ui.txtMaxLabelY, ui.txtLYT, state.maxY, invalid.txtLYT, false},
  };
  for (const ScaleLink& link : links) {
    link.scaleField.onChange = [&form, guard, link] { scaleFieldChanged(form, *guard, link); };
    link.valueField.onChange = [guard, link] { valueFieldChanged(*guard, link); };
  }

  ui.txtGrid.onChange = [&app, &ui] { app.gridStep = toSingle(leadingNumber(ui.txtGrid.text)); };
  ui.chkOnGrid.onChange = [&app, &ui] {
    app.onGrid = static_cast<std::int16_t>(ui.chkOnGrid.value);
  };
  ui.txtPicUpRange.onChange = [&ui] { sizeFootprint(ui.shapPicUpRange, ui.txtPicUpRange); };
  ui.txtErs.onChange = [&ui] { sizeFootprint(ui.shapEraseRange, ui.txtErs); };

  // Before their fields first change, the footprints take the sides that the
  // fields show.
  ui.txtPicUpRange.onChange();
  ui.txtErs.onChange();
}

}  // namespace plotvane
