// The rotation dialog on a real window: it mirrors its model, its options,
// field and buttons reach the core's handlers, and Enter in the options or
// the field runs OK once.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>
#include <memory>

#include "loading/load_picture.h"
#include "picture/bitmap_file.h"
#include "qt/dialog_windows.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "shell/form1_events.h"
#include "support/temp_dir.h"
#include "view/rotate_dialog.h"

namespace plotvane {
namespace {

class RotateWindowTest : public ::testing::Test {
 protected:
  RotateWindowTest() {
    std::ofstream(dir.file("Plotinf.ini"), std::ios::binary)
        << "Language=English\r\nUndoBufferSize=50\r\n";
    std::ofstream(dir.file("chart.bmp"), std::ios::binary)
        << bitmapFileBytes(PixelArray(30, 20, 0x336699));
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->show();
    window->handle([&] { LoadPictureFile(form, dir.file("chart.bmp")); });
  }

  DialogWindow* open() {
    window->handle([&] { menuClick(form, MenuId::mnuPictRot); });
    return window->dialogWindow(DialogId::Rotate);
  }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  std::unique_ptr<Form1Window> window;
};

TEST_F(RotateWindowTest, MirrorsTheModelAndDisablesTheMainWindow) {
  DialogWindow* rotate = open();
  ASSERT_NE(rotate, nullptr);
  EXPECT_TRUE(rotate->isVisible());
  EXPECT_EQ(rotate->windowTitle(), "Rotate");
  EXPECT_FALSE(window->isEnabled());
  auto* frame = rotate->findChild<QGroupBox*>("Frame1");
  auto* cw = rotate->findChild<QRadioButton*>("Option1");
  auto* ccw = rotate->findChild<QRadioButton*>("Option2");
  auto* label = rotate->findChild<QLabel*>("Label1");
  auto* angle = rotate->findChild<QLineEdit*>("txtRot");
  ASSERT_TRUE(frame && cw && ccw && label && angle);
  EXPECT_EQ(frame->title(), "Set Rotate Angle");
  EXPECT_EQ(cw->text(), "CW");
  EXPECT_EQ(ccw->text(), "CCW");
  EXPECT_TRUE(cw->isChecked());
  EXPECT_FALSE(ccw->isChecked());
  EXPECT_EQ(label->text(), QString::fromUtf8("Angle (0.001～360deg)"));
  EXPECT_EQ(label->buddy(), angle);
  EXPECT_EQ(angle->text(), "1");

  // On the indicator: a stretched option takes clicks on its indicator and text only.
  QTest::mouseClick(ccw, Qt::LeftButton, {}, QPoint(6, ccw->height() / 2));
  const auto* model = form.dialogAs<RotateDialog>(DialogId::Rotate);
  EXPECT_EQ(model->Option2.value, 1);
  EXPECT_EQ(model->Option1.value, 0);

  QTest::mouseClick(rotate->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
  EXPECT_EQ(form.dialog(DialogId::Rotate), nullptr);
  EXPECT_EQ(window->dialogWindow(DialogId::Rotate), nullptr);
  EXPECT_TRUE(window->isEnabled());
  EXPECT_EQ(form.state.Picture2.width(), 30);
}

// Typed into the field, then Enter there, or in an option: one rotation by
// the typed angle each time, and the dialog goes.
TEST_F(RotateWindowTest, EnterInTheFieldOrAnOptionRunsOkOnce) {
  for (const char* target : {"txtRot", "Option2"}) {
    SCOPED_TRACE(target);
    DialogWindow* rotate = open();
    ASSERT_NE(rotate, nullptr);
    auto* angle = rotate->findChild<QLineEdit*>("txtRot");
    angle->selectAll();
    QTest::keyClicks(angle, "90");
    EXPECT_EQ(form.dialogAs<RotateDialog>(DialogId::Rotate)->txtRot.text, "90");
    const int undoSteps = form.app.undoRing->undoCount();
    const int width = form.state.Picture2.width();
    QTest::keyClick(rotate->findChild<QWidget*>(target), Qt::Key_Return);
    EXPECT_EQ(form.state.Picture2.width(), width == 30 ? 20 : 30);
    EXPECT_EQ(form.app.undoRing->undoCount(), undoSteps + 1);
    EXPECT_EQ(form.dialog(DialogId::Rotate), nullptr);
    EXPECT_TRUE(window->isEnabled());
  }
}

TEST_F(RotateWindowTest, TheCloseBoxCancels) {
  DialogWindow* rotate = open();
  ASSERT_NE(rotate, nullptr);
  rotate->close();
  EXPECT_EQ(form.dialog(DialogId::Rotate), nullptr);
  EXPECT_TRUE(window->isEnabled());
}

}  // namespace
}  // namespace plotvane
