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

}  // namespace

TGIFSubImage* TGIFImageList::SubImages(int Index) const { return static_cast<TGIFSubImage*>(Items(Index)); }

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
