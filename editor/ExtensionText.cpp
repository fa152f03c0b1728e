#include "editor/ExtensionText.h"

#include <QStringDecoder>
#include <cstdio>

#include "gif/ApplicationExtension.h"

namespace editor {

namespace {

bool Printable(uint8_t Byte) { return (Byte >= 32 && Byte <= 90) || (Byte >= 97 && Byte <= 122); }

}  // namespace

std::vector<std::string> HexDump(const gif::TGIFUnknownAppExtension& Extension) {
  std::vector<std::string> Lines;
  int Number = 0;
  for (const auto& Block : Extension.Blocks()) {
    char Header[64];
    std::snprintf(Header, sizeof Header, "Block: %.2d   Size: %.3d bytes", Number++, Block->Size());
    Lines.emplace_back(Header);
    Lines.emplace_back(65, '-');
    std::string Hex, Characters = " ";
    for (int I = 0; I < Block->Size(); ++I) {
      char Pair[4];
      std::snprintf(Pair, sizeof Pair, "%02X ", Block->Data()[I]);
      Hex += Pair;
      Characters += Printable(Block->Data()[I]) ? static_cast<char>(Block->Data()[I]) : '.';
      if (I % 16 == 15) {
        Lines.push_back(Hex + Characters);
        Hex.clear();
        Characters = " ";
      }
    }
    if (!Hex.empty()) Lines.push_back(Hex + std::string(48 - Hex.size(), ' ') + Characters);
    Lines.emplace_back();
  }
  return Lines;
}

QString CommentText(const std::string& Bytes) {
  QStringDecoder Decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString Text = Decoder(QByteArrayView(Bytes.data(), static_cast<qsizetype>(Bytes.size())));
  if (!Decoder.hasError()) return Text;
  return QString::fromLatin1(Bytes.data(), static_cast<qsizetype>(Bytes.size()));
}

}  // namespace editor
