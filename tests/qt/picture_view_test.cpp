// The picture pane on screen: drops, keys, scroll bars and the open dialog reach the core.
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

#include "loading/picture_bytes.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "support/file_bytes.h"
#include "support/picture_form.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

using testing::codedPixel;

struct PictureViewTest : ::testing::Test {
  PictureViewTest() {
    testing::writeAll(dir.file("Plotinf.ini"), "Language=English\r\nUndoBufferSize=50\r\n");
    testing::writeAll(dir.file("chart.bmp"), testing::bmpFile(testing::codedPicture(300, 200)));
    testing::writeAll(dir.file("other.bmp"), testing::bmpFile(testing::codedPicture(20, 10)));
    window.start(dir.file("other.bmp"));
    window.show();
    QApplication::processEvents();
  }
  QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  Form1Window window{form, platform};
};

TEST_F(PictureViewTest, DroppedFileLoadsAndTheViewPaintsItAndTakesKeysAndScrollBars) {
  QMimeData files, text;
  files.setUrls({QUrl::fromLocalFile(path("chart.bmp")), QUrl::fromLocalFile(path("other.bmp"))});
  text.setText(path("other.bmp"));
  for (QMimeData* data : {&files, &text}) {  // the first file only; other data is ignored
    QDragEnterEvent enter(QPoint(600, 400), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(600, 400), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QApplication::sendEvent(&window, &drop);
  }
  ASSERT_EQ(form.state.picturePath, dir.file("chart.bmp"));
  PictureView* view = window.pictureView();
  auto shown = [&](int x, int y) { return view->grab().toImage().pixel(x, y) & 0xFFFFFF; };
  for (const QPoint at : {QPoint(1, 1), QPoint(123, 45), QPoint(298, 198)})  // inside the edges
    EXPECT_EQ(shown(at.x(), at.y()), codedPixel(at.x(), at.y())) << at.x() << "," << at.y();
  view->setFocus();
  for (int i = 0; i < 2; ++i) QTest::keyClick(view, Qt::Key_PageUp);
  QTest::keyClick(view, Qt::Key_Left);
  EXPECT_EQ(form.state.lastMouseX, -1);
  auto* horizontal = window.findChild<QScrollBar*>("HScroll1");
  ASSERT_TRUE(horizontal && horizontal->isVisible());
  EXPECT_EQ(horizontal->maximum(), form.ui.HScroll1.maximum);
  horizontal->setValue(10);  // snapped to a whole picture pixel, both in the core and on screen
  EXPECT_EQ(form.ui.HScroll1.value, 8);
  EXPECT_EQ(horizontal->value(), 8);
  EXPECT_EQ(shown(0, 5), codedPixel(2, 1));
  EXPECT_EQ(shown(4, 4), codedPixel(3, 1));
}

TEST_F(PictureViewTest, OpenDialogIsQtsOwnWithTheFiveChoicesAndCancelDoesNothing) {
  QStringList filters;
  QString title, folder;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_TRUE(dialog->testOption(QFileDialog::HideNameFilterDetails));
    filters = dialog->nameFilters(), title = dialog->windowTitle();
    folder = dialog->directory().absolutePath();
    dialog->reject();
  });
  window.actionFor(MenuId::mnuFileOpen)->trigger();
  EXPECT_EQ(title, "Open Picture File");
  EXPECT_EQ(folder.toStdString(), dir.path());  // the picture's folder
  EXPECT_EQ(filters, QStringList({"All Picture Files (*.*) (*.bmp *.jpg *.jpeg *.gif *.png "
                                  "*.tif *.tiff *.webp)",
                                  "Windows Bitmap (*.bmp) (*.bmp)", "JPEG Files (*.jpg) (*.jpg)",
                                  "GIF Filesk (*.gif) (*.gif)", "All Files (*.*) (*)"}));
  EXPECT_EQ(form.state.picturePath, dir.file("other.bmp"));  // as on the command line: cancelled
}

}  // namespace
}  // namespace plotvane
