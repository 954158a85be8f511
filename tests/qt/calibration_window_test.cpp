#include <gtest/gtest.h>

#include <QAbstractItemModel>
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

  static bool rowsShown(const QAbstractItemView* list, int wanted) {  // rows arrive in batches
    return QTest::qWaitFor([&] { return list->model()->rowCount() == wanted; }, 1000);
  }
  void retype(QLineEdit* edit, const QString& text) {  // keystroke by keystroke
    edit->setFocus(), edit->selectAll(), QTest::keyClicks(edit, text);
  }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  std::unique_ptr<Form1Window> window;
};

TEST_F(CalibrationWindowTest, ScaleFieldAndValueFieldFollowEachOther) {
  auto *maxX = window->findChild<QLineEdit*>("txtMaxLabelX"),
       *valueField = window->findChild<QLineEdit*>("txtLXE");
  ASSERT_TRUE(maxX && valueField);

  retype(maxX, ".5");  // "." alone reads 0 and must not come back as "0"
  EXPECT_EQ(maxX->text(), ".5");
  EXPECT_EQ(valueField->text(), "0.5");

  retype(valueField, "12.5");
  EXPECT_EQ(maxX->text(), "12.5");

  retype(valueField, "12,5");  // "12" converts; from the comma on nothing does
  EXPECT_TRUE(valueField->property("invalid").toBool());
  EXPECT_EQ(maxX->text(), "12");
  retype(maxX, "3");
  EXPECT_EQ(valueField->text(), "3");
  EXPECT_FALSE(valueField->property("invalid").toBool());
}

TEST_F(CalibrationWindowTest, DataListFollowsTheModelAndTakesTheDeleteKey) {
  auto* list = qobject_cast<QTableView*>(window->widgetFor(form.ui.ListView1));
  ASSERT_NE(list, nullptr);
  const auto cell = [list](int row, int column) {
    return list->model()->index(row, column).data().toString();
  };
  window->handle([&] {
    for (float i = 1; i <= 5; ++i) (void)appendDataPoint(form, i, -i, 10 * i, i);
  });
  ASSERT_TRUE(rowsShown(list, 5));
  EXPECT_EQ(cell(4, 3), "50");

  list->setCurrentIndex(list->model()->index(2, 0));
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Delete);
  ASSERT_TRUE(rowsShown(list, 4));
  EXPECT_EQ(cell(2, 0), "4");

  // A delete and an add between two syncs leave the count as it was.
  window->handle([&] {
    selectRow(form.ui.ListView1, 0);
    mnuDataDelSelectClick(form);
    ASSERT_EQ(appendDataPoint(form, 9, 9, 9, 9), AddResult::Added);
  });
  ASSERT_TRUE(rowsShown(list, 4));
  EXPECT_EQ(cell(0, 0), "2");
  EXPECT_EQ(cell(3, 1), "9");

  window->handle([&] { form.ui.cmdListDelAll.onChange(); });
  EXPECT_TRUE(rowsShown(list, 0));
}

}  // namespace
}  // namespace plotvane
