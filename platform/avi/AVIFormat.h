// AVI 1.0 files: a RIFF form "AVI " holding LIST "hdrl" (the main header "avih" and one
// LIST "strl" per stream with its header "strh" and format "strf"), LIST "movi" (data
// chunks "NNdb"/"NNdc" and palette changes "NNpc" for stream NN, possibly grouped in
// LIST "rec ") and the index "idx1". Chunks are padded to an even size. The records
// below are laid out byte for byte as stored (little-endian).
#pragma once

#include <cstdint>

namespace avi {

using FOURCC = uint32_t;

constexpr FOURCC MakeFourCC(const char (&Code)[5]) {
  return uint32_t(uint8_t(Code[0])) | uint32_t(uint8_t(Code[1])) << 8 | uint32_t(uint8_t(Code[2])) << 16 |
         uint32_t(uint8_t(Code[3])) << 24;
}

inline constexpr FOURCC streamtypeVIDEO = MakeFourCC("vids");

// Main header flags and index entry flags.
enum : uint32_t { AVIF_HASINDEX = 0x10 };
enum : uint32_t { AVIIF_KEYFRAME = 0x10 };

#pragma pack(push, 1)
struct MainAVIHeader {
  uint32_t dwMicroSecPerFrame = 0;
  uint32_t dwMaxBytesPerSec = 0;
  uint32_t dwPaddingGranularity = 0;
  uint32_t dwFlags = 0;
  uint32_t dwTotalFrames = 0;
  uint32_t dwInitialFrames = 0;
  uint32_t dwStreams = 0;
  uint32_t dwSuggestedBufferSize = 0;
  uint32_t dwWidth = 0;
  uint32_t dwHeight = 0;
  uint32_t dwReserved[4] = {};
};

struct AVIStreamHeader {
  FOURCC fccType = 0;
  FOURCC fccHandler = 0;
  uint32_t dwFlags = 0;
  uint16_t wPriority = 0;
  uint16_t wLanguage = 0;
  uint32_t dwInitialFrames = 0;
  uint32_t dwScale = 0;
  uint32_t dwRate = 0;
  uint32_t dwStart = 0;
  uint32_t dwLength = 0;
  uint32_t dwSuggestedBufferSize = 0;
  uint32_t dwQuality = 0;
  uint32_t dwSampleSize = 0;
  int16_t rcFrame[4] = {};  // left, top, right, bottom
};

struct AVIINDEXENTRY {
  FOURCC ckid = 0;
  uint32_t dwFlags = 0;
  uint32_t dwChunkOffset = 0;  // from the "movi" list type, or from the file's start
  uint32_t dwChunkLength = 0;
};

// A palette change: entries bFirstEntry.. of the stream's colour table (0 entries: 256).
struct AVIPALCHANGEHEADER {
  uint8_t bFirstEntry = 0;
  uint8_t bNumEntries = 0;
  uint16_t wFlags = 0;
};
#pragma pack(pop)

static_assert(sizeof(MainAVIHeader) == 56);
static_assert(sizeof(AVIStreamHeader) == 56);
static_assert(sizeof(AVIINDEXENTRY) == 16);

// The stream information record of the AVI file service (140 bytes).
struct AVISTREAMINFOA {
  FOURCC fccType = 0;
  FOURCC fccHandler = 0;
  uint32_t dwFlags = 0;
  uint32_t dwCaps = 0;
  uint16_t wPriority = 0;
  uint16_t wLanguage = 0;
  uint32_t dwScale = 0;
  uint32_t dwRate = 0;
  uint32_t dwStart = 0;
  uint32_t dwLength = 0;
  uint32_t dwInitialFrames = 0;
  uint32_t dwSuggestedBufferSize = 0;
  uint32_t dwQuality = 0;
  uint32_t dwSampleSize = 0;
  int32_t rcFrame[4] = {};  // left, top, right, bottom
  uint32_t dwEditCount = 0;
  uint32_t dwFormatChangeCount = 0;
  char szName[64] = {};
};

static_assert(sizeof(AVISTREAMINFOA) == 140);

// The bytes a data chunk of stream Number with the two-letter Kind ("db", "dc", "pc") has as its id.
constexpr FOURCC StreamChunkId(int Number, const char (&Kind)[3]) {
  return uint32_t('0' + Number / 10 % 10) | uint32_t('0' + Number % 10) << 8 | uint32_t(uint8_t(Kind[0])) << 16 |
         uint32_t(uint8_t(Kind[1])) << 24;
}

}  // namespace avi
