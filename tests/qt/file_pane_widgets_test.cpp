// The file pane on screen: double clicks, Enter, clicks and the border drag reach the core.
#include "qt/file_pane_widgets.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabBar>
#include <QTest>
#include <filesystem>
#include <memory>

#include "loading/picture_bytes.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

class FilePaneWidgetsTest : public ::testing::Test {
 protected:
  FilePaneWidgetsTest() {
    testing::writeAll(dir.file("Plotinf.ini"), "Language=English\r\nUndoBufferSize=50\r\n");
    std::filesystem::create_directories(dir.file("charts/.hidden"));
    std::filesystem::create_directory(dir.file("charts/old"));
    testing::writeAll(dir.file("charts/Line.BMP"), testing::bmpFile(PixelArray(30, 20)));
    testing::writeAll(dir.file("charts/notes.txt"), "not a picture");
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->resize(1200, 800);
    window->show();
    window->tabBar()->setCurrentIndex(1);
    QApplication::processEvents();
    folders = window->findChild<FolderListWidget*>("Dir1");
    files = window->findChild<FileListWidget*>("File1");
  }

  static QStringList texts(QListWidget* list) {
    QStringList shown;
    for (int row = 0; row < list->count(); ++row) shown << list->item(row)->text();
    return shown;
  }

  // A mouse event on Dir1 at this many pixels from its top.
  void mouseOnDir1(QEvent::Type type, int y, Qt::MouseButton button, Qt::MouseButtons held) {
    const QPointF at = folders->viewport()->mapFrom(folders, QPoint(20, y));
    QMouseEvent event(type, at, folders->viewport()->mapToGlobal(at), button, held, {});
    QApplication::sendEvent(folders->viewport(), &event);
  }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  std::unique_ptr<Form1Window> window;
  FolderListWidget* folders = nullptr;
  FileListWidget* files = nullptr;
};

TEST_F(FilePaneWidgetsTest, FoldersOpenOnDoubleClickAndAFileClickLoadsIt) {
  const QString top = QString::fromStdString(dir.path());
  EXPECT_EQ(texts(folders), (QStringList{top, "..", "charts"}));
  EXPECT_EQ(window->findChild<QComboBox*>("Drive1")->itemText(0), "/");

  const QPoint charts = folders->visualItemRect(folders->item(2)).center();
  QTest::mouseDClick(folders->viewport(), Qt::LeftButton, Qt::NoModifier, charts);
  EXPECT_EQ(texts(folders), (QStringList{top + "/charts", "..", "old"}));
  EXPECT_EQ(texts(files), QStringList{"Line.BMP"});

  const QPoint line = files->visualItemRect(files->item(0)).center();
  QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::NoModifier, line);
  EXPECT_EQ(form.state.picturePath, dir.file("charts/Line.BMP"));
  EXPECT_EQ(std::filesystem::current_path(), dir.file("charts"));
  EXPECT_EQ(form.state.Picture2.width(), 30);

  folders->setCurrentRow(1);  // Enter on the way up goes back
  QTest::keyClick(folders, Qt::Key_Return);
  EXPECT_EQ(form.ui.Dir1.path, dir.path());
}

TEST_F(FilePaneWidgetsTest, DraggingTheLowerBorderResizesTheLists) {
  const int height = folders->height();
  ASSERT_EQ(height * kTwipsPerPixel, form.ui.Dir1.geometry.height);
  mouseOnDir1(QEvent::MouseButtonPress, height - 5, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(window->findChild<QLineEdit*>("txtMD")->text(), "1");
  EXPECT_EQ(folders->viewport()->cursor().shape(), Qt::ArrowCursor);
  mouseOnDir1(QEvent::MouseMove, height - 3, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(folders->viewport()->cursor().shape(), Qt::SizeVerCursor);

  mouseOnDir1(QEvent::MouseMove, 66, Qt::NoButton, Qt::LeftButton);  // 990 twips
  EXPECT_EQ(folders->height(), 62);                                  // 930 twips
  EXPECT_EQ(files->y() * kTwipsPerPixel, form.ui.File1.geometry.top);
  mouseOnDir1(QEvent::MouseButtonRelease, 66, Qt::LeftButton, Qt::NoButton);
  mouseOnDir1(QEvent::MouseMove, 20, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(folders->height(), 62);
}

}  // namespace
}  // namespace plotvane
