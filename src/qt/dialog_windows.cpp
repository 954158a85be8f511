#include "qt/dialog_windows.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "data/spreadsheet_export.h"
#include "qt/filter_windows.h"
#include "shell/about.h"
#include "view/rotate_dialog.h"

namespace plotvane {

DialogWindow::DialogWindow(Form1& form, std::shared_ptr<Dialog> model, HandlerRunner run)
    : QDialog(nullptr), form_(form), model_(std::move(model)), binder_(std::move(run), this) {
  setObjectName(QString::fromStdString(model_->window.name));
  setAttribute(Qt::WA_DeleteOnClose, false);
}

void DialogWindow::sync() {
  binder_.sync();
  const QString title = QString::fromStdString(model_->window.text);
  if (windowTitle() != title) setWindowTitle(title);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  binder_.run([this] { closeRequested(); });
}

void DialogWindow::reject() {
  binder_.run([this] { closeRequested(); });
}

namespace {

class AboutWindow : public DialogWindow {
 public:
  AboutWindow(Form1& form, std::shared_ptr<Dialog> model, HandlerRunner run)
      : DialogWindow(form, std::move(model), std::move(run)) {
    auto& about = static_cast<AboutDialog&>(*model_);
    auto* column = new QVBoxLayout(this);
    auto* name = new QLabel(this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    name->setFont(big);
    binder_.bind(about.Label1, name);
    binder_.bind(about.Label2, new QLabel(this));
    column->addWidget(name);
    column->addWidget(binder_.widgetFor(about.Label2));
    auto* row = new QHBoxLayout();
    row->addStretch(1);
    auto* ok = new QPushButton(this);
    ok->setDefault(true);
    binder_.bindButton(about.OKButton, ok, [this] { aboutOkClick(form_); });
    row->addWidget(ok);
    column->addLayout(row);
  }

 protected:
  void closeRequested() override { aboutUnload(form_); }
};

// dlgMessage: the export's message, beside a main window that stays usable.
class MessageWindow : public DialogWindow {
 public:
  MessageWindow(Form1& form, std::shared_ptr<Dialog> model, HandlerRunner run)
      : DialogWindow(form, std::move(model), std::move(run)) {
    auto& message = static_cast<MessageDialog&>(*model_);
    setModal(false);
    auto* column = new QVBoxLayout(this);
    auto* label = new QLabel(this);
    label->setWordWrap(true);
    label->setMinimumWidth(360);
    label->setAlignment(Qt::AlignCenter);
    binder_.bind(message.Label1, label);
    column->addWidget(label);
  }

 protected:
  // The export closes it when it is done.
  void closeRequested() override {}
};

class RotateWindow : public DialogWindow {
 public:
  RotateWindow(Form1& form, std::shared_ptr<Dialog> model, HandlerRunner run)
      : DialogWindow(form, std::move(model), std::move(run)) {
    auto& dialog = static_cast<RotateDialog&>(*model_);
    auto* column = new QVBoxLayout(this);
    auto* frame = new QGroupBox(this);
    binder_.bind(dialog.Frame1, frame);
    auto* grid = new QGridLayout(frame);
    auto* ccw = new QRadioButton(frame);
    auto* cw = new QRadioButton(frame);
    binder_.bindButton(dialog.Option2, ccw, [this] { rotateOptionClick(form_, false); });
    binder_.bindButton(dialog.Option1, cw, [this] { rotateOptionClick(form_, true); });
    auto* label = new QLabel(frame);
    binder_.bind(dialog.Label1, label);
    QLineEdit* angle = binder_.bindLineEdit(dialog.txtRot, frame);
    label->setBuddy(angle);
    grid->addWidget(ccw, 0, 0);
    grid->addWidget(cw, 0, 1);
    grid->addWidget(label, 1, 0);
    grid->addWidget(angle, 1, 1);
    column->addWidget(frame);

    auto* row = new QHBoxLayout();
    row->addStretch(1);
    auto* ok = new QPushButton(this);
    ok->setDefault(true);
    binder_.bindButton(dialog.OKButton, ok, [this] { rotateOkClick(form_); });
    auto* cancel = new QPushButton(this);
    binder_.bindButton(dialog.CancelButton, cancel, [this] { rotateCancelClick(form_); });
    row->addWidget(ok);
    row->addWidget(cancel);
    column->addLayout(row);

    for (QWidget* field :
         {static_cast<QWidget*>(ccw), static_cast<QWidget*>(cw), static_cast<QWidget*>(angle)})
      field->installEventFilter(this);
    // Typing replaces the angle offered.
    angle->setFocus(Qt::OtherFocusReason);
    angle->selectAll();
  }

 protected:
  void closeRequested() override { rotateCancelClick(form_); }

  // Enter in the options or the angle runs OK, as the core's key handler
  // says, and goes no further (the dialog's default button would run it
  // again).
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        binder_.run([this] { rotateKeyPress(form_, 13); });
        return true;
      }
    }
    return DialogWindow::eventFilter(watched, event);
  }
};

}  // namespace

DialogWindow* createDialogWindow(Form1& form, DialogId id, HandlerRunner run) {
  std::shared_ptr<Dialog> model = form.dialogs[static_cast<std::size_t>(id)];
  if (!model) return nullptr;
  switch (id) {
    case DialogId::About:
      return new AboutWindow(form, std::move(model), std::move(run));
    case DialogId::Message:
      return new MessageWindow(form, std::move(model), std::move(run));
    case DialogId::Contrast:
    case DialogId::ColourMask:
      return createFilterWindow(form, std::move(model), std::move(run));
    case DialogId::Rotate:
      return new RotateWindow(form, std::move(model), std::move(run));
    default:
      return nullptr;
  }
}

}  // namespace plotvane
