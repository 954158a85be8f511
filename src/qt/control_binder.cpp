#include "qt/control_binder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <cmath>

namespace plotvane {
namespace {

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

QRect toRect(const Geometry& g) {
  return QRect(ControlBinder::toPixels(g.left), ControlBinder::toPixels(g.top),
               ControlBinder::toPixels(g.width), ControlBinder::toPixels(g.height));
}

}  // namespace

ControlBinder::ControlBinder(HandlerRunner run, QObject* parent)
    : QObject(parent), run_(std::move(run)) {}

int ControlBinder::toPixels(int twips) {
  return static_cast<int>(std::nearbyint(twips / double(kTwipsPerPixel)));
}

QWidget* ControlBinder::bind(Control& control, QWidget* widget, bool placed) {
  widget->setObjectName(qs(control.name));
  // A file dropped on a text field would be typed into it as its address;
  // the drop goes on to the window instead, which opens the picture.
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    combo->setAcceptDrops(false);
    if (combo->lineEdit()) combo->lineEdit()->setAcceptDrops(false);
  } else if (qobject_cast<QLineEdit*>(widget)) {
    widget->setAcceptDrops(false);
  }
  bindings_.push_back({&control, widget, placed});
  return widget;
}

QLineEdit* ControlBinder::bindLineEdit(Control& control, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  bind(control, edit);
  trackFocus(control, edit);
  // Every change of the text reaches the model, not only keystrokes: text
  // set by assistive tools too. The mirror's own writes are not forwarded
  // (run does nothing while syncing), so nothing echoes back.
  connect(edit, &QLineEdit::textChanged, this, [this, &control](const QString& text) {
    run([&] { control.setText(text.toStdString()); });
  });
  return edit;
}

void ControlBinder::trackFocus(Control& control, QWidget* widget) {
  widget->installEventFilter(this);
  focusFields_.emplace_back(widget, &control);
}

void ControlBinder::bindButton(Control& control, QAbstractButton* button,
                               std::function<void()> onClick) {
  bind(control, button);
  connect(button, &QAbstractButton::clicked, this,
          [this, onClick = std::move(onClick)] { run(onClick); });
}

QSlider* ControlBinder::bindSlider(SliderControl& control, QWidget* parent,
                                   std::function<void()> onChange) {
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setTickPosition(QSlider::TicksBelow);
  bind(control, slider);
  sliders_.emplace_back(slider, &control);
  connect(slider, &QSlider::valueChanged, this,
          [this, &control, onChange = std::move(onChange)](int value) {
            run([&] {
              control.value = value;
              if (onChange) onChange();
            });
          });
  return slider;
}

QWidget* ControlBinder::widgetFor(const Control& control) const {
  for (const Binding& binding : bindings_)
    if (binding.control == &control) return binding.widget;
  return nullptr;
}

void ControlBinder::run(const std::function<void()>& handler) {
  if (!syncing_) run_(handler);
}

void ControlBinder::sync() {
  const Syncing guard(*this);
  for (const Binding& binding : bindings_) {
    const Control& model = *binding.control;
    QWidget* widget = binding.widget;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      if (label->text() != qs(model.text)) label->setText(qs(model.text));
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
      box->setTitle(qs(model.text));
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
      check->setText(qs(model.text));
      check->setChecked(model.value != 0);
    } else if (auto* option = qobject_cast<QRadioButton*>(widget)) {
      option->setText(qs(model.text));
      option->setChecked(model.value != 0);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
      button->setText(qs(model.text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      if (edit->text() != qs(model.text)) edit->setText(qs(model.text));
      const bool invalid = errorRule_ && errorRule_(model);
      if (edit->property("invalid").toBool() != invalid) {
        edit->setProperty("invalid", invalid);
        edit->setStyleSheet(invalid ? QStringLiteral("QLineEdit { color: #b00000; "
                                                     "background: #ffe4e4; }")
                                    : QString());
      }
    }
    if (!model.accessibleName.empty() && widget->accessibleName() != qs(model.accessibleName))
      widget->setAccessibleName(qs(model.accessibleName));
    widget->setEnabled(model.enabled);
    if (binding.placed) widget->setGeometry(toRect(model.geometry));
    if (widget->isVisibleTo(widget->parentWidget()) != model.visible)
      widget->setVisible(model.visible);
  }
  for (const auto& [slider, model] : sliders_) {
    slider->setRange(model->minimum, model->maximum);
    slider->setSingleStep(model->smallChange);
    slider->setPageStep(model->largeChange);
    slider->setTickInterval(model->tickFrequency);
    slider->setValue(model->value);
  }
}

bool ControlBinder::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
    return QObject::eventFilter(watched, event);
  for (const auto& [field, control] : focusFields_) {
    if (field != watched) continue;
    if (event->type() == QEvent::FocusIn) {
      if (focused_) *focused_ = control;
      break;
    }
    // A pop-up or a message box takes the focus only for a moment.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) break;
    if (focused_ && *focused_ == control) *focused_ = nullptr;
    if (control->onLostFocus) run([control] { control->onLostFocus(); });
    break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace plotvane
