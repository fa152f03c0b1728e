#include "install/zip/BitInput.h"

#include <cstring>

namespace zip {

void TBitInput::DropBits(unsigned N) {
  if (N > FCount - FPadding) FPastEnd = true;
  FBits >>= N;
  FCount -= N;
  if (FPadding > FCount) FPadding = FCount;
}

bool TBitInput::NextChunk() {
  if (FSourceDone) return false;
  std::span<const uint8_t> Chunk = FSource->NextChunk();
  if (Chunk.empty()) {
    FSourceDone = true;
    return false;
  }
  FNext = Chunk.data();
  FEnd = FNext + Chunk.size();
  return true;
}

void TBitInput::Refill() {
  if (Ahead() >= 8) {
    uint64_t Word;
    std::memcpy(&Word, FNext, 8);
    FBits |= Word << FCount;
    FNext += (63 - FCount) >> 3;
    FCount |= 56;
    return;
  }
  while (FCount <= MaxNeed) {
    if (FNext == FEnd && !NextChunk()) {
      // Padding: zero bits that count as available but not as input.
      FBits &= (uint64_t{1} << FCount) - 1;
      FPadding += 64 - FCount - ((64 - FCount) & 7);
      FCount += 64 - FCount - ((64 - FCount) & 7);
      return;
    }
    FBits |= static_cast<uint64_t>(*FNext++) << FCount;
    FCount += 8;
  }
}

bool TBitInput::ReadBytes(uint8_t* Dest, size_t N) {
  // Whole bytes still held in the bit buffer come first.
  while (N > 0 && FCount >= 8) {
    if (FCount - FPadding < 8) {
      FPastEnd = true;
      return false;
    }
    *Dest++ = static_cast<uint8_t>(FBits);
    FBits >>= 8;
    FCount -= 8;
    --N;
  }
  if (N == 0) return true;
  FBits = 0;
  FCount = 0;
  FPadding = 0;
  while (N > 0) {
    if (FNext == FEnd && !NextChunk()) return false;
    size_t Part = Ahead() < N ? Ahead() : N;
    std::memcpy(Dest, FNext, Part);
    Dest += Part;
    FNext += Part;
    N -= Part;
  }
  return true;
}

bool TBitInput::NextCompressedByte(uint8_t& Value) {
  AlignToByte();
  if (FCount - FPadding >= 8) {
    Value = static_cast<uint8_t>(FBits);
    DropBits(8);
    return true;
  }
  if (FCount > 0) return false;  // only padding is left
  // The buffer is empty: drop any read-ahead copy and take the byte itself.
  FBits = 0;
  if (FNext == FEnd && !NextChunk()) return false;
  Value = *FNext++;
  return true;
}

bool TBitInput::Exhausted() {
  if (FCount - FPadding >= 8) return false;
  return FNext == FEnd && !NextChunk();
}

}  // namespace zip
