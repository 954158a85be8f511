// The picture pane on screen: the view paints the core's image, and drops, keys, scroll bars and
// the open dialog reach the core.
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
#include <memory>

#include "loading/picture_bytes.h"
#include "picture/picture_form.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

class PictureViewTest : public ::testing::Test {
 protected:
  PictureViewTest() {
    testing::writeAll(dir.file("Plotinf.ini"), "Language=English\r\nUndoBufferSize=50\r\n");
    testing::writeAll(dir.file("chart.bmp"), testing::bmpFile(picture));
    testing::writeAll(dir.file("other.bmp"), testing::bmpFile(testing::codedPicture(20, 10)));
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->resize(1200, 800);
    window->show();
    QApplication::processEvents();
  }
  // As the window system delivers a drop of the files, or of text when there are none.
  void drop(const std::vector<std::string>& files, const QString& text = {}) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& file : files) urls << QUrl::fromLocalFile(QString::fromStdString(file));
    urls.isEmpty() ? data.setText(text) : data.setUrls(urls);
    const QPoint over(600, 400);
    QDragEnterEvent enter(over, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QDropEvent event(QPointF(over), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &event);
    QApplication::processEvents();
  }
  std::uint32_t shown(int x, int y) const {
    return window->pictureView()->grab().toImage().pixel(x, y) & 0xFFFFFF;
  }

  testing::TempWorkingDir dir;
  PixelArray picture = testing::codedPicture(300, 200);
  QtPlatform platform;
  Form1 form{platform};
  std::unique_ptr<Form1Window> window;
};

TEST_F(PictureViewTest, DroppedFileLoadsAndTheViewPaintsIt) {
  drop({dir.file("chart.bmp"), dir.file("other.bmp")});  // the first file only
  ASSERT_EQ(form.state.picturePath, dir.file("chart.bmp"));
  EXPECT_EQ(window->pictureView()->size(), QSize(300, 200));
  // Inside the reference rectangle's edges, which lie on the border pixels.
  for (const auto& [x, y] : {std::pair{1, 1}, {123, 45}, {298, 198}})
    EXPECT_EQ(shown(x, y), picture.at(x, y)) << x << "," << y;
  drop({}, QString::fromStdString(dir.file("other.bmp")));  // other data is ignored
  EXPECT_EQ(form.state.picturePath, dir.file("chart.bmp"));
}

TEST_F(PictureViewTest, KeysAndScrollBarsReachTheView) {
  drop({dir.file("chart.bmp")});
  PictureView* view = window->pictureView();
  view->setFocus();
  QTest::keyClick(view, Qt::Key_PageUp);
  QTest::keyClick(view, Qt::Key_PageUp);
  ASSERT_EQ(form.app.zoom, 4);
  QTest::keyClick(view, Qt::Key_Left);
  EXPECT_EQ(form.state.lastMouseX, -1);
  auto* horizontal = window->findChild<QScrollBar*>("HScroll1");
  ASSERT_NE(horizontal, nullptr);
  EXPECT_TRUE(horizontal->isVisible());
  EXPECT_EQ(horizontal->maximum(), form.ui.HScroll1.maximum);
  horizontal->setValue(10);  // snapped to a whole picture pixel, both in the core and on screen
  EXPECT_EQ(std::pair(form.ui.HScroll1.value, horizontal->value()), std::pair(8, 8));
  EXPECT_EQ(std::pair(shown(0, 5), shown(4, 4)), std::pair(picture.at(2, 1), picture.at(3, 1)));
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
  EXPECT_TRUE(nonNative && detailsHidden);
  EXPECT_EQ(filters, QStringList({"All Picture Files (*.*) (*.bmp *.jpg *.jpeg *.gif *.png)",
                                  "Windows Bitmap (*.bmp) (*.bmp)", "JPEG Files (*.jpg) (*.jpg)",
                                  "GIF Filesk (*.gif) (*.gif)", "All Files (*.*) (*)"}));
  EXPECT_TRUE(form.state.picturePath.empty());  // cancelled: nothing loaded
}

}  // namespace
}  // namespace plotvane
