#include "install/zip/Unreduce.h"

#include <array>
#include <memory>

#include "install/zip/DecodeTable.h"

#include "install/zip/ZeroFillMatch.h"

namespace zip {

namespace {

constexpr uint8_t Escape = 144;

struct TFollowerSets {
  std::array<std::array<uint8_t, 64>, 256> Bytes{};
  std::array<uint8_t, 256> Count{};
};

// The bits of an index into a set of Count followers: 1 for one or two of them.
unsigned IndexBits(unsigned Count) {
  unsigned Bits = 1;
  while ((1u << Bits) < Count) ++Bits;
  return Bits;
}

bool ReadFollowerSets(TBitInput& Input, TFollowerSets& Sets) {
  for (int Lead = 255; Lead >= 0; --Lead) {
    const uint32_t Count = Input.TakeBits(6);
    Sets.Count[Lead] = static_cast<uint8_t>(Count);
    for (uint32_t I = 0; I < Count; ++I) Sets.Bytes[Lead][I] = static_cast<uint8_t>(Input.TakeBits(8));
  }
  return !Input.PastEnd();
}

bool DecodeByte(TBitInput& Input, const TFollowerSets& Sets, uint8_t Last, uint8_t& Value) {
  const unsigned Count = Sets.Count[Last];
  if (Count > 0 && Input.TakeBits(1) == 0) {
    const uint32_t Index = Input.TakeBits(IndexBits(Count));
    if (Index >= Count) return false;
    Value = Sets.Bytes[Last][Index];
  } else {
    Value = static_cast<uint8_t>(Input.TakeBits(8));
  }
  return !Input.PastEnd();
}

}  // namespace

int UnreduceEntry(TBitInput& Input, TOutputWindow& Output, int Factor, uint64_t Size) {
  const uint32_t LengthMask = 0xFFu >> Factor;
  const unsigned DistanceShift = 8 - Factor;
  const uint32_t DistanceMask = (1u << Factor) - 1;

  auto Sets = std::make_unique<TFollowerSets>();
  if (!ReadFollowerSets(Input, *Sets)) return drInvalidData;

  uint8_t Last = 0;
  int State = 0;
  uint32_t V = 0;
  uint32_t Length = 0;
  while (Output.Total() < Size) {
    uint8_t Byte = 0;
    if (!DecodeByte(Input, *Sets, Last, Byte)) return drInvalidData;
    bool Stored = true;
    switch (State) {
      case 0:
        if (Byte == Escape) {
          State = 1;
        } else {
          Stored = Output.PutByte(Byte);
        }
        break;
      case 1:
        if (Byte == 0) {
          Stored = Output.PutByte(Escape);
          State = 0;
        } else {
          V = Byte;
          Length = V & LengthMask;
          State = Length == LengthMask ? 2 : 3;
        }
        break;
      case 2:
        Length += Byte;
        State = 3;
        break;
      default:
        Stored = CopyZeroFilledMatch(Output, ((V >> DistanceShift) & DistanceMask) * 256 + Byte + 1, Length + 3);
        State = 0;
        break;
    }
    if (!Stored) return drInvalidData;
    Last = Byte;
  }
  Output.Flush();
  return drSuccess;
}

}  // namespace zip
