// Compressed bytes of one entry, read as bytes or as a stream of bits taken from the
// least significant end of each byte. The engine supplies the bytes in chunks (one
// archive read, decrypted, possibly continued on the next volume); the decoders pull
// them through TBitInput. Past the end of the entry's data the bit buffer is padded
// with zero bits so a decoder may look ahead for a table lookup, but consuming any of
// them marks the input as read past its end, which is invalid data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zip {

class TByteSource {
 public:
  virtual ~TByteSource() = default;
  // The next chunk of the entry's compressed bytes, valid until the next call; an
  // empty chunk once they are used up.
  virtual std::span<const uint8_t> NextChunk() = 0;
};

class TBitInput {
 public:
  // Most bits NeedBits may ask for at once.
  static constexpr unsigned MaxNeed = 56;

  explicit TBitInput(TByteSource& Source) : FSource(&Source) {}

  // Makes at least N bits (N <= MaxNeed) available, padding with zeros past the end.
  void NeedBits(unsigned N) {
    if (FCount < N) Refill();
  }
  // The low N bits available (N <= the count made available).
  uint32_t PeekBits(unsigned N) const { return static_cast<uint32_t>(FBits & ((uint64_t{1} << N) - 1)); }
  void DropBits(unsigned N);
  uint32_t TakeBits(unsigned N) {
    NeedBits(N);
    uint32_t Value = PeekBits(N);
    DropBits(N);
    return Value;
  }
  // Drops the bits up to the next byte boundary.
  void AlignToByte() { DropBits(FCount & 7); }
  // Copies N whole bytes (the input must be at a byte boundary); false when the input
  // ends first.
  bool ReadBytes(uint8_t* Dest, size_t N);
  // The next whole byte after the bits already taken; false at the end of the input.
  bool NextCompressedByte(uint8_t& Value);
  // True once a bit past the end of the input was consumed.
  bool PastEnd() const { return FPastEnd; }
  // True when no byte is left, neither in the bit buffer nor in the source.
  bool Exhausted();

 private:
  friend class TInflate;

  // Fills the bit buffer to at least MaxNeed bits, across chunks and past the end.
  void Refill();
  // Unconsumed bytes of the current chunk.
  size_t Ahead() const { return static_cast<size_t>(FEnd - FNext); }
  bool NextChunk();

  TByteSource* FSource;
  const uint8_t* FNext = nullptr;
  const uint8_t* FEnd = nullptr;
  // Bits above FCount may hold a copy of the byte at FNext (a word load reads ahead);
  // OR-ing that byte in again later is then harmless.
  uint64_t FBits = 0;
  unsigned FCount = 0;
  // Zero bits of padding at the top of the buffer, added past the end of the input.
  unsigned FPadding = 0;
  bool FSourceDone = false;
  bool FPastEnd = false;
};

}  // namespace zip
