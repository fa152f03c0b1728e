// Deflate block output (RFC 1951). The matcher records each literal and match; a
// block's symbols are kept as a literal buffer (the byte, or the match length - 3), a
// distance buffer (distance - 1 of each match) and one flag bit per symbol (1 = match).
// A full block is sent the cheapest way: stored, with the fixed codes, or with codes
// built from its frequencies; a file whose one block would not shrink is stored whole
// and the entry's method becomes "stored".
#pragma once

#include <cstdint>
#include <memory>

#include "install/zip/DeflateBitWriter.h"
#include "install/zip/DeflateTables.h"

namespace zip {

class TDeflateBlocks {
 public:
  // The symbol buffers live for one zip run.
  void AllocateBuffers();
  void FreeBuffers();

  // Fresh statistics and bit writer for one file. InternalAttributes 2 asks for the
  // text/binary classification at the first block.
  void StartFile(TDeflateStreams& Streams, int PackLevel, uint16_t InternalAttributes);

  // Each returns true when the block is full. BlockBytes: input bytes of the block so far.
  bool RecordLiteral(uint8_t Byte, int64_t BlockBytes) {
    LiteralBuffer[LastLiteral++] = Byte;
    ++LiteralFreq[Byte];
    return NextFlag(BlockBytes);
  }
  bool RecordMatch(unsigned Distance, unsigned Length, int64_t BlockBytes) {
    const unsigned Value = Length - MinMatch;
    const unsigned Dist = Distance - 1;
    LiteralBuffer[LastLiteral++] = static_cast<uint8_t>(Value);
    ++LiteralFreq[Tables.LengthCode[Value] + Literals + 1];
    ++DistFreq[Tables.DistanceCode(Dist)];
    DistanceBuffer[LastDistance++] = static_cast<uint16_t>(Dist);
    Flags |= FlagBit;
    return NextFlag(BlockBytes);
  }

  // Sends the block of Count input bytes; Data points at them while they are all still
  // in the window, else it is null. The last block ends the stream on a byte boundary.
  void EmitBlock(const uint8_t* Data, int64_t Count, bool Last);

  bool StoredWhole() const { return FStoredWhole; }
  uint16_t InternalAttributes() const { return FInternalAttributes; }
  int64_t CompressedSize() const { return Writer.BytesWritten(); }

 private:
  static constexpr int LiteralBufferSize = 32768;
  static constexpr int DistanceBufferSize = 32768;
  static constexpr int FlagBufferSize = 4096;

  bool NextFlag(int64_t BlockBytes) {
    FlagBit <<= 1;
    if ((LastLiteral & 7) == 0) {
      FlagBuffer[LastFlags++] = Flags;
      Flags = 0;
      FlagBit = 1;
    }
    if (Level > 2 && (LastLiteral & 0xFFF) == 0 && WorthEndingEarly(BlockBytes)) return true;
    return LastLiteral == LiteralBufferSize - 1 || LastDistance == DistanceBufferSize;
  }
  bool WorthEndingEarly(int64_t BlockBytes) const;
  void ResetBlock();
  void ClassifyData();
  void SendSymbols(const uint8_t* LitLength, const uint16_t* LitCode, const uint8_t* DLength,
                   const uint16_t* DCode);
  struct TTrees;
  void SendTreeHeader(const TTrees& Trees);

  TDeflateTables Tables;
  bool TablesBuilt = false;
  TDeflateBitWriter Writer;
  std::unique_ptr<uint8_t[]> LiteralBuffer;
  std::unique_ptr<uint16_t[]> DistanceBuffer;
  std::unique_ptr<uint8_t[]> FlagBuffer;
  int Level = 6;
  unsigned LastLiteral = 0;
  unsigned LastDistance = 0;
  unsigned LastFlags = 0;
  uint8_t Flags = 0;
  uint8_t FlagBit = 1;
  uint32_t LiteralFreq[LiteralCodes] = {};
  uint32_t DistFreq[DistanceCodes] = {};
  int64_t CompressedBits = 0;
  bool FStoredWhole = false;
  uint16_t FInternalAttributes = 2;
};

}  // namespace zip
