#include "picture/tiled_picture.h"

#include <lz4.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <unordered_map>
#include <utility>

namespace plotvane {

// A handle stands for one tile's pixels at one time. While it is the
// picture's current handle for its tile, those pixels are the live tile, and
// a saved copy is optional (a restored tile may keep one). Before the live
// tile changes while a snapshot refers to the handle, the pixels are saved in
// it and the tile gets a fresh handle; a handle that is not current always
// holds its saved copy.
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
  void keep(Form kept, std::unique_ptr<char[]> keptData, std::uint32_t bytes) {
    drop();
    data = std::move(keptData);
    dataBytes = bytes;
    form = kept;
    count->bytes += charge();
  }
  // Gives up the buffer of a raw copy; the handle must be current by now.
  std::unique_ptr<char[]> lend() {
    count->bytes -= charge();
    form = Form::live;
    dataBytes = 0;
    return std::move(data);
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

constexpr int kFailedRun = 16;
constexpr int kProbeEvery = 64;

int tilesAlong(int pixels, int tileSize) {
  return (pixels + tileSize - 1) / tileSize;
}

std::size_t tileBytes(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * sizeof(std::uint32_t);
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
  return boxIn(pixels_, index);
}

TiledPicture::TileBox TiledPicture::boxIn(const PixelArray& picture, int index) const {
  const int across = tilesAlong(picture.width(), tileSize_);
  const int x0 = (index % across) * tileSize_;
  const int y0 = (index / across) * tileSize_;
  return {x0, y0, std::min(tileSize_, picture.width() - x0),
          std::min(tileSize_, picture.height() - y0)};
}

std::shared_ptr<TileHandle> TiledPicture::freshHandle() const {
  return std::make_shared<TileHandle>(count_);
}

PictureSnapshot TiledPicture::snapshot() const {
  return {pixels_.width(), pixels_.height(), count_, current_};
}

// A tile of one colour keeps the colour only; chart pictures are mostly
// background, so this is the common case and the cheapest to save and load.
// Returns false, saving nothing, when the tile is to be kept raw.
bool TiledPicture::saveCompact(int index, TileHandle& handle) {
  const TileBox b = box(index);
  const std::uint32_t first = pixels_.row(b.y0)[b.x0];
  std::uint32_t differs = 0;
  for (int y = 0; y < b.height && differs == 0; ++y) {
    const std::uint32_t* row = pixels_.row(b.y0 + y) + b.x0;
    for (int x = 0; x < b.width; ++x) differs |= row[x] ^ first;
  }
  if (differs == 0) {
    handle.keep(TileHandle::Form::uniform, nullptr, 0);
    handle.colour = first;
    return true;
  }
  // Pictures whose tiles do not pack (photographs, scanner noise) would pay
  // for a failed attempt on every tile: after a run of failures only every
  // kProbeEvery-th tile is tried, until one packs again.
  if (failedPacks_ >= kFailedRun && failedPacks_ % kProbeEvery != 0) {
    ++failedPacks_;
    return false;
  }
  std::uint32_t* out = tile_.data();
  for (int y = 0; y < b.height; ++y, out += b.width)
    std::copy_n(pixels_.row(b.y0 + y) + b.x0, b.width, out);
  const int rawBytes = static_cast<int>(tileBytes(b.width, b.height));
  const int packedBytes =
      LZ4_compress_default(reinterpret_cast<const char*>(tile_.data()), packed_.data(), rawBytes,
                           static_cast<int>(packed_.size()));
  // Packing that saves under a quarter is not worth unpacking on every undo.
  if (packedBytes <= 0 || packedBytes > rawBytes / 4 * 3) {
    ++failedPacks_;
    return false;
  }
  failedPacks_ = 0;
  auto data = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(packedBytes));
  std::memcpy(data.get(), packed_.data(), static_cast<std::size_t>(packedBytes));
  handle.keep(TileHandle::Form::packed, std::move(data), static_cast<std::uint32_t>(packedBytes));
  return true;
}

void TiledPicture::save(int index, TileHandle& handle) {
  if (saveCompact(index, handle)) return;
  const TileBox b = box(index);
  const std::size_t bytes = tileBytes(b.width, b.height);
  auto data = std::make_unique_for_overwrite<char[]>(bytes);
  copyOut(pixels_, b, reinterpret_cast<std::uint32_t*>(data.get()));
  handle.keep(TileHandle::Form::raw, std::move(data), static_cast<std::uint32_t>(bytes));
}

void TiledPicture::copyOut(const PixelArray& picture, TileBox b, std::uint32_t* to) {
  for (int y = 0; y < b.height; ++y, to += b.width)
    std::copy_n(picture.row(b.y0 + y) + b.x0, b.width, to);
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
  // The checks and everything that can fail (saving the live tiles that
  // snapshots still need) come first, so a failure leaves the picture as it was.
  for (std::size_t i = 0; i < snapshot.tiles.size(); ++i) {
    const auto& handle = snapshot.tiles[i];
    if (handle == nullptr || (!handle->saved() && (resized || handle != current_[i])))
      throw std::invalid_argument("snapshot tile without its pixels");
  }
  if (resized) return restoreResized(snapshot);
  // A raw tile trades places with the live one instead (see exchange), so it
  // needs no new memory.
  for (int i = 0; i < tiles; ++i) {
    const TileHandle* incoming = snapshot.tiles[i].get();
    if (incoming == current_[i].get() || incoming->form == TileHandle::Form::raw) continue;
    if (!current_[i]->saved() && current_[i].use_count() > 1) save(i, *current_[i]);
  }
  for (int i = 0; i < tiles; ++i) {
    const auto& incoming = snapshot.tiles[i];
    if (incoming == current_[i]) continue;
    if (incoming->form == TileHandle::Form::raw)
      exchange(i, *incoming, current_[i]);
    else
      load(i, *incoming);
    current_[i] = incoming;
  }
  return false;
}

// Brings back a raw saved tile. When the live tile must be kept, the two
// swap places: the saved buffer receives the live pixels and passes to the
// outgoing handle. Either way the incoming handle, now current, keeps no copy.
void TiledPicture::exchange(int index, TileHandle& incoming,
                            const std::shared_ptr<TileHandle>& outgoing) {
  if (outgoing->saved() || outgoing.use_count() == 1) {
    load(index, incoming);
    incoming.drop();
    return;
  }
  const TileBox b = box(index);
  const std::uint32_t bytes = incoming.dataBytes;
  auto buffer = incoming.lend();
  std::uint32_t* to = reinterpret_cast<std::uint32_t*>(buffer.get());
  for (int y = 0; y < b.height; ++y, to += b.width) {
    std::uint32_t* row = pixels_.row(b.y0 + y) + b.x0;
    std::swap_ranges(row, row + b.width, to);
  }
  outgoing->keep(TileHandle::Form::raw, std::move(buffer), bytes);
}

// The picture changes size: every tile is written into another array (the
// spare when it fits), and every live tile that a snapshot needs is saved.
// Raw incoming tiles, current once loaded, lend their buffers to outgoing
// tiles that stay raw, so pictures that do not pack need no new memory.
bool TiledPicture::restoreResized(const PictureSnapshot& snapshot) {
  const bool spareFits = spare_.width() == snapshot.width && spare_.height() == snapshot.height;
  if (!spareFits) spare_ = PixelArray();
  PixelArray next = spareFits ? std::move(spare_) : PixelArray(snapshot.width, snapshot.height);
  auto handles = snapshot.tiles;
  std::unordered_map<std::uint32_t, std::vector<TileHandle*>> lenders;
  for (const auto& handle : handles)
    if (handle->form == TileHandle::Form::raw) lenders[handle->dataBytes].push_back(handle.get());
  std::vector<std::pair<int, TileHandle*>> loans;
  for (int i = 0, n = tileCount(); i < n; ++i) {
    TileHandle& outgoing = *current_[i];
    if (outgoing.saved() || current_[i].use_count() == 1 || saveCompact(i, outgoing)) continue;
    auto lender = lenders.find(static_cast<std::uint32_t>(tileBytes(box(i).width, box(i).height)));
    if (lender == lenders.end() || lender->second.empty()) {
      save(i, outgoing);
      continue;
    }
    loans.emplace_back(i, lender->second.back());
    lender->second.pop_back();
  }
  // Nothing below allocates.
  PixelArray old = std::exchange(pixels_, std::move(next));
  auto oldHandles = std::exchange(current_, std::move(handles));
  for (int i = 0, n = tileCount(); i < n; ++i) load(i, *current_[i]);
  for (const auto& [index, lender] : loans) {
    const std::uint32_t bytes = lender->dataBytes;
    auto buffer = lender->lend();
    copyOut(old, boxIn(old, index), reinterpret_cast<std::uint32_t*>(buffer.get()));
    oldHandles[static_cast<std::size_t>(index)]->keep(TileHandle::Form::raw, std::move(buffer),
                                                      bytes);
  }
  spare_ = std::move(old);
  return true;
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
  if (sameSize)
    pixels_ = std::move(picture);
  else
    spare_ = std::exchange(pixels_, std::move(picture));
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

void TiledPicture::releaseUnusedMemory() {
  for (auto& handle : current_)
    if (handle.use_count() == 1) handle->drop();
  spare_ = PixelArray();
}

}  // namespace plotvane
