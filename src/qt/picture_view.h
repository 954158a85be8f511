// Picture1 on screen: paints the view image that the core renders, and
// passes the keys pressed on it to the core.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/form1.h"

namespace plotvane {

class PictureView : public QWidget {
  Q_OBJECT

 public:
  PictureView(const Form1& form, QWidget* parent);

  // Receives the key code of the core's key table (13, 33, 34, 37 to 40).
  void setKeyHandler(std::function<void(int)> handler) { keyHandler_ = std::move(handler); }

  // Repaints when the core has redrawn the view image since the last call.
  void refresh();

  // Qt key to the core's key code; 0 for keys the view does not use.
  static int keyCode(int qtKey);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const Form1& form_;
  std::function<void(int)> keyHandler_;
  std::uint64_t paintedVersion_ = 0;
};

}  // namespace plotvane
