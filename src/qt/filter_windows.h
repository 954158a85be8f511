// The windows of the two picture filter dialogs (brightness and contrast,
// colour mask) and their preview panes.
#pragma once

#include <QFrame>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "filters/filter_dialog.h"
#include "qt/dialog_windows.h"
#include "qt/picture_view.h"

namespace plotvane {

// A preview pane on screen: paints the pane's image as the core drew it and
// passes the pointer (in pane pixels) and the keys pressed on it to the
// handlers.
class PreviewPaneWidget : public QWidget {
  Q_OBJECT

 public:
  PreviewPaneWidget(const PreviewPane& pane, QWidget* parent);

  using PointerHandler = std::function<void(PictureView::PointerAction, const PointerEvent&)>;
  void setPointerHandler(PointerHandler handler) { pointerHandler_ = std::move(handler); }
  // Receives Enter as key code 13; without a handler the key goes on to the
  // window.
  void setKeyHandler(std::function<void(int)> handler) { keyHandler_ = std::move(handler); }

  // Repaints when the core has redrawn the pane since the last call.
  void refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const PreviewPane& pane_;
  PointerHandler pointerHandler_;
  std::function<void(int)> keyHandler_;
  std::uint64_t paintedVersion_ = 0;
};

// A colour swatch: a framed box filled with a colour; a click on it runs the
// handler, when there is one.
class SwatchWidget : public QFrame {
  Q_OBJECT

 public:
  explicit SwatchWidget(QWidget* parent);
  void setColour(std::uint32_t colour);
  std::uint32_t colour() const { return colour_; }
  void setClickHandler(std::function<void()> handler) { clickHandler_ = std::move(handler); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::uint32_t colour_ = 0;
  std::function<void()> clickHandler_;
};

// The window of a filter dialog's model, or nothing for another dialog.
DialogWindow* createFilterWindow(Form1& form, std::shared_ptr<Dialog> model, HandlerRunner run);

}  // namespace plotvane
