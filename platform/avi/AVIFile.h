// The AVI file service: files, their streams and frame decompression, as the calls of
// the platform's AVI file library. Reading takes the first RIFF of AVI 1.0 files (and of
// larger files, what their first part holds); writing makes AVI 1.0 files with one
// video stream. Results are AVIERR_OK or a negative error code; nothing throws.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/avi/AVIFormat.h"
#include "platform/base/Stream.h"
#include "platform/gdi/DIB.h"

namespace avi {

using HRESULT = int32_t;
enum : HRESULT {
  AVIERR_OK = 0,
  AVIERR_UNSUPPORTED = -1,
  AVIERR_BADFORMAT = -2,
  AVIERR_FILEREAD = -3,
  AVIERR_FILEWRITE = -4,
  AVIERR_FILEOPEN = -5,
  AVIERR_NODATA = -6,
  AVIERR_BADPARAM = -7,
  AVIERR_NOTINITIALIZED = -8,
};

// Open modes.
enum : uint32_t {
  OF_READ = 0x0000,
  OF_WRITE = 0x0001,
  OF_SHARE_EXCLUSIVE = 0x0010,
  OF_SHARE_DENY_WRITE = 0x0020,
  OF_CREATE = 0x1000,
};

struct TAVIFile;
struct TAVIStream;
struct TAVIGetFrame;
using PAVIFILE = TAVIFile*;
using PAVISTREAM = TAVIStream*;
using PGETFRAME = TAVIGetFrame*;

// Files open only between AVIFileInit and the matching AVIFileExit (calls nest).
void AVIFileInit();
void AVIFileExit();

// Opens FileName for reading, or with OF_CREATE makes a new file that appears under
// that name only when it is released finished. AVIERR_FILEOPEN when the file cannot be
// opened or made, AVIERR_BADFORMAT when it is no AVI file.
HRESULT AVIFileOpenA(PAVIFILE* File, const std::string& FileName, uint32_t Mode);
// The same for reading bytes already in memory (tests and the fuzz harness).
HRESULT AVIFileOpenStream(PAVIFILE* File, std::unique_ptr<base::TStream> Stream);
// The Index-th stream of Type (0: any type); AVIERR_NODATA when there is none. A stream
// belongs to its file and lives until AVIStreamRelease or the file's release.
HRESULT AVIFileGetStream(PAVIFILE File, PAVISTREAM* Stream, FOURCC Type, int32_t Index);
// Frees a file read or abandons a file being made; a file made and finished is renamed
// into place. AVIERR_FILEWRITE when finishing fails or nothing was written (the target
// is then untouched).
HRESULT AVIFileRelease(PAVIFILE File);
// Frees a file being made without finishing it: its target stays as it was.
void AVIFileDiscard(PAVIFILE File);

// Copies up to Size bytes of the stream's information. Its length is the number of
// frames the file really holds, whatever its header says.
HRESULT AVIStreamInfo(PAVISTREAM Stream, AVISTREAMINFOA* Info, int32_t Size);
// With no Format, *Size becomes the format's size; else up to *Size bytes are copied
// and *Size becomes the number copied.
HRESULT AVIStreamReadFormat(PAVISTREAM Stream, int32_t Position, void* Format, int32_t* Size);
// Streaming needs no preparation here: both check that the stream is one being read.
HRESULT AVIStreamBeginStreaming(PAVISTREAM Stream, int32_t Start, int32_t End, int32_t Rate);
HRESULT AVIStreamEndStreaming(PAVISTREAM Stream);
uint32_t AVIStreamRelease(PAVISTREAM Stream);

// A decompressor giving each frame as a packed DIB (see AVIFrameDecoder.h). Wanted must
// be none: only the stream's own depth is offered. None for a format it cannot decode.
PGETFRAME AVIStreamGetFrameOpen(PAVISTREAM Stream, const gdi::BITMAPINFOHEADER* Wanted);
// The frame at Position (the stream's start counts as its first), valid until the next
// call or the close; none when it cannot be decoded or lies outside the stream.
const gdi::BITMAPINFOHEADER* AVIStreamGetFrame(PGETFRAME GetFrame, int32_t Position);
// Whether the frame at Position shows the same picture as the one before it, so that
// a reader may keep one copy (see TAVIFrameDecoder::Repeats); false when unknown.
bool AVIStreamFrameRepeats(PGETFRAME GetFrame, int32_t Position);
HRESULT AVIStreamGetFrameClose(PGETFRAME GetFrame);

// The one video stream of a file being made.
HRESULT AVIFileCreateStreamA(PAVIFILE File, PAVISTREAM* Stream, const AVISTREAMINFOA* Info);
// The format of the whole stream, given once at position 0 before any frame.
HRESULT AVIStreamSetFormat(PAVISTREAM Stream, int32_t Position, const void* Format, int32_t Size);
// One frame (Samples = 1) at Start, at or after the frames written so far; positions
// passed over hold empty frames. AVIERR_FILEWRITE when it cannot be written or the file
// would pass 2 GiB.
HRESULT AVIStreamWrite(PAVISTREAM Stream, int32_t Start, int32_t Samples, const void* Buffer, int32_t BufferSize,
                       uint32_t Flags, int32_t* SamplesWritten, int32_t* BytesWritten);

}  // namespace avi
