#include "digitize/scale_fields.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "base/number_text.h"
#include "digitize/conversion.h"

namespace plotvane {

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

// A refused value: both fields show the value in force again, so that the
// traces (which read the value) and the conversion (which reads the settings
// field) keep agreeing. Written without their change handling: nothing else
// has changed. The overflow message follows from the handler boundary.
[[noreturn]] void refuseValue(const ScaleLink& link) {
  link.scaleField.text = singleText(link.value);
  link.valueField.text = link.scaleField.text;
  link.valueField.geometry.width = valueFieldWidth(link.valueField.text);
  link.valueFieldInvalid = false;
  throw OverflowError();
}

// Change of a settings-pane scale field: the leading number becomes the
// reference value and is mirrored into the on-picture field.
void scaleFieldChanged(Form1& form, MirrorGuard& guard, const ScaleLink& link) {
  FormState& state = form.state;
  Form1Controls& ui = form.ui;
  const std::optional<float> single = singleOf(leadingNumber(link.scaleField.text));
  if (!single) refuseValue(link);
  const float value = *single;
  const float previous = link.value;
  link.value = value;
  // With a division count of 0 only the pitch stays as it was: the value and
  // its mirror must still follow the field that PixelToData reads.
  const double count = link.updatesPitch ? leadingNumber(ui.txtSmpX.text) : 0;
  if (count != 0) {
    const double pitch = (double(state.maxX) - double(state.minX)) / count;
    if (!std::isfinite(pitch)) {
      link.value = previous;
      refuseValue(link);
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

// A footprint's side in display pixels. Negative sides draw nothing; sides
// are capped where a 16-bit view ends.
void sizeFootprint(ShapeControl& shape, const Control& field) {
  const float side = std::clamp(toSingle(leadingNumber(field.text)), 0.0f, 32767.0f);
  shape.width = side;
  shape.height = side;
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
