#include "gif/CommentExtension.h"

#include "gif/StreamHelpers.h"

namespace gif {

const TGIFExtensionClass& TGIFCommentExtension::Class() {
  static const TGIFExtensionClass Descriptor{"TGIFCommentExtension", &CreateExtension<TGIFCommentExtension>};
  return Descriptor;
}

bool TGIFCommentExtension::HasData() const { return HasSubBlockStrings(FText); }

void TGIFCommentExtension::WriteBody(base::TStream& Stream) { WriteSubBlockStrings(Stream, FText); }

void TGIFCommentExtension::LoadFromStream(base::TStream& Stream) {
  TGIFExtension::LoadFromStream(Stream);
  ReadSubBlockStrings(Stream, FText);
}

}  // namespace gif
