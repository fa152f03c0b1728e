#include "gif/Extension.h"

#include "gif/ExtensionRegistry.h"
#include "gif/StreamHelpers.h"
#include "gif/SubImage.h"
#include "platform/base/Stream.h"

namespace gif {
namespace {

constexpr uint8_t ExtensionIntroducer = '!';

// Passes over a block no class reads: its label, then data sub-blocks up to the
// terminator or the end of the data.
void SkipExtension(base::TStream& Stream) {
  uint8_t Byte = 0;
  if (!TryReadByte(Stream, Byte)) return;
  uint8_t Block[255];
  while (TryReadByte(Stream, Byte) && Byte != 0)
    if (Stream.Read(Block, Byte) != Byte) return;
}

// Whether the label after the introducer has a class, the stream left where it was.
bool LabelIsRegistered(base::TStream& Stream) {
  const int64_t Start = Stream.Position();
  uint8_t Label = 0;
  const bool Registered = TryReadByte(Stream, Label) && FindExtensionClass(Label) != nullptr;
  Stream.SetPosition(Start);
  return Registered;
}

}  // namespace

TGIFExtension::TGIFExtension(TGIFSubImage* ASubImage)
    : TGIFItem(ASubImage != nullptr ? ASubImage->Image() : nullptr), FSubImage(ASubImage) {}

TGIFExtension::~TGIFExtension() {
  if (FSubImage != nullptr) FSubImage->Extensions()->Remove(this);
}

void TGIFExtension::MoveToFrame(TGIFSubImage& Frame, int Index) {
  if (FSubImage != nullptr) FSubImage->Extensions()->Remove(this);
  FSubImage = &Frame;
  TGIFExtensionList& Target = *Frame.Extensions();
  Target.Add(std::unique_ptr<TGIFItem>(this));
  Target.Move(Target.Count() - 1, Index);
}

void TGIFExtension::SaveToStream(base::TStream& Stream) {
  if (HasData()) WriteBlock(Stream);
}

void TGIFExtension::WriteBlock(base::TStream& Stream) {
  const uint8_t Start[2] = {ExtensionIntroducer, BlockLabel()};
  Stream.WriteBuffer(Start, sizeof Start);
  WriteBody(Stream);
}

void TGIFExtension::LoadFromStream(base::TStream& Stream) {
  uint8_t Start[2];
  ReadExactly(Stream, Start, sizeof Start);
  if (Start[0] != ExtensionIntroducer) RaiseGIFError("Invalid extension introducer");
  if (Start[1] != BlockLabel()) RaiseGIFError("Internal error: Extension Instance does not match Extension Label");
}

TGIFExtension* TGIFExtensionList::Extensions(int Index) const { return dynamic_cast<TGIFExtension*>(Items(Index)); }

void TGIFExtensionList::LoadFromStream(base::TStream& Stream, base::TObject* Parent) {
  auto* SubImage = dynamic_cast<TGIFSubImage*>(Parent);
  uint8_t Byte = 0;
  if (!TryReadByte(Stream, Byte)) return;
  while (Byte != ',' && Byte != ';') {
    if (Byte != ExtensionIntroducer) {
      ReportWarning(this, sevWarning, "Invalid extension introducer");
      break;
    }
    if (const TGIFExtensionClass* Class = ResolveExtensionClass(Stream)) {
      Stream.Seek(-1, base::TSeekOrigin::soCurrent);
      std::unique_ptr<TGIFExtension> Extension = Class->Create(SubImage);
      Extension->LoadFromStream(Stream);
      Add(std::move(Extension));
    } else if (LabelIsRegistered(Stream)) {
      // A block of a known kind too short to tell its class is a damaged file.
      RaiseGIFError("Unknown extension type");
    } else {
      // Decoders are to pass over blocks they do not know.
      ReportWarning(this, sevWarning, "Unknown extension type");
      SkipExtension(Stream);
    }
    if (!TryReadByte(Stream, Byte)) return;
  }
  Stream.Seek(-1, base::TSeekOrigin::soCurrent);
}

void TGIFExtensionList::AddCopies(const TGIFExtensionList& Source, TGIFSubImage* Frame) {
  if (Source.Count() == 0) return;
  base::TMemoryStream Copy;
  for (int I = 0; I < Source.Count(); ++I) Source.Extensions(I)->WriteBlock(Copy);
  Copy.SetPosition(0);
  LoadFromStream(Copy, Frame);
}

}  // namespace gif
