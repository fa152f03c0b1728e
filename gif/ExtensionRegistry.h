// The two process-wide registries that map a block's label, and an application
// block's 11 identifier bytes, to the extension class that reads it. Both are made on
// first use; a later registration of the same key wins.
#pragma once

#include <cstdint>
#include <vector>

#include "gif/ApplicationExtension.h"
#include "gif/Extension.h"

namespace gif {

class TExtensionList {
 public:
  // Text, graphic control, comment and application extensions.
  TExtensionList();
  void Add(uint8_t Label, const TGIFExtensionClass& Class);
  // The class registered last for Label; none when there is none.
  const TGIFExtensionClass* Find(uint8_t Label) const;

 private:
  struct TRecord {
    const TGIFExtensionClass* Class;
    uint8_t Label;
  };
  std::vector<TRecord> FRecords;
};

class TAppExtensionList {
 public:
  // "NETSCAPE2.0" and "ANIMEXTS1.0", both loop extensions.
  TAppExtensionList();
  void Add(const TGIFAppExtIdent& Ident, const TGIFExtensionClass& Class);
  // The class registered last for all 11 bytes of Ident; none when there is none.
  const TGIFExtensionClass* Find(const TGIFAppExtIdent& Ident) const;

 private:
  struct TRecord {
    const TGIFExtensionClass* Class;
    TGIFAppExtIdent Ident;
  };
  std::vector<TRecord> FRecords;
};

TExtensionList& ExtensionRegistry();
void RegisterExtension(uint8_t Label, const TGIFExtensionClass& Class);
const TGIFExtensionClass* FindExtensionClass(uint8_t Label);

TAppExtensionList& AppExtensionRegistry();
void RegisterAppExtension(const TGIFAppExtIdent& Ident, const TGIFExtensionClass& Class);
const TGIFExtensionClass* FindAppExtensionClass(const TGIFAppExtIdent& Ident);

// The class that reads the extension block whose label is next in Stream (just after
// the '!'), or none; the stream is left where it was.
const TGIFExtensionClass* ResolveExtensionClass(base::TStream& Stream);

}  // namespace gif
