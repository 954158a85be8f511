// The program's own decoder of run-length encoded bitmaps (8 and 4 bits a
// pixel). Their codes may skip pixels (end of line, end of bitmap, a move),
// which other decoders leave as whatever their memory held; here a skipped
// pixel is white, the background, as transparent parts of other pictures
// are.
#pragma once

#include <cstdint>
#include <span>

#include "base/pixel_array.h"

namespace plotvane {

// Decodes the whole file (headers included) into the picture. An index past
// the file's colour table is black; a run past the end of its row is cut
// there. False, with the picture untouched, when the headers are not those
// of such a bitmap, the colour table is cut off, or the codes end before
// the last row without an end-of-bitmap code. Throws std::bad_alloc when
// the picture does not fit in memory; the caller checks its size first.
bool decodeRunLengthBitmap(std::span<const std::uint8_t> file, PixelArray& picture);

}  // namespace plotvane
