#include "gif/FrameRenderer.h"

#include <array>
#include <cstring>
#include <vector>

#include "gif/ColorLookup.h"
#include "gif/DIB.h"
#include "gif/FloydSteinbergDitherer.h"
#include "gif/StreamHelpers.h"
#include "gif/SubImage.h"

namespace gif {
namespace {

using TRGBTable = std::array<std::array<uint8_t, 3>, 256>;

// Every index a pixel can hold gets a colour: those beyond the table show entry 0,
// an empty table shows black.
TRGBTable ColorsOf(const TGIFColorMap& Map) {
  TRGBTable Table{};
  const uint8_t* Data = Map.Data();
  for (int I = 0; I < 256 && Map.Count() > 0; ++I) {
    const uint8_t* Triplet = Data + 3 * (I < Map.Count() ? I : 0);
    Table[static_cast<size_t>(I)] = {Triplet[0], Triplet[1], Triplet[2]};
  }
  return Table;
}

void SetMaskBit(uint8_t* MaskRow, int X) { MaskRow[X >> 3] |= static_cast<uint8_t>(0x80 >> (X & 7)); }

struct TMaskBuffer {
  TMaskBuffer(int Width, int Height, bool Build)
      : RowBytes(MaskRowBytes(Width)), Bits(Build ? static_cast<size_t>(RowBytes) * Height : 0) {}
  uint8_t* Row(int Y) { return Bits.data() + static_cast<size_t>(Y) * RowBytes; }
  const int RowBytes;
  std::vector<uint8_t> Bits;
  bool Any = false;
};

void PlainRow(const uint8_t* Source, uint8_t* Out, int Width, int T, uint8_t* MaskRow, bool& Any) {
  std::memcpy(Out, Source, static_cast<size_t>(Width));
  if (MaskRow == nullptr) return;
  for (int X = 0; X < Width; ++X)
    if (Source[X] == T) {
      SetMaskBit(MaskRow, X);
      Any = true;
    }
}

}  // namespace

int MaskRowBytes(int Width) { return ((Width + 15) / 16) * 2; }

TFrameRendering RenderFrame(TGIFSubImage& Frame, bool Dither, int Transparent, const TRenderProgress& Progress) {
  const int Width = Frame.Width();
  const int Height = Frame.Height();
  TFrameRendering Result;
  Result.Bitmap = std::make_unique<graphics::TBitmap>();
  if (static_cast<uint32_t>(Width) * static_cast<uint32_t>(Height) > 500000) Result.Bitmap->SetPixelFormat(graphics::pf1bit);
  const bool BuildMask = Transparent >= 0;
  TMaskBuffer Mask(Width, Height, BuildMask);
  {
    TDIBWriter Writer(*Result.Bitmap, graphics::pf8bit, Width, Height, Frame.Palette());
    const TRGBTable Colors = Dither ? ColorsOf(*Frame.ActiveColorMap()) : TRGBTable{};
    TNetscapeColorLookup Lookup;
    TFloydSteinbergDitherer Ditherer(Width, &Lookup);
    uint8_t Fill = 0;
    if (Dither && BuildMask) {
      const auto& C = Colors[static_cast<size_t>(Transparent)];
      uint8_t R, G, B;
      Fill = Lookup.Lookup(C[0], C[1], C[2], R, G, B);
    }
    for (int Y = 0; Y < Height; ++Y) {
      if (Y % 32 == 0 && Progress) Progress(Y);
      const uint8_t* Source = Frame.Scanline(Y);
      uint8_t* Out = Writer.RowAddress(Y);
      uint8_t* MaskRow = BuildMask ? Mask.Row(Y) : nullptr;
      if (!Dither) {
        PlainRow(Source, Out, Width, Transparent, MaskRow, Mask.Any);
        continue;
      }
      if (BuildMask) std::memset(Out, Fill, static_cast<size_t>(Width));
      for (int X = Ditherer.Column(); X >= 0 && X < Width; X = Ditherer.Column()) {
        if (BuildMask && Source[X] == Transparent) {
          SetMaskBit(MaskRow, X);
          Mask.Any = true;
          Ditherer.StepColumn();
          continue;
        }
        const auto& C = Colors[Source[X]];
        uint8_t R, G, B;
        Out[X] = Ditherer.Dither(C[0], C[1], C[2], R, G, B);
      }
      Ditherer.TurnRow();
    }
    Writer.StoreIntoBitmap();
  }
  if (Mask.Any) Result.Mask = CheckGDIHandle(gdi::CreateBitmap(Width, Height, 1, 1, Mask.Bits.data()));
  return Result;
}

}  // namespace gif
