// The deflate bit stream: bits go out from the least significant end, whole bytes in
// order, through a 1024-byte output buffer that is handed to the compressor's output
// when it cannot take the next word, before data written straight through, and at the
// end of the stream.
#pragma once

#include <cstdint>
#include <cstring>

#include "install/zip/DeflateStreams.h"

namespace zip {

class TDeflateBitWriter {
 public:
  void Start(TDeflateStreams& Streams) {
    IO = &Streams;
    BitBuffer = 0;
    BitCount = 0;
    OutCount = 0;
    Written = 0;
  }

  // Length is at most 32 bits.
  void SendBits(uint32_t Value, int Length) {
    BitBuffer |= static_cast<uint64_t>(Value) << BitCount;
    BitCount += Length;
    if (BitCount >= 32) {
      if (OutCount > OutSize - 4) FlushOutput();
      const uint32_t Word = static_cast<uint32_t>(BitBuffer);
      Out[OutCount] = static_cast<uint8_t>(Word);
      Out[OutCount + 1] = static_cast<uint8_t>(Word >> 8);
      Out[OutCount + 2] = static_cast<uint8_t>(Word >> 16);
      Out[OutCount + 3] = static_cast<uint8_t>(Word >> 24);
      OutCount += 4;
      BitBuffer >>= 32;
      BitCount -= 32;
    }
  }

  // Writes the pending bits, padded with zeros to a whole byte.
  void AlignToByte() {
    while (BitCount > 0) {
      PutByte(static_cast<uint8_t>(BitBuffer));
      BitBuffer >>= 8;
      BitCount -= 8;
    }
    BitBuffer = 0;
    BitCount = 0;
  }

  // Only on a byte boundary.
  void PutByte(uint8_t Value) {
    if (OutCount == OutSize) FlushOutput();
    Out[OutCount++] = Value;
  }

  // Bytes that bypass the buffer: a stored block's data, on a byte boundary.
  void WriteThrough(const uint8_t* Data, int64_t Count) {
    FlushOutput();
    while (Count > 0) {
      const int32_t Part = static_cast<int32_t>(Count < 0x40000000 ? Count : 0x40000000);
      IO->WriteCompressedData(Data, Part);
      Written += Part;
      Data += Part;
      Count -= Part;
    }
  }

  void FlushOutput() {
    if (OutCount == 0) return;
    IO->WriteCompressedData(Out, OutCount);
    Written += OutCount;
    OutCount = 0;
  }

  // Bytes handed to the output so far.
  int64_t BytesWritten() const { return Written; }

 private:
  static constexpr int OutSize = 1024;
  TDeflateStreams* IO = nullptr;
  uint64_t BitBuffer = 0;
  int BitCount = 0;
  int OutCount = 0;
  int64_t Written = 0;
  uint8_t Out[OutSize];
};

}  // namespace zip
