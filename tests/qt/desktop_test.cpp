// The window on a Linux desktop: drops on text fields, Qt's own texts and the announced names in
// the language, copying the list, the interface font and the first size.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QTableView>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include "data/data_list.h"
#include "data/list_copy.h"
#include "qt/desktop_setup.h"
#include "qt/picture_view.h"
#include "support/main_window.h"

namespace plotvane {
namespace {

struct Desktop : ::testing::Test {
  // A picture file in the test's folder.
  std::string pictureFile(const std::string& name) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    EXPECT_TRUE(image.save(QString::fromStdString(m.dir.file(name)), "PNG"));
    return m.dir.file(name);
  }
  QWidget* field(const Control& control) { return m.window.widgetFor(control); }
  // Points with these X values, shown on the Data tab; rows arriving together show a moment later.
  QTableView* addPoints(std::initializer_list<float> values) {
    m.window.handle([&] {
      for (float x : values) EXPECT_EQ(appendDataPoint(m.form, x, x * 10, x, x), AddResult::Added);
    });
    m.window.tabBar()->setCurrentIndex(2);
    auto* list = qobject_cast<QTableView*>(field(m.form.ui.ListView1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() == int(values.size()); }));
    return list;
  }

  testing::MainWindow m;
};

// Drags the file over the widget and drops it there, as the window system hands a drop to the
// window: the window picks the widget that takes it. File managers offer the address as text too,
// which a text field takes.
void dropFile(QWidget* target, const std::string& file) {
  QWindow* handle = target->window()->windowHandle();
  ASSERT_NE(handle, nullptr);
  const QPoint at = target->mapTo(target->window(), target->rect().center());
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
  data.setText(data.urls()[0].toString());
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(handle, &enter);
  QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(handle, &move);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(handle, &drop);
}

// The on-picture fields show once a picture is open.
TEST_F(Desktop, ADropOnATextFieldOpensThePictureAndLeavesTheFieldAlone) {
  Form1Controls& ui = m.form.ui;
  auto* filter = qobject_cast<QComboBox*>(field(ui.cmbFRange));
  ASSERT_NE(filter, nullptr);
  // clang-format off
  const struct { const char* name; QWidget* widget; const Control* model; } cases[] = {
      {"X Max Scale", field(ui.txtMaxLabelX), &ui.txtMaxLabelX}, {"division", field(ui.txtSmpX), &ui.txtSmpX},
      {"Y-filtering", filter->lineEdit(), &ui.cmbFRange}, {"on-picture X min", field(ui.txtLXS), &ui.txtLXS}};
  // clang-format on
  int opened = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.widget->isVisible()) dropFile(m.window.pictureView(), pictureFile("first.png"));
    ASSERT_TRUE(c.widget->isVisible());
    const std::string before = c.model->text;
    const std::string picture = pictureFile("drop" + std::to_string(++opened) + ".png");
    dropFile(c.widget, picture);
    EXPECT_EQ(m.form.state.picturePath, picture);
    EXPECT_EQ(c.model->text, before);
  }
}

TEST_F(Desktop, QtsOwnTextsAndTheAnnouncedNamesFollowTheLanguage) {
  const auto lookIn = [] { return QCoreApplication::translate("QFileDialog", "Look in:"); };
  const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
  QWidget* lxs = field(m.form.ui.txtLXS);
  EXPECT_FALSE(m.window.qtTranslation().installed());
  EXPECT_EQ(lookIn(), "Look in:");
  EXPECT_EQ(lxs->accessibleName(), "X Axis Min Scale");
  m.window.actionFor(MenuId::mnuLangJP)->trigger();
  EXPECT_TRUE(m.window.qtTranslation().installed());
  EXPECT_NE(lookIn(), "Look in:");
  EXPECT_NE(cancel(), "Cancel");
  EXPECT_EQ(lxs->accessibleName(), "X軸 最小値の目盛");
  m.window.actionFor(MenuId::mnuLangENG)->trigger();
  EXPECT_FALSE(m.window.qtTranslation().installed());
  EXPECT_EQ(lookIn(), "Look in:");
  EXPECT_EQ(cancel(), "Cancel");
}

// Focus as the pointer gives it; without a selection the whole list. A double click on a column's
// border fits the column to its text.
TEST_F(Desktop, CtrlCCopiesTheSelectedRowOrTheWholeListAndBordersFitColumns) {
  auto* list = addPoints({1.0f, 2.0f, 1.23456789e20f});
  list->setFocus(Qt::MouseFocusReason);
  QClipboard* clipboard = QGuiApplication::clipboard();
  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard->text().toStdString(), listCopyText(m.form.ui.ListView1, 3));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                    list->visualRect(list->model()->index(1, 2)).center());
  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard->text().toStdString(),
            "Data:X\tData:Y\tSource:X\tSource:Y\r\n2\t20\t2\t2\r\n");
  QHeaderView* header = list->horizontalHeader();
  EXPECT_EQ(header->sectionResizeMode(1), QHeaderView::Interactive);
  const QString text = list->model()->index(2, 1).data().toString();
  ASSERT_GT(list->fontMetrics().horizontalAdvance(text), list->columnWidth(1));
  const QPoint border(header->sectionViewportPosition(1) + header->sectionSize(1) - 1,
                      header->height() / 2);
  QTest::mouseDClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, border);
  EXPECT_GE(list->columnWidth(1), list->fontMetrics().horizontalAdvance(text));
}

TEST(InterfaceFont, TheDesktopsFamilyComesFirstAndJapaneseIsTheFallback) {
  for (const char* desktop : {"Sans Serif", "DejaVu Sans"}) {
    SCOPED_TRACE(desktop);
    const QFont font = interfaceFont(QFont(QString::fromLatin1(desktop)));
    const std::string drawn = QFontInfo(font).family().toStdString();
    EXPECT_EQ(drawn, QFontInfo(QFont(QString::fromLatin1(desktop))).family().toStdString());
    EXPECT_FALSE(drawn.starts_with("IPA"));
    ASSERT_EQ(font.families().size(), 3);
    EXPECT_TRUE(QFontDatabase::hasFamily(font.families().at(0)));
    EXPECT_EQ(font.families().at(1).toStdString(), "IPAPGothic");
  }
}

// 1066 x 642 is a 1600 x 1000 screen at 1.5; the window on this screen starts at its size too.
TEST(StartSize, TheDesignSizeOrTheScreenWhicheverIsSmaller) {
  // clang-format off
  const std::pair<QSize, QSize> cases[] = {  // available, expected
      {{1066, 642}, {1066, 642}}, {{1000, 900}, {1000, 800}}, {QSize(), {1200, 800}}};
  // clang-format on
  for (const auto& [available, expected] : cases)
    EXPECT_EQ(startSize(Form1Window::kDesignSize, available), expected)
        << available.width() << "x" << available.height();
  testing::MainWindow m;
  EXPECT_EQ(m.window.size(),
            startSize(Form1Window::kDesignSize, m.window.screen()->availableGeometry().size()));
}

}  // namespace
}  // namespace plotvane
