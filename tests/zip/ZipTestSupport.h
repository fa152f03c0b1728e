// Archives made by the tests with the library's own record writers, in a temporary folder.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "install/zip/ZipCrypt.h"
#include "install/zip/ZipRecords.h"
#include "platform/base/Crc32.h"
#include "platform/base/Stream.h"

namespace ziptest {

struct TEntrySpec {
  std::string Name;
  std::string Data;
  std::string Comment;
  std::string Password;  // encrypts with the traditional keys when set
  bool Descriptor = false;  // sizes and CRC after the data, 0 in the local header
};

// Writes stored entries, their central directory and the end record.
class TArchiveBuilder {
 public:
  std::string Prefix;
  std::string ArchiveComment;
  std::vector<TEntrySpec> Entries;

  std::string Build() const {
    base::TMemoryStream S;
    S.WriteBuffer(Prefix.data(), int64_t(Prefix.size()));
    std::vector<zip::TZipHeaderInfo> Headers;
    for (const TEntrySpec& Spec : Entries) {
      zip::TZipHeaderInfo H;
      const size_t Slash = Spec.Name.rfind('/');
      if (Slash != std::string::npos) H.SetDirectory(Spec.Name.substr(0, Slash + 1));
      H.SetFileName(Slash == std::string::npos ? Spec.Name : Spec.Name.substr(Slash + 1));
      H.CompressionMethod = 0;
      H.DateTime = 0x5A2B6C3D;
      H.CRC32 = base::Crc32(Spec.Data.data(), Spec.Data.size());
      std::string Payload = Spec.Data;
      if (!Spec.Password.empty()) {
        H.Flag |= zip::EncryptedFlag;
        std::string Header(11, '\x5A');
        Header += char(H.CRC32 >> 24);
        Payload = Encrypt(Spec.Password, Header + Spec.Data);
      }
      H.CompressedSize = Payload.size();
      H.UncompressedSize = Spec.Data.size();
      if (Spec.Descriptor) {
        H.Flag |= zip::DataDescriptorFlag;
        zip::TZipHeaderInfo Local;
        Local.Assign(&H);
        Local.CRC32 = 0;
        Local.CompressedSize = 0;
        Local.UncompressedSize = 0;
        Local.WriteLocal(S);
        H.LocalHeaderOffset = Local.LocalHeaderOffset - Prefix.size();
      } else {
        H.WriteLocal(S);
        H.LocalHeaderOffset -= Prefix.size();
      }
      S.WriteBuffer(Payload.data(), int64_t(Payload.size()));
      if (Spec.Descriptor) {
        const uint32_t D[4] = {zip::DataDescriptorSignature, H.CRC32, uint32_t(H.CompressedSize),
                               uint32_t(H.UncompressedSize)};
        S.WriteBuffer(D, 16);
      }
      H.SetFileCommentText(Spec.Comment);
      Headers.push_back(H);
    }
    zip::TEndCentral End;
    End.CentralOffset = uint64_t(S.Position()) - Prefix.size();
    for (const auto& H : Headers) H.WriteCentral(S);
    End.CentralSize = uint64_t(S.Position()) - Prefix.size() - End.CentralOffset;
    End.TotalEntries = End.EntriesThisDisk = uint16_t(Headers.size());
    End.SetCommentText(ArchiveComment);
    End.WriteRecord(S);
    return std::string(S.Bytes().begin(), S.Bytes().end());
  }

  static std::string Encrypt(const std::string& Password, const std::string& Plain) {
    zip::TZipKeys Keys;
    Keys.Init(Password);
    std::string Out = Plain;
    for (char& C : Out) {
      const uint8_t P = uint8_t(C);
      C = char(P ^ Keys.StreamByte());
      Keys.Update(P);
    }
    return Out;
  }
};

class TTempFolder {
 public:
  TTempFolder() {
    char Pattern[] = "/tmp/ziptestXXXXXX";
    Path = ::mkdtemp(Pattern);
    Path += '/';
  }
  ~TTempFolder() { std::filesystem::remove_all(Path); }
  std::string Write(const std::string& Name, const std::string& Bytes) const {
    std::ofstream(Path + Name, std::ios::binary) << Bytes;
    return Path + Name;
  }
  std::string Path;
};

}  // namespace ziptest
