#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "data/data_list.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

class CalibrationWindowTest : public ::testing::Test {
 protected:
  CalibrationWindowTest() {
    testing::writeAll(dir.file("Plotinf.ini"), "Language=English\r\nUndoBufferSize=50\r\n");
    window.start(std::nullopt), window.show();
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
  Form1Window window{form, platform};
};

TEST_F(CalibrationWindowTest, FieldsFollowEachOtherAndTheListFollowsTheModel) {
  auto *maxX = window.findChild<QLineEdit*>("txtMaxLabelX"),
       *valueField = window.findChild<QLineEdit*>("txtLXE");
  auto* list = qobject_cast<QTableView*>(window.widgetFor(form.ui.ListView1));
  ASSERT_TRUE(maxX && valueField && list);
  retype(maxX, ".5");  // "." alone reads 0 and must not come back as "0"
  EXPECT_EQ(maxX->text(), ".5");
  EXPECT_EQ(valueField->text(), "0.5");
  retype(valueField, "12,5");  // "12" converts; from the comma on nothing does
  EXPECT_EQ(maxX->text(), "12");
  EXPECT_TRUE(valueField->property("invalid").toBool());
  retype(maxX, "3");
  EXPECT_EQ(valueField->text(), "3");
  EXPECT_FALSE(valueField->property("invalid").toBool());

  const auto cell = [list](int row, int column) {
    return list->model()->index(row, column).data().toString().toStdString();
  };
  window.handle([&] {
    for (float i = 1; i <= 5; ++i) (void)appendDataPoint(form, i, -i, 10 * i, i);
  });
  ASSERT_TRUE(rowsShown(list, 5));
  list->setCurrentIndex(list->model()->index(2, 0)), list->setFocus();
  QTest::keyClick(list, Qt::Key_Delete);
  ASSERT_TRUE(rowsShown(list, 4));
  EXPECT_EQ(cell(2, 0), "4");
  EXPECT_EQ(cell(3, 3), "50");
  window.handle([&] {  // a delete and an add between two syncs leave the count as it was
    selectRow(form.ui.ListView1, 0), mnuDataDelSelectClick(form);
    (void)appendDataPoint(form, 9, 9, 9, 9);
  });
  (void)QTest::qWaitFor([&] { return cell(0, 0) == "2" && cell(3, 1) == "9"; }, 1000);
  EXPECT_EQ(cell(0, 0), "2");
  EXPECT_EQ(cell(3, 1), "9");
  window.handle([&] { form.ui.cmdListDelAll.onChange(); });
  EXPECT_TRUE(rowsShown(list, 0));
}

}  // namespace
}  // namespace plotvane
