// The working picture as one contiguous PixelArray, cut into square tiles for
// the undo history. Every tile has a handle; a snapshot is the list of handles
// at the moment it was taken, so taking one copies no pixels. A tile's pixels
// are saved into its handle only when the tile is about to change while a
// snapshot still refers to that handle, so an edit costs memory in proportion
// to the tiles it touches. Saved tiles of one colour keep that colour only,
// the others are LZ4-compressed when that saves a quarter, raw otherwise.
//
// Not thread-safe: one owner reads and writes the picture and its snapshots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/pixel_array.h"

namespace plotvane {

// 128 x 128 tiles (64 KiB): a snapshot of an 8000 x 6000 picture is 2 961
// handles, and an eraser dab of radius 10 touches one to four tiles. Against
// 64 x 64 the handle lists cost a quarter and a push a fifth, while eraser
// strokes on a chart still save under 3 MB for 50 of them.
inline constexpr int kDefaultTileSize = 128;
inline constexpr int kMaxTileSize = 1024;

struct TileHandle;

// Bytes of saved tile data alive, shared by a picture and every handle it made.
struct SavedByteCount {
  std::size_t bytes = 0;
};

// A picture state: cheap to copy, valid only with the TiledPicture that took it.
struct PictureSnapshot {
  int width = 0;
  int height = 0;
  std::shared_ptr<SavedByteCount> owner;           // null for an empty snapshot
  std::vector<std::shared_ptr<TileHandle>> tiles;  // row by row, x fastest

  bool empty() const { return owner == nullptr; }
  // Memory of the handle list itself.
  std::size_t listBytes() const { return tiles.capacity() * sizeof(tiles[0]); }
};

class TiledPicture {
 public:
  // tileSize outside 1 ... kMaxTileSize throws std::invalid_argument.
  explicit TiledPicture(int tileSize = kDefaultTileSize);
  explicit TiledPicture(PixelArray picture, int tileSize = kDefaultTileSize);
  ~TiledPicture();
  TiledPicture(const TiledPicture&) = delete;
  TiledPicture& operator=(const TiledPicture&) = delete;

  const PixelArray& pixels() const { return pixels_; }
  int width() const { return pixels_.width(); }
  int height() const { return pixels_.height(); }
  int tileSize() const { return tileSize_; }

  PictureSnapshot snapshot() const;

  // Brings back the picture of the snapshot, its size included. Returns true
  // when the size changed. A snapshot of another picture throws
  // std::invalid_argument and changes nothing; so does a failed allocation.
  bool restore(const PictureSnapshot& snapshot);

  // Takes a whole new picture (a load, a filter or rotation result). The old
  // pixels that snapshots still need are saved first, as one compact copy.
  void replace(PixelArray picture);

  // Lets edit change the pixels inside x0 <= x < x1, y0 <= y < y1 (clipped to
  // the picture) after saving the tiles there; edit gets the whole PixelArray
  // and must not write outside the region. Returns false, without calling
  // edit, when the clipped region is empty.
  template <typename Edit>
  bool editRegion(int x0, int y0, int x1, int y1, Edit&& edit) {
    if (!prepareWrite(x0, y0, x1, y1)) return false;
    edit(pixels_);
    return true;
  }

  // The pixels a snapshot of this picture stands for.
  PixelArray contents(const PictureSnapshot& snapshot) const;

  // Memory held for undo: saved tile data alive, whether held by snapshots or
  // by the picture's own handles (with a fixed cost per saved handle), and the
  // spare array.
  std::size_t undoBytes() const { return count_->bytes + spare_.size() * sizeof(std::uint32_t); }

  // Drops what no snapshot needs: saved copies that only the picture itself
  // still holds (a restored tile whose snapshots are all gone) and the spare.
  void releaseUnusedMemory();

 private:
  struct TileBox {
    int x0, y0, width, height;
  };
  int tilesAcross() const;
  int tileCount() const;
  TileBox box(int index) const;
  TileBox boxIn(const PixelArray& picture, int index) const;
  // Copies the tile's rows one after the other.
  static void copyOut(const PixelArray& picture, TileBox b, std::uint32_t* to);
  std::shared_ptr<TileHandle> freshHandle() const;
  bool saveCompact(int index, TileHandle& handle);
  void save(int index, TileHandle& handle);
  void load(int index, const TileHandle& handle);
  void exchange(int index, TileHandle& incoming, const std::shared_ptr<TileHandle>& outgoing);
  bool restoreResized(const PictureSnapshot& snapshot);
  bool prepareWrite(int x0, int y0, int x1, int y1);
  void checkOwner(const PictureSnapshot& snapshot) const;

  int tileSize_;
  std::shared_ptr<SavedByteCount> count_;
  PixelArray pixels_;
  std::vector<std::shared_ptr<TileHandle>> current_;
  std::vector<std::uint32_t> tile_;  // one tile, gathered for compression
  std::vector<char> packed_;         // compression output, worst case
  int failedPacks_ = 0;              // tiles in a row that did not pack
  // The picture before the last change of size, kept for its memory: undoing
  // or redoing that change reuses it instead of a new allocation, whose page
  // faults cost several times the copy itself.
  PixelArray spare_;
};

}  // namespace plotvane
