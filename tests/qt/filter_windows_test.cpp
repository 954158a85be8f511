// The filter dialogs on screen: the windows mirror their models, the panes paint what the core
// drew, and sliders, panes, swatches and buttons reach the core's handlers.
#include "qt/filter_windows.h"

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "filters/colour_mask_dialog.h"
#include "filters/contrast_dialog.h"
#include "support/main_window.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::sendMouse;
using testing::shownColour;

struct FilterWindows : ::testing::Test {
  DialogWindow* open(MenuId command, DialogId id) {
    m.window.actionFor(command)->trigger();
    return m.window.dialogWindow(id);
  }

  testing::MainWindow m{testing::codedPicture(400, 300)};
};

// A drag on the right pane pans both.
TEST_F(FilterWindows, ContrastSlidersReachTheCoreAndThePanesShowItsImages) {
  DialogWindow* dialog = open(MenuId::mnuFilterContrast, DialogId::Contrast);
  auto* model = m.form.dialogAs<ContrastDialog>(DialogId::Contrast);
  ASSERT_TRUE(dialog && model);
  EXPECT_FALSE(m.window.isEnabled());
  auto* slider = dialog->findChild<QSlider*>("Slider1");
  auto* field = dialog->findChild<QLineEdit*>("txtCont");
  ASSERT_TRUE(slider && field);
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_PageUp);
  EXPECT_EQ(model->Slider1.value, 5);
  EXPECT_EQ(field->text(), "5");
  for (const PreviewPaneId id : {PreviewPaneId::Picture1, PreviewPaneId::Picture2}) {
    auto* pane = dialog->findChild<PreviewPaneWidget*>(model->pane(id).name.c_str());
    ASSERT_NE(pane, nullptr);
    for (const QPoint at : {QPoint(1, 1), QPoint(300, 310)})
      EXPECT_EQ(shownColour(pane, at), model->pane(id).image.at(at.x(), at.y()))
          << model->pane(id).name;
  }
  auto* right = dialog->findChild<PreviewPaneWidget*>("Picture2");
  const float panX = model->preview.panX;
  QTest::mousePress(right, Qt::LeftButton, {}, QPoint(100, 100));
  sendMouse(right, QEvent::MouseMove, QPoint(90, 100), Qt::NoButton, Qt::LeftButton);
  QTest::mouseRelease(right, Qt::LeftButton, {}, QPoint(90, 100));
  EXPECT_EQ(model->preview.panX, std::max(0.0f, panX + 10 / model->preview.previewZoom));
  QTest::mouseClick(dialog->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
  EXPECT_EQ(m.form.dialog(DialogId::Contrast), nullptr);
  EXPECT_EQ(m.window.dialogWindow(DialogId::Contrast), nullptr);
  EXPECT_TRUE(m.window.isEnabled());
}

// The chooser opens on its last colour (black at first); cancelled, then chosen.
TEST_F(FilterWindows, ColourMaskPicksChoosesAndRunsOkOnEnter) {
  DialogWindow* dialog = open(MenuId::mnuFilterColormask, DialogId::ColourMask);
  auto* model = m.form.dialogAs<ColourMaskDialog>(DialogId::ColourMask);
  ASSERT_TRUE(dialog && model);
  auto* left = dialog->findChild<PreviewPaneWidget*>("Picture1");
  auto* selected = dialog->findChild<SwatchWidget*>("Label3");
  auto* under = dialog->findChild<SwatchWidget*>("Label4");
  ASSERT_TRUE(left && selected && under);
  EXPECT_EQ(selected->colour(), 0u);
  EXPECT_EQ(under->colour(), 0xFFFFFFu);
  sendMouse(left, QEvent::MouseMove, QPoint(40, 50));
  EXPECT_EQ(under->colour(), model->Picture1.image.at(40, 50));
  QTest::mouseClick(left, Qt::RightButton, {}, QPoint(40, 50));
  EXPECT_EQ(model->Label3.colour, model->Picture1.image.at(40, 50));
  EXPECT_EQ(selected->colour(), model->Label3.colour);
  for (const bool accept : {false, true}) {
    QTimer::singleShot(0, [accept] {
      auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(chooser, nullptr);
      EXPECT_EQ(chooser->currentColor().rgb() & 0xFFFFFF, 0u);
      chooser->setCurrentColor(QColor(0, 0, 255));
      accept ? chooser->accept() : chooser->reject();
    });
    QTest::mouseClick(selected, Qt::LeftButton);
  }
  EXPECT_EQ(model->Label3.colour, 0x0000FFu);
  QTest::mouseClick(dialog->findChild<QRadioButton*>("optNot"), Qt::LeftButton);
  EXPECT_EQ(model->optNot.value, 1);
  EXPECT_FALSE(dialog->findChild<QRadioButton*>("optAnd")->isChecked());
  auto* slider = dialog->findChild<QSlider*>("Slider1");
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_Return);
  EXPECT_EQ(m.form.dialog(DialogId::ColourMask), nullptr);
  EXPECT_TRUE(m.window.isEnabled());
  EXPECT_TRUE(m.form.ui.menu(MenuId::mnuEdetUndo).enabled);
}

}  // namespace
}  // namespace plotvane
