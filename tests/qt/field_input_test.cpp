// Text set on a field without keystrokes reaches the core; hovering over the
// list leaves the focus with a field being edited; a run disables on screen
// what it would refuse.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <vector>

#include "app/panes.h"
#include "data/data_list.h"
#include "loading/load_picture.h"
#include "loading/picture_bytes.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

class FieldInput : public ::testing::Test {
 protected:
  FieldInput() {
    testing::writeAll(dir.file("Plotinf.ini"), "Language=English\r\nUndoBufferSize=50\r\n");
    window.start(std::nullopt), window.show();
  }

  QLineEdit* field(const char* name) { return window.findChild<QLineEdit*>(name); }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  Form1Window window{form, platform};
};

TEST_F(FieldInput, TextSetWithoutKeystrokesReachesTheCoreOnceAndStays) {
  QLineEdit *maxY = field("txtMaxLabelY"), *mirror = field("txtLYT"), *division = field("txtSmpX");
  ASSERT_TRUE(maxY && mirror && division);
  int changes = 0, mirrorChanges = 0;
  for (auto [control, runs] :
       {std::pair{&form.ui.txtMaxLabelY, &changes}, std::pair{&form.ui.txtLYT, &mirrorChanges}})
    control->onChange = [inner = control->onChange, runs] { ++*runs, inner(); };

  maxY->setText("5");  // as assistive tools and voice control set a field
  division->setText("50");
  EXPECT_EQ(form.ui.txtMaxLabelY.text, "5");
  EXPECT_EQ(form.state.maxY, 5.0f);
  EXPECT_EQ(mirror->text(), "5");
  EXPECT_EQ(form.ui.txtSmpX.text, "50");
  // The mirror written by the core is not sent back to it.
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(mirrorChanges, 1);

  window.handle([] {});  // any later handler mirrors every model into its widget
  EXPECT_EQ(maxY->text(), "5");
  EXPECT_EQ(division->text(), "50");
  EXPECT_EQ(changes, 1);
}

TEST_F(FieldInput, HoveringOverTheListLeavesTheFocusWithAFieldBeingEdited) {
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.handle([&] {
    for (float i = 1; i <= 3; ++i) (void)appendDataPoint(form, i, i, i, i);
    selectRow(form.ui.ListView1, 1);
    form.ui.TabStrip1.selected = 3;
    tabStripClick(form);
    form.ui.txtLXE.visible = true;  // the value fields show over a loaded picture
  });
  auto* list = qobject_cast<QTableView*>(window.widgetFor(form.ui.ListView1));
  QLineEdit* valueField = field("txtLXE");
  ASSERT_TRUE(list && valueField && list->isVisible() && valueField->isVisible());
  const auto hover = [list] {
    const QPointF at(10, 10);
    QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
  };

  valueField->setFocus(Qt::MouseFocusReason);
  QCoreApplication::processEvents();
  ASSERT_EQ(form.ui.focused, &form.ui.txtLXE);
  hover();
  EXPECT_TRUE(valueField->hasFocus());
  EXPECT_EQ(form.ui.focused, &form.ui.txtLXE);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
  EXPECT_EQ(form.app.pointCount, 3);

  // With no field being edited the list takes the focus and Delete acts on it.
  valueField->clearFocus();
  QCoreApplication::processEvents();
  hover();
  EXPECT_TRUE(list->hasFocus());
  QTest::keyClick(list, Qt::Key_Delete);
  EXPECT_EQ(form.app.pointCount, 2);
}

TEST_F(FieldInput, ARunDisablesLoadingAndSavingOnScreenUntilItEnds) {
  PixelArray chart(40, 30, 0xFFFFFF);
  for (int x = 0; x < 40; ++x) chart.set(x, 10, 0);
  testing::writeAll(dir.file("chart.bmp"), testing::bmpFile(chart));
  window.handle([&] { LoadPictureFile(form, dir.file("chart.bmp")); });
  const std::vector<QWidget*> widgets = {
      window.widgetFor(form.ui.cmdSaveData), window.widgetFor(form.ui.Drive1),
      window.widgetFor(form.ui.Dir1), window.widgetFor(form.ui.File1)};
  const std::vector<QAction*> actions = {window.actionFor(MenuId::mnuFileOpen),
                                         window.actionFor(MenuId::mnuFileRedraw),
                                         window.actionFor(MenuId::mnuDataSave)};
  const auto enabled = [&] {
    std::vector<bool> states;
    for (QWidget* widget : widgets) states.push_back(widget->isEnabled());
    for (QAction* action : actions) states.push_back(action->isEnabled());
    return states;
  };

  QTest::qWait(20);  // so that the run's first yield handles events
  bool sawRun = false;
  std::vector<bool> during;
  QTimer::singleShot(0, &window, [&] {  // runs at that yield
    sawRun = form.state.runActive;
    during = enabled();
  });
  window.actionFor(MenuId::mnuExeStart)->trigger();
  ASSERT_TRUE(sawRun);
  EXPECT_EQ(during, std::vector<bool>(7, false));
  EXPECT_GT(form.app.pointCount, 0);
  EXPECT_EQ(enabled(), std::vector<bool>(7, true));
}

}  // namespace
}  // namespace plotvane
