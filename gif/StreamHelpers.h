// Byte-level helpers shared by every reader and writer of the library.
#pragma once

#include <cstdint>

#include "platform/base/Stream.h"
#include "platform/base/Strings.h"
#include "platform/gdi/Object.h"

namespace gif {

// One byte; at the end of the data it raises "Premature end of data" like ReadExactly.
uint8_t ReadByte(base::TStream& Stream);
// Reads one byte into Value; false at the end of the data.
bool TryReadByte(base::TStream& Stream, uint8_t& Value);
// Count bytes or GIFException "Premature end of data".
void ReadExactly(base::TStream& Stream, void* Buffer, int64_t Count);

// Lines become data sub-blocks of at most 255 bytes, then a 0 terminator; an empty
// line writes nothing, and lines follow one another with no separator.
void WriteSubBlockStrings(base::TStream& Stream, const base::TStrings& Lines);
// Whether WriteSubBlockStrings writes a sub-block for Lines: a line that is not empty.
bool HasSubBlockStrings(const base::TStrings& Lines);
// Each sub-block becomes one line, cut at its first zero byte; the data ending where
// a size byte should be ends the list quietly.
void ReadSubBlockStrings(base::TStream& Stream, base::TStrings& Lines);

// Bytes of one row of Width pixels, rows padded to Alignment bits (a power of two).
int32_t RowBytes(int32_t Width, int32_t BitsPerPixel, int32_t Alignment);
// 0 for no colours, else the smallest n >= 1 with 2^n >= Count.
int32_t BitsForColors(int32_t Count);

// A zero handle raises EOutOfResources with the last error's text, or "Out of
// system resources"; any other handle is returned unchanged.
gdi::HGDIOBJ CheckGDIHandleObject(gdi::HGDIOBJ Handle);
template <class Handle>
Handle CheckGDIHandle(Handle Value) {
  return static_cast<Handle>(CheckGDIHandleObject(Value));
}

}  // namespace gif
