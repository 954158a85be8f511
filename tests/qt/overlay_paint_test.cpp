// The line and shape controls over the picture on screen: painted in their
// design colours over the view image, repainted only where they moved, the
// value fields placed by the core, and the footprints hidden off the picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <fstream>
#include <memory>

#include "data/data_list.h"
#include "loading/load_picture.h"
#include "loading/picture_bytes.h"
#include "picture/overlays.h"
#include "picture/view.h"
#include "qt/form1_window.h"
#include "qt/picture_view.h"
#include "qt/qt_platform.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kPaper = 0xFFFFFF;

// Collects the regions of the paint events a widget receives.
class PaintSpy : public QObject {
 public:
  QRegion painted;
  int events = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      painted += static_cast<QPaintEvent*>(event)->region();
      ++events;
    }
    return false;
  }
};

class OverlayPaintTest : public ::testing::Test {
 protected:
  OverlayPaintTest() {
    std::ofstream(dir.file("Plotinf.ini"), std::ios::binary)
        << "Language=English\r\nUndoBufferSize=50\r\n";
    std::ofstream(dir.file("white.bmp"), std::ios::binary)
        << testing::bmpFile(PixelArray(300, 200, kPaper));
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->resize(1200, 800);
    window->show();
    QApplication::processEvents();
    window->handle([&] { LoadPictureFile(form, dir.file("white.bmp")); });
    QApplication::processEvents();
    view = window->pictureView();
  }

  std::uint32_t shown(int x, int y) const { return view->grab().toImage().pixel(x, y) & 0xFFFFFF; }

  // Runs a handler and lets the window repaint, recording what it painted.
  QRegion paintedBy(const std::function<void()>& handler) {
    QApplication::processEvents();
    PaintSpy spy;
    view->installEventFilter(&spy);
    window->handle(handler);
    QApplication::processEvents();
    view->removeEventFilter(&spy);
    return spy.painted;
  }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  std::unique_ptr<Form1Window> window;
  PictureView* view = nullptr;
};

TEST_F(OverlayPaintTest, RectangleEdgesSolidAndExtensionsDotted) {
  ASSERT_EQ(form.app.zoom, 1);
  ASSERT_EQ(view->size(), QSize(300, 200));
  window->handle([&] {
    form.app.lineXS = 50;
    form.app.lineXE = 151;  // right edge on column 150
    form.app.lineYT = 40;
    form.app.lineYB = 121;  // bottom edge on row 120
    PlaceReferenceLines(form);
  });
  QApplication::processEvents();
  const QImage image = view->grab().toImage();
  auto at = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };
  for (const QPoint edge : {QPoint(50, 80), QPoint(150, 41), QPoint(100, 40), QPoint(149, 120)})
    EXPECT_EQ(at(edge.x(), edge.y()), 0x404040u) << edge.x() << "," << edge.y();
  // Dotted: the extension above the left edge alternates grey and paper.
  int grey = 0, paper = 0;
  for (int y = 0; y < 40; ++y) {
    grey += at(50, y) == 0x808080u;
    paper += at(50, y) == kPaper;
  }
  EXPECT_EQ(grey + paper, 40);
  EXPECT_GE(grey, 18);
  EXPECT_GE(paper, 18);
  EXPECT_EQ(at(100, 80), kPaper);  // inside the rectangle
}

TEST_F(OverlayPaintTest, MovingTheMarkerRepaintsOnlyItsStripsAndKeepsTheImage) {
  const std::uint64_t version = form.state.picture1Version;
  QRegion painted = paintedBy([&] { ShowPointMarker(form, 100, 60); });
  EXPECT_EQ(form.state.picture1Version, version);  // no scaled copy
  EXPECT_EQ(shown(100, 60 - 12), 0x000000u);
  EXPECT_EQ(shown(100 + 11, 60), 0x000000u);
  EXPECT_EQ(shown(100 + 14, 60), kPaper);
  EXPECT_TRUE(painted.boundingRect().contains(QRect(99, 47, 3, 27)));
  EXPECT_LE(painted.boundingRect().width() * painted.boundingRect().height(), 30 * 30);

  painted = paintedBy([&] { ShowPointMarker(form, 200, 150); });
  // The old place and the new one, nothing between them.
  EXPECT_TRUE(painted.contains(QPoint(100, 55)));
  EXPECT_TRUE(painted.contains(QPoint(200, 145)));
  EXPECT_FALSE(painted.contains(QPoint(150, 100)));
  EXPECT_EQ(shown(100, 55), kPaper);
  EXPECT_EQ(shown(200, 145), 0x000000u);

  painted = paintedBy([&] { hidePointMarker(form); });
  EXPECT_TRUE(painted.contains(QPoint(200, 145)));
  EXPECT_EQ(shown(200, 145), kPaper);
  // Nothing moved: nothing painted.
  EXPECT_TRUE(paintedBy([] {}).isEmpty());
}

TEST_F(OverlayPaintTest, ValueFieldsAreFramelessBesideTheirLines) {
  auto* right = window->findChild<QLineEdit*>("txtLXE");
  auto* bottom = window->findChild<QLineEdit*>("txtLYB");
  ASSERT_TRUE(right && bottom);
  EXPECT_FALSE(right->hasFrame());
  EXPECT_TRUE(right->isVisible());
  // Select All on a 300 x 200 picture: the right edge on column 299 and the
  // bottom edge on row 199; the viewport's border adds its 2 pixels.
  EXPECT_EQ(right->geometry().topLeft(), QPoint(kViewportBorder + 300, kViewportBorder));
  EXPECT_EQ(bottom->geometry().topLeft(), QPoint(kViewportBorder, kViewportBorder + 199 - 12));
  EXPECT_EQ(right->height(), kValueLabelHeight);
  // A text wider than the core's 6 pixels a character widens the field.
  window->handle([&] { form.ui.txtLXE.setText("WWWWWW"); });
  EXPECT_GT(right->width(), form.ui.txtLXE.geometry.width / kTwipsPerPixel);
  EXPECT_GE(right->width(), right->fontMetrics().horizontalAdvance("WWWWWW"));
  const int wide = right->width();
  window->handle([&] { form.ui.txtLXE.setText("1"); });
  EXPECT_LT(right->width(), wide);
}

TEST_F(OverlayPaintTest, FootprintsGoWhenThePointerLeavesThePicture) {
  auto showFootprint = [&] {
    window->handle([&] {
      form.ui.shapPicUpRange.geometry = {10 * 15, 10 * 15, 20 * 15, 20 * 15};
      form.ui.shapPicUpRange.visible = true;
    });
    QApplication::processEvents();
  };
  showFootprint();
  EXPECT_EQ(shown(10, 15), 0x0000FFu);
  EXPECT_EQ(shown(29, 15), 0x0000FFu);
  EXPECT_EQ(shown(30, 15), kPaper);

  QWidget* viewport = window->findChild<QWidget*>("Picture3");
  ASSERT_NE(viewport, nullptr);
  auto moveOver = [](QWidget* widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    QApplication::processEvents();
  };
  // A move over the view that reaches the viewport is still on the picture.
  moveOver(viewport, view->geometry().center());
  EXPECT_TRUE(form.ui.shapPicUpRange.visible);
  moveOver(viewport, QPoint(viewport->width() - 3, viewport->height() - 3));
  EXPECT_FALSE(form.ui.shapPicUpRange.visible);
  EXPECT_EQ(shown(10, 15), kPaper);

  showFootprint();
  moveOver(window->centralWidget(), QPoint(2, window->centralWidget()->height() - 40));
  EXPECT_FALSE(form.ui.shapPicUpRange.visible);
}

}  // namespace
}  // namespace plotvane
