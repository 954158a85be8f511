#include "digitize/run_control.h"

#include <cmath>

#include "app/form1_events.h"
#include "base/number_text.h"
#include "data/data_list.h"
#include "digitize/digitize_handlers.h"
#include "digitize/graph_type.h"

namespace plotvane {
namespace {

enum class CountCheck { Ok, BelowOne, TooLarge };

CountCheck checkCount(double count) {
  if (!(count >= 1)) return CountCheck::BelowOne;
  if (count > kMaxDivisionCount) return CountCheck::TooLarge;
  return CountCheck::Ok;
}

void showCountMessage(Form1& form, CountCheck check) {
  form.showMessage(form.message(check == CountCheck::TooLarge ? 8 : 2));
}

// (maxX - minX) / count in double precision, as the pitch field shows it.
std::string pitchText(const Form1& form, double count) {
  return doubleText((double(form.state.maxX) - double(form.state.minX)) / count);
}

// Execute is enabled again however the routine ended.
void finishRun(Form1& form) {
  form.state.runActive = false;
  form.ui.ProgressBar1.visible = false;
  form.setCommandEnabled(MenuId::mnuExeStart, true);
  // The window was closed while the run yielded: it closes now.
  if (form.state.closeRequested) formUnload(form);
}

}  // namespace

void txtSmpXLostFocus(Form1& form) {
  Form1Controls& ui = form.ui;
  const double value = leadingNumber(ui.txtSmpX.text);
  if (!(value >= 1)) {
    form.showMessage(form.message(2));
    return;
  }
  const double count = intPart(value);
  if (const CountCheck check = checkCount(count); check != CountCheck::Ok) {
    showCountMessage(form, check);
    return;
  }
  ui.txtSmpX.setText(doubleText(count));
  ui.txtStpX.setText(pitchText(form, leadingNumber(ui.txtSmpX.text)));
}

void txtStpXLostFocus(Form1& form) {
  Form1Controls& ui = form.ui;
  const double pitch = leadingNumber(ui.txtStpX.text);
  if (pitch == 0) {
    form.showMessage(form.message(3));
    return;
  }
  const double count = intPart((double(form.state.maxX) - double(form.state.minX)) / pitch + 0.5);
  if (const CountCheck check = checkCount(count); check != CountCheck::Ok) {
    showCountMessage(form, check);
    return;
  }
  ui.txtSmpX.setText(doubleText(count));
  ui.txtStpX.setText(pitchText(form, count));
}

std::optional<int> yFilterHeight(const std::string& text) {
  const std::optional<double> value = strictNumber(text);
  if (!value || !(*value >= 1 && *value <= 127) || *value != std::floor(*value))
    return std::nullopt;
  const int height = static_cast<int>(*value);
  if (height % 2 == 0) return std::nullopt;
  return height;
}

void mnuExeStartClick(Form1& form) {
  if (form.state.runActive) return;
  Form1Controls& ui = form.ui;
  const int type = ui.cmbGraphType.selected;
  if (type != kTraceLine && type != kPlotAllPoints && type != kTraceSurface) return;

  if (type != kPlotAllPoints) {
    // A menu or toolbar Execute does not take the focus: finish the check of
    // the field being edited first.
    if (ui.focused == &ui.txtSmpX) txtSmpXLostFocus(form);
    if (ui.focused == &ui.txtStpX) txtStpXLostFocus(form);
    const CountCheck check = checkCount(intPart(leadingNumber(ui.txtSmpX.text)));
    if (check != CountCheck::Ok) {
      showCountMessage(form, check);
      return;
    }
    if (!yFilterHeight(ui.cmbFRange.text)) {
      form.showMessage(form.message(7));
      return;
    }
  }

  form.setCommandEnabled(MenuId::mnuExeStart, false);
  ui.TabStrip1.selected = 3;
  tabStripClick(form);
  removeAllPoints(form);
  setDataCommandsEnabled(form, false);

  form.state.runActive = true;
  form.state.runGraphType = type;
  try {
    switch (type) {
      case kTraceLine:
        runTraceLine(form);
        break;
      case kPlotAllPoints:
        runScanPoints(form);
        break;
      default:
        runTraceSurface(form);
        break;
    }
  } catch (...) {
    finishRun(form);
    throw;
  }
  finishRun(form);
}

void mnuExeCancelClick(Form1& form) {
  form.app.cancelRequested = -1;
}

}  // namespace plotvane
