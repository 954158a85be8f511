// The pointer on the real view reaches the core: a drag moves the reference
// rectangle with one undo step, an eraser stroke paints the picture, and the
// window's Undo brings the picture back.
#include <gtest/gtest.h>

#include <QAction>
#include <QMouseEvent>
#include <QTest>
#include <fstream>
#include <memory>

#include "loading/load_picture.h"
#include "picture/bitmap_file.h"
#include "qt/form1_window.h"
#include "qt/picture_view.h"
#include "qt/qt_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

constexpr std::uint32_t kInk = 0x204080;

class PictureMouseTest : public ::testing::Test {
 protected:
  PictureMouseTest() {
    std::ofstream(dir.file("Plotinf.ini"), std::ios::binary)
        << "Language=English\r\nUndoBufferSize=50\r\n";
    testing::writeAll(dir.file("ink.bmp"), bitmapFileBytes(PixelArray(300, 200, kInk)));
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->show();
    window->handle([&] { LoadPictureFile(form, dir.file("ink.bmp")); });
    view = window->pictureView();
  }

  void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(view, &event);
  }
  void drag(QPoint from, QPoint to) {
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int step = 1; step <= 10; ++step)
      send(QEvent::MouseMove, from + (to - from) * step / 10, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  std::unique_ptr<Form1Window> window;
  PictureView* view = nullptr;
};

TEST_F(PictureMouseTest, ADragOnTheViewMovesTheRectangleWithOneUndoStep) {
  ASSERT_EQ(form.app.zoom, 1);
  ASSERT_EQ(form.state.Picture2.rect().lineXS, 0);
  QAction* undo = window->actionFor(MenuId::mnuEdetUndo);
  EXPECT_FALSE(undo->isEnabled());
  drag(QPoint(1, 100), QPoint(50, 100));
  EXPECT_EQ(form.state.Picture2.rect().lineXS, 50);
  EXPECT_EQ(form.state.Picture2.rect().lineXE, 300);
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_EQ(form.app.undoRing->undoCount(), 1);
  undo->trigger();
  EXPECT_EQ(form.state.Picture2.rect().lineXS, 0);
}

TEST_F(PictureMouseTest, AnEraserStrokeIsUndoneByTheWindowsUndo) {
  window->actionFor(MenuId::mnuErase)->trigger();
  EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);  // until the pointer moves
  drag(QPoint(40, 40), QPoint(120, 60));
  EXPECT_EQ(view->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(form.state.Picture2.pixels().at(80, 50), 0xFFFFFFu);
  window->actionFor(MenuId::mnuEdetUndo)->trigger();
  EXPECT_EQ(form.state.Picture2.pixels(), PixelArray(300, 200, kInk));
  EXPECT_TRUE(window->actionFor(MenuId::mnuEdetRedo)->isEnabled());
}

}  // namespace
}  // namespace plotvane
