#include "qt/form1_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <fstream>
#include <memory>

#include "app/graph_types.h"
#include "qt/qt_platform.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

// A settings file is in place, so start-up shows no modal warning.
class Form1WindowTest : public ::testing::Test {
 protected:
  Form1WindowTest() {
    std::ofstream(dir.file("Plotinf.ini"), std::ios::binary)
        << "Language=English\r\nUndoBufferSize=50\r\n";
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->show();
  }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  std::unique_ptr<Form1Window> window;
};

TEST_F(Form1WindowTest, ShowsTheTitleAndEveryMenuAsItsModel) {
  EXPECT_EQ(window->windowTitle(), "Plotvane");
  for (const MenuEntry& entry : kMenuTable) {
    SCOPED_TRACE(entry.name);
    QAction* action = window->actionFor(entry.id);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text().toStdString(), form.ui.menu(entry.id).text);
    EXPECT_FALSE(action->text().isEmpty());
    EXPECT_EQ(action->isEnabled(), form.ui.menu(entry.id).enabled);
  }
  EXPECT_FALSE(window->actionFor(MenuId::mnuExeStart)->isEnabled());
  EXPECT_FALSE(window->actionFor(MenuId::mnuDataSave)->isEnabled());
  EXPECT_TRUE(window->actionFor(MenuId::mnuScale)->isChecked());
  EXPECT_EQ(window->actionFor(MenuId::mnuFileOpen)->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(window->actionFor(MenuId::mnuHelpHelp)->shortcut(), QKeySequence("F1"));
  EXPECT_EQ(window->menuFor(MenuId::mnuDataExcel)->actions().size(), 3);

  EXPECT_EQ(window->toolButtonAt(toolbarPositionOf(MenuId::mnuZoomIn).value())->text(), "ZoomIn");
  EXPECT_TRUE(window->toolButtonAt(toolbarPositionOf(MenuId::mnuScale).value())->isChecked());
  EXPECT_EQ(window->toolButtonAt(1), nullptr);  // spacer
}

TEST_F(Form1WindowTest, TabsSwitchThePanes) {
  QWidget* setting = window->widgetFor(form.ui.frameSetting);
  QWidget* list = window->widgetFor(form.ui.ListView1);
  EXPECT_TRUE(setting->isVisible());
  EXPECT_FALSE(list->isVisible());

  window->tabBar()->setCurrentIndex(2);
  EXPECT_EQ(form.ui.TabStrip1.selected, static_cast<int>(Pane::Data));
  EXPECT_FALSE(setting->isVisible());
  EXPECT_TRUE(list->isVisible());
  EXPECT_TRUE(window->widgetFor(form.ui.cmdListDelAll)->isVisible());

  window->tabBar()->setCurrentIndex(1);
  EXPECT_TRUE(window->widgetFor(form.ui.frameFile)->isVisible());
  EXPECT_FALSE(list->isVisible());
}

TEST_F(Form1WindowTest, UserInputReachesTheModelsAndLanguageSwitchRedrawsCaptions) {
  auto* division = window->findChild<QLineEdit*>("txtSmpX");
  ASSERT_NE(division, nullptr);
  division->selectAll();
  QTest::keyClicks(division, "12");
  EXPECT_EQ(form.ui.txtSmpX.text, "12");

  auto* graphType = window->findChild<QComboBox*>("cmbGraphType");
  ASSERT_NE(graphType, nullptr);
  emit graphType->activated(kPlotOnePoint - 1);  // the combo counts from 0
  EXPECT_EQ(form.ui.cmbGraphType.selected, kPlotOnePoint);
  EXPECT_TRUE(window->findChild<QLineEdit*>("txtPicUpRange")->isEnabled());
  EXPECT_FALSE(division->isEnabled());

  window->actionFor(MenuId::mnuLangJP)->trigger();
  EXPECT_EQ(window->tabBar()->tabText(0), "設定");
  EXPECT_EQ(window->findChild<QLabel*>("Label9")->text(), "分割数");
  EXPECT_EQ(window->findChild<QCheckBox*>("chkOnGrid")->text(), "ｸﾞﾘｯﾄﾞに合わせる");
  EXPECT_EQ(graphType->itemText(3), "面ｸﾞﾗﾌのﾄﾚｰｽ");
  EXPECT_EQ(window->actionFor(MenuId::mnuFile)->text(), "ﾌｧｲﾙ(&F)");
  auto* list = qobject_cast<QTableView*>(window->widgetFor(form.ui.ListView1));
  EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(), "Xﾃﾞｰﾀ");
  EXPECT_EQ(list->columnWidth(0), 27);  // 400 twips
  EXPECT_EQ(list->columnWidth(1), 60);

  // Labels are the buddies of their fields, for keyboard and screen readers.
  EXPECT_EQ(window->findChild<QLabel*>("Label9")->buddy(), division);
}

TEST_F(Form1WindowTest, ClosingWritesTheSettingsOnce) {
  window->actionFor(MenuId::mnuLangJP)->trigger();
  window->close();
  EXPECT_TRUE(form.state.closed);
  std::ifstream in(dir.file("Plotinf.ini"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, "Language=Japanese\r\nUndoBufferSize=50\r\n");
}

TEST_F(Form1WindowTest, LeavingTheDivisionFieldChecksItOnce) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  auto* division = window->findChild<QLineEdit*>("txtSmpX");
  division->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  EXPECT_EQ(form.ui.focused, &form.ui.txtSmpX);
  division->selectAll();
  QTest::keyClicks(division, "12.7");
  window->findChild<QLineEdit*>("txtMaxLabelX")->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  EXPECT_EQ(form.ui.txtSmpX.text, "12");
  EXPECT_EQ(division->text(), "12");
  EXPECT_EQ(form.ui.txtStpX.text, "0.0833333333333333");
  EXPECT_EQ(form.ui.focused, &form.ui.txtMaxLabelX);
}

}  // namespace
}  // namespace plotvane
