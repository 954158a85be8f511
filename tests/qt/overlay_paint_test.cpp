// The line and shape controls, value fields and footprints over the picture on screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <set>
#include <vector>

#include "data/data_list.h"
#include "loading/load_picture.h"
#include "loading/picture_bytes.h"
#include "qt/form1_window.h"
#include "qt/picture_view.h"
#include "qt/qt_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "view/overlays.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kPaper = 0xFFFFFF, kBlack = 0, kEdge = 0x404040, kBlue = 0x0000FF;

// A white 300 x 200 picture shown at zoom 1; the regions of the view's paint events collected.
struct OverlayPaintTest : QObject, ::testing::Test {
  OverlayPaintTest() {
    testing::writeAll(dir.file("Plotinf.ini"), "Language=English\r\nUndoBufferSize=50\r\n");
    testing::writeAll(dir.file("white.bmp"), testing::bmpFile(PixelArray(300, 200, kPaper)));
    window.start(std::nullopt);
    window.show();
    QApplication::processEvents();
    window.handle([&] { LoadPictureFile(form, dir.file("white.bmp")); });
    view->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  std::vector<std::uint32_t> shown(const std::vector<QPoint>& points) const {
    const QImage image = view->grab().toImage();
    std::vector<std::uint32_t> colours;
    for (const QPoint point : points) colours.push_back(image.pixel(point) & 0xFFFFFF);
    return colours;
  }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  Form1Window window{form, platform};
  PictureView* view = window.pictureView();
  QRegion painted;
};

// Edges solid and extensions dotted; the value fields frameless beside their lines, widened for
// a text that would not fit; the marker repaints only what it left and entered, never the image.
TEST_F(OverlayPaintTest, LinesAndFieldsInTheirStylesAndPlacesRepaintedOnlyWhereTheyMoved) {
  const std::uint64_t version = form.state.picture1Version;
  auto* right = window.findChild<QLineEdit*>("txtLXE");  // Select All: beside column 299
  ASSERT_TRUE(right && !right->hasFrame() && right->isVisible());
  EXPECT_EQ(right->geometry(),
            QRect(view->pos() + QPoint(300, 0), QSize(right->width(), kValueLabelHeight)));
  window.handle([&] { form.ui.txtLXE.setText("WWWWWW"); });  // wider than 6 pixels a character
  EXPECT_GE(right->width(), right->fontMetrics().horizontalAdvance("WWWWWW"));
  form.state.Picture2.setRect({.lineXS = 50, .lineXE = 151, .lineYT = 40, .lineYB = 121});
  window.handle([&] { PlaceReferenceLines(form); });  // edges on column 150 and row 120
  // clang-format off
  const struct { const char* where; QPoint at; std::uint32_t colour; } points[] = {
      {.where = "left edge", .at = {50, 80}, .colour = kEdge},
      {.where = "right edge", .at = {150, 41}, .colour = kEdge},
      {.where = "top edge", .at = {100, 40}, .colour = kEdge},
      {.where = "bottom edge", .at = {149, 120}, .colour = kEdge},
      {.where = "inside", .at = {100, 80}, .colour = kPaper}};
  // clang-format on
  for (const auto& p : points) EXPECT_EQ(shown({p.at}).at(0), p.colour) << p.where;
  const auto dotted = shown({{50, 20}, {50, 21}});  // above the left edge: a dot and a gap
  EXPECT_EQ((std::set{dotted[0], dotted[1]}), (std::set{0x808080u, kPaper}));
  window.handle([&] { ShowPointMarker(form, 100, 60); });
  EXPECT_EQ(shown({{100, 48}}).at(0), kBlack);  // the ends of the arms
  EXPECT_EQ(shown({{111, 60}}).at(0), kBlack);
  EXPECT_EQ(shown({{114, 60}}).at(0), kPaper);
  QApplication::processEvents();
  painted = QRegion();
  window.handle([&] { ShowPointMarker(form, 200, 150); });
  QApplication::processEvents();
  EXPECT_TRUE(painted.contains(QPoint(100, 55)));   // left
  EXPECT_TRUE(painted.contains(QPoint(200, 145)));  // entered
  EXPECT_FALSE(painted.contains(QPoint(150, 100)));
  EXPECT_EQ(shown({{100, 55}}).at(0), kPaper);
  EXPECT_EQ(shown({{200, 145}}).at(0), kBlack);
  EXPECT_EQ(form.state.picture1Version, version);
}

// Over the picture the footprint stays; over the viewport's margin or the window it goes.
TEST_F(OverlayPaintTest, FootprintsGoWhenThePointerLeavesThePicture) {
  QWidget *viewport = window.findChild<QWidget*>("Picture3"), *central = window.centralWidget();
  ASSERT_NE(viewport, nullptr);
  // clang-format off
  const struct { const char* where; QWidget* widget; QPoint at; std::uint32_t after; } moves[] = {
      {.where = "the picture", .widget = viewport, .at = view->geometry().center(), .after = kBlue},
      {.where = "the viewport's margin", .widget = viewport,
       .at = QPoint(viewport->width() - 3, viewport->height() - 3), .after = kPaper},
      {.where = "the window", .widget = central, .at = QPoint(2, central->height() - 40),
       .after = kPaper}};
  // clang-format on
  ShapeControl& shape = form.ui.shapPicUpRange;
  for (const auto& c : moves) {
    SCOPED_TRACE(c.where);
    window.handle([&] {
      shape.left = shape.top = 10, shape.width = shape.height = 20;
      shape.visible = true;
    });
    const auto before = shown({{10, 15}, {29, 15}, {30, 15}});  // 20 pixels wide from 10
    EXPECT_EQ(before[0], kBlue);
    EXPECT_EQ(before[1], kBlue);
    EXPECT_EQ(before[2], kPaper);
    QMouseEvent move(QEvent::MouseMove, QPointF(c.at), c.widget->mapToGlobal(QPointF(c.at)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(c.widget, &move);
    EXPECT_EQ(shown({{10, 15}}).at(0), c.after);
  }
}

}  // namespace
}  // namespace plotvane
