// Writing an AVI 1.0 file with one video stream: the headers, a "movi" list of "00db"
// chunks and an "idx1" index. The file is written beside its target and renamed over it
// only when Finish succeeds, so a failed export leaves an old file as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/avi/AVIFormat.h"
#include "platform/base/Stream.h"

namespace avi {

// AVI 1.0 keeps sizes in 32 bits, and players trust no more than 2 GiB.
inline constexpr int64_t MaxAVIFileSize = int64_t{1} << 31;

class TAVIWriter {
 public:
  // EFCreateError when the temporary file beside FileName cannot be made.
  explicit TAVIWriter(const std::string& FileName, int64_t MaxFileSize = MaxAVIFileSize);

  bool HasStream() const { return FHasStream; }
  // The one video stream; false for a second stream or one that is not video.
  bool CreateStream(const AVISTREAMINFOA& Info);
  // The stream's format, a bitmap information header with its colour table; set once,
  // before the first frame.
  bool SetFormat(const void* Format, int32_t Size);
  // One frame at Position, at or after the end of what is written: the positions
  // skipped get empty chunks. False when the file would grow past its limit or a
  // write fails; what was written stays.
  bool Write(int32_t Position, const void* Data, int32_t Size, uint32_t Flags);
  // Writes the index and the final headers and renames the file over its target.
  // False when anything fails; the target is then untouched.
  bool Finish();

 private:
  void AppendChunk(const void* Data, uint32_t Size, uint32_t Flags);
  void WriteHeaders();
  int64_t HeadersSize() const;

  std::unique_ptr<base::TAtomicFileStream> FFile;
  const int64_t FMaxFileSize;
  bool FHasStream = false;
  AVISTREAMINFOA FInfo;
  std::vector<uint8_t> FFormat;
  std::vector<AVIINDEXENTRY> FIndex;
  uint32_t FLargestChunk = 0;
  int64_t FMoviSize = 4;  // the list type and the chunks after it
};

}  // namespace avi
