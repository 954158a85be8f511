#include "qt/qt_picture_reader.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>
#include <span>

#include "loading/picture_file_check.h"

namespace plotvane {
namespace {

// The JPEG decoder reports damaged data only as a warning message and
// returns the picture with grey where the data was missing. This watch
// notes such a report while a read runs on the same thread. Reads may run
// on several threads at once (the command line's jobs): the handler is
// installed while any watch is open and each thread keeps its own flag.
class DamageWatch {
 public:
  DamageWatch() {
    damaged_ = false;
    const std::lock_guard lock(mutex_);
    if (watches_++ == 0) previous_ = qInstallMessageHandler(&DamageWatch::handle);
  }
  ~DamageWatch() {
    const std::lock_guard lock(mutex_);
    if (--watches_ == 0) qInstallMessageHandler(previous_.load());
  }
  DamageWatch(const DamageWatch&) = delete;
  DamageWatch& operator=(const DamageWatch&) = delete;
  bool damaged() const { return damaged_; }

 private:
  static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("Corrupt JPEG data")) ||
        message.contains(QLatin1String("Premature end of JPEG file"))) {
      damaged_ = true;
      return;
    }
    if (const QtMessageHandler previous = previous_.load()) previous(type, context, message);
  }
  static inline thread_local bool damaged_ = false;
  static inline std::mutex mutex_;
  static inline int watches_ = 0;
  static inline std::atomic<QtMessageHandler> previous_ = nullptr;
};

// Over white: non-premultiplied colour c with alpha a gives
// (c * a + 255 * (255 - a)) / 255, rounded.
inline std::uint32_t overWhite(std::uint32_t argb) {
  const std::uint32_t a = argb >> 24;
  if (a == 255) return argb & kRgbMask;
  const std::uint32_t white = 255 * (255 - a) + 127;
  const std::uint32_t r = (redOf(argb) * a + white) / 255;
  const std::uint32_t g = (greenOf(argb) * a + white) / 255;
  const std::uint32_t b = (blueOf(argb) * a + white) / 255;
  return (r << 16) | (g << 8) | b;
}

// Premultiplied colour: c + (255 - a).
inline std::uint32_t premultipliedOverWhite(std::uint32_t argb) {
  const std::uint32_t rest = 255 - (argb >> 24);
  return ((redOf(argb) + rest) << 16) | ((greenOf(argb) + rest) << 8) | (blueOf(argb) + rest);
}

// The decoder wrote into the picture's own storage: finish it in place.
void finishInPlace(QImage::Format format, PixelArray& picture) {
  std::uint32_t* pixel = picture.data();
  const std::size_t count = picture.size();
  switch (format) {
    case QImage::Format_ARGB32:
      for (std::size_t i = 0; i < count; ++i) pixel[i] = overWhite(pixel[i]);
      break;
    case QImage::Format_ARGB32_Premultiplied:
      for (std::size_t i = 0; i < count; ++i) pixel[i] = premultipliedOverWhite(pixel[i]);
      break;
    default:
      picture.clearTopBytes();
      break;
  }
}

// Any other format (palette, grey, 16 bits per channel, a turned picture):
// painted over white into the picture's storage.
void paintOverWhite(const QImage& image, PixelArray& picture) {
  QImage target(reinterpret_cast<uchar*>(picture.data()), picture.width(), picture.height(),
                qsizetype(picture.width()) * 4, QImage::Format_RGB32);
  target.fill(Qt::white);
  {
    QPainter painter(&target);
    painter.drawImage(0, 0, image);
  }
  picture.clearTopBytes();
}

bool accepts(const PictureLimits& limits, QSize size) {
  return limits.accepts(size.width(), size.height());
}

}  // namespace

bool readPictureBytes(const QByteArray& bytes, const PictureLimits& limits, PixelArray& result) {
  const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size()));
  const PictureFileInfo info = inspectPictureFile(view);
  if (!info.complete) return false;
  if ((info.width > 0 || info.height > 0) && !limits.accepts(info.width, info.height)) return false;

  // Qt refuses pictures over 128 MB by default; the limits decide instead,
  // with room for decoders that work at 16 bits per channel.
  // The limit is one value for the whole process: set under a lock and only
  // when it changes, so that reads on other threads never see it written.
  const std::uint64_t megabytes = std::max<std::uint64_t>(256, (limits.maxBytes * 2) >> 20);
  const int allocationLimit = static_cast<int>(std::min<std::uint64_t>(megabytes, 1 << 30));
  {
    static std::mutex limitMutex;
    const std::lock_guard lock(limitMutex);
    if (QImageReader::allocationLimit() != allocationLimit)
      QImageReader::setAllocationLimit(allocationLimit);
  }

  QByteArray data = bytes;
  QBuffer buffer(&data);
  if (!buffer.open(QIODevice::ReadOnly)) return false;
  QImageReader reader(&buffer);
  reader.setAutoTransform(true);
  if (!reader.canRead()) return false;
  const QSize declared = reader.size();
  if (declared.isValid() && !accepts(limits, declared)) return false;

  try {
    // Decoded straight into the picture's storage where the decoder writes
    // 32-bit pixels of the declared size.
    PixelArray picture;
    QImage image;
    const QImage::Format format = reader.imageFormat();
    const bool direct =
        declared.isValid() && (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                               format == QImage::Format_ARGB32_Premultiplied);
    if (direct) {
      picture = PixelArray(declared.width(), declared.height());
      image = QImage(reinterpret_cast<uchar*>(picture.data()), declared.width(), declared.height(),
                     qsizetype(declared.width()) * 4, format);
    }
    {
      DamageWatch watch;
      if (!reader.read(&image) || watch.damaged()) return false;
    }
    if (image.isNull() || !accepts(limits, image.size())) return false;
    if (direct && image.constBits() == reinterpret_cast<const uchar*>(picture.data()) &&
        image.size() == declared) {
      finishInPlace(image.format(), picture);
    } else {
      picture = PixelArray();
      picture = PixelArray(image.width(), image.height());
      paintOverWhite(image, picture);
    }
    result = std::move(picture);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool readPictureFile(const QString& path, const PictureLimits& limits, PixelArray& picture) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const qint64 size = file.size();
  if (size <= 0) return false;
  // The file's pages are read in place; only the decoded picture takes
  // memory of its own.
  if (uchar* mapped = file.map(0, size)) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size);
    return readPictureBytes(bytes, limits, picture);
  }
  return readPictureBytes(file.readAll(), limits, picture);
}

}  // namespace plotvane
