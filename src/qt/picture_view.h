// Picture1 on screen: paints the view image that the core renders with the
// line and shape controls laid over it, and passes the keys pressed on it to
// the core.
#pragma once

#include <QLine>
#include <QRect>
#include <QRegion>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "app/form1.h"
#include "digitize/picture_input.h"
#include "view/overlays.h"

namespace plotvane {

class PictureView : public QWidget {
  Q_OBJECT

 public:
  PictureView(const Form1& form, QWidget* parent);

  // Receives the key code of the core's key table (13, 33, 34, 37 to 40).
  void setKeyHandler(std::function<void(int)> handler) { keyHandler_ = std::move(handler); }

  // Receives the pointer's presses, moves and releases over the view in
  // display pixels: the button pressed or released, or for a move the
  // button held (left before right).
  enum class PointerAction { Press, Move, Release };
  using PointerHandler = std::function<void(PointerAction, const PointerEvent&)>;
  void setPointerHandler(PointerHandler handler) { pointerHandler_ = std::move(handler); }
  using WheelHandler = std::function<void(const WheelEvent&)>;
  void setWheelHandler(WheelHandler handler) { wheelHandler_ = std::move(handler); }
  static PointerEvent pointerEvent(const QMouseEvent& event, PointerAction action);

  // Repaints all of the view when the core has redrawn its image since the
  // last call; otherwise only where a line or shape control moved, appeared
  // or went.
  void refresh();

  // Qt key to the core's key code; 0 for keys the view does not use.
  static int keyCode(int qtKey);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // Where an overlay control was painted: hidden ones have no place.
  struct OverlayPlace {
    bool visible = false;
    QLine line;  // line controls
    QRect box;   // shape controls
    bool operator==(const OverlayPlace&) const = default;
  };
  static constexpr std::size_t kShapeCount = 2;
  using OverlayPlaces = std::array<OverlayPlace, kOverlayLines.size() + kShapeCount>;

  OverlayPlaces currentOverlays() const;
  static QRect dirtyRect(const OverlayPlace& place);

  const Form1& form_;
  std::function<void(int)> keyHandler_;
  PointerHandler pointerHandler_;
  WheelHandler wheelHandler_;
  int wheelRest_ = 0;  // eighths of a degree short of a whole notch
  PointerShape shownPointer_ = PointerShape::Arrow;
  std::uint64_t paintedVersion_ = 0;
  OverlayPlaces paintedOverlays_{};
};

}  // namespace plotvane
