#include "gif/ApplicationExtension.h"

#include <algorithm>

#include "gif/ExtensionRegistry.h"
#include "gif/StreamHelpers.h"

namespace gif {
namespace {

constexpr size_t IdentifierBytes = 8;
constexpr size_t AuthenticationBytes = 3;

// With the stream after the label: a registered class for a block of size 11, an
// unknown application extension for a block of size 10 or of more than 11 (nothing
// is registered for such headers), none when a size-10 header is cut short, and the
// application class itself for anything else, which its reading then rejects.
const TGIFExtensionClass* ResolveApplicationClass(base::TStream& Stream) {
  const int64_t Start = Stream.Position();
  uint8_t Size = 0;
  if (!TryReadByte(Stream, Size)) return nullptr;
  TGIFAppExtIdent Ident{};
  if (Size == 10) return Stream.Read(Ident.data(), 10) == 10 ? &TGIFUnknownAppExtension::Class() : nullptr;
  if (Size >= 11 && Stream.Read(Ident.data(), 11) == 11) {
    const TGIFExtensionClass* Found = Size == 11 ? FindAppExtensionClass(Ident) : nullptr;
    return Found != nullptr ? Found : &TGIFUnknownAppExtension::Class();
  }
  Stream.SetPosition(Start);
  return &TGIFApplicationExtension::Class();
}

std::string TextOf(const uint8_t* Bytes, size_t Count) {
  return std::string(Bytes, std::find(Bytes, Bytes + Count, 0));
}

void StoreText(uint8_t* Bytes, size_t Count, std::string_view Value) {
  std::fill(Bytes, Bytes + Count, 0);
  std::copy_n(Value.begin(), std::min(Count, Value.size()), Bytes);
}

}  // namespace

TGIFAppExtIdent AppExtIdent(std::string_view Text) {
  TGIFAppExtIdent Ident{};
  StoreText(Ident.data(), Ident.size(), Text);
  return Ident;
}

const TGIFExtensionClass& TGIFApplicationExtension::Class() {
  static const TGIFExtensionClass Descriptor{"TGIFApplicationExtension", &CreateExtension<TGIFUnknownAppExtension>,
                                             &ResolveApplicationClass};
  return Descriptor;
}

std::string TGIFApplicationExtension::Identifier() const { return TextOf(FIdent.data(), IdentifierBytes); }

void TGIFApplicationExtension::SetIdentifier(std::string_view Value) {
  StoreText(FIdent.data(), IdentifierBytes, Value);
}

std::string TGIFApplicationExtension::Authentication() const {
  return TextOf(FIdent.data() + IdentifierBytes, AuthenticationBytes);
}

void TGIFApplicationExtension::SetAuthentication(std::string_view Value) {
  StoreText(FIdent.data() + IdentifierBytes, AuthenticationBytes, Value);
}

void TGIFApplicationExtension::WriteBody(base::TStream& Stream) {
  const auto Size = static_cast<uint8_t>(FIdent.size() + FHeaderRest.size());
  Stream.WriteBuffer(&Size, 1);
  Stream.WriteBuffer(FIdent.data(), FIdent.size());
  if (!FHeaderRest.empty()) Stream.WriteBuffer(FHeaderRest.data(), static_cast<int64_t>(FHeaderRest.size()));
  WriteAppData(Stream);
}

void TGIFApplicationExtension::LoadFromStream(base::TStream& Stream) {
  TGIFExtension::LoadFromStream(Stream);
  const uint8_t Size = ReadByte(Stream);
  if (Size < 10) RaiseGIFError("Unsupported Application Extension block size");
  FHeaderRest.clear();
  if (Size == 10) {
    ReadExactly(Stream, FIdent.data(), 10);
    FIdent[10] = 0;
  } else {
    ReadExactly(Stream, FIdent.data(), FIdent.size());
    FHeaderRest.resize(Size - FIdent.size());
    if (!FHeaderRest.empty()) ReadExactly(Stream, FHeaderRest.data(), static_cast<int64_t>(FHeaderRest.size()));
  }
  ReadAppData(Stream);
}

void TGIFBlock::LoadFromStream(base::TStream& Stream) { ReadExactly(Stream, FData.data(), Size()); }

void TGIFBlock::SaveToStream(base::TStream& Stream) const {
  const uint8_t BlockSize = Size();
  Stream.WriteBuffer(&BlockSize, 1);
  Stream.WriteBuffer(FData.data(), BlockSize);
}

const TGIFExtensionClass& TGIFUnknownAppExtension::Class() {
  static const TGIFExtensionClass Descriptor{"TGIFUnknownAppExtension", &CreateExtension<TGIFUnknownAppExtension>};
  return Descriptor;
}

bool TGIFUnknownAppExtension::HasData() const {
  return std::any_of(FBlocks.begin(), FBlocks.end(), [](const auto& Block) { return Block->Size() > 0; });
}

void TGIFUnknownAppExtension::WriteAppData(base::TStream& Stream) {
  // A block of no bytes would end the data where it stands.
  for (const auto& Block : FBlocks)
    if (Block->Size() > 0) Block->SaveToStream(Stream);
  const uint8_t Terminator = 0;
  Stream.WriteBuffer(&Terminator, 1);
}

void TGIFUnknownAppExtension::ReadAppData(base::TStream& Stream) {
  FBlocks.clear();
  uint8_t Size = 0;
  while (TryReadByte(Stream, Size) && Size != 0) {
    auto Block = std::make_unique<TGIFBlock>(Size);
    Block->LoadFromStream(Stream);
    FBlocks.push_back(std::move(Block));
  }
}

}  // namespace gif
