// Reading the RIFF structure of an AVI file: the headers, the stream formats, and where
// each frame and palette change of one stream lies. Every size is checked against the
// bytes present; nothing is allocated beyond them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/avi/AVIFormat.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"

namespace avi {

// A file that is no AVI file, or a part of one that cannot be used.
class EAVIError : public base::Exception {
 public:
  using Exception::Exception;
};

struct TAVIStreamEntry {
  AVIStreamHeader Header;
  std::vector<uint8_t> Format;  // the "strf" chunk as stored
};

struct TAVIContainer {
  MainAVIHeader Main;
  std::vector<TAVIStreamEntry> Streams;
  int64_t MoviStart = -1;  // the list type "movi"; chunks follow it
  int64_t MoviEnd = -1;
  int64_t IndexStart = -1;  // the first "idx1" entry
  int64_t IndexEntries = 0;
};

// A chunk's data: where it starts and how many bytes it has.
struct TAVIChunk {
  int64_t Offset = 0;
  uint32_t Size = 0;
  bool Key = false;
};

struct TAVIPaletteChange {
  int32_t Frame = 0;  // in force from this frame on
  TAVIChunk Chunk;
};

struct TAVIStreamChunks {
  std::vector<TAVIChunk> Frames;
  std::vector<TAVIPaletteChange> PaletteChanges;
};

// Most frames one stream may list; what lies beyond is left out.
inline constexpr int32_t MaxAVIFrames = 1 << 20;
// Largest picture a frame may have: as large as a GIF frame may be.
inline constexpr int64_t MaxAVIFramePixels = int64_t{1} << 26;
// Largest stream format kept.
inline constexpr uint32_t MaxAVIFormatSize = 1 << 16;

// The headers and formats of the file in Stream; EAVIError when it is no AVI file.
TAVIContainer ReadAVIContainer(base::TStream& Stream);

// The frames and palette changes of stream Number, from the index when it describes the
// movie data, else from a walk through it. Index entries that point outside the data end
// the list. Without an index, only the first frame counts as a key frame.
TAVIStreamChunks ReadStreamChunks(base::TStream& Stream, const TAVIContainer& Container, int Number);

}  // namespace avi
