#include "gif/ColorMap.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "gif/GIFImage.h"
#include "gif/GraphicControlExtension.h"
#include "gif/StreamHelpers.h"

namespace gif {

base::TColor TGIFColorMap::TripletToColor(const uint8_t* Triplet) {
  return static_cast<base::TColor>(Triplet[0] | Triplet[1] << 8 | Triplet[2] << 16);
}

void TGIFColorMap::ColorToTriplet(base::TColor Color, uint8_t* Triplet) {
  Triplet[0] = static_cast<uint8_t>(Color);
  Triplet[1] = static_cast<uint8_t>(Color >> 8);
  Triplet[2] = static_cast<uint8_t>(Color >> 16);
}

void TGIFColorMap::ReleaseTable() {
  Clear();
  NotifyChanged();
}

void TGIFColorMap::Clear() {
  FData.reset();
  FCapacity = 0;
  FCount = 0;
  FOptimized = false;
}

void TGIFColorMap::SetCapacity(int Size) {
  if (Size < FCapacity) return;
  int NewCapacity = Size <= 16 ? 16 : (Size + 31) / 32 * 32;
  NewCapacity = std::min(NewCapacity, 256);
  if (NewCapacity == FCapacity) return;
  auto NewData = std::make_unique<uint8_t[]>(static_cast<size_t>(NewCapacity) * 3);
  if (FData) std::memcpy(NewData.get(), FData.get(), static_cast<size_t>(FCount) * 3);
  FData = std::move(NewData);
  FCapacity = NewCapacity;
}

int TGIFColorMap::Add(base::TColor Color) {
  if (FCount >= 256) RaiseGIFError("Color table overflow");
  if (FCount >= FCapacity) SetCapacity(FCount + 1);
  ColorToTriplet(Color, FData.get() + FCount * 3);
  const int Index = FCount++;
  FOptimized = false;
  NotifyChanged();
  return Index;
}

int TGIFColorMap::AddUnique(base::TColor Color) {
  const int Index = IndexOfColor(Color);
  return Index >= 0 ? Index : Add(Color);
}

int TGIFColorMap::IndexOfColor(base::TColor Color) const {
  uint8_t Wanted[3];
  ColorToTriplet(Color, Wanted);
  const auto Matches = [&](int I) { return std::memcmp(FData.get() + I * 3, Wanted, 3) == 0; };
  if (FOptimized) {
    for (int I = 0; I < FCount; ++I)
      if (Matches(I)) return I;
  } else {
    for (int I = FCount - 1; I >= 0; --I)
      if (Matches(I)) return I;
  }
  return -1;
}

void TGIFColorMap::Delete(int Index) {
  if (Index < 0 || Index >= FCount) RaiseGIFError("Invalid color index");
  std::memmove(FData.get() + Index * 3, FData.get() + (Index + 1) * 3, static_cast<size_t>(FCount - Index - 1) * 3);
  --FCount;
  FOptimized = false;
  NotifyChanged();
}

base::TColor TGIFColorMap::Colors(int Index) {
  if (Index < 0 || Index >= FCount) {
    ReportWarning(this, sevWarning, "Invalid color index");
    if (FCount == 0) RaiseGIFError("Color table is empty");
    Index = 0;
  }
  return TripletToColor(FData.get() + Index * 3);
}

void TGIFColorMap::SetColors(int Index, base::TColor Value) {
  if (Index < 0 || Index >= FCount) RaiseGIFError("Invalid color index");
  ColorToTriplet(Value, FData.get() + Index * 3);
  NotifyChanged();
}

int TGIFColorMap::BitsPerPixel() const { return BitsForColors(FCount); }

void TGIFColorMap::SaveToStream(base::TStream& Stream, int Entries) const {
  const int Total = std::clamp(Entries, FCount, 256);
  if (Total == 0) return;
  if (FCount > 0) Stream.WriteBuffer(FData.get(), static_cast<int64_t>(FCount) * 3);
  const int Padding = (1 << BitsForColors(Total)) - FCount;
  if (Padding > 0) {
    const std::array<uint8_t, 256 * 3> Zeros{};
    Stream.WriteBuffer(Zeros.data(), static_cast<int64_t>(Padding) * 3);
  }
}

void TGIFColorMap::LoadFromStream(base::TStream& Stream, int Count) {
  Clear();
  Count = std::clamp(Count, 0, 256);
  SetCapacity(Count);
  if (Count == 0) return;
  ReadExactly(Stream, FData.get(), static_cast<int64_t>(Count) * 3);
  FCount = Count;
}

gdi::HPALETTE TGIFColorMap::MakePalette() const {
  if (FCount == 0) return nullptr;
  gdi::LOGPALETTE Palette;
  Palette.palPalEntry.resize(static_cast<size_t>(FCount));
  for (int I = 0; I < FCount; ++I) {
    const uint8_t* T = FData.get() + I * 3;
    Palette.palPalEntry[static_cast<size_t>(I)] = {T[0], T[1], T[2], gdi::PC_NOCOLLAPSE};
  }
  return gdi::CreatePalette(Palette);
}

void TGIFColorMap::LoadFromPalette(gdi::HPALETTE Palette) {
  gdi::PALETTEENTRY Entries[256];
  const auto Count = static_cast<int>(gdi::GetPaletteEntries(Palette, 0, 256, Entries));
  std::array<uint8_t, 256 * 3> Triplets;
  for (int I = 0; I < Count; ++I) {
    Triplets[I * 3] = Entries[I].peRed;
    Triplets[I * 3 + 1] = Entries[I].peGreen;
    Triplets[I * 3 + 2] = Entries[I].peBlue;
  }
  SetTriplets(Triplets.data(), Count);
}

void TGIFColorMap::LoadFromRGBQuads(const gdi::RGBQUAD* Entries, int Count) {
  Count = std::clamp(Count, 0, 256);
  std::array<uint8_t, 256 * 3> Triplets;
  for (int I = 0; I < Count; ++I) {
    Triplets[I * 3] = Entries[I].rgbRed;
    Triplets[I * 3 + 1] = Entries[I].rgbGreen;
    Triplets[I * 3 + 2] = Entries[I].rgbBlue;
  }
  SetTriplets(Triplets.data(), Count);
}

void TGIFColorMap::SetTriplets(const uint8_t* Source, int Count) {
  // Only the triplets used are copied aside: Source may be this table's own buffer,
  // which holds no more than its capacity.
  Count = std::clamp(Count, 0, 256);
  std::array<uint8_t, 256 * 3> Copy;
  std::memcpy(Copy.data(), Source, static_cast<size_t>(Count) * 3);
  Clear();
  if (Count == 0) return;
  SetCapacity(Count);
  FCount = Count;
  std::memcpy(FData.get(), Copy.data(), static_cast<size_t>(Count) * 3);
  NotifyChanged();
}

void TGIFColorMap::Assign(const base::TPersistent* Source) {
  const auto* Other = dynamic_cast<const TGIFColorMap*>(Source);
  if (Other == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (Other == this) return;
  Clear();
  FCapacity = Other->FCapacity;
  FCount = Other->FCount;
  FOptimized = Other->FOptimized;
  if (FCapacity > 0) {
    FData = std::make_unique<uint8_t[]>(static_cast<size_t>(FCapacity) * 3);
    std::memcpy(FData.get(), Other->FData.get(), static_cast<size_t>(FCount) * 3);
  }
  NotifyChanged();
}

namespace {

// Descending by use; the partition scheme decides the order of equal counts, which
// decides the bytes written, so it is kept exactly.
void SortByUse(TColormapHistogram& Pairs, int Low, int High) {
  while (Low < High) {
    int I = Low, J = High;
    const int32_t Pivot = Pairs[static_cast<size_t>((Low + High) / 2)].Count;
    do {
      while (Pairs[static_cast<size_t>(I)].Count > Pivot) ++I;
      while (Pairs[static_cast<size_t>(J)].Count < Pivot) --J;
      if (I <= J) {
        std::swap(Pairs[static_cast<size_t>(I)], Pairs[static_cast<size_t>(J)]);
        ++I;
        --J;
      }
    } while (I <= J);
    if (Low < J) SortByUse(Pairs, Low, J);
    Low = I;
  }
}

}  // namespace

bool TGIFColorMap::Optimize() {
  if (FCount <= 1) return false;
  FOptimized = true;
  TColormapHistogram Histogram{};
  for (int I = 0; I < 256; ++I) Histogram[static_cast<size_t>(I)] = {0, I};
  CountColorUse(Histogram);
  SortByUse(Histogram, 0, FCount - 1);

  bool InOrder = true;
  for (int K = 0; K < FCount && InOrder; ++K) InOrder = Histogram[static_cast<size_t>(K)].Index == K;
  if (InOrder) return true;

  // Values the table does not move (pixels at or above Count) keep their meaning.
  TColormapReverse Map;
  std::iota(Map.begin(), Map.end(), 0);
  for (int K = 0; K < FCount; ++K) Map[static_cast<size_t>(Histogram[static_cast<size_t>(K)].Index)] = static_cast<uint8_t>(K);
  RemapPixels(Map);

  auto Sorted = std::make_unique<uint8_t[]>(static_cast<size_t>(FCapacity) * 3);
  for (int I = 0; I < FCount; ++I) std::memcpy(Sorted.get() + Map[static_cast<size_t>(I)] * 3, FData.get() + I * 3, 3);
  FData = std::move(Sorted);

  for (int K = 0; K < FCount; ++K)
    if (Histogram[static_cast<size_t>(K)].Count == 0) {
      FCount = K;
      break;
    }
  NotifyChanged();
  return true;
}

namespace {

// Adds one count per pixel of Frame at its index.
void CountFramePixels(const TGIFSubImage& Frame, TColormapHistogram& Histogram) {
  const uint8_t* P = Frame.Data();
  if (P == nullptr) return;
  std::array<int32_t, 256> Counts{};
  for (int32_t I = 0; I < Frame.PixelBytes(); ++I) ++Counts[P[I]];
  for (size_t I = 0; I < 256; ++I) Histogram[I].Count += Counts[I];
}

void RemapFramePixels(TGIFSubImage& Frame, const TColormapReverse& Map) {
  uint8_t* P = Frame.Data();
  if (P != nullptr)
    for (int32_t I = 0; I < Frame.PixelBytes(); ++I) P[I] = Map[P[I]];
  if (Frame.Transparent() && Frame.GraphicControlExtension() != nullptr) {
    // An index beyond the table is not moved, and the setter would turn it into 0.
    auto* Control = Frame.GraphicControlExtension();
    if (Map[Control->TransparentColor()] != Control->TransparentColor())
      Control->SetTransparentColor(Map[Control->TransparentColor()]);
  }
}

}  // namespace

void TGIFGlobalColorMap::ReportWarning(base::TObject* Sender, TGIFSeverity Severity, const std::string& Message) {
  if (FHeader != nullptr) FHeader->ReportWarning(Sender, Severity, Message);
}

void TGIFGlobalColorMap::CountColorUse(TColormapHistogram& Histogram) {
  if (FHeader == nullptr || FHeader->Image() == nullptr) return;
  const TGIFImageList& Frames = FHeader->Image()->Frames();
  for (int I = 0; I < Frames.Count(); ++I)
    if (Frames.SubImages(I)->ActiveColorMap() == this) CountFramePixels(*Frames.SubImages(I), Histogram);
  // The header refers to its background entry, so that entry counts as used.
  const int Background = FHeader->BackgroundColorIndex();
  if (Background < Count()) ++Histogram[static_cast<size_t>(Background)].Count;
}

void TGIFGlobalColorMap::RemapPixels(const TColormapReverse& Map) {
  if (FHeader == nullptr) return;
  FHeader->SetBackgroundColorIndex(Map[FHeader->BackgroundColorIndex()]);
  if (FHeader->Image() == nullptr) return;
  const TGIFImageList& Frames = FHeader->Image()->Frames();
  for (int I = 0; I < Frames.Count(); ++I)
    if (Frames.SubImages(I)->ActiveColorMap() == this) RemapFramePixels(*Frames.SubImages(I), Map);
}

bool TGIFGlobalColorMap::TryOptimize() {
  if (FHeader == nullptr || FHeader->Image() == nullptr || FHeader->Image()->Frames().Count() == 0) return false;
  return Optimize();
}

void TGIFGlobalColorMap::NotifyChanged() {
  if (FHeader != nullptr && FHeader->Image() != nullptr) FHeader->Image()->SetPalette(nullptr);
}

void TGIFLocalColorMap::ReportWarning(base::TObject* Sender, TGIFSeverity Severity, const std::string& Message) {
  if (FSubImage != nullptr) FSubImage->ReportWarning(Sender, Severity, Message);
}

void TGIFLocalColorMap::CountColorUse(TColormapHistogram& Histogram) {
  if (FSubImage != nullptr) CountFramePixels(*FSubImage, Histogram);
}

void TGIFLocalColorMap::RemapPixels(const TColormapReverse& Map) {
  if (FSubImage != nullptr) RemapFramePixels(*FSubImage, Map);
}

bool TGIFLocalColorMap::TryOptimize() { return Optimize(); }

void TGIFLocalColorMap::NotifyChanged() {
  if (FSubImage != nullptr) FSubImage->SetPalette(nullptr);
}

}  // namespace gif
