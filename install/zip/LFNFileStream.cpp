#include "install/zip/LFNFileStream.h"

#include <sys/stat.h>

namespace zip {

class TLFNFileHolder::TFile : public base::TFileStream {
 public:
  using base::TFileStream::TFileStream;
  int FileHandle() const { return Handle; }
};

TLFNFileHolder::TLFNFileHolder(const std::string& FileName, uint16_t Mode)
    : FFile(std::make_unique<TFile>(FileName, Mode == 0xFFFF ? uint16_t(base::fmCreate) : Mode)) {}

TLFNFileHolder::~TLFNFileHolder() = default;

TLFNFileStream::TLFNFileStream(const std::string& FileName, uint16_t Mode)
    : TLFNFileHolder(FileName, Mode), TS_BufferStream(*FFile), FName(FileName) {}

TLFNFileStream::~TLFNFileStream() {
  try {
    Flush();
  } catch (const base::Exception&) {
  }
}

TFileStamp TLFNFileStream::Stamp() const {
  struct stat Info {};
  if (::fstat(FFile->FileHandle(), &Info) != 0) return {};
  return {int64_t(Info.st_size), int64_t(Info.st_mtim.tv_sec), int64_t(Info.st_mtim.tv_nsec)};
}

}  // namespace zip
