// The spreadsheet export in the window: the button's pop-up menu, the
// message window beside a main window that stays usable, the workbook in
// the user's documents handed to the desktop, the text on the clipboard.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "data/data_list.h"
#include "data/spreadsheet_export.h"
#include "qt/dialog_windows.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "shell/form1_events.h"
#include "support/temp_dir.h"

namespace plotvane {

// Takes the files the program hands to the desktop, so that the test
// launches nothing.
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

class SpreadsheetWindowTest : public ::testing::Test {
 protected:
  SpreadsheetWindowTest() {
    if (const char* home = std::getenv("HOME")) oldHome = home;
    setenv("HOME", dir.path().c_str(), 1);
    std::ofstream(dir.file("Plotinf.ini"), std::ios::binary)
        << "Language=English\r\nUndoBufferSize=50\r\n";
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->show();
  }
  ~SpreadsheetWindowTest() override {
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    if (oldHome)
      setenv("HOME", oldHome->c_str(), 1);
    else
      unsetenv("HOME");
  }

  testing::TempWorkingDir dir;
  std::optional<std::string> oldHome;
  OpenedFiles opened;
  QtPlatform platform;
  Form1 form{platform};
  std::unique_ptr<Form1Window> window;
};

TEST_F(SpreadsheetWindowTest, TheButtonOffersTheThreeCommands) {
  window->handle([&] { (void)appendDataPoint(form, 1.5f, 2, 10, 20); });
  auto* button = static_cast<QPushButton*>(window->widgetFor(form.ui.cmdSendExcel));
  ASSERT_TRUE(button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);
  QMenu* menu = window->menuFor(MenuId::mnuDataExcel);
  EXPECT_TRUE(menu->isVisible());
  QStringList names;
  for (QAction* action : menu->actions()) names << action->objectName();
  EXPECT_EQ(names, (QStringList{"mnuDataExcelData", "mnuDataExcelLine", "mnuDataExcelPoint"}));
  menu->hide();
}

TEST_F(SpreadsheetWindowTest, ExportShowsTheMessageBesideAUsableWindowAndHandsOverTheWorkbook) {
  window->handle([&] {
    (void)appendDataPoint(form, 1.5f, 2, 10, 20);
    (void)appendDataPoint(form, 3, 4, 30, 40);
  });
  QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  std::string openedPath;
  opened.onOpen = [&](const QUrl& url) {
    openedPath = url.toLocalFile().toStdString();
    DialogWindow* message = window->dialogWindow(DialogId::Message);
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isVisible());
    EXPECT_FALSE(message->isModal());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(message->windowTitle(), "Plotvane");
    auto* label = message->findChild<QLabel*>("Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Don't operate Excel now. Plotvane is operating Excel.");
    // The clipboard is replaced only once the workbook is in the user's hands.
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
  };
  window->actionFor(MenuId::mnuDataExcelLine)->trigger();

  EXPECT_EQ(openedPath.rfind(dir.file("Documents/Plotvane/Plotvane "), 0), 0u) << openedPath;
  EXPECT_TRUE(std::filesystem::is_regular_file(openedPath));
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            "Data:X\tData:Y\tSource:X\tSource:Y\r\n1.5\t2\t10\t20\r\n3\t4\t30\t40\r\n");
  EXPECT_EQ(window->dialogWindow(DialogId::Message), nullptr);
}

TEST_F(SpreadsheetWindowTest, TheMessageWindowAppearsOnlyWhenShownAndStaysUntilUnloaded) {
  auto message = std::make_shared<MessageDialog>();
  message->window.visible = false;
  message->Label1.text = "busy";
  window->handle([&] { form.dialogs[static_cast<std::size_t>(DialogId::Message)] = message; });
  DialogWindow* shown = window->dialogWindow(DialogId::Message);
  ASSERT_NE(shown, nullptr);
  EXPECT_FALSE(shown->isVisible());
  window->handle([&] { message->window.visible = true; });
  EXPECT_TRUE(shown->isVisible());
  shown->close();  // the close box
  EXPECT_EQ(form.dialog(DialogId::Message), message.get());
  window->handle([&] { messageUnload(form); });
  EXPECT_EQ(window->dialogWindow(DialogId::Message), nullptr);
}

}  // namespace
}  // namespace plotvane

#include "spreadsheet_window_test.moc"
