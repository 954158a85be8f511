// The dialog shape on a real window: the core loads a dialog model, the main
// window opens a window mirroring it, the window's button reaches the core's
// handler, and the window goes when the core drops the model.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <memory>

#include "qt/dialog_windows.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "shell/about.h"
#include "shell/form1_events.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

class AboutWindowTest : public ::testing::Test {
 protected:
  AboutWindowTest() {
    std::ofstream(dir.file("Plotinf.ini"), std::ios::binary)
        << "Language=English\r\nUndoBufferSize=50\r\n";
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->show();
  }

  void openAbout() {
    window->handle([&] { menuClick(form, MenuId::mnuHelpV); });
  }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  std::unique_ptr<Form1Window> window;
};

TEST_F(AboutWindowTest, MirrorsTheModelAndDisablesTheMainWindow) {
  openAbout();
  DialogWindow* about = window->dialogWindow(DialogId::About);
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->isVisible());
  EXPECT_EQ(about->windowTitle(), "Plotvane - Verison Infomation");
  auto* version = about->findChild<QLabel*>("Label1");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text(), "Plotvane v1.11");
  EXPECT_FALSE(window->isEnabled());

  auto* ok = about->findChild<QPushButton*>("OKButton");
  ASSERT_NE(ok, nullptr);
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(form.dialog(DialogId::About), nullptr);
  EXPECT_EQ(window->dialogWindow(DialogId::About), nullptr);
  EXPECT_TRUE(window->isEnabled());
}

TEST_F(AboutWindowTest, TheCloseBoxUnloadsIt) {
  openAbout();
  DialogWindow* about = window->dialogWindow(DialogId::About);
  ASSERT_NE(about, nullptr);
  about->close();
  EXPECT_EQ(form.dialog(DialogId::About), nullptr);
  EXPECT_TRUE(window->isEnabled());
  // Opened again, it is a new window on a new model.
  openAbout();
  ASSERT_NE(window->dialogWindow(DialogId::About), nullptr);
  EXPECT_NE(form.dialog(DialogId::About), nullptr);
}

}  // namespace
}  // namespace plotvane
