#include "digitize/run_control.h"

#include <array>
#include <cstddef>
#include <iterator>
#include <optional>

#include "app/panes.h"
#include "base/number_text.h"
#include "data/data_list.h"
#include "digitize/column_scan.h"
#include "digitize/digitize_handlers.h"
#include "digitize/graph_type.h"

namespace plotvane {
namespace {

// The message that refuses a count or a pitch, or nothing when the text passes.
using Refusal = std::optional<Message>;

Refusal countRefusal(double count) {
  if (!(count >= 1)) return Message::WholeNumberRequired;
  if (count > kMaxDivisionCount) return Message::CountOutOfRange;
  return std::nullopt;
}

// The division check's verdict on the count field's leading number.
Refusal divisionRefusal(double value) {
  if (!(value >= 1)) return Message::WholeNumberRequired;
  return countRefusal(intPart(value));
}

// The nearest whole count for a pitch, halves rounding up.
double countForPitch(const Form1& form, double pitch) {
  return intPart((double(form.state.maxX) - double(form.state.minX)) / pitch + 0.5);
}

// The pitch check's verdict on the pitch field's leading number.
Refusal pitchRefusal(const Form1& form, double pitch) {
  if (pitch == 0) return Message::ZeroNotAllowed;
  return countRefusal(countForPitch(form, pitch));
}

bool refused(Form1& form, Refusal refusal) {
  if (refusal) form.showMessage(form.message(*refusal));
  return refusal.has_value();
}

// (maxX - minX) / count in double precision, as the pitch field shows it.
std::string pitchText(const Form1& form, double count) {
  return doubleText((double(form.state.maxX) - double(form.state.minX)) / count);
}

// While a run yields, loading another picture and saving the list that the
// run is still filling are refused; the commands and lists that ask for them
// are disabled for the run, so that the user sees why. Save Data follows
// setDataCommandsEnabled, which keeps it disabled while a run is active.
constexpr MenuId kCommandsARunDisables[] = {MenuId::mnuFileOpen, MenuId::mnuFileRedraw};

std::array<Control*, 3> listsARunDisables(Form1Controls& ui) {
  return {&ui.Drive1, &ui.Dir1, &ui.File1};
}

// The enabled states that a run takes away and gives back at its end.
struct EnablingBeforeRun {
  std::array<bool, std::size(kCommandsARunDisables)> commands{};
  std::array<bool, 3> lists{};
};

EnablingBeforeRun disableForRun(Form1& form) {
  EnablingBeforeRun before;
  for (std::size_t i = 0; i < std::size(kCommandsARunDisables); ++i) {
    before.commands[i] = form.ui.menu(kCommandsARunDisables[i]).enabled;
    form.setCommandEnabled(kCommandsARunDisables[i], false);
  }
  const std::array<Control*, 3> lists = listsARunDisables(form.ui);
  for (std::size_t i = 0; i < lists.size(); ++i) {
    before.lists[i] = lists[i]->enabled;
    lists[i]->enabled = false;
  }
  return before;
}

// Execute and the commands the run disabled are enabled again however the
// routine ended; Save Data goes with the list the run leaves.
void finishRun(Form1& form, const EnablingBeforeRun& before) {
  form.state.runActive = false;
  form.ui.ProgressBar1.visible = false;
  form.setCommandEnabled(MenuId::mnuExeStart, true);
  for (std::size_t i = 0; i < std::size(kCommandsARunDisables); ++i)
    form.setCommandEnabled(kCommandsARunDisables[i], before.commands[i]);
  const std::array<Control*, 3> lists = listsARunDisables(form.ui);
  for (std::size_t i = 0; i < lists.size(); ++i) lists[i]->enabled = before.lists[i];
  setDataCommandsEnabled(form, form.app.pointCount > 0);
}

}  // namespace

bool txtSmpXLostFocus(Form1& form) {
  Form1Controls& ui = form.ui;
  const double value = leadingNumber(ui.txtSmpX.text);
  if (refused(form, divisionRefusal(value))) return false;
  ui.txtSmpX.setText(doubleText(intPart(value)));
  ui.txtStpX.setText(pitchText(form, leadingNumber(ui.txtSmpX.text)));
  return true;
}

bool txtStpXLostFocus(Form1& form) {
  Form1Controls& ui = form.ui;
  const double pitch = leadingNumber(ui.txtStpX.text);
  if (refused(form, pitchRefusal(form, pitch))) return false;
  const double count = countForPitch(form, pitch);
  ui.txtSmpX.setText(doubleText(count));
  ui.txtStpX.setText(pitchText(form, count));
  return true;
}

void mnuExeStartClick(Form1& form) {
  if (form.state.runActive) return;
  Form1Controls& ui = form.ui;
  const int type = ui.cmbGraphType.selected;
  if (type != kTraceLine && type != kPlotAllPoints && type != kTraceSurface) return;

  if (type != kPlotAllPoints) {
    // A menu or toolbar Execute does not take the focus: the field being
    // edited is checked first, as leaving it would, and its refusal is the
    // one message.
    if (ui.focused == &ui.txtSmpX && !txtSmpXLostFocus(form)) return;
    if (ui.focused == &ui.txtStpX && !txtStpXLostFocus(form)) return;
    // A field keeps the text its check refused: both are judged again here.
    Refusal refusal = divisionRefusal(leadingNumber(ui.txtSmpX.text));
    if (!refusal) refusal = pitchRefusal(form, leadingNumber(ui.txtStpX.text));
    if (!refusal && !yFilterHeight(ui.cmbFRange.text)) refusal = Message::FilterOddNumber;
    if (refused(form, refusal)) return;
  }

  form.setCommandEnabled(MenuId::mnuExeStart, false);
  showPane(form, Pane::Data);
  removeAllPoints(form);
  setDataCommandsEnabled(form, false);

  const WorkingPicture::RunHold hold = form.state.Picture2.holdForRun();
  form.state.runActive = true;
  form.state.runGraphType = type;
  const EnablingBeforeRun before = disableForRun(form);
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
    finishRun(form, before);
    throw;
  }
  finishRun(form, before);
}

void mnuExeCancelClick(Form1& form) {
  form.app.cancelRequested = true;
}

}  // namespace plotvane
