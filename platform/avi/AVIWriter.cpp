#include "platform/avi/AVIWriter.h"

#include <algorithm>
#include <cstring>

#include "platform/base/Exceptions.h"

namespace avi {

namespace {

constexpr uint32_t ckidFrame = StreamChunkId(0, "db");
constexpr uint32_t ListHeaderSize = 12;
constexpr uint32_t ChunkHeaderSize = 8;

uint32_t Padded(uint32_t Size) { return Size + (Size & 1); }

void WriteChunkHeader(base::TStream& Stream, const char (&Id)[5], uint32_t Size) {
  const uint32_t Header[2] = {MakeFourCC(Id), Size};
  Stream.WriteBuffer(Header, sizeof Header);
}

void WriteListHeader(base::TStream& Stream, const char (&Id)[5], uint32_t Size, const char (&Type)[5]) {
  WriteChunkHeader(Stream, Id, Size);
  const uint32_t ListType = MakeFourCC(Type);
  Stream.WriteBuffer(&ListType, 4);
}

template <typename T>
void WriteChunk(base::TStream& Stream, const char (&Id)[5], const T& Record) {
  WriteChunkHeader(Stream, Id, sizeof Record);
  Stream.WriteBuffer(&Record, sizeof Record);
}

}  // namespace

TAVIWriter::TAVIWriter(const std::string& FileName, int64_t MaxFileSize)
    : FFile(std::make_unique<base::TAtomicFileStream>(FileName)), FMaxFileSize(MaxFileSize) {}

bool TAVIWriter::CreateStream(const AVISTREAMINFOA& Info) {
  if (FHasStream || Info.fccType != streamtypeVIDEO) return false;
  FInfo = Info;
  FHasStream = true;
  return true;
}

bool TAVIWriter::SetFormat(const void* Format, int32_t Size) {
  if (!FHasStream || !FFormat.empty() || Size < static_cast<int32_t>(sizeof(uint32_t) * 10)) return false;
  const auto* Bytes = static_cast<const uint8_t*>(Format);
  FFormat.assign(Bytes, Bytes + Size);
  try {
    // Placeholders until Finish knows the counts; the chunks follow them.
    WriteHeaders();
  } catch (const base::Exception&) {
    FFormat.clear();
    return false;
  }
  return true;
}

int64_t TAVIWriter::HeadersSize() const {
  return 2 * ListHeaderSize + ChunkHeaderSize + sizeof(MainAVIHeader) + ListHeaderSize + ChunkHeaderSize +
         sizeof(AVIStreamHeader) + ChunkHeaderSize + Padded(static_cast<uint32_t>(FFormat.size()));
}

bool TAVIWriter::Write(int32_t Position, const void* Data, int32_t Size, uint32_t Flags) {
  if (FFormat.empty() || Size < 0 || Position < static_cast<int64_t>(FIndex.size())) return false;
  const int64_t Skipped = Position - static_cast<int64_t>(FIndex.size());
  const int64_t Chunks = ChunkHeaderSize * (Skipped + 1) + Padded(static_cast<uint32_t>(Size));
  const int64_t IndexSize = int64_t{sizeof(AVIINDEXENTRY)} * (static_cast<int64_t>(FIndex.size()) + Skipped + 1);
  if (HeadersSize() + ChunkHeaderSize + FMoviSize + Chunks + ChunkHeaderSize + IndexSize > FMaxFileSize) return false;
  try {
    for (int64_t I = 0; I < Skipped; ++I) AppendChunk(nullptr, 0, 0);
    AppendChunk(Data, static_cast<uint32_t>(Size), Flags);
  } catch (const base::Exception&) {
    return false;
  }
  return true;
}

void TAVIWriter::AppendChunk(const void* Data, uint32_t Size, uint32_t Flags) {
  FFile->SetPosition(HeadersSize() + ChunkHeaderSize + FMoviSize);
  WriteChunkHeader(*FFile, "00db", Size);
  if (Size > 0) FFile->WriteBuffer(Data, Size);
  if (Size & 1) FFile->WriteBuffer("", 1);
  FIndex.push_back({ckidFrame, Flags, static_cast<uint32_t>(FMoviSize), Size});
  FMoviSize += ChunkHeaderSize + Padded(Size);
  if (Size > FLargestChunk) FLargestChunk = Size;
}

void TAVIWriter::WriteHeaders() {
  int32_t Width = 0, Height = 0;
  if (FFormat.size() >= 12) {
    std::memcpy(&Width, FFormat.data() + 4, 4);
    std::memcpy(&Height, FFormat.data() + 8, 4);
  }
  const uint32_t Frames = static_cast<uint32_t>(FIndex.size());
  const uint32_t Buffer = std::max(FInfo.dwSuggestedBufferSize, FLargestChunk);

  MainAVIHeader Main;
  if (FInfo.dwRate != 0)
    Main.dwMicroSecPerFrame = static_cast<uint32_t>((uint64_t{FInfo.dwScale} * 1000000 + FInfo.dwRate / 2) / FInfo.dwRate);
  if (FInfo.dwScale != 0)
    Main.dwMaxBytesPerSec =
        static_cast<uint32_t>(std::min<uint64_t>(uint64_t{Buffer} * FInfo.dwRate / FInfo.dwScale, UINT32_MAX));
  Main.dwFlags = AVIF_HASINDEX;
  Main.dwTotalFrames = Frames;
  Main.dwStreams = 1;
  Main.dwSuggestedBufferSize = Buffer;
  Main.dwWidth = static_cast<uint32_t>(Width);
  Main.dwHeight = static_cast<uint32_t>(Height < 0 ? -int64_t{Height} : Height);

  AVIStreamHeader Stream;
  Stream.fccType = FInfo.fccType;
  Stream.fccHandler = FInfo.fccHandler;
  Stream.dwFlags = FInfo.dwFlags;
  Stream.wPriority = FInfo.wPriority;
  Stream.wLanguage = FInfo.wLanguage;
  Stream.dwInitialFrames = FInfo.dwInitialFrames;
  Stream.dwScale = FInfo.dwScale;
  Stream.dwRate = FInfo.dwRate;
  Stream.dwStart = FInfo.dwStart;
  Stream.dwLength = Frames;
  Stream.dwSuggestedBufferSize = Buffer;
  Stream.dwQuality = FInfo.dwQuality;
  Stream.dwSampleSize = FInfo.dwSampleSize;
  for (int I = 0; I < 4; ++I) Stream.rcFrame[I] = static_cast<int16_t>(FInfo.rcFrame[I]);

  const int64_t Movi = HeadersSize();
  const uint32_t FormatSize = static_cast<uint32_t>(FFormat.size());
  const uint32_t StreamList = 4 + ChunkHeaderSize + sizeof Stream + ChunkHeaderSize + Padded(FormatSize);
  const uint32_t HeaderList = 4 + ChunkHeaderSize + sizeof Main + ChunkHeaderSize + StreamList;
  const int64_t Total = Movi + ChunkHeaderSize + FMoviSize + ChunkHeaderSize + sizeof(AVIINDEXENTRY) * FIndex.size();

  FFile->SetPosition(0);
  WriteListHeader(*FFile, "RIFF", static_cast<uint32_t>(Total - ChunkHeaderSize), "AVI ");
  WriteListHeader(*FFile, "LIST", HeaderList, "hdrl");
  WriteChunk(*FFile, "avih", Main);
  WriteListHeader(*FFile, "LIST", StreamList, "strl");
  WriteChunk(*FFile, "strh", Stream);
  WriteChunkHeader(*FFile, "strf", FormatSize);
  FFile->WriteBuffer(FFormat.data(), FormatSize);
  if (FormatSize & 1) FFile->WriteBuffer("", 1);
  WriteListHeader(*FFile, "LIST", static_cast<uint32_t>(FMoviSize), "movi");
}

bool TAVIWriter::Finish() {
  if (FFormat.empty()) return false;
  try {
    FFile->SetPosition(HeadersSize() + ChunkHeaderSize + FMoviSize);
    WriteChunkHeader(*FFile, "idx1", static_cast<uint32_t>(sizeof(AVIINDEXENTRY) * FIndex.size()));
    if (!FIndex.empty()) FFile->WriteBuffer(FIndex.data(), static_cast<int64_t>(sizeof(AVIINDEXENTRY) * FIndex.size()));
    FFile->SetSize(FFile->Position());
    WriteHeaders();
    FFile->Commit();
  } catch (const base::Exception&) {
    return false;
  }
  return true;
}

}  // namespace avi
