// The filter dialogs on screen: the windows mirror their models, the panes
// paint what the core drew, and sliders, panes, swatches and buttons reach
// the core's handlers.
#include "qt/filter_windows.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "filters/colour_mask_dialog.h"
#include "filters/contrast_dialog.h"
#include "loading/picture_bytes.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"
#include "support/file_bytes.h"
#include "support/picture_form.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

using testing::codedPicture;

struct FilterWindowsTest : ::testing::Test {
  FilterWindowsTest() {
    testing::writeAll(dir.file("Plotinf.ini"), "Language=English\r\nUndoBufferSize=50\r\n");
    testing::writeAll(dir.file("chart.bmp"), testing::bmpFile(codedPicture(400, 300)));
    window.start(dir.file("chart.bmp"));
    window.show();
    QApplication::processEvents();
  }

  DialogWindow* open(MenuId command, DialogId id) {
    window.actionFor(command)->trigger();
    return window.dialogWindow(id);
  }

  // The colour a widget shows at a point.
  static std::uint32_t shown(QWidget* widget, QPoint at) {
    return widget->grab().toImage().pixel(at) & 0xFFFFFF;
  }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  Form1Window window{form, platform};
};

TEST_F(FilterWindowsTest, ContrastSlidersReachTheCoreAndThePanesShowItsImages) {
  DialogWindow* dialog = open(MenuId::mnuFilterContrast, DialogId::Contrast);
  ASSERT_NE(dialog, nullptr);
  auto* model = form.dialogAs<ContrastDialog>(DialogId::Contrast);
  ASSERT_NE(model, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(window.isEnabled());
  EXPECT_EQ(dialog->windowTitle(), "Brightness/Contrast");

  auto* slider = dialog->findChild<QSlider*>("Slider1");
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->tickInterval(), 10);
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_PageUp);
  EXPECT_EQ(model->Slider1.value, 5);
  auto* field = dialog->findChild<QLineEdit*>("txtCont");
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text(), "5");
  EXPECT_TRUE(field->isReadOnly());
  for (const PreviewPaneId id : {PreviewPaneId::Picture1, PreviewPaneId::Picture2}) {
    auto* pane = dialog->findChild<PreviewPaneWidget*>(model->pane(id).name.c_str());
    ASSERT_NE(pane, nullptr);
    for (const QPoint at : {QPoint(1, 1), QPoint(300, 310)})
      EXPECT_EQ(shown(pane, at), model->pane(id).image.at(at.x(), at.y())) << model->pane(id).name;
  }

  // A drag on the right pane pans both.
  auto* right = dialog->findChild<PreviewPaneWidget*>("Picture2");
  const float panX = model->preview.panX;
  QTest::mousePress(right, Qt::LeftButton, {}, QPoint(100, 100));
  QMouseEvent move(QEvent::MouseMove, QPointF(90, 100), right->mapToGlobal(QPointF(90, 100)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(right, &move);
  QTest::mouseRelease(right, Qt::LeftButton, {}, QPoint(90, 100));
  EXPECT_EQ(model->preview.panX, std::max(0.0f, panX + 10 / model->preview.previewZoom));

  auto* cancel = dialog->findChild<QPushButton*>("CancelButton");
  ASSERT_NE(cancel, nullptr);
  QTest::mouseClick(cancel, Qt::LeftButton);
  EXPECT_EQ(form.dialog(DialogId::Contrast), nullptr);
  EXPECT_EQ(window.dialogWindow(DialogId::Contrast), nullptr);
  EXPECT_TRUE(window.isEnabled());
}

TEST_F(FilterWindowsTest, ColourMaskPicksChoosesAndRunsOkOnEnter) {
  DialogWindow* dialog = open(MenuId::mnuFilterColormask, DialogId::ColourMask);
  ASSERT_NE(dialog, nullptr);
  auto* model = form.dialogAs<ColourMaskDialog>(DialogId::ColourMask);
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Color Mask");

  auto* left = dialog->findChild<PreviewPaneWidget*>("Picture1");
  auto* selected = dialog->findChild<SwatchWidget*>("Label3");
  auto* under = dialog->findChild<SwatchWidget*>("Label4");
  ASSERT_TRUE(left && selected && under);
  EXPECT_EQ(selected->colour(), 0u);
  EXPECT_EQ(under->colour(), 0xFFFFFFu);
  QMouseEvent move(QEvent::MouseMove, QPointF(40, 50), left->mapToGlobal(QPointF(40, 50)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(left, &move);
  EXPECT_EQ(under->colour(), model->Picture1.image.at(40, 50));
  QTest::mouseClick(left, Qt::RightButton, {}, QPoint(40, 50));
  EXPECT_EQ(model->Label3.colour, model->Picture1.image.at(40, 50));
  EXPECT_EQ(selected->colour(), model->Label3.colour);

  // The chooser opens on its last colour (black at first); cancelled, then
  // chosen.
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

  auto* remove = dialog->findChild<QRadioButton*>("optNot");
  ASSERT_NE(remove, nullptr);
  QTest::mouseClick(remove, Qt::LeftButton);
  EXPECT_EQ(model->optNot.value, 1);
  EXPECT_FALSE(dialog->findChild<QRadioButton*>("optAnd")->isChecked());

  auto* slider = dialog->findChild<QSlider*>("Slider1");
  ASSERT_NE(slider, nullptr);
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_Return);
  EXPECT_EQ(form.dialog(DialogId::ColourMask), nullptr);
  EXPECT_TRUE(window.isEnabled());
  EXPECT_TRUE(form.ui.menu(MenuId::mnuEdetUndo).enabled);
}

}  // namespace
}  // namespace plotvane
