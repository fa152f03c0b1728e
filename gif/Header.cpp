#include "gif/Header.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "gif/GIFImage.h"
#include "gif/StreamHelpers.h"
#include "gif/WrittenTables.h"

namespace gif {

TGIFHeader::TGIFHeader(TGIFImage* AImage)
    : TGIFItem(AImage), FColorMap(std::make_unique<TGIFGlobalColorMap>(this)) {}

TGIFHeader::~TGIFHeader() { FColorMap.reset(); }

void TGIFHeader::Clear() {
  FColorMap->Clear();
  FScreenWidth = FScreenHeight = 0;
  FPackedFields = FBackgroundColorIndex = FAspectRatio = 0;
}

void TGIFHeader::Assign(const base::TPersistent* Source) {
  if (const auto* Other = dynamic_cast<const TGIFHeader*>(Source)) {
    if (Other == this) return;
    FColorMap->Assign(Other->FColorMap.get());
    FScreenWidth = Other->FScreenWidth;
    FScreenHeight = Other->FScreenHeight;
    FPackedFields = Other->FPackedFields;
    FBackgroundColorIndex = Other->FBackgroundColorIndex;
    FAspectRatio = Other->FAspectRatio;
  } else if (const auto* Map = dynamic_cast<const TGIFColorMap*>(Source)) {
    Clear();
    FColorMap->Assign(Map);
  } else {
    TGIFItem::Assign(Source);
  }
}

base::TColor TGIFHeader::GetBackgroundColor() { return FColorMap->Colors(FBackgroundColorIndex); }

int TGIFHeader::WrittenColors() const {
  return FImage != nullptr ? WrittenGlobalCount(*FImage) : FColorMap->Count();
}

void TGIFHeader::PrepareFlags(int WrittenColors) {
  const int Resolution = FImage != nullptr ? FImage->ColorResolution() : GetColorResolution();
  const int Bits = FImage != nullptr ? FImage->BitsPerPixel() : GetBitsPerPixel();
  uint8_t Flags = 0;
  if (WrittenColors > 0) Flags |= 0x80;
  if (FColorMap->Optimized()) Flags |= 0x08;
  Flags |= static_cast<uint8_t>((Resolution << 4) & 0x70);
  Flags |= static_cast<uint8_t>(((WrittenColors > 0 ? BitsForColors(WrittenColors) : Bits) - 1) & 7);
  FPackedFields = Flags;
}

TGIFVersion TGIFHeader::RequiredVersion() const {
  return FColorMap->Optimized() || FAspectRatio != 0 ? ver89a : ver87a;
}

void TGIFHeader::SaveToStream(base::TStream& Stream) {
  const TGIFVersion Version = FImage != nullptr ? FImage->RequiredVersion() : verUnknown;
  if (Version == verUnknown) RaiseGIFError("Unsupported GIF version");
  const int Written = WrittenColors();
  PrepareFlags(Written);
  uint8_t Bytes[13] = {'G', 'I', 'F'};
  std::memcpy(Bytes + 3, GIFVersionText(Version), 3);
  Bytes[6] = static_cast<uint8_t>(FScreenWidth);
  Bytes[7] = static_cast<uint8_t>(FScreenWidth >> 8);
  Bytes[8] = static_cast<uint8_t>(FScreenHeight);
  Bytes[9] = static_cast<uint8_t>(FScreenHeight >> 8);
  Bytes[10] = FPackedFields;
  Bytes[11] = FBackgroundColorIndex;
  Bytes[12] = FAspectRatio;
  Stream.WriteBuffer(Bytes, sizeof Bytes);
  if (FPackedFields & 0x80) FColorMap->SaveToStream(Stream, Written);
}

namespace {

// The first three bytes, read as text ending at a zero byte, are "GIF" in any case.
bool HasSignature(const uint8_t* Bytes) {
  char Text[4] = {};
  for (int I = 0; I < 3 && Bytes[I] != 0; ++I) Text[I] = static_cast<char>(std::toupper(Bytes[I]));
  return std::strcmp(Text, "GIF") == 0;
}

}  // namespace

void TGIFHeader::LoadFromStream(base::TStream& Stream) {
  const int64_t Start = Stream.Position();
  uint8_t Signature[6];
  ReadExactly(Stream, Signature, sizeof Signature);
  if (!HasSignature(Signature)) {
    Stream.SetPosition(Start + 4);
    ReadExactly(Stream, Signature, sizeof Signature);
    if (!HasSignature(Signature)) RaiseGIFError("Invalid GIF signature");
  }
  uint8_t Descriptor[7];
  ReadExactly(Stream, Descriptor, sizeof Descriptor);
  FScreenWidth = static_cast<uint16_t>(Descriptor[0] | Descriptor[1] << 8);
  FScreenHeight = static_cast<uint16_t>(Descriptor[2] | Descriptor[3] << 8);
  FPackedFields = Descriptor[4];
  FBackgroundColorIndex = Descriptor[5];
  FAspectRatio = Descriptor[6];
  if (FPackedFields & 0x80)
    FColorMap->LoadFromStream(Stream, 2 << (FPackedFields & 7));
  else
    FColorMap->Clear();
}

// Checked: a trailer that did not reach the file must not pass as a saved image.
void TGIFTrailer::SaveToStream(base::TStream& Stream) {
  const uint8_t Trailer = ';';
  Stream.WriteBuffer(&Trailer, 1);
}

void TGIFTrailer::LoadFromStream(base::TStream& Stream) {
  uint8_t Byte = 0;
  if (TryReadByte(Stream, Byte) && Byte != ';') ReportWarning(this, sevWarning, "Invalid Image trailer");
}

}  // namespace gif
