// The picture path as the program loads a file once it is read: the file's
// own structure checked, then Qt's decoding (or the program's own for
// run-length bitmaps), into the pixel array, within the program's limits
// scaled down so that the largest load they accept stays well inside the
// fuzzer's memory limit under the sanitizers.
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "qt/qt_picture_reader.h"

namespace {

const plotvane::PictureLimits& limits() {
  static const plotvane::PictureLimits scaled = [] {
    plotvane::PictureLimits limits;
    limits.maxBytes = std::uint64_t{256} << 20;
    limits.maxLoadBytes = std::uint64_t{512} << 20;
    return limits;
  }();
  return scaled;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Qt finds its image plugins through the application object, as
  // plotvane-cli has it.
  static QCoreApplication application(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  plotvane::PixelArray picture;
  std::string failure;
  const bool read = plotvane::readPictureBytes(bytes, limits(), picture, &failure);
  // What the reader promises: a picture within the limits, or a reason.
  if (read ? !limits().accepts(picture.width(), picture.height()) : failure.empty()) std::abort();
  // Every pixel is read once, so that one the decoder left undefined is at
  // least touched where a memory checker would see it.
  std::uint32_t all = 0;
  for (std::size_t i = 0; i < picture.size(); ++i) all |= picture.data()[i];
  if (read && (all >> 24) != 0) std::abort();  // the top byte is always clear
  return 0;
}
