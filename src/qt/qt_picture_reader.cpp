#include "qt/qt_picture_reader.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <limits>
#include <mutex>
#include <new>
#include <optional>
#include <span>

#include "base/number_text.h"
#include "loading/picture_file_check.h"
#include "loading/run_length_bitmap.h"

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

// Qt draws an indexed picture through its colour table without looking
// whether an index is in it, reading the memory past the table. Every index
// past the file's table is made black, as Qt's own conversions do.
void completeColourTable(QImage& image) {
  int entries = 0;
  switch (image.format()) {
    case QImage::Format_Indexed8:
      entries = 256;
      break;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
      entries = 2;
      break;
    default:
      return;
  }
  QList<QRgb> table = image.colorTable();
  if (table.size() >= entries) return;
  table.resize(entries, qRgb(0, 0, 0));
  image.setColorTable(table);
}

std::string sizeText(long long width, long long height) {
  return doubleText(static_cast<double>(width)) + " \u00D7 " +
         doubleText(static_cast<double>(height));
}

// Why a picture of this size is refused, or nothing.
std::optional<std::string> sizeRefusal(const PictureLimits& limits, long long width,
                                       long long height) {
  if (limits.accepts(width, height)) return std::nullopt;
  if (width > limits.maxSide || height > limits.maxSide)
    return "picture too large: " + sizeText(width, height) + " (at most " +
           doubleText(limits.maxSide) + " pixels a side)";
  if (width <= 0 || height <= 0) return "picture without pixels: " + sizeText(width, height);
  return "picture too large for memory: " + sizeText(width, height);
}

bool refuse(std::string* failure, std::string why) {
  if (failure) *failure = std::move(why);
  return false;
}

// Bytes of a buffer of this many pixels of this format; a format the decoder
// does not tell counts 8 bytes a pixel, the most any decoder here uses.
std::uint64_t bufferBytes(QImage::Format format, std::uint64_t pixels) {
  const int bits =
      format == QImage::Format_Invalid ? 64 : QImage::toPixelFormat(format).bitsPerPixel();
  return (pixels * static_cast<std::uint64_t>(bits) + 7) / 8;
}

// The pixel format the decoder says it will give. Qt's JPEG decoder leaves
// it unset for some files and returns whatever its memory held: the value is
// taken as a plain number, and one that names no format is Invalid.
__attribute__((no_sanitize("undefined"))) QImage::Format announcedFormat(QImageReader& reader) {
  const int value = static_cast<int>(reader.imageFormat());
  return value > QImage::Format_Invalid && value < QImage::NImageFormats
             ? static_cast<QImage::Format>(value)
             : QImage::Format_Invalid;
}

// The best a TIFF's compressions do, in decoded bytes a byte of the file.
constexpr std::uint64_t kTiffBytesPerByte = 8192;
constexpr std::uint64_t kTiffSlack = std::uint64_t{1} << 20;

bool isDirectFormat(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

bool readPictureBytes(const QByteArray& bytes, const PictureLimits& limits, PixelArray& result,
                      std::string* failure) {
  const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size()));
  if (view.empty()) return refuse(failure, "empty file");
  const PictureFileInfo info = inspectPictureFile(view);
  if (!info.complete) return refuse(failure, "cut off or damaged");
  const bool sizeKnown = info.width > 0 || info.height > 0;
  if (sizeKnown) {
    if (auto why = sizeRefusal(limits, info.width, info.height)) return refuse(failure, *why);
    if (!info.plausible)
      return refuse(failure,
                    "too little data for a picture of " + sizeText(info.width, info.height));
  }
  const auto fileBytes = static_cast<std::uint64_t>(bytes.size());
  const auto pixelsOf = [](QSize size) {
    return static_cast<std::uint64_t>(size.width()) * static_cast<std::uint64_t>(size.height());
  };

  try {
    if (info.runLength) {
      const std::uint64_t pixels =
          static_cast<std::uint64_t>(info.width) * static_cast<std::uint64_t>(info.height);
      if (!limits.fitsLoad(fileBytes + 4 * pixels))
        return refuse(failure,
                      "picture too large for memory: " + sizeText(info.width, info.height));
      PixelArray picture;
      if (!decodeRunLengthBitmap(view, picture)) return refuse(failure, "damaged picture data");
      result = std::move(picture);
      return true;
    }

    QByteArray data = bytes;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return refuse(failure, "cannot be read");
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    if (!reader.canRead()) return refuse(failure, "not a picture in a format the reader knows");
    const QSize declared = reader.size();
    if (declared.isValid()) {
      if (auto why = sizeRefusal(limits, declared.width(), declared.height()))
        return refuse(failure, *why);
    }

    // What the load holds at once: the file, the decoder's buffer (for a
    // GIF the whole screen, 32 bits a pixel) and, unless the decoder writes
    // 32-bit pixels of the declared size straight into the picture, the
    // finished picture as well.
    const QImage::Format format = announcedFormat(reader);
    const bool direct = declared.isValid() && isDirectFormat(format);
    const QSize size =
        sizeKnown ? QSize(static_cast<int>(info.width), static_cast<int>(info.height)) : declared;
    const QImage::Format decoderFormat =
        info.format == PictureFormat::Gif ? QImage::Format_ARGB32 : format;
    if (size.isValid()) {
      const std::uint64_t decoderBytes = bufferBytes(decoderFormat, pixelsOf(size));
      const std::uint64_t held = fileBytes + decoderBytes + (direct ? 0 : 4 * pixelsOf(size));
      if (!limits.fitsLoad(held))
        return refuse(failure,
                      "picture too large for memory: " + sizeText(size.width(), size.height()));
      // A TIFF's strips may all name the same few bytes: its decoded bytes
      // are held to what its compressions give at best (LZW about 2730 to
      // 1, a fax row in a bit), with room for small pictures.
      if (reader.format() == "tiff" && decoderBytes > kTiffBytesPerByte * fileBytes + kTiffSlack)
        return refuse(failure,
                      "too little data for a picture of " + sizeText(size.width(), size.height()));
    }
    // Qt's own bound on a decoder's buffer, in MiB: what the load has room
    // for, so a size learnt only while decoding is bounded too.
    const std::uint64_t room = limits.loadRoom() > fileBytes ? limits.loadRoom() - fileBytes : 0;
    // The limit is one value for the whole process: set under a lock and
    // only when it changes, so that reads on other threads never see it
    // written.
    const int allocationLimit = static_cast<int>(std::clamp<std::uint64_t>(room >> 20, 1, 1 << 30));
    {
      static std::mutex limitMutex;
      const std::lock_guard lock(limitMutex);
      if (QImageReader::allocationLimit() != allocationLimit)
        QImageReader::setAllocationLimit(allocationLimit);
    }

    // Decoded straight into the picture's storage where the decoder writes
    // 32-bit pixels of the declared size.
    PixelArray picture;
    QImage image;
    if (direct) {
      picture = PixelArray(declared.width(), declared.height());
      image = QImage(reinterpret_cast<uchar*>(picture.data()), declared.width(), declared.height(),
                     qsizetype(declared.width()) * 4, format);
    }
    {
      DamageWatch watch;
      if (!reader.read(&image) || watch.damaged()) return refuse(failure, "damaged picture data");
    }
    if (image.isNull()) return refuse(failure, "damaged picture data");
    if (auto why = sizeRefusal(limits, image.width(), image.height())) return refuse(failure, *why);
    if (direct && image.constBits() == reinterpret_cast<const uchar*>(picture.data()) &&
        image.size() == declared) {
      finishInPlace(image.format(), picture);
    } else {
      picture = PixelArray();
      const std::uint64_t held =
          fileBytes + static_cast<std::uint64_t>(image.sizeInBytes()) + 4 * pixelsOf(image.size());
      if (!limits.fitsLoad(held))
        return refuse(failure,
                      "picture too large for memory: " + sizeText(image.width(), image.height()));
      completeColourTable(image);
      picture = PixelArray(image.width(), image.height());
      paintOverWhite(image, picture);
    }
    result = std::move(picture);
    return true;
  } catch (const std::bad_alloc&) {
    return refuse(failure, "out of memory");
  }
}

bool readPictureFile(const std::string& path, const PictureLimits& limits, PixelArray& picture,
                     std::string* failure) {
  // Read into memory rather than mapped: a mapped file that shrinks while
  // it is read (cut by another program, a removed stick, a failing share)
  // kills the process on the next page it touches.
  std::string bytes;
  const std::uint64_t room = limits.loadRoom();
  const auto maxBytes = static_cast<std::size_t>(
      std::min<std::uint64_t>(room, std::numeric_limits<std::size_t>::max()));
  if (const FileError error = posix_files::readFile(path, maxBytes, bytes, true)) {
    return refuse(failure,
                  error == EFBIG ? "file too large for memory" : Platform::errorText(error));
  }
  const QByteArray view =
      QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return readPictureBytes(view, limits, picture, failure);
}

}  // namespace plotvane
