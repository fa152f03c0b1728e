// The entry extraction engine: extracts one entry of the archive the host has open,
// below the run's destination folder. The host is the reading component: it gives the
// entries, the archive volumes, the password check and decryption, the cancel check,
// the questions and its events; the engine positions at the entry, builds a safe
// destination, decodes into a temporary file beside it and renames that into place
// only when CRC and size agree.
#pragma once

#include <cstdint>
#include <string>

#include "install/zip/ExtractState.h"
#include "install/zip/ZipRecords.h"

namespace base {
class TStream;
}

namespace zip {

class TExtractHost {
 public:
  virtual ~TExtractHost() = default;

  // Settings of the run.
  virtual const std::string& RootDir() const = 0;
  virtual bool RecreateDirs() const = 0;
  virtual bool RetainAttributes() const = 0;

  // The entry at FileIndex of the sorted view, and the private copy of the entry being
  // extracted, whose compressed size counts down as its data is read.
  virtual const TZipHeaderInfo& Entry(int FileIndex) const = 0;
  virtual TZipHeaderInfo& CurrentEntry() = 0;
  // Where the entry's room in its volume ends: the next local header or the central
  // directory. Data that runs past it overlaps another entry.
  virtual uint64_t EntryEnd(int FileIndex) const = 0;
  // The open volume; the volume number open (from 0); the number of volumes the end
  // record gives, and whether another volume can be asked for.
  virtual base::TStream& Archive() = 0;
  virtual int CurrentVolume() const = 0;
  virtual int Volumes() const = 0;
  virtual bool CanAskForVolumes() const = 0;
  // Opens volume Disk (from 1) in place of the open one.
  virtual void GetNextDisk(int Disk) = 0;
  // Reads and checks the encryption header at the archive's position (taking 12 from
  // the current entry's compressed size); false when it was skipped (OnSkippingFile).
  virtual bool CheckPassword(int FileIndex) = 0;
  virtual void DecryptBuffer(uint8_t* Data, size_t Count) = 0;
  // Once per input chunk: pumps messages and raises EUserCanceled on a cancel request.
  virtual void CheckCancel() = 0;
  // An existing destination: true to overwrite (FName may change); false has skipped
  // (OnSkippingFile with srNoOverwrite).
  virtual bool ConfirmOverwrite(int FileIndex, std::string& FName) = 0;
  virtual void Inform(const std::string& Text, const std::string& Caption) = 0;

  // Events.
  virtual void StartUnZip(int FileIndex, const std::string& FName, bool& Skip) = 0;
  // After each output piece: the entry's percentage and the piece's size (for the total).
  virtual void Progress(int FilePercent, uint64_t PieceBytes) = 0;
  virtual void EndUnZip(int FileIndex, const std::string& FName) = 0;
  virtual void BadCRC(uint32_t CalcCRC, uint32_t StoredCRC, int FileIndex) = 0;
  // A CRC failure of an encrypted entry: true when a new password was given.
  virtual bool BadPassword(int FileIndex) = 0;
  virtual void SkippingBadPassword(int FileIndex) = 0;
  // Why an entry failed or was skipped for its password, once per such entry.
  virtual void EntryFailed(int FileIndex, const std::string& Message) = 0;
};

// Extracts the entry at FileIndex; adjusts State.ExtractedCount and may set State.Retry.
// EUserCanceled and EFatalUnzipError leave it after the temporary file is removed.
void ExtractEntry(ExtractState& State, TExtractHost& Host, int FileIndex);

// The entry's path below the destination as folders and a name, "." components
// dropped; false for an absolute path, a drive prefix or a ".." component ("\"
// counting as a separator).
bool SafeRelativePath(const std::string& Path, std::vector<std::string>& Components);

}  // namespace zip
