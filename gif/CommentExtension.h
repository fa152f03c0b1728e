// The comment extension (label 0xFE): text lines, one per data sub-block, kept as bytes.
#pragma once

#include "gif/Extension.h"
#include "platform/base/Strings.h"

namespace gif {

class TGIFCommentExtension : public TGIFExtension {
 public:
  ANIMORA_CLASS(TGIFCommentExtension)
  static const TGIFExtensionClass& Class();
  using TGIFExtension::TGIFExtension;

  uint8_t BlockLabel() const override { return 0xFE; }
  base::TStrings& Text() { return FText; }
  const base::TStrings& Text() const { return FText; }

  // A line of at least one byte.
  bool HasData() const override;
  void LoadFromStream(base::TStream& Stream) override;

 protected:
  void WriteBody(base::TStream& Stream) override;

 private:
  base::TStringList FText;
};

}  // namespace gif
