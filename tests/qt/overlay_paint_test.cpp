// The line and shape controls over the picture on screen: painted in their design colours over
// the view image, repainted only where they moved, the value fields placed by the core, and the
// footprints hidden off the picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <algorithm>
#include <memory>
#include <vector>

#include "data/data_list.h"
#include "loading/load_picture.h"
#include "loading/picture_bytes.h"
#include "picture/overlays.h"
#include "picture/view.h"
#include "qt/form1_window.h"
#include "qt/picture_view.h"
#include "qt/qt_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kPaper = 0xFFFFFF, kBlack = 0, kEdge = 0x404040, kBlue = 0x0000FF;

// Collects the regions of the paint events a widget receives.
struct PaintSpy : QObject {
  QRegion painted;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

// A white 300 x 200 picture shown at zoom 1.
class OverlayPaintTest : public ::testing::Test {
 protected:
  OverlayPaintTest() {
    testing::writeAll(dir.file("Plotinf.ini"), "Language=English\r\nUndoBufferSize=50\r\n");
    testing::writeAll(dir.file("white.bmp"), testing::bmpFile(PixelArray(300, 200, kPaper)));
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->resize(1200, 800);
    window->show();
    QApplication::processEvents();
    window->handle([&] { LoadPictureFile(form, dir.file("white.bmp")); });
    QApplication::processEvents();
    view = window->pictureView();
  }
  std::vector<std::uint32_t> shown(const std::vector<QPoint>& points) const {
    const QImage image = view->grab().toImage();
    std::vector<std::uint32_t> colours;
    for (const QPoint point : points) colours.push_back(image.pixel(point) & 0xFFFFFF);
    return colours;
  }
  // Runs a handler and lets the window repaint; returns what it painted.
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
  ASSERT_EQ(view->size(), QSize(300, 200));
  window->handle([&] {
    form.app.lineXS = 50, form.app.lineYT = 40;
    form.app.lineXE = 151, form.app.lineYB = 121;  // edges on column 150 and row 120
    PlaceReferenceLines(form);
  });
  QApplication::processEvents();
  EXPECT_EQ(shown({{50, 80}, {150, 41}, {100, 40}, {149, 120}, {100, 80}}),
            (std::vector{kEdge, kEdge, kEdge, kEdge, kPaper}));
  // Dotted: the extension above the left edge alternates grey and paper.
  std::vector<QPoint> extension;
  for (int y = 0; y < 40; ++y) extension.emplace_back(50, y);
  const std::vector<std::uint32_t> column = shown(extension);
  const auto grey = std::count(column.begin(), column.end(), 0x808080u);
  const auto paper = std::count(column.begin(), column.end(), kPaper);
  EXPECT_TRUE(grey + paper == 40 && grey >= 18 && paper >= 18) << grey << " " << paper;
}

TEST_F(OverlayPaintTest, MovingTheMarkerRepaintsOnlyItsStripsAndKeepsTheImage) {
  const std::uint64_t version = form.state.picture1Version;
  QRegion painted = paintedBy([&] { ShowPointMarker(form, 100, 60); });
  EXPECT_EQ(form.state.picture1Version, version);  // no scaled copy
  EXPECT_EQ(shown({{100, 48}, {111, 60}, {114, 60}}), (std::vector{kBlack, kBlack, kPaper}));
  EXPECT_LE(painted.boundingRect().width() * painted.boundingRect().height(), 30 * 30);
  // Moved: the old place and the new one are painted, nothing between them.
  painted = paintedBy([&] { ShowPointMarker(form, 200, 150); });
  EXPECT_TRUE(painted.contains(QPoint(100, 55)) && painted.contains(QPoint(200, 145)));
  EXPECT_FALSE(painted.contains(QPoint(150, 100)));
  EXPECT_EQ(shown({{100, 55}, {200, 145}}), (std::vector{kPaper, kBlack}));
  painted = paintedBy([&] { hidePointMarker(form); });
  EXPECT_TRUE(painted.contains(QPoint(200, 145)));
  EXPECT_EQ(shown({{200, 145}}), (std::vector{kPaper}));
  EXPECT_TRUE(paintedBy([] {}).isEmpty());  // nothing moved, nothing painted
}

TEST_F(OverlayPaintTest, ValueFieldsAreFramelessBesideTheirLines) {
  auto *right = window->findChild<QLineEdit*>("txtLXE"),
       *bottom = window->findChild<QLineEdit*>("txtLYB");
  ASSERT_TRUE(right && bottom);
  EXPECT_TRUE(!right->hasFrame() && right->isVisible());
  // Select All: the right edge on column 299, the bottom edge on row 199; the viewport's border
  // adds its 2 pixels.
  EXPECT_EQ(right->geometry(),
            QRect(kViewportBorder + 300, kViewportBorder, right->width(), kValueLabelHeight));
  EXPECT_EQ(bottom->geometry().topLeft(), QPoint(kViewportBorder, kViewportBorder + 199 - 12));
  // A text wider than the core's 6 pixels a character widens the field, and only that one.
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
  auto moveOver = [](QWidget* widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    QApplication::processEvents();
  };
  showFootprint();
  EXPECT_EQ(shown({{10, 15}, {29, 15}, {30, 15}}), (std::vector{kBlue, kBlue, kPaper}));
  QWidget* viewport = window->findChild<QWidget*>("Picture3");
  ASSERT_NE(viewport, nullptr);
  moveOver(viewport, view->geometry().center());  // reaches the viewport but is on the picture
  EXPECT_TRUE(form.ui.shapPicUpRange.visible);
  moveOver(viewport, QPoint(viewport->width() - 3, viewport->height() - 3));
  EXPECT_FALSE(form.ui.shapPicUpRange.visible);
  EXPECT_EQ(shown({{10, 15}}), (std::vector{kPaper}));
  showFootprint();
  moveOver(window->centralWidget(), QPoint(2, window->centralWidget()->height() - 40));
  EXPECT_FALSE(form.ui.shapPicUpRange.visible);
}

}  // namespace
}  // namespace plotvane
