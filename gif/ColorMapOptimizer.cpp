#include "gif/ColorMapOptimizer.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <optional>

#include "gif/GIFImage.h"

namespace gif {

namespace {

uint32_t TripletColor(const uint8_t* T) { return T[0] | T[1] << 8 | uint32_t{T[2]} << 16; }

int ComponentSum(uint32_t Color) { return (Color & 0xFF) + (Color >> 8 & 0xFF) + (Color >> 16 & 0xFF); }

bool ByUses(const THistogram::TEntry* A, const THistogram::TEntry* B) { return A->Uses > B->Uses; }

TGIFGraphicControlExtension* TransparencyOf(TGIFSubImage& Frame) {
  return Frame.Transparent() ? Frame.GraphicControlExtension() : nullptr;
}

}  // namespace

THistogram::THistogram(TGIFColorMap& Map) : FColorMap(&Map), FCount(Map.Count()) {
  FEntries.resize(static_cast<size_t>(FCount));
  FList.reserve(static_cast<size_t>(FCount));
  for (int I = 0; I < FCount; ++I) {
    TEntry& Entry = FEntries[static_cast<size_t>(I)];
    Entry.OldIndex = I;
    Entry.Color = TripletColor(Map.Data() + I * 3);
    FList.push_back(&Entry);
  }
}

bool THistogram::CountFrame(TGIFSubImage& Frame) {
  if (Frame.Empty()) return false;
  FCountedFrames.push_back(&Frame);
  TGIFGraphicControlExtension* Control = TransparencyOf(Frame);
  const int T = Control != nullptr ? Control->TransparentColor() : -1;
  bool FoundTransparent = false;
  uint8_t* Pixels = Frame.Data();
  for (int32_t I = 0; I < Frame.PixelBytes(); ++I) {
    uint8_t& P = Pixels[I];
    if (P == T) {
      FoundTransparent = true;
      continue;
    }
    if (P >= FCount) {
      P = 0;
      Frame.ReportWarning(&Frame, sevWarning, "Color not in color table");
    }
    ++FEntries[P].Uses;
  }
  if (Control != nullptr && !FoundTransparent) {
    Control->SetTransparentColor(0);
    Control->SetTransparent(false);
  }
  return FoundTransparent;
}

int THistogram::DropUnused() {
  std::stable_sort(FList.begin(), FList.end(), ByUses);
  const auto FirstUnused = std::find_if(FList.begin(), FList.end(), [](const TEntry* E) { return E->Uses == 0; });
  for (auto It = FirstUnused; It != FList.end(); ++It) (*It)->Uses = -1;
  FList.erase(FirstUnused, FList.end());
  FCount = static_cast<int>(FList.size());
  return FCount;
}

void THistogram::RemapFrames(bool KeepTransparentEntry, uint8_t NewTransparentIndex) {
  std::array<uint8_t, 256> Translation{};
  for (const TEntry* Entry : FList) Translation[static_cast<size_t>(Entry->OldIndex)] = static_cast<uint8_t>(Entry->NewIndex);
  for (TGIFSubImage* Frame : FCountedFrames) {
    int OldTransparent = -1;
    if (TGIFGraphicControlExtension* Control = TransparencyOf(*Frame); Control != nullptr && KeepTransparentEntry) {
      OldTransparent = Control->TransparentColor();
      Control->SetTransparentColor(NewTransparentIndex);
    }
    uint8_t* Pixels = Frame->Data();
    for (int32_t I = 0; I < Frame->PixelBytes(); ++I)
      Pixels[I] = Pixels[I] == OldTransparent ? NewTransparentIndex : Translation[Pixels[I]];
  }
}

void TColorMapOptimizer::Run() {
  FImage.StopAllPainters();
  std::lock_guard Guard(FImage.Painters().Lock());
  Collect();
  if (!ChooseColors()) return;
  StoreTable();
  for (const auto& Histogram : FHistograms) Histogram->RemapFrames(FKeepTransparentEntry, FNewTransparentIndex);
  RemapTablelessFrames();
  for (int I = 0; I < FImage.Frames().Count(); ++I) {
    TGIFSubImage* Frame = FImage.Frames().SubImages(I);
    Frame->ReleaseBitmap();
    Frame->SetPalette(nullptr);
  }
}

void TColorMapOptimizer::Collect() {
  FKeepTransparentEntry = false;
  TGIFImageList& Frames = FImage.Frames();
  TGIFColorMap* Global = FImage.GetGlobalColorMap();
  const uint8_t BackgroundIndex = FImage.Header().BackgroundColorIndex();
  if (BackgroundIndex < Global->Count()) FBackground = TripletColor(Global->Data() + BackgroundIndex * 3);
  if (Global->Count() > 0) {
    auto Histogram = std::make_unique<THistogram>(*Global);
    for (int I = 0; I < Frames.Count(); ++I) {
      TGIFSubImage* Frame = Frames.SubImages(I);
      if (!Frame->Empty() && Frame->ColorMap()->Count() == 0 && Histogram->CountFrame(*Frame))
        FKeepTransparentEntry = true;
    }
    if (!Histogram->CountedFrames().empty()) FHistograms.push_back(std::move(Histogram));
  }
  for (int I = 0; I < Frames.Count(); ++I) {
    TGIFSubImage* Frame = Frames.SubImages(I);
    if (Frame->Empty()) continue;
    if (Frame->ColorMap()->Count() > 0) {
      FHistograms.push_back(std::make_unique<THistogram>(*Frame->ColorMap()));
      if (FHistograms.back()->CountFrame(*Frame)) FKeepTransparentEntry = true;
    } else if (Global->Count() == 0) {
      FTablelessFrames.push_back(Frame);
      if (TGIFGraphicControlExtension* Control = TransparencyOf(*Frame))
        if (std::find(Frame->Data(), Frame->Data() + Frame->PixelBytes(), Control->TransparentColor()) !=
            Frame->Data() + Frame->PixelBytes())
          FKeepTransparentEntry = true;
    }
  }
}

bool TColorMapOptimizer::ChooseColors() {
  size_t Total = 0;
  for (const auto& Histogram : FHistograms) Total += static_cast<size_t>(Histogram->DropUnused());
  if (Total == 0) return false;
  FAllEntries.reserve(Total);
  for (const auto& Histogram : FHistograms)
    FAllEntries.insert(FAllEntries.end(), Histogram->List().begin(), Histogram->List().end());

  std::stable_sort(FAllEntries.begin(), FAllEntries.end(),
                   [](const THistogram::TEntry* A, const THistogram::TEntry* B) { return A->Color > B->Color; });
  THistogram::TEntry* Kept = FAllEntries.front();
  for (size_t I = 1; I < FAllEntries.size(); ++I) {
    THistogram::TEntry* Entry = FAllEntries[I];
    if (Entry->Color != Kept->Color) {
      Kept = Entry;
      continue;
    }
    Kept->Uses += Entry->Uses;
    Entry->Uses = 0;
    Entry->Link = Kept;
  }

  std::stable_sort(FAllEntries.begin(), FAllEntries.end(), ByUses);
  const int Limit = FKeepTransparentEntry ? 255 : 256;
  const int Count = static_cast<int>(FAllEntries.size());
  FKeptCount = 0;
  while (FKeptCount < Count && FKeptCount < Limit && FAllEntries[static_cast<size_t>(FKeptCount)]->Uses > 0)
    ++FKeptCount;
  for (int I = 0; I < FKeptCount; ++I) {
    THistogram::TEntry* Entry = FAllEntries[static_cast<size_t>(I)];
    Entry->NewIndex = I;
    for (int C = 0; C < 3; ++C) FNewTable[static_cast<size_t>(I * 3 + C)] = static_cast<uint8_t>(Entry->Color >> (8 * C));
  }
  for (int I = FKeptCount; I < Count; ++I) {
    THistogram::TEntry* Entry = FAllEntries[static_cast<size_t>(I)];
    if (Entry->Uses > 0) {
      int Best = 765, BestIndex = 0;
      for (int K = 0; K < FKeptCount; ++K) {
        const int Difference =
            std::abs(ComponentSum(Entry->Color) - ComponentSum(FAllEntries[static_cast<size_t>(K)]->Color));
        if (Difference < Best) {
          Best = Difference;
          BestIndex = K;
        }
      }
      Entry->NewIndex = BestIndex;
    } else {
      Entry->NewIndex = Entry->Link->NewIndex;
    }
  }
  // Screen areas no frame covers show the background colour, so it keeps an entry of
  // its own when no pixel uses it and there is room.
  if (FBackground && FKeptCount < Limit &&
      std::none_of(FAllEntries.begin(), FAllEntries.begin() + FKeptCount,
                   [this](const THistogram::TEntry* Entry) { return Entry->Color == *FBackground; })) {
    for (int C = 0; C < 3; ++C) FNewTable[static_cast<size_t>(FKeptCount * 3 + C)] = static_cast<uint8_t>(*FBackground >> (8 * C));
    ++FKeptCount;
  }
  if (FKeepTransparentEntry) {
    FNewTransparentIndex = static_cast<uint8_t>(FKeptCount);
    const base::TColor Fill = GIFLibraryDefaults().TransparentFill;
    for (int C = 0; C < 3; ++C) FNewTable[static_cast<size_t>(FKeptCount * 3 + C)] = static_cast<uint8_t>(Fill >> (8 * C));
    ++FKeptCount;
  }
  return true;
}

uint8_t TColorMapOptimizer::NewBackgroundIndex(uint32_t Color) const {
  const int Colors = FKeptCount - (FKeepTransparentEntry ? 1 : 0);
  int Best = 766, BestIndex = 0;
  for (int K = 0; K < Colors; ++K) {
    const uint32_t Kept = TripletColor(FNewTable.data() + K * 3);
    if (Kept == Color) return static_cast<uint8_t>(K);
    const int Difference = std::abs(ComponentSum(Color) - ComponentSum(Kept));
    if (Difference < Best) {
      Best = Difference;
      BestIndex = K;
    }
  }
  return static_cast<uint8_t>(BestIndex);
}

void TColorMapOptimizer::StoreTable() {
  TGIFHeader& Header = FImage.Header();
  TGIFColorMap* Global = FImage.GetGlobalColorMap();
  for (int I = 0; I < FImage.Frames().Count(); ++I) FImage.Frames().SubImages(I)->ColorMap()->Clear();
  Global->SetTriplets(FNewTable.data(), FKeptCount);
  Global->SetOptimized(true);
  Header.SetBackgroundColorIndex(FBackground ? NewBackgroundIndex(*FBackground) : 0);
}

void TColorMapOptimizer::RemapTablelessFrames() {
  for (TGIFSubImage* Frame : FTablelessFrames) {
    int OldTransparent = -1;
    if (TGIFGraphicControlExtension* Control = TransparencyOf(*Frame)) {
      OldTransparent = Control->TransparentColor();
      if (FKeepTransparentEntry)
        Control->SetTransparentColor(FNewTransparentIndex);
      else
        Control->SetTransparent(false);
    }
    uint8_t* Pixels = Frame->Data();
    for (int32_t I = 0; I < Frame->PixelBytes(); ++I)
      Pixels[I] = Pixels[I] == OldTransparent && FKeepTransparentEntry ? FNewTransparentIndex : 0;
  }
}

void TGIFImage::MergeColorTables() {
  TColorMapOptimizer Optimizer(*this);
  Optimizer.Run();
}

}  // namespace gif
