// Decoding the frames of one video stream into packed device-independent bitmaps: a
// 40-byte header with biSizeImage filled in, the colour table (2^bits entries for 1, 4
// and 8 bits, the three masks for bit fields) and bottom-up rows. Uncompressed frames
// keep their depth, RLE8 and RLE4 become 8 and 4 bits, MJPEG 24 bits (through libjpeg).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/avi/AVIReader.h"
#include "platform/gdi/DIB.h"

namespace avi {

class TAVIFrameDecoder {
 public:
  // EAVIError when Format describes no picture this decoder reads.
  TAVIFrameDecoder(base::TStream& Stream, const std::vector<uint8_t>& Format, TAVIStreamChunks Chunks);

  int32_t FrameCount() const { return static_cast<int32_t>(FChunks.Frames.size()); }
  // Frame Index (from 0) with the palette in force there, valid until the next call. An
  // empty chunk repeats the picture before it; RLE frames are decoded from the key frame
  // at or before Index. EAVIError (or the JPEG and RLE decoders' EInvalidGraphic) when
  // the frame cannot be decoded.
  // Each chunk is checked against what its format needs (an uncompressed picture whole,
  // an RLE code, a JPEG header of the format's size) before the picture is made.
  const std::vector<uint8_t>& Frame(int32_t Index);
  // Whether frame Index shows the picture of the frame before it, known without
  // decoding: an empty chunk, or an RLE delta that only ends the bitmap, where no
  // palette change comes in.
  bool Repeats(int32_t Index);

 private:
  bool RunLength() const { return FCompression == gdi::BI_RLE8 || FCompression == gdi::BI_RLE4; }
  uint8_t* Bits() { return FPacked.data() + FBitsOffset; }
  void AllocatePicture();
  void BlankPicture();
  void CheckRunLengthChunk(const TAVIChunk& Chunk);
  void ApplyPalette(int32_t Index);
  void ApplyPaletteChange(const TAVIChunk& Chunk);
  void Decode(const TAVIChunk& Chunk);
  void DecodeUncompressed(const TAVIChunk& Chunk);
  void DecodeJPEG(const TAVIChunk& Chunk);
  void ReadChunk(const TAVIChunk& Chunk);

  base::TStream& FStream;
  const TAVIStreamChunks FChunks;
  uint32_t FCompression = gdi::BI_RGB;
  int32_t FWidth = 0;
  int32_t FHeight = 0;  // of the picture, always positive
  bool FTopDown = false;
  uint16_t FBitCount = 0;  // of the picture
  int64_t FRowBytes = 0;
  std::vector<gdi::RGBQUAD> FInitialColors;  // 2^bits entries, or none above 8 bits
  std::vector<gdi::RGBQUAD> FColors;
  size_t FNextChange = 0;
  int32_t FPaletteFrame = -1;
  size_t FBitsOffset = 0;
  std::vector<uint8_t> FPacked;  // header, table and the picture, made at the first frame
  int32_t FPictureFrame = -1;    // the frame the picture shows; -1: none yet
  std::vector<uint8_t> FChunk;
};

}  // namespace avi
