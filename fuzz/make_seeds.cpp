// Writes the seed corpora of the fuzz targets: one folder per target under
// the folder given, a few small inputs of each kind the target reads.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "picture/bitmap_file.h"
#include "picture/gif_writer.h"

namespace {

using namespace plotvane;
using namespace std::string_literals;

void write(const std::filesystem::path& folder, const std::string& name, const std::string& bytes) {
  std::filesystem::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary) << bytes;
}

void put(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> 8 * i));
}

// Headers of a bitmap with a grey colour table of this many entries.
std::string bitmapHeaders(int width, int height, int bitCount, int compression,
                          std::uint32_t dataBytes, std::uint32_t entries) {
  std::string out = "BM";
  for (std::uint32_t value : {0u, 0u, 54 + 4 * entries, 40u, std::uint32_t(width),
                              std::uint32_t(height), 1 | std::uint32_t(bitCount) << 16,
                              std::uint32_t(compression), dataBytes, 2835u, 2835u, entries, 0u})
    put(out, value, 4);
  for (std::uint32_t i = 0; i < entries; ++i) put(out, i * 0x404040, 4);
  return out;
}

// A small chart: a falling line over a light area.
PixelArray chart() {
  PixelArray picture(24, 16, 0xFFFFFF);
  for (int x = 0; x < 24; ++x) {
    picture.set(x, 2 + x / 2, 0);
    for (int y = 3 + x / 2; y < 16; ++y) picture.set(x, y, 0xDCDCDC);
  }
  return picture;
}

std::string encoded(const PixelArray& picture, const char* format, QImage::Format pixels) {
  const QImage image(reinterpret_cast<const uchar*>(picture.data()), picture.width(),
                     picture.height(), picture.width() * 4, QImage::Format_RGB32);
  QBuffer buffer;
  QImageWriter(&buffer, format).write(image.convertToFormat(pixels));
  return buffer.data().toStdString();
}

void pictures(const std::filesystem::path& folder) {
  const PixelArray picture = chart();
  write(folder, "24-bit.bmp", bitmapFileBytes(picture));
  std::string indexed = bitmapHeaders(8, 2, 8, 0, 0, 4);
  indexed += "\0\1\2\3\3\2\1\0\1\1\1\1\2\2\2\2"s;
  write(folder, "8-bit.bmp", indexed);
  write(folder, "4-bit.bmp", bitmapHeaders(8, 1, 4, 0, 0, 3) + "\x01\x23\x45\xF0"s);
  // Runs, an end of line, a move, absolute indexes and the end of the bitmap.
  const std::string rle8 = "\3\1\0\0\0\2\1\1\0\3\1\2\3\0\2\2\0\1"s;
  write(folder, "rle8.bmp", bitmapHeaders(6, 4, 8, 1, std::uint32_t(rle8.size()), 4) + rle8);
  const std::string rle4 = "\3\x12\0\0\0\2\1\1\0\5\x12\x31\x20\0\0\1"s;
  write(folder, "rle4.bmp", bitmapHeaders(6, 4, 4, 2, std::uint32_t(rle4.size()), 4) + rle4);
  write(folder, "chart.gif", encodeGif(picture));
  GifWriter animation(30, 20);
  animation.addFrame(picture);
  animation.addFrame(PixelArray(24, 16, 0));
  write(folder, "animation.gif", animation.finish());
  write(folder, "chart.png", encoded(picture, "png", QImage::Format_RGB32));
  write(folder, "16-bit.png", encoded(picture, "png", QImage::Format_RGBA64));
  write(folder, "palette.png", encoded(picture, "png", QImage::Format_Indexed8));
  write(folder, "grey.png", encoded(picture, "png", QImage::Format_Grayscale8));
  write(folder, "chart.jpg", encoded(picture, "jpeg", QImage::Format_RGB32));
  write(folder, "grey.jpg", encoded(picture, "jpeg", QImage::Format_Grayscale8));
  // TIFF when its plugin is installed.
  const std::string tiff = encoded(picture, "tiff", QImage::Format_RGB32);
  if (!tiff.empty()) write(folder, "chart.tif", tiff);
}

void texts(const std::filesystem::path& folder, const std::vector<std::string>& inputs) {
  for (std::size_t i = 0; i < inputs.size(); ++i) write(folder, std::to_string(i), inputs[i]);
}

// An argument list as the command-line target reads it.
std::string arguments(const std::vector<std::string>& list) {
  std::string out;
  for (const std::string& argument : list) out += argument + '\0';
  if (!out.empty()) out.pop_back();
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc < 2) return 2;
  const std::filesystem::path root = argv[1];
  pictures(root / "picture");
  texts(root / "settings", {"Language=Japanese\r\nUndoBufferSize=10\r\n",
                            "[Settings]\r\nLanguage=English\r\nUndoBufferSize=2.5",
                            "UndoBufferSize=99=12\nLanguage= Japanese\n", "UndoBufferSize=&H10\r\n",
                            "UndoBufferSize=40000\r\nLanguage=Deutsch"});
  texts(root / "number", {"12.5", "-1.5E+07", " 1 2 3 ", "&H7FFF", "&O17", "1D3", "0.000001",
                          "1E400", "-32768.5", "3.4028235E+38", ".5e-3x", "abc"});
  texts(root / "cli",
        {arguments({"digitize", "chart.bmp", "--type", "line"}),
         arguments({"digitize", "chart.bmp", "--type", "points", "--rect", "2,3,40,30", "--x",
                    "-1,2.5", "--y", "100,300", "--delimiter", "tab"}),
         arguments({"digitize", "chart.bmp", "--type", "surface", "--pitch", "0.05", "--filter",
                    "3", "--output", "out.csv"}),
         arguments({"digitize", "chart.bmp", "--type", "line", "--division", "7", "--delimiter",
                    "space"}),
         arguments({"--help"}), arguments({"--version"}), arguments({"digitize", "missing.bmp"})});
  texts(root / "data_text",
        {"\1"s + arguments({"1.5", "2", "10", "20", "3", "4", "30", "40"}),
         "\2"s + arguments({"-1E-05", "0", "0", "0"}), "\3"s + arguments({"", "a b", "", ""})});
  return 0;
}
