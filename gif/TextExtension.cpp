#include "gif/TextExtension.h"

#include "gif/StreamHelpers.h"

namespace gif {

const TGIFExtensionClass& TGIFTextExtension::Class() {
  static const TGIFExtensionClass Descriptor{"TGIFTextExtension", &CreateExtension<TGIFTextExtension>};
  return Descriptor;
}

void TGIFTextExtension::SaveToStream(base::TStream& Stream) {
  TGIFExtension::SaveToStream(Stream);
  Stream.WriteBuffer(FHeader.data(), FHeader.size());
  WriteSubBlockStrings(Stream, FText);
}

void TGIFTextExtension::LoadFromStream(base::TStream& Stream) {
  TGIFExtension::LoadFromStream(Stream);
  ReadExactly(Stream, FHeader.data(), FHeader.size());
  ReadSubBlockStrings(Stream, FText);
}

}  // namespace gif
