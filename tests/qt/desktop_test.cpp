// The window on a Linux desktop: drops on text fields, Qt's own texts in
// Japanese, the interface font, the first size, copying the list, and the
// further picture formats.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QImage>
#include <QImageWriter>
#include <QLineEdit>
#include <QMimeData>
#include <QTableView>
#include <QTest>
#include <QUrl>
#include <QWindow>
#include <fstream>
#include <memory>

#include "data/data_list.h"
#include "data/list_copy.h"
#include "qt/desktop_setup.h"
#include "qt/form1_window.h"
#include "qt/picture_view.h"
#include "qt/qt_picture_reader.h"
#include "qt/qt_platform.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

class DesktopTest : public ::testing::Test {
 protected:
  DesktopTest() {
    std::ofstream(dir.file("Plotinf.ini"), std::ios::binary)
        << "Language=English\r\nUndoBufferSize=50\r\n";
    window = std::make_unique<Form1Window>(form, platform);
    window->start(std::nullopt);
    window->show();
  }

  // A picture file in the test's folder.
  QString pictureFile(const char* name) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QString path = QString::fromStdString(dir.file(name));
    EXPECT_TRUE(image.save(path, "PNG"));
    return path;
  }

  QWidget* field(const Control& control) { return window->widgetFor(control); }

  // Points with these X values, shown on the Data tab.
  QTableView* addPoints(std::initializer_list<float> values) {
    window->handle([&] {
      for (float x : values) EXPECT_EQ(appendDataPoint(form, x, x * 10, x, x), AddResult::Added);
    });
    window->tabBar()->setCurrentIndex(2);
    auto* list = qobject_cast<QTableView*>(field(form.ui.ListView1));
    // Rows arriving together are shown a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() == int(values.size()); }));
    return list;
  }

  testing::TempWorkingDir dir;
  QtPlatform platform;
  Form1 form{platform};
  std::unique_ptr<Form1Window> window;
};

// Drags the file over the widget and drops it there, as the window system
// hands a drop to the window: the window picks the widget that takes it.
void dropFile(QWidget* target, const QString& file) {
  QWidget* top = target->window();
  QWindow* handle = top->windowHandle();
  ASSERT_NE(handle, nullptr);
  const QPoint at = target->mapTo(top, target->rect().center());
  // File managers offer the address as text too, which a text field takes.
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(file)});
  data.setText(QUrl::fromLocalFile(file).toString());
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(handle, &enter);
  QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(handle, &move);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(handle, &drop);
}

TEST_F(DesktopTest, ADropOnATextFieldOpensThePictureAndLeavesTheFieldAlone) {
  Form1Controls& ui = form.ui;
  auto* filter = qobject_cast<QComboBox*>(field(ui.cmbFRange));
  ASSERT_NE(filter, nullptr);
  // clang-format off
  const struct { const char* name; QWidget* widget; const Control* model; } cases[] = {
      {.name = "X Max Scale", .widget = field(ui.txtMaxLabelX), .model = &ui.txtMaxLabelX},
      {.name = "division", .widget = field(ui.txtSmpX), .model = &ui.txtSmpX},
      {.name = "Y-filtering", .widget = filter->lineEdit(), .model = &ui.cmbFRange},
      {.name = "on-picture X min", .widget = field(ui.txtLXS), .model = &ui.txtLXS}};
  // clang-format on
  int opened = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // The on-picture fields show once a picture is open.
    if (!c.widget->isVisible()) dropFile(window->pictureView(), pictureFile("first.png"));
    ASSERT_TRUE(c.widget->isVisible());
    const std::string before = c.model->text;
    const std::string picture =
        pictureFile(("drop" + std::to_string(++opened) + ".png").c_str()).toStdString();
    dropFile(c.widget, QString::fromStdString(picture));
    EXPECT_EQ(form.state.picturePath, picture);
    EXPECT_EQ(c.model->text, before);
  }
}

TEST_F(DesktopTest, QtsOwnTextsFollowTheLanguage) {
  const auto lookIn = [] { return QCoreApplication::translate("QFileDialog", "Look in:"); };
  const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
  EXPECT_FALSE(window->qtTranslation().installed());
  EXPECT_EQ(lookIn(), "Look in:");

  window->actionFor(MenuId::mnuLangJP)->trigger();
  EXPECT_TRUE(window->qtTranslation().installed());
  EXPECT_NE(lookIn(), "Look in:");
  EXPECT_NE(cancel(), "Cancel");

  window->actionFor(MenuId::mnuLangENG)->trigger();
  EXPECT_FALSE(window->qtTranslation().installed());
  EXPECT_EQ(lookIn(), "Look in:");
  EXPECT_EQ(cancel(), "Cancel");
}

TEST_F(DesktopTest, UnlabelledControlsAreAnnouncedInTheLanguage) {
  QWidget* lxs = field(form.ui.txtLXS);
  EXPECT_EQ(lxs->accessibleName(), "X Axis Min Scale");
  EXPECT_EQ(window->pictureView()->accessibleName(), "Picture");
  window->actionFor(MenuId::mnuLangJP)->trigger();
  EXPECT_EQ(lxs->accessibleName(), "X軸 最小値の目盛");
  EXPECT_EQ(field(form.ui.Text1)->accessibleName(), "ポインタのX値");
}

TEST_F(DesktopTest, CtrlCCopiesTheSelectedRowOrTheWholeList) {
  auto* list = addPoints({1.0f, 2.0f, 3.0f});
  list->setFocus(Qt::MouseFocusReason);  // as the pointer gives it
  QClipboard* clipboard = QGuiApplication::clipboard();

  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard->text().toStdString(), listCopyText(form.ui.ListView1, 3));
  EXPECT_EQ(clipboard->text().count('\n'), 4);  // the header and three rows

  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                    list->visualRect(list->model()->index(1, 2)).center());
  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard->text().toStdString(),
            "Data:X\tData:Y\tSource:X\tSource:Y\r\n2\t20\t2\t2\r\n");
}

TEST_F(DesktopTest, DoubleClickingAColumnBorderFitsTheColumnToItsText) {
  auto* list = addPoints({1.23456789e20f});
  QHeaderView* header = list->horizontalHeader();
  EXPECT_EQ(header->sectionResizeMode(1), QHeaderView::Interactive);
  const int narrow = list->columnWidth(1);
  const QString text = list->model()->index(0, 1).data().toString();
  ASSERT_GT(list->fontMetrics().horizontalAdvance(text), narrow);

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

TEST(StartSize, TheDesignSizeOrTheScreenWhicheverIsSmaller) {
  // clang-format off
  const struct { QSize available, expected; } cases[] = {
      {.available = QSize(1920, 1080), .expected = QSize(1200, 800)},
      {.available = QSize(1066, 642), .expected = QSize(1066, 642)},  // 1600 x 1000 at 1.5
      {.available = QSize(1000, 900), .expected = QSize(1000, 800)},
      {.available = QSize(1600, 700), .expected = QSize(1200, 700)},
      {.available = QSize(), .expected = QSize(1200, 800)}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(startSize(Form1Window::kDesignSize, c.available), c.expected)
        << c.available.width() << "x" << c.available.height();
}

TEST_F(DesktopTest, TheWindowStartsInsideTheScreen) {
  const QSize available = window->screen()->availableGeometry().size();
  EXPECT_EQ(window->size(), startSize(Form1Window::kDesignSize, available));
}

std::string encoded(const QImage& image, const char* format, int quality = -1) {
  QBuffer buffer;
  QImageWriter writer(&buffer, format);
  writer.setQuality(quality);
  EXPECT_TRUE(writer.write(image)) << format;
  return buffer.data().toStdString();
}

TEST(MoreFormats, TiffAndWebpAreReadAndCutFilesRefused) {
  QImage image(37, 21, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 6, y * 11, 200));
  const PictureLimits limits = PictureLimits::forThisMachine();
  // clang-format off
  const struct { const char* name; std::string bytes; } cases[] = {
      {.name = "TIFF", .bytes = encoded(image, "tiff")},
      {.name = "WebP, lossless", .bytes = encoded(image, "webp", 100)}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PixelArray picture;
    ASSERT_TRUE(readPictureBytes(QByteArray::fromStdString(c.bytes), limits, picture));
    ASSERT_EQ(picture.width(), 37);
    ASSERT_EQ(picture.height(), 21);
    EXPECT_EQ(picture.at(36, 20), image.pixel(36, 20) & 0xFFFFFFu);
    EXPECT_EQ(picture.at(5, 7), image.pixel(5, 7) & 0xFFFFFFu);
    const std::string cut = c.bytes.substr(0, c.bytes.size() - 1);
    EXPECT_FALSE(readPictureBytes(QByteArray::fromStdString(cut), limits, picture));
  }
}

}  // namespace
}  // namespace plotvane
