#include "platform/avi/AVIReader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace avi {

namespace {

constexpr FOURCC ckidRIFF = MakeFourCC("RIFF");
constexpr FOURCC ckidLIST = MakeFourCC("LIST");
constexpr FOURCC formtypeAVI = MakeFourCC("AVI ");
constexpr FOURCC listtypeHeader = MakeFourCC("hdrl");
constexpr FOURCC listtypeStream = MakeFourCC("strl");
constexpr FOURCC listtypeMovie = MakeFourCC("movi");
constexpr FOURCC listtypeRecord = MakeFourCC("rec ");
constexpr FOURCC ckidMainHeader = MakeFourCC("avih");
constexpr FOURCC ckidStreamHeader = MakeFourCC("strh");
constexpr FOURCC ckidStreamFormat = MakeFourCC("strf");
constexpr FOURCC ckidIndex = MakeFourCC("idx1");
// The stream header before its frame rectangle, which old files leave out.
constexpr uint32_t MinStreamHeaderSize = 48;
constexpr size_t MaxStreams = 100;

void ReadAt(base::TStream& Stream, int64_t Position, void* Buffer, int64_t Count) {
  Stream.SetPosition(Position);
  if (Stream.Read(Buffer, Count) != Count) throw EAVIError("AVI data is truncated");
}

uint32_t Dword(const uint8_t* P) {
  uint32_t Value;
  std::memcpy(&Value, P, 4);
  return Value;
}

// One chunk: its id, its size as stored, its data cut to the enclosing list, and where
// the next chunk begins.
struct TChunkHeader {
  FOURCC Id = 0;
  uint32_t Size = 0;
  int64_t Data = 0;
  int64_t End = 0;
  int64_t Next = 0;
  bool Complete() const { return End - Data == Size; }
};

bool ReadChunkHeader(base::TStream& Stream, int64_t Position, int64_t Limit, TChunkHeader& Chunk) {
  if (Position + 8 > Limit) return false;
  uint8_t Bytes[8];
  ReadAt(Stream, Position, Bytes, 8);
  Chunk.Id = Dword(Bytes);
  Chunk.Size = Dword(Bytes + 4);
  Chunk.Data = Position + 8;
  Chunk.End = std::min<int64_t>(Chunk.Data + Chunk.Size, Limit);
  Chunk.Next = Chunk.Data + Chunk.Size + (Chunk.Size & 1);
  return true;
}

// The list type of a LIST chunk, or 0 when it has none.
FOURCC ListType(base::TStream& Stream, const TChunkHeader& Chunk) {
  if (Chunk.Id != ckidLIST || Chunk.End - Chunk.Data < 4) return 0;
  uint8_t Bytes[4];
  ReadAt(Stream, Chunk.Data, Bytes, 4);
  return Dword(Bytes);
}

// A record of up to Capacity bytes from the chunk; missing bytes stay 0.
void ReadRecord(base::TStream& Stream, const TChunkHeader& Chunk, void* Record, int64_t Capacity) {
  ReadAt(Stream, Chunk.Data, Record, std::min(Capacity, Chunk.End - Chunk.Data));
}

void ReadStreamList(base::TStream& Stream, int64_t Position, int64_t End, TAVIContainer& Container) {
  TAVIStreamEntry Entry;
  bool HasHeader = false;
  TChunkHeader Chunk;
  for (; ReadChunkHeader(Stream, Position, End, Chunk); Position = Chunk.Next) {
    if (Chunk.Id == ckidStreamHeader && Chunk.End - Chunk.Data >= MinStreamHeaderSize) {
      ReadRecord(Stream, Chunk, &Entry.Header, sizeof Entry.Header);
      HasHeader = true;
    } else if (Chunk.Id == ckidStreamFormat) {
      if (Chunk.Size > MaxAVIFormatSize) throw EAVIError("AVI stream format is too large");
      Entry.Format.resize(static_cast<size_t>(Chunk.End - Chunk.Data));
      ReadAt(Stream, Chunk.Data, Entry.Format.data(), static_cast<int64_t>(Entry.Format.size()));
    }
  }
  // A list without a header still takes its number, so later streams keep theirs.
  Container.Streams.push_back(std::move(Entry));
  if (!HasHeader) Container.Streams.back().Header.fccType = 0;
}

void ReadHeaderList(base::TStream& Stream, int64_t Position, int64_t End, TAVIContainer& Container, bool& HasMain) {
  TChunkHeader Chunk;
  for (; ReadChunkHeader(Stream, Position, End, Chunk); Position = Chunk.Next) {
    if (Chunk.Id == ckidMainHeader) {
      ReadRecord(Stream, Chunk, &Container.Main, sizeof Container.Main);
      HasMain = true;
    } else if (ListType(Stream, Chunk) == listtypeStream && Container.Streams.size() < MaxStreams) {
      ReadStreamList(Stream, Chunk.Data + 4, Chunk.End, Container);
    }
  }
}

// Collects the frames and palette changes of one stream.
class TChunkCollector {
 public:
  TChunkCollector(int Number, TAVIStreamChunks& Chunks)
      : FrameIds{StreamChunkId(Number, "db"), StreamChunkId(Number, "dc")},
        PaletteId(StreamChunkId(Number, "pc")),
        Chunks(Chunks) {}

  bool Ours(FOURCC Id) const { return Id == FrameIds[0] || Id == FrameIds[1] || Id == PaletteId; }
  // False once no more frames are taken.
  bool Add(FOURCC Id, const TAVIChunk& Chunk) {
    if (Id == PaletteId)
      Chunks.PaletteChanges.push_back({static_cast<int32_t>(Chunks.Frames.size()), Chunk});
    else if (Id == FrameIds[0] || Id == FrameIds[1])
      Chunks.Frames.push_back(Chunk);
    return Chunks.Frames.size() < static_cast<size_t>(MaxAVIFrames);
  }

 private:
  std::array<FOURCC, 2> FrameIds;
  FOURCC PaletteId;
  TAVIStreamChunks& Chunks;
};

// The base the index's offsets count from: the "movi" list type or the file's start,
// whichever makes the first entry of the stream name a chunk with its id. -1: neither.
int64_t IndexBase(base::TStream& Stream, const TAVIContainer& Container, const AVIINDEXENTRY& First) {
  for (const int64_t Base : {Container.MoviStart, int64_t{0}}) {
    const int64_t Position = Base + First.dwChunkOffset;
    TChunkHeader Chunk;
    if (Position >= Container.MoviStart + 4 && ReadChunkHeader(Stream, Position, Container.MoviEnd, Chunk) &&
        Chunk.Id == First.ckid)
      return Base;
  }
  return -1;
}

bool ReadFromIndex(base::TStream& Stream, const TAVIContainer& Container, TChunkCollector& Collector) {
  constexpr int64_t Block = 4096;
  std::vector<AVIINDEXENTRY> Entries;
  int64_t Base = -1;
  for (int64_t Start = 0; Start < Container.IndexEntries; Start += Block) {
    Entries.resize(static_cast<size_t>(std::min(Block, Container.IndexEntries - Start)));
    ReadAt(Stream, Container.IndexStart + Start * 16, Entries.data(), static_cast<int64_t>(Entries.size()) * 16);
    for (const AVIINDEXENTRY& Entry : Entries) {
      if (!Collector.Ours(Entry.ckid)) continue;
      if (Base < 0 && (Base = IndexBase(Stream, Container, Entry)) < 0) return false;
      const int64_t Data = Base + Entry.dwChunkOffset + 8;
      if (Data + Entry.dwChunkLength > Container.MoviEnd) return true;
      if (!Collector.Add(Entry.ckid, {Data, Entry.dwChunkLength, (Entry.dwFlags & AVIIF_KEYFRAME) != 0})) return true;
    }
  }
  return Base >= 0;
}

void ReadFromMovie(base::TStream& Stream, int64_t Position, int64_t End, TChunkCollector& Collector, bool Nested) {
  TChunkHeader Chunk;
  for (; ReadChunkHeader(Stream, Position, End, Chunk); Position = Chunk.Next) {
    if (!Nested && ListType(Stream, Chunk) == listtypeRecord) {
      ReadFromMovie(Stream, Chunk.Data + 4, Chunk.End, Collector, true);
      continue;
    }
    // A chunk cut off by the end of the file is no frame.
    if (!Collector.Ours(Chunk.Id) || !Chunk.Complete()) continue;
    if (!Collector.Add(Chunk.Id, {Chunk.Data, Chunk.Size, false})) return;
  }
}

}  // namespace

TAVIContainer ReadAVIContainer(base::TStream& Stream) {
  const int64_t FileSize = Stream.Size();
  TChunkHeader Riff;
  uint8_t Form[4];
  if (!ReadChunkHeader(Stream, 0, FileSize, Riff) || Riff.Id != ckidRIFF || Riff.End - Riff.Data < 4)
    throw EAVIError("Not an AVI file");
  ReadAt(Stream, Riff.Data, Form, 4);
  if (Dword(Form) != formtypeAVI) throw EAVIError("Not an AVI file");

  TAVIContainer Container;
  bool HasMain = false;
  TChunkHeader Chunk;
  for (int64_t Position = Riff.Data + 4; ReadChunkHeader(Stream, Position, Riff.End, Chunk); Position = Chunk.Next) {
    const FOURCC Type = ListType(Stream, Chunk);
    if (Type == listtypeHeader) {
      ReadHeaderList(Stream, Chunk.Data + 4, Chunk.End, Container, HasMain);
    } else if (Type == listtypeMovie && Container.MoviStart < 0) {
      Container.MoviStart = Chunk.Data;
      Container.MoviEnd = Chunk.End;
    } else if (Chunk.Id == ckidIndex && Container.IndexStart < 0) {
      Container.IndexStart = Chunk.Data;
      Container.IndexEntries = (Chunk.End - Chunk.Data) / 16;
    }
  }
  if (!HasMain || Container.Streams.empty() || Container.MoviStart < 0) throw EAVIError("Not an AVI file");
  return Container;
}

TAVIStreamChunks ReadStreamChunks(base::TStream& Stream, const TAVIContainer& Container, int Number) {
  TAVIStreamChunks Chunks;
  TChunkCollector Collector(Number, Chunks);
  if (Container.IndexEntries == 0 || !ReadFromIndex(Stream, Container, Collector)) {
    Chunks = {};
    ReadFromMovie(Stream, Container.MoviStart + 4, Container.MoviEnd, Collector, false);
  }
  if (!Chunks.Frames.empty()) Chunks.Frames.front().Key = true;
  return Chunks;
}

}  // namespace avi
