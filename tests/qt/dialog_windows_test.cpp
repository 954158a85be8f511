// Dialog windows: their buttons, fields and close box reach the core's handlers, and they go when
// the core drops the model: rotation, the spreadsheet export.
#include "qt/dialog_windows.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "data/data_list.h"
#include "data/spreadsheet_export.h"
#include "shell/form1_events.h"
#include "support/main_window.h"
#include "view/rotate_dialog.h"

namespace plotvane {

// Takes the files the program hands to the desktop, so that the test launches nothing.
class OpenedFiles : public QObject {
  Q_OBJECT

 public:
  std::function<void(const QUrl&)> onOpen;

 public slots:
  void open(const QUrl& url) {
    if (onOpen) onOpen(url);
  }
};

namespace {

struct RotateWindow : ::testing::Test {
  DialogWindow* open() {
    m.window.handle([&] { menuClick(m.form, MenuId::mnuPictRot); });
    return m.window.dialogWindow(DialogId::Rotate);
  }

  testing::MainWindow m{PixelArray(30, 20, 0x336699)};
};

// A stretched option takes clicks on its indicator and text only: the click is on the indicator.
// Cancel and the close box unload the dialog; Enter in the field or an option runs OK once.
TEST_F(RotateWindow, FieldAndOptionReachTheModelAndEachWayOutUnloadsIt) {
  for (const std::string way : {"CancelButton", "close box", "txtRot", "Option2"}) {
    SCOPED_TRACE(way);
    DialogWindow* rotate = open();
    ASSERT_NE(rotate, nullptr);
    EXPECT_FALSE(m.window.isEnabled());
    auto* ccw = rotate->findChild<QRadioButton*>("Option2");
    auto* angle = rotate->findChild<QLineEdit*>("txtRot");
    ASSERT_TRUE(ccw && angle);
    QTest::mouseClick(ccw, Qt::LeftButton, {}, QPoint(6, ccw->height() / 2));
    EXPECT_EQ(m.form.dialogAs<RotateDialog>(DialogId::Rotate)->Option2.value, 1);
    angle->selectAll();
    QTest::keyClicks(angle, "90");
    EXPECT_EQ(m.form.dialogAs<RotateDialog>(DialogId::Rotate)->txtRot.text, "90");
    const int undoSteps = m.form.app.undoRing->undoCount(), width = m.form.state.Picture2.width();
    const bool ok = way == "txtRot" || way == "Option2";
    if (ok) QTest::keyClick(rotate->findChild<QWidget*>(way.c_str()), Qt::Key_Return);
    if (way == "close box") rotate->close();
    if (way == "CancelButton")
      QTest::mouseClick(rotate->findChild<QPushButton*>(way.c_str()), Qt::LeftButton);
    EXPECT_EQ(m.form.state.Picture2.width(), ok ? 50 - width : width);  // 30 x 20 turned
    EXPECT_EQ(m.form.app.undoRing->undoCount(), undoSteps + int(ok));
    EXPECT_EQ(m.form.dialog(DialogId::Rotate), nullptr);
    EXPECT_EQ(m.window.dialogWindow(DialogId::Rotate), nullptr);
    EXPECT_TRUE(m.window.isEnabled());
  }
}

// The workbook goes to the user's documents and is handed to the desktop; the test's own HOME.
struct SpreadsheetWindow : ::testing::Test {
  SpreadsheetWindow() {
    if (const char* home = std::getenv("HOME")) oldHome = home;
    setenv("HOME", m.dir.path().c_str(), 1);
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
  }
  ~SpreadsheetWindow() override {
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    oldHome ? setenv("HOME", oldHome->c_str(), 1) : unsetenv("HOME");
  }

  testing::MainWindow m;
  std::optional<std::string> oldHome;
  OpenedFiles opened;
};

// The button offers the three commands; the message shows beside a main window that stays
// usable, and the clipboard is replaced only once the workbook is in the user's hands.
TEST_F(SpreadsheetWindow, TheButtonsMenuAndTheMessageBesideAUsableWindow) {
  m.window.handle([&] {
    (void)appendDataPoint(m.form, 1.5f, 2, 10, 20);
    (void)appendDataPoint(m.form, 3, 4, 30, 40);
  });
  auto* button = static_cast<QPushButton*>(m.window.widgetFor(m.form.ui.cmdSendExcel));
  ASSERT_TRUE(button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);
  QMenu* menu = m.window.menuFor(MenuId::mnuDataExcel);
  EXPECT_TRUE(menu->isVisible());
  menu->hide();
  QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  std::string openedPath;
  opened.onOpen = [&](const QUrl& url) {
    openedPath = url.toLocalFile().toStdString();
    DialogWindow* message = m.window.dialogWindow(DialogId::Message);
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isVisible());
    EXPECT_FALSE(message->isModal());
    EXPECT_TRUE(m.window.isEnabled());
    EXPECT_EQ(message->findChild<QLabel*>("Label1")->text(),
              "Don't operate Excel now. Plotvane is operating Excel.");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
  };
  m.window.actionFor(MenuId::mnuDataExcelLine)->trigger();
  EXPECT_EQ(openedPath.rfind(m.dir.file("Documents/Plotvane/Plotvane "), 0), 0u) << openedPath;
  EXPECT_TRUE(std::filesystem::is_regular_file(openedPath));
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            "Data:X\tData:Y\tSource:X\tSource:Y\r\n1.5\t2\t10\t20\r\n3\t4\t30\t40\r\n");
  EXPECT_EQ(m.window.dialogWindow(DialogId::Message), nullptr);
}

}  // namespace
}  // namespace plotvane

#include "dialog_windows_test.moc"
