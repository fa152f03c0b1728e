// Reading an archive's directory: the end record, then the central headers it points
// to. A directory that is missing, does not fit or holds fewer headers than promised
// is an incomplete archive, and IncompleteZipMode decides between an error and the
// recovery scan, which rebuilds the entries from their local headers.
#include <array>

#include "install/zip/ZipReader.h"
#include "platform/base/ByteOrder.h"

namespace zip {

namespace {

using base::TSeekOrigin;
using base::TStream;

constexpr int64_t MessageInterval = 10240;
const std::string AbortMessage = "User Aborted Operation";

uint32_t Get32(const uint8_t* P) { return uint32_t(base::LoadLittleEndian(P, 4)); }

bool NeedsZip64(const TZipHeaderInfo& E, bool Locator) {
  const bool AllOnes = E.CompressedSize == 0xFFFFFFFF || E.UncompressedSize == 0xFFFFFFFF ||
                       E.LocalHeaderOffset == 0xFFFFFFFF || E.DiskNumberStart == 0xFFFF;
  return AllOnes && (Locator || E.HasZip64Extra());
}

bool CentralSignatureAt(TStream& S, int64_t Offset) {
  uint8_t Sig[4];
  S.Seek(Offset, TSeekOrigin::soBeginning);
  return S.Read(Sig, 4) == 4 && Get32(Sig) == CentralHeaderSignature;
}

}  // namespace

void TZipReader::Incomplete() {
  TIncompleteZipMode Mode = FIncompleteZipMode;
  if (OnInCompleteZip) OnInCompleteZip(this, Mode);
  FIncompleteZipMode = Mode;
  if (Mode == izAssumeMulti) throw EIncompleteZip("Incomplete Zip File");
  if (FHooks) FHooks->SetBusy(true);
  try {
    RecoverDirectory();
  } catch (...) {
    if (FHooks) FHooks->SetBusy(false);
    throw;
  }
  if (FHooks) FHooks->SetBusy(false);
}

void TZipReader::ReadDirectory() {
  // Only a complete directory is held: after a failure the next open reads again.
  FStamp = {};
  const std::string Name = FZipName;
  try {
    ReadEntries();
  } catch (...) {
    DropLists();
    FStamp = {};
    if (FZipName != Name) {
      FArchive.reset();
      FZipName = Name;
    }
    throw;
  }
  FStamp = FArchive->Stamp();
}

void TZipReader::ReadEntries() {
  DropLists();
  FRecovered = false;
  FVolumes = 1;
  FCurrentVolume = 0;
  bool Sound = FEndCentral.FindEndRecord(*FArchive);
  // 65535 entries is the count that stands for a Zip64 one, and more than a list holds.
  if (Sound && (FEndCentral.NeedsZip64 || FEndCentral.TotalEntries > MaxObjectListSize))
    throw EUnsupportedZip("Zip64 archives are not supported");
  int64_t Shift = 0;
  if (Sound) {
    FCurrentVolume = FEndCentral.ThisDisk;
    SetMultiMode(FEndCentral.ThisDisk != 0 ? mmBlocks : mmNone);
    if (FEndCentral.CentralStartDisk > FEndCentral.ThisDisk) {
      Sound = false;
    } else if (FEndCentral.CentralStartDisk != FCurrentVolume) {
      GetNextDisk(FEndCentral.CentralStartDisk + 1);
    } else {
      // Bytes before the archive (a self-extractor stub) move everything by the same amount.
      Shift = int64_t(FEndCentral.RecordPosition) - int64_t(FEndCentral.CentralOffset + FEndCentral.CentralSize);
    }
    if (Sound && FEndCentral.TotalEntries > 0) {
      if (CentralSignatureAt(*FArchive, int64_t(FEndCentral.CentralOffset) + Shift))
        FArchive->Seek(int64_t(FEndCentral.CentralOffset) + Shift, TSeekOrigin::soBeginning);
      else if (Shift != 0 && CentralSignatureAt(*FArchive, int64_t(FEndCentral.CentralOffset))) {
        FArchive->Seek(int64_t(FEndCentral.CentralOffset), TSeekOrigin::soBeginning);
        Shift = 0;
      } else {
        Sound = false;
      }
    }
    // The directory moved with the entries; its start is where the last entry's room ends.
    if (Sound && GetMultiMode() == mmNone) FEndCentral.CentralOffset += uint64_t(Shift);
  }
  if (!Sound) {
    Incomplete();
    if (!FEntries) {
      Sort(FSortMode);
      return;
    }
  } else {
    FEntries = std::make_unique<TSortedZip>(dupError);
    FEntries->SortMode = ByNone;
    for (int I = 0; I < FEndCentral.TotalEntries; ++I) {
      auto Entry = std::make_unique<TZipHeaderInfo>();
      TStream* Stream = FArchive.get();
      const TNextVolume Next = [this]() -> TStream* {
        if (FCurrentVolume + 1 > FEndCentral.ThisDisk) return FArchive.get();
        return GetNextDisk(FCurrentVolume + 2);
      };
      if (!Entry->ReadCentral(Stream, GetMultiMode() != mmNone ? Next : TNextVolume())) {
        // Fewer headers than the end record promises: never a silent partial directory.
        DropLists();
        Incomplete();
        break;
      }
      if (NeedsZip64(*Entry, false)) throw EUnsupportedZip("Zip64 archives are not supported");
      if (GetMultiMode() == mmNone) Entry->LocalHeaderOffset += uint64_t(Shift);
      FEntries->Add(Entry.get());
      Entry.release();
    }
  }
  if (FRecovered) {
    ReadCentralHeaders();
  } else {
    FVolumes = FEndCentral.ThisDisk + 1;
    FCurrentVolume = FEndCentral.ThisDisk;
  }
  Sort(FSortMode);
}

// After a recovery: central headers that follow the entries complete the recovered
// entries they describe; the others are dropped.
void TZipReader::ReadCentralHeaders() {
  if (!FEntries || FEntries->Count() == 0) return;
  FArchive->Seek(int64_t(FEndCentral.CentralOffset), TSeekOrigin::soBeginning);
  for (int Read = 0; Read < MaxObjectListSize; ++Read) {
    TZipHeaderInfo Central;
    TStream* Stream = FArchive.get();
    if (!Central.ReadCentral(Stream, nullptr)) break;
    const int Index = FEntries->IndexOf(&Central);
    if (Index < 0 || NeedsZip64(Central, false)) continue;
    TZipHeaderInfo& Entry = *FEntries->Entries(Index);
    const uint64_t Offset = Entry.LocalHeaderOffset;
    Entry.Assign(&Central);
    Entry.LocalHeaderOffset = Offset;
  }
}

bool TZipReader::RecoverDirectory() {
  FRecovered = true;
  DropLists();
  TStream& S = *FArchive;
  const int64_t Size = S.Size();
  S.Seek(0, TSeekOrigin::soBeginning);
  int64_t NotP = 0;
  // Moves to the next local header (true) or stops at a central header or the end.
  auto NextHeader = [&](int64_t& At) {
    std::array<uint8_t, 4> Window{};
    int64_t Have = 0;
    uint8_t B = 0;
    while (S.Read(&B, 1) == 1) {
      Window = {Window[1], Window[2], Window[3], B};
      ++Have;
      if (B != 0x50 && ++NotP % MessageInterval == 0) CheckCancel(AbortMessage);
      if (Have < 4) continue;
      const uint32_t Sig = Get32(Window.data());
      if (Sig == LocalHeaderSignature || Sig == CentralHeaderSignature) {
        At = S.Position() - 4;
        return Sig == LocalHeaderSignature;
      }
    }
    At = S.Position();
    return false;
  };
  // The data descriptor that closes data begun at Start: its compressed size is the
  // distance it lies from Start, and its signature or the next header confirms it.
  auto FindDescriptor = [&](int64_t Start, TZipHeaderInfo& Entry) {
    std::array<uint8_t, 16> W{};
    int64_t Have = 0;
    uint8_t B = 0;
    S.Seek(Start, TSeekOrigin::soBeginning);
    while (S.Read(&B, 1) == 1) {
      for (size_t I = 0; I + 1 < W.size(); ++I) W[I] = W[I + 1];
      W[15] = B;
      if (B != 0x50 && ++NotP % MessageInterval == 0) CheckCancel(AbortMessage);
      if (++Have < 16) continue;
      const int64_t Q = S.Position() - 16;
      const uint64_t Distance = uint64_t(Q - Start);
      if (Get32(W.data()) == DataDescriptorSignature && Get32(W.data() + 8) == Distance) {
        Entry.CRC32 = Get32(W.data() + 4);
        Entry.CompressedSize = Distance;
        Entry.UncompressedSize = Get32(W.data() + 12);
        return true;
      }
      const uint32_t Next = Get32(W.data() + 12);
      if (Get32(W.data() + 4) == Distance &&
          (Next == LocalHeaderSignature || Next == CentralHeaderSignature)) {
        Entry.CRC32 = Get32(W.data());
        Entry.CompressedSize = Distance;
        Entry.UncompressedSize = Get32(W.data() + 8);
        S.Seek(Q + 12, TSeekOrigin::soBeginning);
        return true;
      }
      // The next header ends the search, so a scan never passes more than one entry.
      if (Next == LocalHeaderSignature || Next == CentralHeaderSignature) return false;
    }
    return false;
  };

  int64_t At = 0;
  bool Found = NextHeader(At);
  if (!Found) {
    FEndCentral.Clear();
    FVolumes = 1;
    FCurrentVolume = 0;
    return false;
  }
  FEntries = std::make_unique<TSortedZip>(dupError);
  FEntries->SortMode = ByNone;
  while (Found) {
    S.Seek(At, TSeekOrigin::soBeginning);
    auto Entry = std::make_unique<TZipHeaderInfo>();
    if (!Entry->ReadLocal(S)) {
      S.Seek(At + 1, TSeekOrigin::soBeginning);
    } else {
      const int64_t Data = S.Position();
      if (Entry->HasDataDescriptor() && Entry->CompressedSize == 0) {
        if (!FindDescriptor(Data, *Entry)) S.Seek(Data, TSeekOrigin::soBeginning);
      } else {
        S.Seek(std::min(Size, Data + int64_t(Entry->CompressedSize)), TSeekOrigin::soBeginning);
      }
      if (FEntries->Count() == MaxObjectListSize) break;
      FEntries->Add(Entry.get());
      Entry.release();
    }
    Found = NextHeader(At);
  }
  FEndCentral.Clear();
  FEndCentral.CentralOffset = uint64_t(At);
  FEndCentral.TotalEntries = uint16_t(FEntries->Count());
  FEndCentral.EntriesThisDisk = FEndCentral.TotalEntries;
  FVolumes = 1;
  FCurrentVolume = 0;
  SetMultiMode(mmNone);
  return FEntries->Count() > 0;
}

}  // namespace zip
