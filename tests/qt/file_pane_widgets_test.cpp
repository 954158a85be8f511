// The file pane on screen: the lists show their models, and double clicks,
// clicks and the border drag reach the core.
#include "qt/file_pane_widgets.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTabBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "loading/picture_bytes.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

class FilePaneWidgetsTest : public ::testing::Test {
 protected:
  FilePaneWidgetsTest() {
    std::ofstream(dir.file("Plotinf.ini"), std::ios::binary)
        << "Language=English\r\nUndoBufferSize=50\r\n";
    std::filesystem::create_directories(dir.file("charts/.hidden"));
    std::filesystem::create_directory(dir.file("charts/old"));
    PixelArray picture(30, 20);
    std::ofstream(dir.file("charts/Line.BMP"), std::ios::binary) << testing::bmpFile(picture);
    std::ofstream(dir.file("charts/notes.txt")) << "not a picture";
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->resize(1200, 800);
    window->show();
    window->tabBar()->setCurrentIndex(1);
    QApplication::processEvents();
    folders = window->findChild<FolderListWidget*>("Dir1");
    files = window->findChild<FileListWidget*>("File1");
  }

  QStringList texts(QListWidget* list) {
    QStringList shown;
    for (int row = 0; row < list->count(); ++row) shown << list->item(row)->text();
    return shown;
  }

  // A mouse event on Dir1 at this many pixels from its top.
  void mouseOnDir1(QEvent::Type type, int y, Qt::MouseButton button, Qt::MouseButtons held) {
    const QPoint inList(20, y);
    const QPoint at = folders->viewport()->mapFrom(folders, inList);
    QMouseEvent event(type, QPointF(at), folders->viewport()->mapToGlobal(QPointF(at)), button,
                      held, Qt::NoModifier);
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
  ASSERT_NE(folders, nullptr);
  ASSERT_NE(files, nullptr);
  EXPECT_TRUE(folders->isVisible());
  EXPECT_EQ(texts(folders), (QStringList{QString::fromStdString(dir.path()), "..", "charts"}));
  auto* drives = window->findChild<QComboBox*>("Drive1");
  ASSERT_NE(drives, nullptr);
  EXPECT_EQ(drives->itemText(0), "/");
  EXPECT_EQ(drives->currentIndex(), 0);

  const QRect charts = folders->visualItemRect(folders->item(2));
  QTest::mouseDClick(folders->viewport(), Qt::LeftButton, Qt::NoModifier, charts.center());
  EXPECT_EQ(form.ui.Dir1.path, dir.file("charts"));
  EXPECT_EQ(texts(folders), (QStringList{QString::fromStdString(dir.file("charts")), "..", "old"}));
  EXPECT_EQ(texts(files), QStringList{"Line.BMP"});

  const QRect line = files->visualItemRect(files->item(0));
  QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::NoModifier, line.center());
  EXPECT_EQ(form.state.picturePath, dir.file("charts/Line.BMP"));
  EXPECT_EQ(std::filesystem::current_path(), dir.file("charts"));
  EXPECT_EQ(form.state.Picture2.width(), 30);
  EXPECT_EQ(files->currentRow(), 0);

  // Enter on the way up goes back.
  folders->setCurrentRow(1);
  QTest::keyClick(folders, Qt::Key_Return);
  EXPECT_EQ(form.ui.Dir1.path, dir.path());
}

TEST_F(FilePaneWidgetsTest, DraggingTheLowerBorderResizesTheLists) {
  const int height = folders->height();
  ASSERT_EQ(height * kTwipsPerPixel, form.ui.Dir1.geometry.height);
  const int fileTop = files->y();

  mouseOnDir1(QEvent::MouseButtonPress, height - 5, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(form.state.dragTarget, 1);
  EXPECT_EQ(window->findChild<QLineEdit*>("txtMD")->text(), "1");
  EXPECT_EQ(folders->viewport()->cursor().shape(), Qt::ArrowCursor);
  mouseOnDir1(QEvent::MouseMove, height - 3, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(folders->viewport()->cursor().shape(), Qt::SizeVerCursor);

  mouseOnDir1(QEvent::MouseMove, 66, Qt::NoButton, Qt::LeftButton);  // 990 twips
  EXPECT_EQ(form.ui.Dir1.geometry.height, 930);
  EXPECT_EQ(folders->height(), 62);
  EXPECT_LT(files->y(), fileTop);
  EXPECT_EQ(files->y() * kTwipsPerPixel, form.ui.File1.geometry.top);

  mouseOnDir1(QEvent::MouseButtonRelease, 66, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(form.state.dragTarget, 0);
  mouseOnDir1(QEvent::MouseMove, 20, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(folders->height(), 62);
}

}  // namespace
}  // namespace plotvane
