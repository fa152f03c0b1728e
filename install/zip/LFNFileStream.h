// The file stream the zip library uses for every file: a file opened by name and mode,
// read and written through the 8192-byte buffer of TS_BufferStream.
#pragma once

#include <memory>
#include <string>

#include "install/zip/BufStream.h"
#include "install/zip/ZipUtil.h"

namespace zip {

// Holds the file so it is opened before, and closed after, the buffer that serves it.
class TLFNFileHolder {
 protected:
  class TFile;
  TLFNFileHolder(const std::string& FileName, uint16_t Mode);
  ~TLFNFileHolder();
  std::unique_ptr<TFile> FFile;
};

class TLFNFileStream : private TLFNFileHolder, public TS_BufferStream {
 public:
  ANIMORA_CLASS(TLFNFileStream)
  // Modes as the file streams take them; 0xFFFF also means create. Raises EFOpenError
  // or EFCreateError when the file cannot be had.
  TLFNFileStream(const std::string& FileName, uint16_t Mode);
  ~TLFNFileStream() override;

  const std::string& FileName() const { return FName; }
  // Size and modification time of the open file.
  TFileStamp Stamp() const;

 private:
  std::string FName;
};

}  // namespace zip
