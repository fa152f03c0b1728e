#include "platform/avi/AVIFile.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/avi/AVIFrameDecoder.h"
#include "platform/avi/AVIReader.h"
#include "platform/avi/AVIWriter.h"

namespace avi {

struct TAVIStream {
  TAVIFile* File = nullptr;
  AVISTREAMINFOA Info;
  std::vector<uint8_t> Format;
  TAVIStreamChunks Chunks;
};

struct TAVIFile {
  std::unique_ptr<base::TStream> Source;  // a file being read
  TAVIContainer Container;
  std::unique_ptr<TAVIWriter> Writer;  // a file being made
  std::vector<std::unique_ptr<TAVIStream>> Streams;
};

struct TAVIGetFrame {
  TAVIStream* Stream = nullptr;
  TAVIFrameDecoder Decoder;
};

namespace {

std::atomic<int> InitCount = 0;

AVISTREAMINFOA InfoOf(const AVIStreamHeader& Header, const TAVIStreamChunks& Chunks) {
  AVISTREAMINFOA Info;
  Info.fccType = Header.fccType;
  Info.fccHandler = Header.fccHandler;
  Info.dwFlags = Header.dwFlags;
  Info.wPriority = Header.wPriority;
  Info.wLanguage = Header.wLanguage;
  Info.dwScale = Header.dwScale;
  Info.dwRate = Header.dwRate;
  Info.dwLength = static_cast<uint32_t>(Chunks.Frames.size());
  // Positions stay within 32 bits.
  Info.dwStart = std::min<uint32_t>(Header.dwStart, INT32_MAX - Info.dwLength);
  Info.dwInitialFrames = Header.dwInitialFrames;
  Info.dwSuggestedBufferSize = Header.dwSuggestedBufferSize;
  Info.dwQuality = Header.dwQuality;
  Info.dwSampleSize = Header.dwSampleSize;
  for (int I = 0; I < 4; ++I) Info.rcFrame[I] = Header.rcFrame[I];
  Info.dwFormatChangeCount = static_cast<uint32_t>(Chunks.PaletteChanges.size());
  return Info;
}

bool Reading(PAVISTREAM Stream) { return Stream && Stream->File->Source; }
bool Writing(PAVISTREAM Stream) { return Stream && Stream->File->Writer; }

}  // namespace

void AVIFileInit() { ++InitCount; }

void AVIFileExit() {
  if (InitCount > 0) --InitCount;
}

HRESULT AVIFileOpenStream(PAVIFILE* File, std::unique_ptr<base::TStream> Stream) {
  *File = nullptr;
  if (InitCount == 0) return AVIERR_NOTINITIALIZED;
  auto Opened = std::make_unique<TAVIFile>();
  try {
    Opened->Container = ReadAVIContainer(*Stream);
  } catch (const std::exception&) {
    return AVIERR_BADFORMAT;
  }
  Opened->Source = std::move(Stream);
  *File = Opened.release();
  return AVIERR_OK;
}

HRESULT AVIFileOpenA(PAVIFILE* File, const std::string& FileName, uint32_t Mode) {
  *File = nullptr;
  if (InitCount == 0) return AVIERR_NOTINITIALIZED;
  if (Mode & OF_CREATE) {
    auto Made = std::make_unique<TAVIFile>();
    try {
      Made->Writer = std::make_unique<TAVIWriter>(FileName);
    } catch (const std::exception&) {
      return AVIERR_FILEOPEN;
    }
    *File = Made.release();
    return AVIERR_OK;
  }
  std::unique_ptr<base::TStream> Stream;
  try {
    Stream = std::make_unique<base::TFileStream>(FileName, base::fmOpenRead | base::fmShareDenyWrite);
  } catch (const std::exception&) {
    return AVIERR_FILEOPEN;
  }
  return AVIFileOpenStream(File, std::move(Stream));
}

HRESULT AVIFileGetStream(PAVIFILE File, PAVISTREAM* Stream, FOURCC Type, int32_t Index) {
  *Stream = nullptr;
  if (!File || !File->Source) return AVIERR_BADPARAM;
  const auto& Entries = File->Container.Streams;
  for (size_t Number = 0; Number < Entries.size(); ++Number) {
    const TAVIStreamEntry& Entry = Entries[Number];
    if (Type != 0 && Entry.Header.fccType != Type) continue;
    if (Index-- > 0) continue;
    auto Opened = std::make_unique<TAVIStream>();
    Opened->File = File;
    Opened->Format = Entry.Format;
    try {
      Opened->Chunks = ReadStreamChunks(*File->Source, File->Container, static_cast<int>(Number));
    } catch (const std::exception&) {
      return AVIERR_FILEREAD;
    }
    Opened->Info = InfoOf(Entry.Header, Opened->Chunks);
    *Stream = Opened.get();
    File->Streams.push_back(std::move(Opened));
    return AVIERR_OK;
  }
  return AVIERR_NODATA;
}

HRESULT AVIFileRelease(PAVIFILE File) {
  if (!File) return AVIERR_BADPARAM;
  const bool Finished = !File->Writer || File->Writer->Finish();
  delete File;
  return Finished ? AVIERR_OK : AVIERR_FILEWRITE;
}

void AVIFileDiscard(PAVIFILE File) { delete File; }

HRESULT AVIStreamInfo(PAVISTREAM Stream, AVISTREAMINFOA* Info, int32_t Size) {
  if (!Stream || !Info || Size < 0) return AVIERR_BADPARAM;
  std::memcpy(Info, &Stream->Info, std::min<size_t>(static_cast<size_t>(Size), sizeof Stream->Info));
  return AVIERR_OK;
}

HRESULT AVIStreamReadFormat(PAVISTREAM Stream, int32_t, void* Format, int32_t* Size) {
  if (!Reading(Stream) || !Size) return AVIERR_BADPARAM;
  const auto Stored = static_cast<int32_t>(Stream->Format.size());
  if (!Format) {
    *Size = Stored;
    return AVIERR_OK;
  }
  *Size = std::clamp(*Size, 0, Stored);
  if (*Size > 0) std::memcpy(Format, Stream->Format.data(), static_cast<size_t>(*Size));
  return AVIERR_OK;
}

HRESULT AVIStreamBeginStreaming(PAVISTREAM Stream, int32_t, int32_t, int32_t) {
  return Reading(Stream) ? AVIERR_OK : AVIERR_UNSUPPORTED;
}

HRESULT AVIStreamEndStreaming(PAVISTREAM Stream) { return Reading(Stream) ? AVIERR_OK : AVIERR_UNSUPPORTED; }

uint32_t AVIStreamRelease(PAVISTREAM Stream) {
  if (!Stream) return 0;
  auto& Streams = Stream->File->Streams;
  std::erase_if(Streams, [Stream](const std::unique_ptr<TAVIStream>& Each) { return Each.get() == Stream; });
  return 0;
}

PGETFRAME AVIStreamGetFrameOpen(PAVISTREAM Stream, const gdi::BITMAPINFOHEADER* Wanted) {
  if (!Reading(Stream) || Wanted || Stream->Info.fccType != streamtypeVIDEO) return nullptr;
  try {
    return new TAVIGetFrame{Stream, TAVIFrameDecoder(*Stream->File->Source, Stream->Format, Stream->Chunks)};
  } catch (const std::exception&) {
    return nullptr;
  }
}

const gdi::BITMAPINFOHEADER* AVIStreamGetFrame(PGETFRAME GetFrame, int32_t Position) {
  if (!GetFrame) return nullptr;
  try {
    const int64_t Index = int64_t{Position} - GetFrame->Stream->Info.dwStart;
    if (Index < 0 || Index >= GetFrame->Decoder.FrameCount()) return nullptr;
    return reinterpret_cast<const gdi::BITMAPINFOHEADER*>(
        GetFrame->Decoder.Frame(static_cast<int32_t>(Index)).data());
  } catch (const std::exception&) {
    return nullptr;
  }
}

bool AVIStreamFrameRepeats(PGETFRAME GetFrame, int32_t Position) {
  if (!GetFrame) return false;
  try {
    const int64_t Index = int64_t{Position} - GetFrame->Stream->Info.dwStart;
    if (Index < 0 || Index >= GetFrame->Decoder.FrameCount()) return false;
    return GetFrame->Decoder.Repeats(static_cast<int32_t>(Index));
  } catch (const std::exception&) {
    return false;
  }
}

HRESULT AVIStreamGetFrameClose(PGETFRAME GetFrame) {
  delete GetFrame;
  return AVIERR_OK;
}

HRESULT AVIFileCreateStreamA(PAVIFILE File, PAVISTREAM* Stream, const AVISTREAMINFOA* Info) {
  *Stream = nullptr;
  if (!File || !File->Writer || !Info || !File->Writer->CreateStream(*Info)) return AVIERR_BADPARAM;
  auto Made = std::make_unique<TAVIStream>();
  Made->File = File;
  Made->Info = *Info;
  *Stream = Made.get();
  File->Streams.push_back(std::move(Made));
  return AVIERR_OK;
}

HRESULT AVIStreamSetFormat(PAVISTREAM Stream, int32_t Position, const void* Format, int32_t Size) {
  if (!Writing(Stream) || Position != 0 || !Format) return AVIERR_BADPARAM;
  return Stream->File->Writer->SetFormat(Format, Size) ? AVIERR_OK : AVIERR_BADFORMAT;
}

HRESULT AVIStreamWrite(PAVISTREAM Stream, int32_t Start, int32_t Samples, const void* Buffer, int32_t BufferSize,
                       uint32_t Flags, int32_t* SamplesWritten, int32_t* BytesWritten) {
  if (SamplesWritten) *SamplesWritten = 0;
  if (BytesWritten) *BytesWritten = 0;
  if (!Writing(Stream) || Samples != 1 || BufferSize < 0 || (BufferSize > 0 && !Buffer)) return AVIERR_BADPARAM;
  if (!Stream->File->Writer->Write(Start, Buffer, BufferSize, Flags)) return AVIERR_FILEWRITE;
  if (SamplesWritten) *SamplesWritten = 1;
  if (BytesWritten) *BytesWritten = BufferSize;
  return AVIERR_OK;
}

}  // namespace avi
