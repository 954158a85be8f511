// The file pane on screen: double clicks, Enter, clicks and the border drag reach the core.
#include "qt/file_pane_widgets.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <filesystem>

#include "loading/picture_bytes.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

TEST(FilePaneWidgets, ClicksEnterAndTheBorderDragReachTheCore) {
  testing::TempWorkingDir dir;
  testing::writeAll(dir.file("Plotinf.ini"), "Language=English\r\nUndoBufferSize=50\r\n");
  std::filesystem::create_directories(dir.file("charts/old"));
  testing::writeAll(dir.file("charts/Line.BMP"), testing::bmpFile(PixelArray(30, 20)));
  QtPlatform platform;
  Form1 form{platform};
  Form1Window window(form, platform);
  window.start(std::nullopt);
  window.resize(1200, 800);
  window.show();
  window.tabBar()->setCurrentIndex(1);
  QApplication::processEvents();
  auto* folders = window.findChild<FolderListWidget*>("Dir1");
  auto* files = window.findChild<FileListWidget*>("File1");

  ASSERT_EQ(folders->count(), 3);  // its folder, ".." and "charts"
  const QPoint charts = folders->visualItemRect(folders->item(2)).center();
  QTest::mouseDClick(folders->viewport(), Qt::LeftButton, Qt::NoModifier, charts);
  EXPECT_EQ(folders->item(0)->text().toStdString(), dir.file("charts"));
  EXPECT_EQ(folders->item(2)->text(), "old");
  ASSERT_EQ(files->count(), 1);
  const QPoint line = files->visualItemRect(files->item(0)).center();
  QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::NoModifier, line);
  EXPECT_EQ(form.state.picturePath, dir.file("charts/Line.BMP"));
  EXPECT_EQ(std::filesystem::current_path(), dir.file("charts"));
  folders->setCurrentRow(1);  // Enter on the way up goes back
  QTest::keyClick(folders, Qt::Key_Return);
  EXPECT_EQ(form.ui.Dir1.path, dir.path());

  // The border drag, with the pointer this many pixels from the top of Dir1.
  QWidget* viewport = folders->viewport();
  const auto at = [&](int y) { return viewport->mapFrom(folders, QPoint(20, y)); };
  const int height = folders->height();
  QTest::mousePress(viewport, Qt::LeftButton, {}, at(height - 5));
  EXPECT_EQ(window.findChild<QLineEdit*>("txtMD")->text(), "1");
  QTest::mouseMove(viewport, at(height - 3));
  EXPECT_EQ(viewport->cursor().shape(), Qt::SizeVerCursor);
  QTest::mouseMove(viewport, at(66));  // 990 twips
  EXPECT_EQ(folders->height(), 62);    // 930 twips
  EXPECT_EQ(files->y() * kTwipsPerPixel, form.ui.File1.geometry.top);
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, at(66));
}

}  // namespace
}  // namespace plotvane
