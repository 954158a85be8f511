#include "qt/dialog_windows.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/spreadsheet_export.h"
#include "qt/filter_windows.h"
#include "shell/about.h"

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
    default:
      return nullptr;
  }
}

}  // namespace plotvane
