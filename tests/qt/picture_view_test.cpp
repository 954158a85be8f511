// The picture pane on screen: drops, keys and scroll bars reach the core; the
// pointer on the view drags the rectangle and erases; the overlays are painted in their styles
// and places.
#include "qt/picture_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTest>
#include <QUrl>
#include <set>
#include <vector>

#include "data/data_list.h"
#include "support/main_window.h"
#include "support/picture_form.h"
#include "view/overlays.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::codedPixel;
using testing::sendMouse;
using testing::shownColour;

constexpr std::uint32_t kPaper = 0xFFFFFF, kBlack = 0, kEdge = 0x404040, kBlue = 0x0000FF;

// The first file of a drop opens; other data is ignored.
TEST(PictureView, ADroppedFileLoadsAndTheViewPaintsItAndTakesKeysAndScrollBars) {
  testing::MainWindow m(codedPicture(20, 10));
  const QString dropped = QString::fromStdString(m.dir.file("dropped.bmp")),
                chart = QString::fromStdString(m.dir.file("chart.bmp"));
  testing::writeAll(dropped.toStdString(), bitmapFileBytes(codedPicture(300, 200)));
  QMimeData files, text;
  files.setUrls({QUrl::fromLocalFile(dropped), QUrl::fromLocalFile(chart)});
  text.setText(chart);
  for (QMimeData* data : {&files, &text}) {
    QDragEnterEvent enter(QPoint(600, 400), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(600, 400), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&m.window, &enter);
    QApplication::sendEvent(&m.window, &drop);
  }
  ASSERT_EQ(m.form.state.picturePath, dropped.toStdString());
  PictureView* view = m.window.pictureView();
  for (const QPoint at : {QPoint(1, 1), QPoint(123, 45), QPoint(298, 198)})  // inside the edges
    EXPECT_EQ(shownColour(view, at), codedPixel(at.x(), at.y())) << at.x() << "," << at.y();
  view->setFocus();
  for (int i = 0; i < 2; ++i) QTest::keyClick(view, Qt::Key_PageUp);
  QTest::keyClick(view, Qt::Key_Left);
  EXPECT_EQ(m.form.state.lastMouseX, -1);
  auto* horizontal = m.window.findChild<QScrollBar*>("HScroll1");
  ASSERT_TRUE(horizontal && horizontal->isVisible());
  EXPECT_EQ(horizontal->maximum(), m.form.ui.HScroll1.maximum);
  horizontal->setValue(10);  // snapped to a whole picture pixel, both in the core and on screen
  EXPECT_EQ(m.form.ui.HScroll1.value, 8);
  EXPECT_EQ(horizontal->value(), 8);
  EXPECT_EQ(shownColour(view, {0, 5}), codedPixel(2, 1));
  EXPECT_EQ(shownColour(view, {4, 4}), codedPixel(3, 1));
}

// A 300 x 200 picture shown at zoom 1; a drag of the left button in ten moves.
struct PictureMouse : ::testing::Test {
  void drag(QPoint from, QPoint to) {
    sendMouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int step = 1; step <= 10; ++step)
      sendMouse(view, QEvent::MouseMove, from + (to - from) * step / 10, Qt::NoButton,
                Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, to, Qt::LeftButton);
  }

  testing::MainWindow m{codedPicture(300, 200)};
  PictureView* view = m.window.pictureView();
  QAction* undo = m.window.actionFor(MenuId::mnuEdetUndo);
};

TEST_F(PictureMouse, ADragOnTheViewMovesTheRectangleWithOneUndoStep) {
  ASSERT_EQ(m.form.app.zoom, 1);
  ASSERT_EQ(m.form.state.Picture2.rect().lineXS, 0);
  EXPECT_FALSE(undo->isEnabled());
  drag(QPoint(1, 100), QPoint(50, 100));
  EXPECT_EQ(m.form.state.Picture2.rect(), (PixelRect{50, 300, 0, 200}));
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_EQ(m.form.app.undoRing->undoCount(), 1);
  undo->trigger();
  EXPECT_EQ(m.form.state.Picture2.rect().lineXS, 0);
}

// A white 300 x 200 picture shown at zoom 1; the regions of the view's paint events collected.
struct OverlayPaint : QObject, ::testing::Test {
  OverlayPaint() { view->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  std::uint32_t shown(QPoint at) const { return shownColour(view, at); }

  testing::MainWindow m{PixelArray(300, 200, kPaper)};
  PictureView* view = m.window.pictureView();
  QRegion painted;
};

// Edges solid and extensions dotted; the value fields frameless beside their lines, widened for a
// text that would not fit; the marker repaints only what it left and entered, never the image.
TEST_F(OverlayPaint, LinesAndFieldsInTheirStylesAndPlacesRepaintedOnlyWhereTheyMoved) {
  const std::uint64_t version = m.form.state.picture1Version;
  auto* right = m.window.findChild<QLineEdit*>("txtLXE");  // Select All: beside column 299
  ASSERT_TRUE(right && !right->hasFrame() && right->isVisible());
  EXPECT_EQ(right->geometry(),
            QRect(view->pos() + QPoint(300, 0), QSize(right->width(), kValueLabelHeight)));
  m.window.handle([&] { m.form.ui.txtLXE.setText("WWWWWW"); });  // wider than 6 pixels each
  EXPECT_GE(right->width(), right->fontMetrics().horizontalAdvance("WWWWWW"));
  m.form.state.Picture2.setRect({.lineXS = 50, .lineXE = 151, .lineYT = 40, .lineYB = 121});
  m.window.handle([&] { PlaceReferenceLines(m.form); });  // edges on column 150 and row 120
  // clang-format off
  const struct { const char* where; QPoint at; std::uint32_t colour; } points[] = {
      {"left edge", {50, 80}, kEdge}, {"right edge", {150, 41}, kEdge}, {"top edge", {100, 40}, kEdge},
      {"bottom edge", {149, 120}, kEdge}, {"inside", {100, 80}, kPaper}};
  // clang-format on
  for (const auto& p : points) EXPECT_EQ(shown(p.at), p.colour) << p.where;
  EXPECT_EQ((std::set{shown({50, 20}), shown({50, 21})}), (std::set{0x808080u, kPaper}));  // dotted
  m.window.handle([&] { ShowPointMarker(m.form, 100, 60); });
  EXPECT_EQ(shown({100, 48}), kBlack);  // the ends of the arms
  EXPECT_EQ(shown({111, 60}), kBlack);
  EXPECT_EQ(shown({114, 60}), kPaper);
  QApplication::processEvents();
  painted = QRegion();
  m.window.handle([&] { ShowPointMarker(m.form, 200, 150); });
  QApplication::processEvents();
  EXPECT_TRUE(painted.contains(QPoint(100, 55)));   // left
  EXPECT_TRUE(painted.contains(QPoint(200, 145)));  // entered
  EXPECT_FALSE(painted.contains(QPoint(150, 100)));
  EXPECT_EQ(shown({100, 55}), kPaper);
  EXPECT_EQ(shown({200, 145}), kBlack);
  EXPECT_EQ(m.form.state.picture1Version, version);
}

// Over the picture the footprint stays; over the viewport's margin or the window it goes.
TEST_F(OverlayPaint, FootprintsGoWhenThePointerLeavesThePicture) {
  QWidget *viewport = m.window.findChild<QWidget*>("Picture3"), *central = m.window.centralWidget();
  ASSERT_NE(viewport, nullptr);
  // clang-format off
  const struct { const char* where; QWidget* widget; QPoint at; std::uint32_t after; } moves[] = {
      {"the picture", viewport, view->geometry().center(), kBlue},
      {"the viewport's margin", viewport, QPoint(viewport->width() - 3, viewport->height() - 3), kPaper},
      {"the window", central, QPoint(2, central->height() - 40), kPaper}};
  // clang-format on
  ShapeControl& shape = m.form.ui.shapPicUpRange;
  for (const auto& c : moves) {
    SCOPED_TRACE(c.where);
    m.window.handle([&] {
      shape.left = shape.top = 10, shape.width = shape.height = 20;
      shape.visible = true;
    });
    EXPECT_EQ(shown({10, 15}), kBlue);  // 20 pixels wide from 10
    EXPECT_EQ(shown({29, 15}), kBlue);
    EXPECT_EQ(shown({30, 15}), kPaper);
    sendMouse(c.widget, QEvent::MouseMove, c.at);
    EXPECT_EQ(shown({10, 15}), c.after);
  }
}

}  // namespace
}  // namespace plotvane
