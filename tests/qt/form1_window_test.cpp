// User input on the main window reaches the core: typed and programmatically set text, the focus,
// tabs, clicks, keys and the file pane's border drag.
#include "qt/form1_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <filesystem>

#include "app/graph_types.h"
#include "data/data_list.h"
#include "qt/file_pane_widgets.h"
#include "support/main_window.h"

namespace plotvane {
namespace {

using testing::readAll;

struct Form1WindowTest : ::testing::Test {
  QLineEdit* field(const char* name) { return m.window.findChild<QLineEdit*>(name); }
  void focus(QWidget* widget) {
    widget->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
  }
  QTableView* list() { return qobject_cast<QTableView*>(m.window.widgetFor(m.form.ui.ListView1)); }
  bool rowsShown(int wanted) {  // rows arrive in batches
    return QTest::qWaitFor([&] { return list()->model()->rowCount() == wanted; }, 1000);
  }

  testing::MainWindow m;
};

// "12.7" is checked once, on leaving the field: 12 divisions of the range 1. The combo counts from
// 0; labels are the buddies of their fields, for keyboard and screen readers; the list's columns
// are 400 and 900 twips.
TEST_F(Form1WindowTest, UserInputReachesTheModelsAndLanguageSwitchRedrawsCaptions) {
  m.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&m.window));
  QLineEdit* division = field("txtSmpX");
  focus(division);
  EXPECT_EQ(m.form.ui.focused, &m.form.ui.txtSmpX);
  division->selectAll();
  QTest::keyClicks(division, "12.7");
  EXPECT_EQ(m.form.ui.txtSmpX.text, "12.7");
  focus(field("txtMaxLabelX"));
  EXPECT_EQ(m.form.ui.txtSmpX.text, "12");
  EXPECT_EQ(division->text(), "12");
  EXPECT_EQ(m.form.ui.txtStpX.text, "0.0833333333333333");
  EXPECT_EQ(m.form.ui.focused, &m.form.ui.txtMaxLabelX);
  auto* graphType = m.window.findChild<QComboBox*>("cmbGraphType");
  emit graphType->activated(kPlotOnePoint - 1);
  EXPECT_EQ(m.form.ui.cmbGraphType.selected, kPlotOnePoint);
  EXPECT_TRUE(field("txtPicUpRange")->isEnabled());
  EXPECT_FALSE(division->isEnabled());
  m.window.actionFor(MenuId::mnuLangJP)->trigger();
  EXPECT_EQ(m.window.tabBar()->tabText(0), "設定");
  EXPECT_EQ(m.window.findChild<QLabel*>("Label9")->text(), "分割数");
  EXPECT_EQ(graphType->itemText(3), "面ｸﾞﾗﾌのﾄﾚｰｽ");
  EXPECT_EQ(list()->model()->headerData(1, Qt::Horizontal).toString(), "Xﾃﾞｰﾀ");
  EXPECT_EQ(list()->columnWidth(0), 27);
  EXPECT_EQ(list()->columnWidth(1), 60);
  EXPECT_EQ(m.window.findChild<QLabel*>("Label9")->buddy(), division);
}

TEST_F(Form1WindowTest, ClosingWritesTheSettingsOnce) {
  m.window.actionFor(MenuId::mnuLangJP)->trigger();
  m.window.close();
  EXPECT_TRUE(m.form.state.closed);
  EXPECT_EQ(readAll(m.dir.file("Plotinf.ini")), "Language=Japanese\r\nUndoBufferSize=50\r\n");
}

// As assistive tools and voice control set a field: the change reaches the core once, and the
// mirror written by the core is not sent back to it; any later handler mirrors every model.
TEST_F(Form1WindowTest, TextSetWithoutKeystrokesReachesTheCoreOnceAndStays) {
  QLineEdit *maxY = field("txtMaxLabelY"), *mirror = field("txtLYT"), *division = field("txtSmpX");
  int changes = 0, mirrorChanges = 0;
  for (auto [control, runs] :
       {std::pair{&m.form.ui.txtMaxLabelY, &changes}, std::pair{&m.form.ui.txtLYT, &mirrorChanges}})
    control->onChange = [inner = control->onChange, runs] { ++*runs, inner(); };
  maxY->setText("5");
  division->setText("50");
  EXPECT_EQ(m.form.ui.txtMaxLabelY.text, "5");
  EXPECT_EQ(m.form.state.maxY, 5.0f);
  EXPECT_EQ(mirror->text(), "5");
  EXPECT_EQ(m.form.ui.txtSmpX.text, "50");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(mirrorChanges, 1);
  m.window.handle([] {});
  EXPECT_EQ(maxY->text(), "5");
  EXPECT_EQ(division->text(), "50");
  EXPECT_EQ(changes, 1);
}

// A delete and an add between two syncs leave the count as it was, and the rows still change.
TEST_F(Form1WindowTest, TheListFollowsTheModel) {
  const auto cell = [&](int row, int column) {
    return list()->model()->index(row, column).data().toString().toStdString();
  };
  m.window.handle([&] {
    for (float i = 1; i <= 5; ++i) (void)appendDataPoint(m.form, i, -i, 10 * i, i);
  });
  ASSERT_TRUE(rowsShown(5));
  list()->setCurrentIndex(list()->model()->index(2, 0)), list()->setFocus();
  QTest::keyClick(list(), Qt::Key_Delete);
  ASSERT_TRUE(rowsShown(4));
  EXPECT_EQ(cell(2, 0), "4");
  EXPECT_EQ(cell(3, 3), "50");
  m.window.handle([&] {
    selectRow(m.form.ui.ListView1, 0), mnuDataDelSelectClick(m.form);
    (void)appendDataPoint(m.form, 9, 9, 9, 9);
  });
  (void)QTest::qWaitFor([&] { return cell(0, 0) == "2" && cell(3, 1) == "9"; }, 1000);
  EXPECT_EQ(cell(0, 0), "2");
  EXPECT_EQ(cell(3, 1), "9");
  m.window.handle([&] { m.form.ui.cmdListDelAll.onChange(); });
  EXPECT_TRUE(rowsShown(0));
}

// Double clicks, clicks and Enter on the file pane, and its border drag with the pointer this
// many pixels from the top of Dir1 (66 pixels are 990 twips, held to 930).
TEST(FilePaneWidgets, ClicksEnterAndTheBorderDragReachTheCore) {
  testing::MainWindow m(std::nullopt, [](const testing::TempWorkingDir& dir) {
    std::filesystem::create_directories(dir.file("charts/old"));
    testing::writeAll(dir.file("charts/Line.BMP"), bitmapFileBytes(PixelArray(30, 20)));
  });
  m.window.resize(1200, 800);
  m.window.tabBar()->setCurrentIndex(1);
  QApplication::processEvents();
  auto* folders = m.window.findChild<FolderListWidget*>("Dir1");
  auto* files = m.window.findChild<FileListWidget*>("File1");
  ASSERT_EQ(folders->count(), 3);  // its folder, ".." and "charts"
  QTest::mouseDClick(folders->viewport(), Qt::LeftButton, Qt::NoModifier,
                     folders->visualItemRect(folders->item(2)).center());
  EXPECT_EQ(folders->item(0)->text().toStdString(), m.dir.file("charts"));
  EXPECT_EQ(folders->item(2)->text(), "old");
  ASSERT_EQ(files->count(), 1);
  QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::NoModifier,
                    files->visualItemRect(files->item(0)).center());
  EXPECT_EQ(m.form.state.picturePath, m.dir.file("charts/Line.BMP"));
  EXPECT_EQ(std::filesystem::current_path(), m.dir.file("charts"));
  folders->setCurrentRow(1);  // Enter on the way up goes back
  QTest::keyClick(folders, Qt::Key_Return);
  EXPECT_EQ(m.form.ui.Dir1.path, m.dir.path());
  QWidget* viewport = folders->viewport();
  const auto at = [&](int y) { return viewport->mapFrom(folders, QPoint(20, y)); };
  const int height = folders->height();
  QTest::mousePress(viewport, Qt::LeftButton, {}, at(height - 5));
  EXPECT_EQ(m.window.findChild<QLineEdit*>("txtMD")->text(), "1");
  QTest::mouseMove(viewport, at(height - 3));
  EXPECT_EQ(viewport->cursor().shape(), Qt::SizeVerCursor);
  QTest::mouseMove(viewport, at(66));
  EXPECT_EQ(folders->height(), 62);
  EXPECT_EQ(files->y() * kTwipsPerPixel, m.form.ui.File1.geometry.top);
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, at(66));
}

}  // namespace
}  // namespace plotvane
