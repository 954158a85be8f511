// The picture pane on screen: the view paints the core's image, and drops,
// keys, scroll bars and the open dialog reach the core.
#include "qt/picture_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <fstream>
#include <memory>

#include "loading/picture_bytes.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

PixelArray varied(int width, int height) {
  PixelArray picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.set(x, y, rgbValue(x * 3, y * 5, (x + y) & 255));
  return picture;
}

class PictureViewTest : public ::testing::Test {
 protected:
  PictureViewTest() {
    std::ofstream(dir.file("Plotinf.ini"), std::ios::binary)
        << "Language=English\r\nUndoBufferSize=50\r\n";
    std::ofstream(dir.file("chart.bmp"), std::ios::binary) << testing::bmpFile(picture);
    std::ofstream(dir.file("other.bmp"), std::ios::binary) << testing::bmpFile(varied(20, 10));
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->resize(1200, 800);
    window->show();
    QApplication::processEvents();
  }

  // As the window system delivers a drop over the picture pane.
  void drop(QMimeData* data) {
    const QPoint over(600, 400);
    QDragEnterEvent enter(over, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QDropEvent event(QPointF(over), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &event);
    QApplication::processEvents();
  }

  QScrollBar* bar(const char* name) { return window->findChild<QScrollBar*>(name); }

  testing::TempWorkingDir dir;
  PixelArray picture = varied(300, 200);
  QtPlatform platform;
  Form1 form{platform};
  std::unique_ptr<Form1Window> window;
};

TEST_F(PictureViewTest, DroppedFileLoadsAndTheViewPaintsIt) {
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("chart.bmp"))),
                 QUrl::fromLocalFile(QString::fromStdString(dir.file("other.bmp")))});
  drop(&files);
  ASSERT_EQ(form.state.picturePath, dir.file("chart.bmp"));
  PictureView* view = window->pictureView();
  EXPECT_EQ(view->objectName(), "Picture1");
  EXPECT_EQ(view->size(), QSize(300, 200));
  const QImage shown = view->grab().toImage();
  // Inside the reference rectangle's edges, which lie on the border pixels.
  for (const QPoint at : {QPoint(1, 1), QPoint(123, 45), QPoint(298, 198)})
    EXPECT_EQ(shown.pixel(at) & 0xFFFFFF, picture.at(at.x(), at.y())) << at.x() << "," << at.y();

  QMimeData text;
  text.setText(QString::fromStdString(dir.file("other.bmp")));
  drop(&text);
  EXPECT_EQ(form.state.picturePath, dir.file("chart.bmp"));
}

TEST_F(PictureViewTest, KeysAndScrollBarsReachTheView) {
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("chart.bmp")))});
  drop(&files);
  PictureView* view = window->pictureView();
  view->setFocus();
  QTest::keyClick(view, Qt::Key_PageUp);
  QTest::keyClick(view, Qt::Key_PageUp);
  ASSERT_EQ(form.app.zoom, 4);
  QTest::keyClick(view, Qt::Key_Left);
  EXPECT_EQ(form.state.lastMouseX, -1);

  QScrollBar* horizontal = bar("HScroll1");
  ASSERT_NE(horizontal, nullptr);
  EXPECT_TRUE(horizontal->isVisible());
  EXPECT_EQ(horizontal->maximum(), form.ui.HScroll1.maximum);
  horizontal->setValue(10);
  EXPECT_EQ(form.ui.HScroll1.value, 8);
  EXPECT_EQ(horizontal->value(), 8);
  const QImage shown = view->grab().toImage();
  EXPECT_EQ(shown.pixel(0, 5) & 0xFFFFFF, picture.at(2, 1));
  EXPECT_EQ(shown.pixel(4, 4) & 0xFFFFFF, picture.at(3, 1));
}

TEST_F(PictureViewTest, OpenDialogIsQtsOwnWithTheFiveChoices) {
  QStringList filters;
  QString title;
  bool nonNative = false, detailsHidden = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    filters = dialog->nameFilters();
    title = dialog->windowTitle();
    nonNative = dialog->testOption(QFileDialog::DontUseNativeDialog);
    detailsHidden = dialog->testOption(QFileDialog::HideNameFilterDetails);
    dialog->reject();
  });
  window->actionFor(MenuId::mnuFileOpen)->setEnabled(true);
  window->actionFor(MenuId::mnuFileOpen)->trigger();
  EXPECT_EQ(title, "Open Picture File");
  EXPECT_TRUE(nonNative);
  EXPECT_TRUE(detailsHidden);
  EXPECT_EQ(filters, QStringList({"All Picture Files (*.*) (*.bmp *.jpg *.jpeg *.gif *.png)",
                                  "Windows Bitmap (*.bmp) (*.bmp)", "JPEG Files (*.jpg) (*.jpg)",
                                  "GIF Filesk (*.gif) (*.gif)", "All Files (*.*) (*)"}));
  EXPECT_TRUE(form.state.picturePath.empty());
}

}  // namespace
}  // namespace plotvane
