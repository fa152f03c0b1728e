#include "gif/TextExtension.h"

#include "gif/StreamHelpers.h"

namespace gif {

const TGIFExtensionClass& TGIFTextExtension::Class() {
  static const TGIFExtensionClass Descriptor{"TGIFTextExtension", &CreateExtension<TGIFTextExtension>};
  return Descriptor;
}

bool TGIFTextExtension::HasData() const { return HasSubBlockStrings(FText); }

void TGIFTextExtension::WriteBody(base::TStream& Stream) {
  Stream.WriteBuffer(FHeader.data(), FHeader.size());
  WriteSubBlockStrings(Stream, FText);
}

void TGIFTextExtension::LoadFromStream(base::TStream& Stream) {
  TGIFExtension::LoadFromStream(Stream);
  ReadExactly(Stream, FHeader.data(), FHeader.size());
  ReadSubBlockStrings(Stream, FText);
}

}  // namespace gif
