#include "digitize/run_control.h"

#include <cmath>

#include "app/panes.h"
#include "base/number_text.h"
#include "data/data_list.h"
#include "digitize/column_scan.h"
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
  form.showMessage(form.message(check == CountCheck::TooLarge ? Message::CountOutOfRange
                                                              : Message::WholeNumberRequired));
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
}

}  // namespace

void txtSmpXLostFocus(Form1& form) {
  Form1Controls& ui = form.ui;
  const double value = leadingNumber(ui.txtSmpX.text);
  if (!(value >= 1)) {
    form.showMessage(form.message(Message::WholeNumberRequired));
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
    form.showMessage(form.message(Message::ZeroNotAllowed));
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
      form.showMessage(form.message(Message::FilterOddNumber));
      return;
    }
  }

  form.setCommandEnabled(MenuId::mnuExeStart, false);
  showPane(form, Pane::Data);
  removeAllPoints(form);
  setDataCommandsEnabled(form, false);

  const WorkingPicture::RunHold hold = form.state.Picture2.holdForRun();
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
  form.app.cancelRequested = true;
}

}  // namespace plotvane
