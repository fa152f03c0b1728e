// Frame edits of the optimisation passes: cropping transparent borders or to a block,
// and merging a frame with the one before it.
#include <algorithm>
#include <array>
#include <cstring>

#include "gif/Extension.h"
#include "gif/GIFImage.h"
#include "gif/GraphicControlExtension.h"
#include "gif/SubImage.h"

namespace gif {
namespace {

// The colours a table gives its indexes; an index beyond the table has none.
struct TTableColors {
  explicit TTableColors(const TGIFColorMap& Map) : Count(Map.Count()) {
    if (Count > 0) std::memcpy(Triplets.data(), Map.Data(), static_cast<size_t>(Count) * 3);
  }
  bool Same(uint8_t Index, const TTableColors& Other, uint8_t OtherIndex) const {
    if (Index >= Count || OtherIndex >= Other.Count) return false;
    return std::memcmp(&Triplets[3 * Index], &Other.Triplets[3 * OtherIndex], 3) == 0;
  }
  int Count;
  std::array<uint8_t, 768> Triplets{};
};

bool Holds(const uint8_t* Pixels, int32_t Count, uint8_t Index) {
  return std::find(Pixels, Pixels + Count, Index) != Pixels + Count;
}

}  // namespace

void TGIFSubImage::Crop() {
  if (Empty() || !FTransparent || FGraphicControlExtension == nullptr) return;
  const uint8_t T = FGraphicControlExtension->TransparentColor();
  const int W = Width(), H = Height();
  const uint8_t* Pixels = FData.get();
  const auto Opaque = [&](int X, int Y) { return Pixels[static_cast<size_t>(Y) * W + X] != T; };
  const auto ColumnOpaque = [&](int X) {
    for (int Y = 0; Y < H; ++Y)
      if (Opaque(X, Y)) return true;
    return false;
  };
  int First = 0;
  while (First < W && !ColumnOpaque(First)) ++First;
  if (First == W) {
    Clear();
    return;
  }
  int Last = W - 1;
  while (!ColumnOpaque(Last)) --Last;
  const auto RowOpaque = [&](int Y) {
    for (int X = First; X <= Last; ++X)
      if (Opaque(X, Y)) return true;
    return false;
  };
  int Top = 0;
  while (!RowOpaque(Top)) ++Top;
  int Bottom = H - 1;
  while (!RowOpaque(Bottom)) --Bottom;
  CropTo(First, Top, Last - First + 1, Bottom - Top + 1);
}

void TGIFSubImage::CropTo(int X, int Y, int NewW, int NewH) {
  const int W = Width();
  const uint8_t* Pixels = FData.get();
  auto Block = std::make_unique<uint8_t[]>(static_cast<size_t>(NewW) * NewH);
  for (int Row = 0; Row < NewH; ++Row)
    std::memcpy(Block.get() + static_cast<size_t>(Row) * NewW, Pixels + static_cast<size_t>(Y + Row) * W + X,
                static_cast<size_t>(NewW));
  const uint16_t Parts[4] = {static_cast<uint16_t>(Left() + X), static_cast<uint16_t>(Top() + Y),
                             static_cast<uint16_t>(NewW), static_cast<uint16_t>(NewH)};
  for (int I = 0; I < 4; ++I) {
    FImageDescriptor[static_cast<size_t>(1 + I * 2)] = static_cast<uint8_t>(Parts[I]);
    FImageDescriptor[static_cast<size_t>(2 + I * 2)] = static_cast<uint8_t>(Parts[I] >> 8);
  }
  FData = std::move(Block);
  FPixelBytes = NewW * NewH;
  ReleaseBitmap();
  ReleaseMask();
}

void TGIFSubImage::Merge(TGIFSubImage* Previous) {
  if (Previous == nullptr || Empty() || Previous->Empty()) return;
  if (const TGIFGraphicControlExtension* Control = Previous->GraphicControlExtension()) {
    if (Control->Disposal() == fdBackground || Control->Disposal() == fdPrevious) return;
  }
  const base::TRect Own = BoundsRect(), Other = Previous->BoundsRect();
  const base::TRect Common = base::Rect(std::max(Own.Left, Other.Left), std::max(Own.Top, Other.Top),
                                        std::min(Own.Right, Other.Right), std::min(Own.Bottom, Other.Bottom));
  if (Common.IsEmpty()) return;
  const bool WasTransparent = FTransparent && FGraphicControlExtension != nullptr;
  bool NeedIndex = !WasTransparent;
  uint8_t T = 0;
  if (WasTransparent) {
    T = FGraphicControlExtension->TransparentColor();
  } else {
    const TGIFColorMap* Table = FColorMap->Count() > 0 ? FColorMap.get() : nullptr;
    if (Table == nullptr && FImage != nullptr && FImage->GetGlobalColorMap()->Count() > 0)
      Table = FImage->GetGlobalColorMap();
    if (Table == nullptr || Table->Count() >= 256) return;
  }
  const bool PreviousTransparent = Previous->Transparent() && Previous->GraphicControlExtension() != nullptr;
  const uint8_t PT = PreviousTransparent ? Previous->GraphicControlExtension()->TransparentColor() : 0;
  const bool SameMap = ActiveColorMap() == Previous->ActiveColorMap();
  const TTableColors OwnColors(*ActiveColorMap()), OtherColors(*Previous->ActiveColorMap());
  const auto ChooseIndex = [this]() -> uint8_t {
    if (FColorMap->Count() > 0) return static_cast<uint8_t>(FColorMap->Add(0));
    // Another frame's transparent index of the global table serves only when it is
    // an entry of the table (files may hold one beyond it) and no pixel of this frame
    // uses it as a colour.
    TGIFColorMap* Global = FImage->GetGlobalColorMap();
    for (int I = 0; I < FImage->Frames().Count(); ++I) {
      const TGIFSubImage* Frame = FImage->Frames().SubImages(I);
      if (Frame == this || !Frame->Transparent() || Frame->GraphicControlExtension() == nullptr ||
          Frame->ColorMap()->Count() > 0)
        continue;
      const uint8_t Candidate = Frame->GraphicControlExtension()->TransparentColor();
      if (Candidate < Global->Count() && !Holds(FData.get(), FPixelBytes, Candidate)) return Candidate;
      break;
    }
    return static_cast<uint8_t>(Global->Add(0));
  };
  bool Chosen = false;
  for (int Y = Common.Top; Y < Common.Bottom; ++Y) {
    uint8_t* Row = Scanline(Y - Own.Top);
    const uint8_t* PreviousRow = Previous->Scanline(Y - Other.Top);
    for (int X = Common.Left; X < Common.Right; ++X) {
      uint8_t& P = Row[X - Own.Left];
      const uint8_t Q = PreviousRow[X - Other.Left];
      if ((!NeedIndex && P == T) || (PreviousTransparent && Q == PT)) continue;
      if (!((SameMap && P == Q) || OwnColors.Same(P, OtherColors, Q))) continue;
      if (NeedIndex) {
        T = ChooseIndex();
        NeedIndex = false;
        Chosen = true;
      }
      P = T;
    }
  }
  if (!WasTransparent && Chosen) {
    if (FGraphicControlExtension == nullptr) {
      auto Control = std::make_unique<TGIFGraphicControlExtension>(this);
      FGraphicControlExtension = Control.get();
      FExtensions->Add(std::move(Control));
    }
    FGraphicControlExtension->SetTransparent(true);
    FGraphicControlExtension->SetTransparentColor(T);
  }
  ReleaseBitmap();
  ReleaseMask();
}

}  // namespace gif
