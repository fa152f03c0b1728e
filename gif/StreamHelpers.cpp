#include "gif/StreamHelpers.h"

#include <algorithm>
#include <string>

#include "gif/GIFException.h"
#include "platform/graphics/GDIError.h"

namespace gif {

bool TryReadByte(base::TStream& Stream, uint8_t& Value) { return Stream.Read(&Value, 1) == 1; }

uint8_t ReadByte(base::TStream& Stream) {
  uint8_t Value = 0;
  if (!TryReadByte(Stream, Value)) RaiseGIFError("Premature end of data");
  return Value;
}

void ReadExactly(base::TStream& Stream, void* Buffer, int64_t Count) {
  if (Stream.Read(Buffer, Count) != Count) RaiseGIFError("Premature end of data");
}

void WriteSubBlockStrings(base::TStream& Stream, const base::TStrings& Lines) {
  for (int I = 0; I < Lines.Count(); ++I) {
    const std::string Line = Lines.Strings(I);
    for (size_t Start = 0; Start < Line.size(); Start += 255) {
      const auto Chunk = static_cast<uint8_t>(std::min<size_t>(255, Line.size() - Start));
      Stream.WriteBuffer(&Chunk, 1);
      Stream.WriteBuffer(Line.data() + Start, Chunk);
    }
  }
  const uint8_t Terminator = 0;
  Stream.WriteBuffer(&Terminator, 1);
}

bool HasSubBlockStrings(const base::TStrings& Lines) {
  for (int I = 0; I < Lines.Count(); ++I)
    if (!Lines.Strings(I).empty()) return true;
  return false;
}

void ReadSubBlockStrings(base::TStream& Stream, base::TStrings& Lines) {
  Lines.Clear();
  uint8_t Size = 0;
  char Block[255];
  while (TryReadByte(Stream, Size) && Size != 0) {
    ReadExactly(Stream, Block, Size);
    Lines.Add(std::string(Block, std::find(Block, Block + Size, '\0')));
  }
}

int32_t RowBytes(int32_t Width, int32_t BitsPerPixel, int32_t Alignment) {
  const int64_t Bits = static_cast<int64_t>(Width) * BitsPerPixel;
  return static_cast<int32_t>(((Bits + Alignment - 1) & ~static_cast<int64_t>(Alignment - 1)) / 8);
}

int32_t BitsForColors(int32_t Count) {
  if (Count <= 0) return 0;
  int32_t Bits = 1;
  while ((1 << Bits) < Count) ++Bits;
  return Bits;
}

gdi::HGDIOBJ CheckGDIHandleObject(gdi::HGDIOBJ Handle) { return graphics::GDICheck(Handle); }

}  // namespace gif
