#include "gif/GIFEncoder.h"

#include <algorithm>

#include "gif/Interlace.h"

namespace gif {
namespace {

void WriteChecked(base::TStream& Stream, uint8_t Value) { Stream.WriteBuffer(&Value, 1); }

}  // namespace

void TGIFEncoder::Encode(base::TStream& Stream, int32_t Bits, int32_t AColorCount,
                         const uint8_t* APixels, bool AInterlaced, int32_t AHeight, int32_t AWidth) {
  // Pixel indexes are bytes; a wider code size would not fit 12-bit codes either.
  if (Bits > 8) RaiseGIFError("Invalid LZW code size");
  Target = &Stream;
  ColorCount = AColorCount;
  Pixels = APixels;
  Interlaced = AInterlaced;
  Height = AHeight;
  Width = AWidth;
  MinCodeSize = static_cast<uint8_t>(std::max(Bits, 2));
  WriteChecked(Stream, MinCodeSize);

  InitialWidth = CodeWidth = MinCodeSize + 1;
  MaxCode = static_cast<uint16_t>((1 << InitialWidth) - 1);
  ClearCode = static_cast<uint16_t>(1 << MinCodeSize);
  EndCode = ClearCode + 1;
  FirstFree = ClearCode + 2;
  BitAccumulator = 0;
  BitCount = 0;
  PackedCount = 0;
  Cursor = Pixels;
  RowLeft = Interlaced ? Width : static_cast<int64_t>(Width) * Height;
  Row = 0;
  Pass = 0;

  Writer = std::make_unique<TGIFWriter>(Stream);
  try {
    if (Pixels != nullptr && Height > 0 && Width > 0) Compress();
    Output(EndCode);
    Writer->Flush();
  } catch (...) {
    // Whole bytes that were packed reach the stream, as the writer's own do.
    try {
      FlushPacked();
    } catch (...) {
    }
    Writer.reset();
    throw;
  }
  Writer.reset();
  WriteChecked(Stream, 0);
}

bool TGIFEncoder::NextRow() {
  if (!Interlaced) return false;
  Row += InterlacePasses[Pass].Step;
  while (Row >= Height) {
    if (++Pass == 4) return false;
    Row = InterlacePasses[Pass].Start;
  }
  Cursor = Pixels + static_cast<size_t>(Row) * Width;
  RowLeft = Width;
  return true;
}

}  // namespace gif
