// Files built to attack the picture reader, the window and the command line:
// palettes and run-length codes that leave pixels undefined, files that are
// not regular files or shrink while they are read, small files naming huge
// pictures, and names that are not UTF-8.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QDropEvent>
#include <QImageReader>
#include <QImageWriter>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <filesystem>
#include <future>
#include <set>
#include <sstream>
#include <string>

#include "cli/cli.h"
#include "loading/load_picture.h"
#include "loading/picture_bytes.h"
#include "picture/gif_writer.h"
#include "qt/cli_platform.h"
#include "qt/file_pane_widgets.h"
#include "qt/form1_window.h"
#include "qt/qt_picture_reader.h"
#include "qt/qt_platform.h"
#include "shell/form1_events.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

using namespace plotvane::testing;
using namespace std::string_literals;

const PictureLimits limits = PictureLimits::forThisMachine();
constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0;

// Decodes the bytes twice, with fresh heap memory filled with 0 and then
// with 1 (indexes of the first two colours of a table, which differ in the
// tests' pictures): a pixel that depends on memory the file did not describe
// comes out differently.
void expectEveryPixelDefined(const std::string& bytes, const std::string& name) {
  PixelArray first, second;
  mallopt(M_PERTURB, 0xFF);
  const bool readFirst = readPictureBytes(QByteArray::fromStdString(bytes), limits, first);
  mallopt(M_PERTURB, 0xFE);
  const bool readSecond = readPictureBytes(QByteArray::fromStdString(bytes), limits, second);
  mallopt(M_PERTURB, 0);
  EXPECT_TRUE(readFirst) << name;
  EXPECT_EQ(readFirst, readSecond) << name;
  EXPECT_TRUE(first == second) << name << ": pixels differ from one read to the next";
}

// A 64 x 64 run-length bitmap whose codes are given per file row (bottom up).
std::string runLengthBitmap(int bitCount, const std::string& codes, std::uint32_t entries) {
  return runLengthFile(bitCount, 64, 64, codes, entries);
}

TEST(HostileFiles, PaletteIndexesPastTheColourTableAreBlack) {
  const std::uint32_t grey = 0x010101;
  // clang-format off
  const struct { const char* name; std::string bytes; std::uint32_t firstTwo, rest; } cases[] = {
      {.name = "8 bits, index 200 of 2",
       .bytes = bmpHeaders(64, 64, 8, 0, 0, 2) + std::string(2, '\1') + std::string(4094, '\xC8'),
       .firstTwo = grey, .rest = kBlack},
      {.name = "4 bits, index 15 of 2",
       .bytes = bmpHeaders(64, 64, 4, 0, 0, 2) + "\x11"s + std::string(2047, '\xFF'),
       .firstTwo = grey, .rest = kBlack},
      {.name = "1 bit, index 1 of 1",
       .bytes = bmpHeaders(64, 64, 1, 0, 0, 1) + std::string(512, '\xFF'),
       .firstTwo = kBlack, .rest = kBlack}};
  // clang-format on
  for (const auto& c : cases) {
    // The last file row is the picture's first: its first two pixels and the rest.
    PixelArray picture;
    ASSERT_TRUE(readPictureBytes(QByteArray::fromStdString(c.bytes), limits, picture)) << c.name;
    std::set<std::uint32_t> rest;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        if (y < 63 || x >= 2) rest.insert(picture.at(x, y));
    EXPECT_EQ(picture.at(0, 63), c.firstTwo) << c.name;
    EXPECT_EQ(picture.at(1, 63), c.firstTwo) << c.name;
    EXPECT_EQ(rest, std::set<std::uint32_t>{c.rest}) << c.name;
    expectEveryPixelDefined(c.bytes, c.name);
  }
}

TEST(HostileFiles, PixelsTheRunLengthCodesSkipAreWhite) {
  const std::uint32_t one = 0x010101, two = 0x020202;
  // Bottom row: two pixels of entry 1 and the end of the line; next row: a
  // move 3 right and 1 up (to the third row), one pixel of entry 2, and the
  // end of the bitmap. Index 200 of a 3-entry table is black.
  const std::string codes8 = "\2\1\0\0\0\2\3\1\1\2\1\xC8\0\1"s;
  const std::string codes4 = "\2\x11\0\0\0\2\3\1\1\x22\1\xF0\0\1"s;
  for (const auto& [name, bytes] : {std::pair("8 bits", runLengthBitmap(8, codes8, 3)),
                                    std::pair("4 bits", runLengthBitmap(4, codes4, 3))}) {
    SCOPED_TRACE(name);
    PixelArray picture;
    ASSERT_TRUE(readPictureBytes(QByteArray::fromStdString(bytes), limits, picture));
    PixelArray expected(64, 64, kWhite);
    expected.set(0, 63, one);
    expected.set(1, 63, one);
    expected.set(3, 61, two);
    expected.set(4, 61, kBlack);
    EXPECT_EQ(rowsOf(picture), rowsOf(expected));
    expectEveryPixelDefined(bytes, name);
  }
  // Codes that stop before the last row without an end of the bitmap: cut off.
  PixelArray picture;
  std::string failure;
  EXPECT_FALSE(readPictureBytes(QByteArray::fromStdString(runLengthBitmap(8, "\2\1\0\0"s, 2)),
                                limits, picture, &failure));
  EXPECT_EQ(failure, "damaged picture data");
}

TEST(HostileFiles, EveryPixelOfEveryKindOfPictureIsDefined) {
  PixelArray chart(64, 48, kWhite);
  for (int x = 0; x < 64; ++x) chart.set(x, x * 3 / 4, kBlack);
  const QImage image(reinterpret_cast<const uchar*>(chart.data()), 64, 48, 64 * 4,
                     QImage::Format_RGB32);
  const auto encoded = [&](const char* format, QImage::Format pixels) {
    QBuffer buffer;
    QImageWriter(&buffer, format).write(image.convertToFormat(pixels));
    return buffer.data().toStdString();
  };
  GifWriter animation(100, 80);
  animation.addFrame(chart);  // smaller than the screen
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {{"bmp", bmpFile(chart)},
               {"jpeg", encoded("jpeg", QImage::Format_RGB32)},
               {"png, 16 bits", encoded("png", QImage::Format_RGBA64)},
               {"png, palette", encoded("png", QImage::Format_Indexed8)},
               {"tiff", encoded("tiff", QImage::Format_ARGB32)},
               {"gif", encodeGif(chart)},
               {"gif, frame inside a larger screen", animation.finish()}};
  for (const auto& [name, bytes] : files)
    if (!bytes.empty()) expectEveryPixelDefined(bytes, name);  // empty: no plugin for it
}

// Runs the call on another thread and fails when it has not returned in a few
// seconds; unblock then ends a call that waits.
template <typename Call, typename Unblock>
auto withinSeconds(Call call, Unblock unblock) {
  auto result = std::async(std::launch::async, call);
  if (result.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    ADD_FAILURE() << "the call blocks";
    unblock();
  }
  return result.get();
}

TEST(HostileFiles, APipeADeviceOrAFolderIsRefusedWithoutWaiting) {
  TempWorkingDir dir;
  const std::string pipe = dir.file("chart.bmp");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // clang-format off
  const struct { std::string path, failure; } cases[] = {
      {.path = pipe, .failure = "Not a regular file"},
      {.path = "/dev/zero", .failure = "Not a regular file"},
      {.path = dir.path(), .failure = "Is a directory"}};
  // clang-format on
  for (const auto& c : cases) {
    PixelArray picture;
    std::string failure;
    const bool read =
        withinSeconds([&] { return readPictureFile(c.path, limits, picture, &failure); },
                      [&] { close(open(pipe.c_str(), O_WRONLY)); });
    EXPECT_FALSE(read) << c.path;
    EXPECT_EQ(failure, c.failure) << c.path;
  }
}

TEST(HostileFiles, AFileThatShrinksWhileItIsReadIsRefusedNotFatal) {
  TempWorkingDir dir;
  const std::string path = dir.file("chart.bmp");
  const std::string bmp = bmpFile(PixelArray(300, 200, kWhite));
  writeAll(path, bmp);
  // Another program cuts the file once it is open: the read gets what is
  // left, shorter than its header says.
  std::string bytes;
  ASSERT_EQ(posix_files::readFile(path, bmp.size(), bytes, true,
                                  [&] { ASSERT_EQ(truncate(path.c_str(), 4096), 0); }),
            0);
  EXPECT_EQ(bytes.size(), 4096u);
  PixelArray picture;
  std::string failure;
  EXPECT_FALSE(readPictureBytes(QByteArray::fromStdString(bytes), limits, picture, &failure));
  EXPECT_EQ(failure, "cut off or damaged");
}

// A GIF of 35 bytes: a screen of this size and one pixel in it.
std::string gifScreen(int width, int height) {
  std::string out = "GIF89a";
  putBytes(out, static_cast<std::uint32_t>(width | height << 16), 4);
  out += "\0\0\0\x2C\0\0\0\0\1\0\1\0\x80\0\0\0\xFF\xFF\xFF\2\2\x44\1\0\x3B"s;
  return out;
}

TEST(HostileFiles, SmallFilesNamingHugePicturesAreRefusedBeforeDecoding) {
  // clang-format off
  const struct { const char* name; std::string bytes; std::string failure; } cases[] = {
      {.name = "gif", .bytes = gifScreen(8000, 6000),
       .failure = "too little data for a picture of 8000 \u00D7 6000"},
      {.name = "run-length bitmap of 1 KB",
       .bytes = bmpHeaders(8000, 8000, 8, 1, 1024, 2) + std::string(1022, '\0') + "\0\1"s,
       .failure = "too little data for a picture of 8000 \u00D7 8000"},
      {.name = "png without data",
       .bytes = "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x0F\xA0\0\0\x0F\xA0\x10\6\0\0\0"s,
       .failure = "too little data for a picture of 4000 \u00D7 4000"},
      {.name = "png of 30000 x 30000",
       .bytes = "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x75\x30\0\0\x75\x30\x08\0\0\0\0"s,
       .failure = "picture too large for memory: 30000 \u00D7 30000"}};
  // clang-format on
  for (const auto& c : cases) {
    PixelArray picture;
    std::string failure;
    EXPECT_FALSE(readPictureBytes(QByteArray::fromStdString(c.bytes), limits, picture, &failure))
        << c.name;
    EXPECT_EQ(failure, c.failure) << c.name;
  }
  // A first frame filling a large screen is read.
  GifWriter large(2100, 2100);
  large.addFrame(PixelArray(2100, 2100, kWhite));
  PixelArray picture;
  EXPECT_TRUE(readPictureBytes(QByteArray::fromStdString(large.finish()), limits, picture));
}

// A 4000 x 4000 grey TIFF whose 40 strips of 100 rows all name the same
// deflated bytes.
std::string tiffWithSharedStrips() {
  const QByteArray deflated = qCompress(QByteArray(4000 * 100, '\x80'), 9).mid(4);
  const std::uint32_t strips = 40, tableStart = 8 + 2 + 9 * 12 + 4;
  const std::uint32_t dataStart = tableStart + 8 * strips;
  std::string out = "II*\0"s;
  putBytes(out, 8, 4);
  putBytes(out, 9, 2);
  // Tag, type (3 short, 4 long), count, value.
  const std::uint32_t entries[][4] = {
      {256, 4, 1, 4000}, {257, 4, 1, 4000}, {258, 3, 1, 8},
      {259, 3, 1, 8},    {262, 3, 1, 1},    {273, 4, strips, tableStart},
      {277, 3, 1, 1},    {278, 4, 1, 100},  {279, 4, strips, tableStart + 4 * strips}};
  for (const auto& [tag, type, count, value] : entries)
    for (std::uint32_t v : {tag | type << 16, count, value}) putBytes(out, v, 4);
  putBytes(out, 0, 4);
  for (std::uint32_t i = 0; i < strips; ++i) putBytes(out, dataStart, 4);
  for (std::uint32_t i = 0; i < strips; ++i)
    putBytes(out, static_cast<std::uint32_t>(deflated.size()), 4);
  return out + deflated.toStdString();
}

TEST(HostileFiles, ATiffWhoseStripsShareTheirBytesIsRefused) {
  if (!QImageReader::supportedImageFormats().contains("tiff")) GTEST_SKIP() << "no TIFF plugin";
  PixelArray picture;
  std::string failure;
  EXPECT_FALSE(readPictureBytes(QByteArray::fromStdString(tiffWithSharedStrips()), limits, picture,
                                &failure));
  EXPECT_EQ(failure, "too little data for a picture of 4000 \u00D7 4000");
}

std::string pngOf(int side, QImage::Format format) {
  QImage image(side, side, format);
  image.fill(Qt::white);
  QBuffer buffer;
  QImageWriter(&buffer, "png").write(image);
  return buffer.data().toStdString();
}

TEST(HostileFiles, TheBoundCountsTheDecodersBufferAndThePictureHeld) {
  // Room for 8 MB of pixels, 10 MB for a load: a 1000 x 1000 picture of
  // 8-bit channels decodes straight into its 4 MB; at 16 bits a channel the
  // decoder's 8 MB come on top; and a picture of 7 MB shown meanwhile leaves
  // too little room for either.
  const PictureLimits small{.maxSide = 32766, .maxBytes = 8 << 20, .maxLoadBytes = 10 << 20};
  PictureLimits holding = small;
  holding.heldBytes = 7 << 20;
  const std::string eight = pngOf(1000, QImage::Format_RGB32);
  const std::string sixteen = pngOf(1000, QImage::Format_RGBA64);
  // clang-format off
  const struct {
    const char* name; const std::string& bytes; PictureLimits limits; bool read;
  } cases[] = {
      {.name = "8 bits", .bytes = eight, .limits = small, .read = true},
      {.name = "16 bits", .bytes = sixteen, .limits = small, .read = false},
      {.name = "8 bits beside a picture held", .bytes = eight, .limits = holding, .read = false}};
  // clang-format on
  for (const auto& c : cases) {
    PixelArray picture;
    std::string failure;
    EXPECT_EQ(readPictureBytes(QByteArray::fromStdString(c.bytes), c.limits, picture, &failure),
              c.read)
        << c.name;
    if (!c.read) {
      EXPECT_EQ(failure, "picture too large for memory: 1000 \u00D7 1000") << c.name;
    }
  }
}

// Names as an old archive or another system wrote them: Latin-1 and Shift-JIS.
const std::string kLatin1Name = "caf\xE9.bmp";
const std::string kShiftJisName = "\x83\x4F\x83\x89\x83\x74.bmp";

class ForeignNames : public ::testing::Test {
 protected:
  ForeignNames() {
    writeAll(dir.file("Plotinf.ini"), "Language=English\r\nUndoBufferSize=50\r\n");
    for (const std::string& name : {kLatin1Name, kShiftJisName})
      writeAll(dir.file(name), bmpFile(PixelArray(30, 20, kWhite)));
  }

  TempWorkingDir dir;
};

TEST_F(ForeignNames, TheReaderTheCommandLineAndAClickInTheFilePaneOpenThem) {
  for (const std::string& name : {kLatin1Name, kShiftJisName}) {
    SCOPED_TRACE(::testing::PrintToString(name));
    QtPlatform window;
    PixelArray picture;
    std::string failure;
    EXPECT_TRUE(window.readPicture(dir.file(name), limits, picture, failure)) << failure;

    CliPlatform cli;
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"digitize", name, "--type", "points"}, cli, out, err), kCliOk) << err.str();

    QtPlatform pane;
    Form1 form(pane);
    formLoad(form, false);
    const auto& files = form.ui.File1.files;
    const auto found = std::find(files.begin(), files.end(), name);
    ASSERT_NE(found, files.end());
    file1Click(form, static_cast<int>(found - files.begin()) + 1);
    EXPECT_EQ(form.state.picturePath, dir.file(name));
    EXPECT_EQ(form.state.Picture2.width(), 30);
  }
}

TEST_F(ForeignNames, ADropOnTheWindowOpensThem) {
  QtPlatform platform;
  Form1 form(platform);
  Form1Window window(form, platform);
  window.start(std::nullopt);
  window.show();
  // A failed load shows a message box: closed so that the test goes on.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  closer.start(100);
  for (const std::string& name : {kLatin1Name, kShiftJisName}) {
    SCOPED_TRACE(::testing::PrintToString(name));
    QMimeData data;
    data.setUrls({QUrl::fromEncoded(
        "file://" + QByteArray::fromStdString(dir.file(name)).toPercentEncoding("/"))});
    // Qt delivers a drop to the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    EXPECT_EQ(form.state.picturePath, dir.file(name));
  }
}

TEST(HostileFiles, TheBusyPointerAndTheStatusLineShowWhileAPictureLoads) {
  TempWorkingDir dir;
  writeAll(dir.file("Plotinf.ini"), "Language=English\r\nUndoBufferSize=50\r\n");
  QtPlatform platform;
  Form1 form(platform);
  Form1Window window(form, platform);
  window.start(std::nullopt);
  window.show();
  form.setPanel(StatusPanel::PictureSize, "Loading : chart.bmp");
  platform.showBusy(true);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  auto* panel = window.findChild<QLabel*>("StatusPanel4");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->text(), "Loading : chart.bmp");
  platform.showBusy(false);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(HostileFiles, TheCommandLineSaysWhichFileAndWhy) {
  TempWorkingDir dir;
  ASSERT_EQ(mkfifo(dir.file("pipe.bmp").c_str(), 0600), 0);
  writeAll(dir.file("wide.bmp"), bmpHeaders(40000, 10, 8, 0, 0, 256) + std::string(400000, '\0'));
  writeAll(dir.file("huge.png"),
           "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x75\x30\0\0\x75\x30\x08\0\0\0\0"s);
  writeAll(dir.file("locked.bmp"), bmpFile(PixelArray(3, 3, kWhite)));
  chmod(dir.file("locked.bmp").c_str(), 0);
  // clang-format off
  const struct { const char* file; std::string reason; } cases[] = {
      {.file = "missing.bmp", .reason = "No such file or directory"},
      {.file = ".", .reason = "Is a directory"},
      {.file = "pipe.bmp", .reason = "Not a regular file"},
      {.file = "locked.bmp", .reason = "Permission denied"},
      {.file = "wide.bmp", .reason = "picture too large: 40000 \u00D7 10 (at most 32766 pixels a side)"},
      {.file = "huge.png", .reason = "picture too large for memory: 30000 \u00D7 30000"}};
  // clang-format on
  for (const auto& c : cases) {
    // Root reads any file whatever its permissions.
    if (c.reason == "Permission denied" && geteuid() == 0) continue;
    CliPlatform platform;
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"digitize", c.file, "--type", "line"}, platform, out, err), kCliFailed);
    EXPECT_EQ(err.str(), "Tthis type of file is not supported.\nplotvane-cli: "s + c.file + ": " +
                             c.reason + "\n");
  }
}

}  // namespace
}  // namespace plotvane
