// The one way a window of the program (the main window or a dialog) shows its
// core control models: each model is bound to a widget, the widget's user
// actions are forwarded to the core's handlers through a runner (the handler
// boundary followed by a mirror of every model), and sync() copies the models
// back into the widgets without running any handler.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "platform/controls.h"

class QAbstractButton;
class QLineEdit;
class QSlider;
class QWidget;

namespace plotvane {

// Runs a core handler through the handler boundary, then mirrors the models.
using HandlerRunner = std::function<void(const std::function<void()>&)>;

class ControlBinder : public QObject {
  Q_OBJECT

 public:
  explicit ControlBinder(HandlerRunner run, QObject* parent = nullptr);

  // The widget shows the control; its objectName becomes the control's name.
  // A placed widget takes its geometry from the model (twips). Text fields
  // and combo boxes take no drops: a drop on them reaches the window.
  QWidget* bind(Control& control, QWidget* widget, bool placed = false);

  // A line edit whose every text change becomes the model's text (running
  // its change handling) and whose loss of focus runs the model's
  // onLostFocus.
  QLineEdit* bindLineEdit(Control& control, QWidget* parent);

  // The focus record follows the widget, and its loss of focus runs the
  // model's onLostFocus (bindLineEdit does this for its fields).
  void trackFocus(Control& control, QWidget* widget);

  // A button whose click runs the handler.
  void bindButton(Control& control, QAbstractButton* button, std::function<void()> onClick);

  // A horizontal slider whose moves become the model's value and run the
  // handler; it shows the model's range, steps, ticks and value.
  QSlider* bindSlider(SliderControl& control, QWidget* parent, std::function<void()> onChange);

  QWidget* widgetFor(const Control& control) const;

  // Runs a handler for a user action; nothing while the widgets are being
  // mirrored (Qt reports programmatic changes as signals too).
  void run(const std::function<void()>& handler);
  bool syncing() const { return syncing_; }

  // Copies every bound model into its widget: text, accessible name,
  // enabled, visible, checked and, for placed widgets, geometry.
  void sync();

  // Marks fields whose text is wrong (shown in an error style).
  void setErrorRule(std::function<bool(const Control&)> rule) { errorRule_ = std::move(rule); }

  // The control whose field holds the keyboard focus, kept up to date.
  void setFocusRecord(const Control** focused) { focused_ = focused; }

  // Converts twips of the models to the widgets' pixels, halves to even.
  static int toPixels(int twips);

  // Guards a mirror that the owner does beside sync().
  class Syncing {
   public:
    explicit Syncing(ControlBinder& binder) : binder_(binder), was_(binder.syncing_) {
      binder_.syncing_ = true;
    }
    ~Syncing() { binder_.syncing_ = was_; }
    Syncing(const Syncing&) = delete;
    Syncing& operator=(const Syncing&) = delete;

   private:
    ControlBinder& binder_;
    bool was_;
  };

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Binding {
    Control* control;
    QWidget* widget;
    bool placed;
  };

  HandlerRunner run_;
  std::vector<Binding> bindings_;
  std::vector<std::pair<QObject*, Control*>> focusFields_;
  std::vector<std::pair<QSlider*, const SliderControl*>> sliders_;
  std::function<bool(const Control&)> errorRule_;
  const Control** focused_ = nullptr;
  bool syncing_ = false;
};

}  // namespace plotvane
