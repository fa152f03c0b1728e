// ExtractState: the working state of one unzip run, shared by the extraction engine
// and the decoders. Its buffers and tables are allocated once per run; nothing of it
// outlives the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "install/zip/Inflate.h"
#include "install/zip/OutputWindow.h"
#include "platform/base/Crc32.h"

namespace zip {

struct ExtractState {
  // Bytes per archive read (also the step at which a cancel request is seen) and
  // per output piece (the step of the progress events).
  static constexpr size_t ChunkSize = 16000;

  // Opens the destination folder once for the run; empty means the current folder.
  explicit ExtractState(const std::string& DestDir);
  ~ExtractState();
  ExtractState(const ExtractState&) = delete;
  ExtractState& operator=(const ExtractState&) = delete;

  void UpdateCrc32(const void* Buffer, size_t Count) { Crc = base::Crc32Update(Crc, Buffer, Count); }

  std::vector<uint8_t> Input = std::vector<uint8_t>(ChunkSize);
  TOutputWindow Window;
  TInflate Inflater;
  // The folder every entry goes below, as named (what the events' names begin with),
  // and held open so no later change of the path or of a link above it moves the output.
  std::string DestDir;
  int DestFolder = -1;
  // The folder below it that the last entry went into, kept open for the next one.
  std::vector<std::string> LastPath;
  int LastFolder = -1;
  // The process's file mode mask, read once.
  unsigned Umask = 0;
  // Numbers the temporary files of the run.
  uint64_t TempCounter = 0;
  uint64_t CompressedLeft = 0;
  uint64_t UncompressedLeft = 0;
  uint64_t BytesWritten = 0;
  uint32_t Crc = base::Crc32Start;
  // The selected entries less one for each one skipped (by a password, an overwrite
  // decision or OnStartUnZip) or failed: the entries extracted.
  int ExtractedCount = 0;
  // A new password came after a CRC failure: extract the same entry again.
  bool Retry = false;
};

}  // namespace zip
