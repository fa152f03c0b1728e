// Application extensions (label 0xFF): an 8-byte application identifier, a 3-byte
// authentication code and application data sub-blocks. Blocks of applications this
// library does not know are kept as they are and written back unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gif/Extension.h"

namespace gif {

// The identifier and the authentication code, as they stand in the block.
using TGIFAppExtIdent = std::array<uint8_t, 11>;
// The first 11 characters of Text, zero-padded ("NETSCAPE2.0").
TGIFAppExtIdent AppExtIdent(std::string_view Text);

class TGIFApplicationExtension : public TGIFExtension {
 public:
  ANIMORA_CLASS(TGIFApplicationExtension)
  // Resolves a block by its identifier. The class itself reads no data, so what is
  // made of it is an unknown application extension.
  static const TGIFExtensionClass& Class();
  using TGIFExtension::TGIFExtension;

  uint8_t BlockLabel() const override { return 0xFF; }
  // Texts end at the first zero byte; setting keeps at most 8 and 3 characters.
  std::string Identifier() const;
  void SetIdentifier(std::string_view Value);
  std::string Authentication() const;
  void SetAuthentication(std::string_view Value);

  // Block sizes below 10 raise "Unsupported Application Extension block size"; size
  // 10 leaves the last authentication byte 0; header bytes past 11 are kept, so that
  // such a block is written back as it was and still reads as an unknown one.
  void LoadFromStream(base::TStream& Stream) override;

 protected:
  // With block size 11, or with the size read when that was above 11.
  void WriteBody(base::TStream& Stream) override;
  virtual void WriteAppData(base::TStream& Stream) = 0;
  virtual void ReadAppData(base::TStream& Stream) = 0;

 private:
  TGIFAppExtIdent FIdent{};
  std::vector<uint8_t> FHeaderRest;  // header bytes after the identifier
};

// One data sub-block.
class TGIFBlock : public base::TObject {
 public:
  ANIMORA_CLASS(TGIFBlock)
  // Size zero bytes.
  explicit TGIFBlock(uint8_t ASize) : FData(ASize) {}

  uint8_t Size() const { return static_cast<uint8_t>(FData.size()); }
  uint8_t* Data() { return FData.data(); }
  const uint8_t* Data() const { return FData.data(); }

  // Size bytes, or "Premature end of data".
  void LoadFromStream(base::TStream& Stream);
  // The size byte and the data.
  void SaveToStream(base::TStream& Stream) const;

 private:
  std::vector<uint8_t> FData;
};

class TGIFUnknownAppExtension : public TGIFApplicationExtension {
 public:
  ANIMORA_CLASS(TGIFUnknownAppExtension)
  static const TGIFExtensionClass& Class();
  using TGIFApplicationExtension::TGIFApplicationExtension;

  // The data sub-blocks in stream order.
  std::vector<std::unique_ptr<TGIFBlock>>& Blocks() { return FBlocks; }
  const std::vector<std::unique_ptr<TGIFBlock>>& Blocks() const { return FBlocks; }
  // A block of at least one byte.
  bool HasData() const override;

 protected:
  // The blocks that hold bytes, then 0.
  void WriteAppData(base::TStream& Stream) override;
  // The data ending where a size byte should be ends the blocks quietly.
  void ReadAppData(base::TStream& Stream) override;

 private:
  std::vector<std::unique_ptr<TGIFBlock>> FBlocks;
};

}  // namespace gif
