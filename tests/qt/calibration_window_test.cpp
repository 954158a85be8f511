// Typing into the scale fields of the window: the on-picture value fields
// follow, and back; the data list follows its model and takes the keys.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <fstream>
#include <memory>

#include "data/data_list.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

class CalibrationWindowTest : public ::testing::Test {
 protected:
  CalibrationWindowTest() {
    std::ofstream(dir.file("Plotinf.ini"), std::ios::binary)
        << "Language=English\r\nUndoBufferSize=50\r\n";
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->show();
  }

  QLineEdit* field(const char* name) { return window->findChild<QLineEdit*>(name); }

  // Appended rows reach the view in batches; waits (at most a second) until
  // the view shows this many rows.
  static int rowsShown(const QAbstractItemView* list, int wanted) {
    QElapsedTimer waited;
    waited.start();
    while (list->model()->rowCount() != wanted && waited.elapsed() < 1000)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return list->model()->rowCount();
  }

  // Replaces the field's text keystroke by keystroke, as a user does.
  void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  std::unique_ptr<Form1Window> window;
};

TEST_F(CalibrationWindowTest, ScaleFieldAndValueFieldFollowEachOther) {
  QLineEdit* maxX = field("txtMaxLabelX");
  QLineEdit* valueField = field("txtLXE");
  ASSERT_TRUE(maxX && valueField);
  EXPECT_EQ(valueField->text(), "1");

  retype(maxX, ".5");  // "." alone reads 0 and must not come back as "0"
  EXPECT_EQ(maxX->text(), ".5");
  EXPECT_EQ(valueField->text(), "0.5");
  EXPECT_EQ(form.state.maxX, 0.5f);

  retype(valueField, "12.5");
  EXPECT_EQ(valueField->text(), "12.5");
  EXPECT_EQ(maxX->text(), "12.5");
  EXPECT_EQ(form.state.maxX, 12.5f);
  EXPECT_EQ(form.ui.txtLXE.geometry.width / kTwipsPerPixel, 24);

  retype(valueField, "12,5");  // "12" converts; from the comma on nothing does
  EXPECT_TRUE(valueField->property("invalid").toBool());
  EXPECT_EQ(valueField->text(), "12,5");
  EXPECT_EQ(maxX->text(), "12");
  retype(maxX, "3");
  EXPECT_EQ(valueField->text(), "3");
  EXPECT_FALSE(valueField->property("invalid").toBool());
}

TEST_F(CalibrationWindowTest, DataListFollowsTheModelAndTakesTheDeleteKey) {
  auto* list = qobject_cast<QTableView*>(window->widgetFor(form.ui.ListView1));
  ASSERT_NE(list, nullptr);
  window->handle([&] {
    for (int i = 1; i <= 5; ++i)
      ASSERT_EQ(appendDataPoint(form, float(i), float(-i), float(10 * i), float(i)),
                AddResult::Added);
  });
  ASSERT_EQ(rowsShown(list, 5), 5);
  EXPECT_EQ(list->model()->index(4, 3).data().toString(), "50");

  list->setCurrentIndex(list->model()->index(2, 0));
  EXPECT_EQ(selectedRow(form.ui.ListView1), 2u);
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Delete);
  EXPECT_EQ(form.app.pointCount, 4);
  ASSERT_EQ(rowsShown(list, 4), 4);
  EXPECT_EQ(list->model()->index(2, 0).data().toString(), "4");

  // A delete and an add between two syncs leave the count as it was.
  window->handle([&] {
    selectRow(form.ui.ListView1, 0);
    mnuDataDelSelectClick(form);
    ASSERT_EQ(appendDataPoint(form, 9, 9, 9, 9), AddResult::Added);
  });
  ASSERT_EQ(rowsShown(list, 4), 4);
  EXPECT_EQ(list->model()->index(0, 0).data().toString(), "2");
  EXPECT_EQ(list->model()->index(3, 1).data().toString(), "9");

  window->handle([&] { form.ui.cmdListDelAll.onChange(); });
  EXPECT_EQ(rowsShown(list, 0), 0);
}

}  // namespace
}  // namespace plotvane
