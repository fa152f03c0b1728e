#include "gif/ExtensionRegistry.h"

#include <algorithm>

#include "gif/AppExtNSLoop.h"
#include "gif/CommentExtension.h"
#include "gif/GraphicControlExtension.h"
#include "gif/StreamHelpers.h"
#include "gif/TextExtension.h"

namespace gif {

TExtensionList::TExtensionList() {
  Add(0x01, TGIFTextExtension::Class());
  Add(0xF9, TGIFGraphicControlExtension::Class());
  Add(0xFE, TGIFCommentExtension::Class());
  Add(0xFF, TGIFApplicationExtension::Class());
}

void TExtensionList::Add(uint8_t Label, const TGIFExtensionClass& Class) { FRecords.push_back({&Class, Label}); }

const TGIFExtensionClass* TExtensionList::Find(uint8_t Label) const {
  const auto Found =
      std::find_if(FRecords.rbegin(), FRecords.rend(), [Label](const TRecord& R) { return R.Label == Label; });
  return Found != FRecords.rend() ? Found->Class : nullptr;
}

TAppExtensionList::TAppExtensionList() {
  Add(AppExtIdent("NETSCAPE2.0"), TGIFAppExtNSLoop::Class());
  Add(AppExtIdent("ANIMEXTS1.0"), TGIFAppExtNSLoop::Class());
}

void TAppExtensionList::Add(const TGIFAppExtIdent& Ident, const TGIFExtensionClass& Class) {
  FRecords.push_back({&Class, Ident});
}

const TGIFExtensionClass* TAppExtensionList::Find(const TGIFAppExtIdent& Ident) const {
  const auto Found =
      std::find_if(FRecords.rbegin(), FRecords.rend(), [&Ident](const TRecord& R) { return R.Ident == Ident; });
  return Found != FRecords.rend() ? Found->Class : nullptr;
}

TExtensionList& ExtensionRegistry() {
  static TExtensionList Registry;
  return Registry;
}

void RegisterExtension(uint8_t Label, const TGIFExtensionClass& Class) { ExtensionRegistry().Add(Label, Class); }

const TGIFExtensionClass* FindExtensionClass(uint8_t Label) { return ExtensionRegistry().Find(Label); }

TAppExtensionList& AppExtensionRegistry() {
  static TAppExtensionList Registry;
  return Registry;
}

void RegisterAppExtension(const TGIFAppExtIdent& Ident, const TGIFExtensionClass& Class) {
  AppExtensionRegistry().Add(Ident, Class);
}

const TGIFExtensionClass* FindAppExtensionClass(const TGIFAppExtIdent& Ident) {
  return AppExtensionRegistry().Find(Ident);
}

const TGIFExtensionClass* ResolveExtensionClass(base::TStream& Stream) {
  const int64_t Start = Stream.Position();
  const TGIFExtensionClass* Class = nullptr;
  uint8_t Label = 0;
  if (TryReadByte(Stream, Label)) {
    Class = FindExtensionClass(Label);
    while (Class != nullptr) {
      const TGIFExtensionClass* Next = Class->ResolveClass(Stream);
      if (Next == Class) break;
      Class = Next;
    }
  }
  Stream.SetPosition(Start);
  return Class;
}

}  // namespace gif
