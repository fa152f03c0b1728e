#include <vector>

#include "gif/AppExtNSLoop.h"
#include "gif/GIFImage.h"
#include "gif/StreamHelpers.h"

namespace gif {
namespace {

// The next byte that is not filler; false at the end of the data.
bool ReadBlockIntroducer(base::TStream& Stream, uint8_t& Byte) {
  do {
    if (!TryReadByte(Stream, Byte)) return false;
  } while (Byte == 0);
  return true;
}

std::vector<TGIFExtension*> LoopBlocks(const TGIFSubImage& Frame) {
  std::vector<TGIFExtension*> Loops;
  const TGIFExtensionList& Extensions = *Frame.Extensions();
  for (int I = 0; I < Extensions.Count(); ++I)
    if (dynamic_cast<TGIFAppExtNSLoop*>(Extensions.Extensions(I)) != nullptr) Loops.push_back(Extensions.Extensions(I));
  return Loops;
}

}  // namespace

TGIFSubImage* TGIFImageList::SubImages(int Index) const { return static_cast<TGIFSubImage*>(Items(Index)); }

void TGIFImageList::Exchange(int Index1, int Index2) {
  TGIFSubImage* First = Count() > 0 ? SubImages(0) : nullptr;
  TGIFList::Exchange(Index1, Index2);
  KeepLoopsFirst(First);
}

void TGIFImageList::Move(int CurIndex, int NewIndex) {
  TGIFSubImage* First = Count() > 0 ? SubImages(0) : nullptr;
  TGIFList::Move(CurIndex, NewIndex);
  KeepLoopsFirst(First);
}

void TGIFImageList::KeepLoopsFirst(TGIFSubImage* FormerFirst) {
  TGIFSubImage* First = Count() > 0 ? SubImages(0) : nullptr;
  if (FormerFirst == nullptr || FormerFirst == First) return;
  // In front of the frame's other blocks, where files carry them.
  const std::vector<TGIFExtension*> Leaving = LoopBlocks(*FormerFirst);
  const std::vector<TGIFExtension*> Arriving = LoopBlocks(*First);
  for (size_t I = 0; I < Leaving.size(); ++I) Leaving[I]->MoveToFrame(*First, static_cast<int>(I));
  for (size_t I = 0; I < Arriving.size(); ++I) Arriving[I]->MoveToFrame(*FormerFirst, static_cast<int>(I));
}

void TGIFImageList::LoadFromStream(base::TStream& Stream, base::TObject*) {
  struct ResetAllowance {
    int64_t& Allowance;
    ~ResetAllowance() { Allowance = MaxImagePixels; }
  } Reset{FPixelAllowance};
  FPixelAllowance = MaxImagePixels;
  uint8_t Byte = 0;
  if (!ReadBlockIntroducer(Stream, Byte)) return;
  while (Byte != ';') {
    Stream.Seek(-1, base::TSeekOrigin::soCurrent);
    if (Byte != '!' && Byte != ',') {
      ReportWarning(this, sevWarning, "Unknown GIF block type");
      break;
    }
    auto Frame = std::make_unique<TGIFSubImage>(FImage);
    Frame->LoadFromStream(Stream);
    FPixelAllowance -= Frame->PixelBytes();
    Add(std::move(Frame));
    if (FImage != nullptr)
      FImage->Progress(FImage, base::psRunning, base::PercentOf(Stream.Position(), Stream.Size()),
                       GIFLibraryDefaults().RenderOnLoad, {}, "Loading...");
    if (!ReadBlockIntroducer(Stream, Byte)) return;
  }
  Stream.Seek(-1, base::TSeekOrigin::soCurrent);
}

void TGIFImageList::SaveToStream(base::TStream& Stream) {
  for (int I = 0; I < Count(); ++I) {
    Items(I)->SaveToStream(Stream);
    if (FImage != nullptr)
      FImage->Progress(FImage, base::psRunning, base::PercentOf(I + 1, Count()), false, {}, "Saving...");
  }
}

}  // namespace gif
