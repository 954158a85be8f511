#include "picture/tiled_picture.h"

#include <lz4.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace plotvane {

// While a handle is the picture's current one for its tile, its content is the
// live tile and form is live. Once the tile may change under a snapshot, the
// old pixels are saved in it and the handle is never current again except by
// a restore, which writes the saved pixels back first.
struct TileHandle {
  enum class Form : std::uint8_t { live, uniform, packed, raw };

  explicit TileHandle(std::shared_ptr<SavedByteCount> count) : count(std::move(count)) {}
  ~TileHandle() { drop(); }
  TileHandle(const TileHandle&) = delete;
  TileHandle& operator=(const TileHandle&) = delete;

  bool saved() const { return form != Form::live; }
  std::size_t charge() const { return saved() ? kHandleCost + dataBytes : 0; }
  void drop() {
    count->bytes -= charge();
    form = Form::live;
    data.reset();
    dataBytes = 0;
  }

  // What a saved handle costs beyond its data: the handle and its shared block.
  static constexpr std::size_t kHandleCost = 64;

  std::shared_ptr<SavedByteCount> count;
  std::unique_ptr<char[]> data;
  std::uint32_t dataBytes = 0;
  std::uint32_t colour = 0;  // the whole tile, for Form::uniform
  Form form = Form::live;
};

namespace {

int checkedTileSize(int tileSize) {
  if (tileSize < 1 || tileSize > kMaxTileSize) throw std::invalid_argument("bad tile size");
  return tileSize;
}

int tilesAlong(int pixels, int tileSize) {
  return (pixels + tileSize - 1) / tileSize;
}

}  // namespace

TiledPicture::TiledPicture(int tileSize)
    : tileSize_(checkedTileSize(tileSize)),
      count_(std::make_shared<SavedByteCount>()),
      tile_(static_cast<std::size_t>(tileSize) * static_cast<std::size_t>(tileSize)),
      packed_(static_cast<std::size_t>(
          LZ4_compressBound(static_cast<int>(tile_.size() * sizeof(std::uint32_t))))) {}

TiledPicture::TiledPicture(PixelArray picture, int tileSize) : TiledPicture(tileSize) {
  replace(std::move(picture));
}

TiledPicture::~TiledPicture() = default;

int TiledPicture::tilesAcross() const {
  return tilesAlong(pixels_.width(), tileSize_);
}

int TiledPicture::tileCount() const {
  return tilesAcross() * tilesAlong(pixels_.height(), tileSize_);
}

TiledPicture::TileBox TiledPicture::box(int index) const {
  const int across = tilesAcross();
  const int x0 = (index % across) * tileSize_;
  const int y0 = (index / across) * tileSize_;
  return {x0, y0, std::min(tileSize_, pixels_.width() - x0),
          std::min(tileSize_, pixels_.height() - y0)};
}

std::shared_ptr<TileHandle> TiledPicture::freshHandle() const {
  return std::make_shared<TileHandle>(count_);
}

PictureSnapshot TiledPicture::snapshot() const {
  return {pixels_.width(), pixels_.height(), count_, current_};
}

// A tile of one colour keeps the colour only; chart pictures are mostly
// background, so this is the common case and the cheapest to save and load.
void TiledPicture::save(int index, TileHandle& handle) {
  const TileBox b = box(index);
  std::uint32_t* out = tile_.data();
  const std::uint32_t first = pixels_.row(b.y0)[b.x0];
  std::uint32_t differs = 0;
  for (int y = 0; y < b.height; ++y) {
    const std::uint32_t* row = pixels_.row(b.y0 + y) + b.x0;
    for (int x = 0; x < b.width; ++x) {
      out[x] = row[x];
      differs |= row[x] ^ first;
    }
    out += b.width;
  }
  if (differs == 0) {
    handle.form = TileHandle::Form::uniform;
    handle.colour = first;
  } else {
    const int rawBytes = b.width * b.height * static_cast<int>(sizeof(std::uint32_t));
    const int packedBytes =
        LZ4_compress_default(reinterpret_cast<const char*>(tile_.data()), packed_.data(), rawBytes,
                             static_cast<int>(packed_.size()));
    const bool pack = packedBytes > 0 && packedBytes < rawBytes;
    const int bytes = pack ? packedBytes : rawBytes;
    handle.data = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(bytes));
    std::memcpy(handle.data.get(), pack ? packed_.data() : static_cast<const void*>(tile_.data()),
                static_cast<std::size_t>(bytes));
    handle.dataBytes = static_cast<std::uint32_t>(bytes);
    handle.form = pack ? TileHandle::Form::packed : TileHandle::Form::raw;
  }
  count_->bytes += handle.charge();
}

// Writes a saved handle's pixels into its tile; allocates nothing.
void TiledPicture::load(int index, const TileHandle& handle) {
  const TileBox b = box(index);
  const std::size_t rowBytes = static_cast<std::size_t>(b.width) * sizeof(std::uint32_t);
  if (handle.form == TileHandle::Form::uniform) {
    for (int y = 0; y < b.height; ++y)
      std::fill_n(pixels_.row(b.y0 + y) + b.x0, b.width, handle.colour);
    return;
  }
  const char* source = handle.data.get();
  if (handle.form == TileHandle::Form::packed) {
    LZ4_decompress_safe(source, reinterpret_cast<char*>(tile_.data()),
                        static_cast<int>(handle.dataBytes), static_cast<int>(rowBytes) * b.height);
    source = reinterpret_cast<const char*>(tile_.data());
  }
  for (int y = 0; y < b.height; ++y)
    std::memcpy(pixels_.row(b.y0 + y) + b.x0, source + rowBytes * y, rowBytes);
}

void TiledPicture::checkOwner(const PictureSnapshot& snapshot) const {
  const std::size_t tiles = static_cast<std::size_t>(tilesAlong(snapshot.width, tileSize_)) *
                            static_cast<std::size_t>(tilesAlong(snapshot.height, tileSize_));
  if (snapshot.owner != count_ || snapshot.width < 0 || snapshot.height < 0 ||
      snapshot.tiles.size() != tiles)
    throw std::invalid_argument("snapshot of another picture");
}

bool TiledPicture::restore(const PictureSnapshot& snapshot) {
  checkOwner(snapshot);
  const bool resized = snapshot.width != width() || snapshot.height != height();
  const int tiles = tileCount();
  // Everything that can fail comes first, so a failure leaves the picture as
  // it was: saving the tiles that snapshots still need, and a new array.
  for (std::size_t i = 0; i < snapshot.tiles.size(); ++i) {
    const auto& handle = snapshot.tiles[i];
    if (handle == nullptr || (!handle->saved() && (resized || handle != current_[i])))
      throw std::invalid_argument("snapshot tile without its pixels");
  }
  for (int i = 0; i < tiles; ++i) {
    TileHandle& handle = *current_[i];
    const bool replaced = resized || snapshot.tiles[i] != current_[i];
    if (replaced && !handle.saved() && current_[i].use_count() > 1) save(i, handle);
  }
  if (resized) {
    PixelArray next(snapshot.width, snapshot.height);
    auto handles = snapshot.tiles;
    pixels_ = std::move(next);
    current_ = std::move(handles);
    for (int i = 0, n = tileCount(); i < n; ++i) load(i, *current_[i]);
    return true;
  }
  for (int i = 0; i < tiles; ++i) {
    if (snapshot.tiles[i] == current_[i]) continue;
    load(i, *snapshot.tiles[i]);
    current_[i] = snapshot.tiles[i];
  }
  return false;
}

void TiledPicture::replace(PixelArray picture) {
  const int tiles = tileCount();
  for (int i = 0; i < tiles; ++i)
    if (!current_[i]->saved() && current_[i].use_count() > 1) save(i, *current_[i]);
  std::vector<std::shared_ptr<TileHandle>> handles(
      static_cast<std::size_t>(tilesAlong(picture.width(), tileSize_)) *
      static_cast<std::size_t>(tilesAlong(picture.height(), tileSize_)));
  const bool sameSize = picture.width() == width() && picture.height() == height();
  for (std::size_t i = 0; i < handles.size(); ++i)
    handles[i] = sameSize && current_[i].use_count() == 1 ? current_[i] : freshHandle();
  for (auto& handle : handles) handle->drop();
  pixels_ = std::move(picture);
  current_ = std::move(handles);
}

bool TiledPicture::prepareWrite(int x0, int y0, int x1, int y1) {
  x0 = std::max(x0, 0), y0 = std::max(y0, 0);
  x1 = std::min(x1, width()), y1 = std::min(y1, height());
  if (x0 >= x1 || y0 >= y1) return false;
  const int across = tilesAcross();
  const int tx0 = x0 / tileSize_, tx1 = (x1 - 1) / tileSize_;
  const int ty0 = y0 / tileSize_, ty1 = (y1 - 1) / tileSize_;
  // Allocate every new handle before the first one is swapped in.
  std::vector<std::shared_ptr<TileHandle>> fresh;
  for (int ty = ty0; ty <= ty1; ++ty)
    for (int tx = tx0; tx <= tx1; ++tx) {
      const int i = ty * across + tx;
      if (current_[i].use_count() == 1) continue;
      if (!current_[i]->saved()) save(i, *current_[i]);
      fresh.push_back(freshHandle());
    }
  auto next = fresh.begin();
  for (int ty = ty0; ty <= ty1; ++ty)
    for (int tx = tx0; tx <= tx1; ++tx) {
      auto& handle = current_[ty * across + tx];
      if (handle.use_count() == 1)
        handle->drop();  // a saved copy nobody else holds goes stale now
      else
        handle = *next++;
    }
  return true;
}

PixelArray TiledPicture::contents(const PictureSnapshot& snapshot) const {
  checkOwner(snapshot);
  const bool sameSize = snapshot.width == width() && snapshot.height == height();
  // Saved tiles are written through a scratch picture of the snapshot's size.
  TiledPicture scratch(tileSize_);
  scratch.pixels_ = PixelArray(snapshot.width, snapshot.height);
  for (std::size_t i = 0; i < snapshot.tiles.size(); ++i) {
    const auto& handle = snapshot.tiles[i];
    if (handle != nullptr && handle->saved()) {
      scratch.load(static_cast<int>(i), *handle);
    } else if (sameSize && handle == current_[i]) {
      const TileBox b = box(static_cast<int>(i));
      for (int y = b.y0; y < b.y0 + b.height; ++y)
        std::copy_n(pixels_.row(y) + b.x0, b.width, scratch.pixels_.row(y) + b.x0);
    } else {
      throw std::invalid_argument("snapshot tile without its pixels");
    }
  }
  return std::move(scratch.pixels_);
}

void TiledPicture::releaseUnsharedCopies() {
  for (auto& handle : current_)
    if (handle.use_count() == 1) handle->drop();
}

}  // namespace plotvane
