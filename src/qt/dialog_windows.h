// The windows of the program's dialogs. Each mirrors one dialog model of the
// core through its own ControlBinder and forwards its events to the model's
// handlers; the main window opens and closes them as the core loads and
// unloads the models.
#pragma once

#include <QDialog>
#include <memory>

#include "app/form1.h"
#include "qt/control_binder.h"

namespace plotvane {

class DialogWindow : public QDialog {
  Q_OBJECT

 public:
  DialogWindow(Form1& form, std::shared_ptr<Dialog> model, HandlerRunner run);

  const Dialog* model() const { return model_.get(); }
  ControlBinder& binder() { return binder_; }

  // Mirrors the model into the window.
  virtual void sync();

 protected:
  // The close box and Escape ask the core to unload the dialog; the window
  // goes when the core has dropped its model.
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  virtual void closeRequested() = 0;

  Form1& form_;
  std::shared_ptr<Dialog> model_;
  ControlBinder binder_;
};

// A window for the dialog, or nothing for a dialog without one.
DialogWindow* createDialogWindow(Form1& form, DialogId id, HandlerRunner run);

}  // namespace plotvane
