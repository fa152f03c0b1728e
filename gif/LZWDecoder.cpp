#include "gif/LZWDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <optional>

#include "gif/GIFException.h"
#include "gif/Interlace.h"
#include "gif/StreamHelpers.h"

namespace gif {
namespace {

constexpr int kTableSize = 4096;
// A larger minimum code size puts the clear code outside a 12-bit code table.
constexpr int kMaxCodeSize = 11;
constexpr int kMaxFrameSide = 65535;

constexpr const char* kUnderRun = "Decoder bit buffer under-run";

// Results of TLZWDecoder::CopyCodes besides a code.
constexpr int kFull = -3;
constexpr int kFetch = -4;

uint64_t LoadLittleEndian64(const uint8_t* Bytes) {
  uint64_t Value;
  std::memcpy(&Value, Bytes, sizeof Value);
  if constexpr (std::endian::native == std::endian::big) Value = __builtin_bswap64(Value);
  return Value;
}

// Copies Count bytes of an earlier string (Source + Count <= Dest) eight at a time.
// Each step loads before it stores, so a source that ends right at Dest is fine; up
// to 7 bytes after Dest + Count are overwritten and must be writable.
void CopyString(uint8_t* Dest, const uint8_t* Source, size_t Count) {
  uint8_t* const DestEnd = Dest + Count;
  do {
    uint64_t Chunk;
    std::memcpy(&Chunk, Source, sizeof Chunk);
    std::memcpy(Dest, &Chunk, sizeof Chunk);
    Source += sizeof Chunk;
    Dest += sizeof Chunk;
  } while (Dest < DestEnd);
}

// Strings are written straight into the pixel buffer (in stored row order); as
// long as every table entry was built from strings already in the buffer, a code's
// string is copied from where it first appeared. Tables that refer to codes not yet
// defined (possible only in damaged data) are decoded by walking the prefix chains.
class TLZWDecoder {
 public:
  TLZWDecoder(const TDecodeTarget& ATarget, base::TStream& AStream)
      : Target(ATarget), Stream(AStream), Begin(ATarget.Pixels), Out(ATarget.Pixels),
        End(ATarget.Pixels + static_cast<size_t>(ATarget.Width) * ATarget.Height) {}

  void Decode() {
    uint8_t CodeSize;
    if (!TryReadByte(Stream, CodeSize)) return;
    Remaining = std::max<int64_t>(Stream.Size() - Stream.Position(), 0);
    if (CodeSize == 0 || CodeSize > kMaxCodeSize) {
      Warn("Invalid LZW code size");
      SkipSubBlocks();
      return;
    }
    InitialCodeSize = CodeSize;
    ClearCode = 1 << CodeSize;
    EndCode = ClearCode + 1;
    FirstFree = ClearCode + 2;
    for (int Code = 0; Code < ClearCode; ++Code) {
      PrefixTable[Code] = 0;
      SuffixTable[Code] = static_cast<uint8_t>(Code);
    }
    std::optional<TDeinterlacer> Deinterlacer;
    if (Target.Interlaced && Target.Width > 0 && Target.Height > 1)
      Deinterlacer.emplace(Target.Pixels, Target.Width, Target.Height);
    bool Complete;
    try {
      Complete = DecodePixels();
    } catch (...) {
      FinishPixels(Deinterlacer);
      throw;
    }
    FinishPixels(Deinterlacer);
    // One more code after the last pixel: on sound data the end code.
    if (Complete) DecodeOneMore();
    if (!StreamEnded) SkipSubBlocks();
  }

 private:
  // True when every pixel got a value; false when the data ended first.
  bool DecodePixels() {
    if (Out == End) return true;
    Restart = false;
    int Code = ClearCode;
    for (;;) {
      if (Code < 0) return false;
      if (Code == ClearCode) {
        Code = ClearTable();
        if (!AcceptFirstCode(Code)) return false;
        FirstChar = PrevCode = Code;
        // The end code's table entry is not the pixel it stands for here.
        if (Code == EndCode) Irregular = true;
        PrevStart = Out;
        PrevLength = 1;
        *Out++ = static_cast<uint8_t>(Code);
      } else if (Code == EndCode) {
        SkipSubBlocks();
        return false;
      } else if (Irregular) {
        WalkStep(Code);
      } else {
        Code = CopyCodes(Code);
        if (Code == kFull) return true;
        if (Code != kFetch) continue;
      }
      if (Out == End) return true;
      Code = FetchCode(CodeWidth);
    }
  }

  // The index after the last pixel is discarded, so only the codes that move
  // through the data matter; a string of a damaged table is not even walked.
  void DecodeOneMore() {
    if (Pending > 0) return;  // the next index is the rest of the last string
    int Code = ClearCode;
    if (Restart)
      Restart = false;
    else
      Code = FetchCode(CodeWidth);
    if (Code == ClearCode)
      AcceptFirstCode(ClearTable());
    else if (Code == EndCode)
      SkipSubBlocks();
  }

  // The code after a clear must be a root or the end code; negative ends quietly.
  bool AcceptFirstCode(int Code) {
    if (Code < 0) return false;
    if (Code < FirstFree) return true;
    Warn("Invalid code after clear code");
    return false;
  }

  // Empties the table and returns the first code that is not a clear code.
  int ClearTable() {
    std::memset(PrefixTable + ClearCode, 0, sizeof PrefixTable[0] * (kTableSize - ClearCode));
    std::memset(SuffixTable + ClearCode, 0, sizeof SuffixTable[0] * (kTableSize - ClearCode));
    CodeWidth = InitialCodeSize + 1;
    WidthLimit = 2 * ClearCode;
    NextCode = FirstFree;
    Irregular = false;
    Pending = 0;
    int Code;
    do Code = FetchCode(CodeWidth);
    while (Code == ClearCode);
    return Code;
  }

  // Decodes codes from Code on while every entry's string lies in the buffer and
  // the bits come from the current sub-block. Returns kFull when the buffer is
  // full, kFetch when the next code needs FetchCode, or a clear or end code it
  // fetched. The state is kept in locals here: the byte stores into the buffer
  // would otherwise make the compiler reload every member after each of them.
  int CopyCodes(int Code) {
    uint64_t InBits = Bits;
    int InCount = BitCount;
    const uint8_t* In = Next;
    const uint8_t* const InEnd = BlockEnd;
    uint8_t* Dest = Out;
    uint8_t* const DestEnd = End;
    int Width = CodeWidth;
    int Free = NextCode;
    int Limit = WidthLimit;
    int Prev = PrevCode;
    const uint8_t* Start = PrevStart;
    uint32_t Length = PrevLength;
    int Result;
    for (;;) {
      const size_t Room = static_cast<size_t>(DestEnd - Dest);
      uint32_t NewLength;
      uint8_t First;
      if (Code < Free) {
        if (Code < ClearCode) {
          NewLength = 1;
          First = static_cast<uint8_t>(Code);
          *Dest = First;
        } else {
          NewLength = LengthTable[Code];
          const uint8_t* Source = Begin + StartTable[Code];
          First = *Source;
          if (Room >= NewLength + 7)
            CopyString(Dest, Source, NewLength);
          else
            std::memcpy(Dest, Source, std::min<size_t>(NewLength, Room));
        }
      } else {
        // Not defined yet: the previous string and its own first index.
        NewLength = Length + 1;
        First = *Start;
        if (Room >= NewLength + 7) {
          CopyString(Dest, Start, Length);
          Dest[Length] = First;
        } else {
          std::memcpy(Dest, Start, std::min<size_t>(Length, Room));
          if (Room > Length) Dest[Length] = First;
        }
        // Taken as the next free code, but the following entry will refer to it.
        if (Code > Free) Irregular = true;
      }
      if (Free < kTableSize) {  // a full table waits for a clear code
        PrefixTable[Free] = static_cast<uint16_t>(Prev);
        SuffixTable[Free] = First;
        LengthTable[Free] = static_cast<uint16_t>(Length + 1);
        StartTable[Free] = static_cast<uint32_t>(Start - Begin);
        if (++Free >= Limit && Limit < kTableSize) {
          Limit *= 2;
          ++Width;
        }
      }
      Prev = Code;
      Start = Dest;
      Length = NewLength;
      if (NewLength >= Room) {
        Pending = NewLength - Room;
        Dest = DestEnd;
        Result = kFull;
        break;
      }
      Dest += NewLength;
      if (Irregular) {
        Result = kFetch;
        break;
      }
      if (InCount < Width) {
        if (InEnd - In < 8) {
          Result = kFetch;
          break;
        }
        InBits |= LoadLittleEndian64(In) << InCount;
        In += (63 - InCount) >> 3;
        InCount |= 56;
      } else if (InCount == Width && In == InEnd) {
        Result = kFetch;
        break;
      }
      Code = static_cast<int>(InBits & ((1u << Width) - 1));
      InBits >>= Width;
      InCount -= Width;
      if (Code == ClearCode || Code == EndCode) {
        Result = Code;
        break;
      }
    }
    Bits = InBits;
    BitCount = InCount;
    Next = In;
    Out = Dest;
    CodeWidth = Width;
    NextCode = Free;
    WidthLimit = Limit;
    PrevCode = Prev;
    FirstChar = *Start;
    PrevStart = Start;
    PrevLength = Length;
    return Result;
  }

  // One code by walking the prefix chain into OutStack; bounded, since damaged
  // tables can loop.
  void WalkStep(int Code) {
    const int InCode = Code;
    int Top = 0;
    if (Code >= NextCode) {
      OutStack[Top++] = static_cast<uint8_t>(FirstChar);
      Code = PrevCode;
    }
    for (int Steps = 0; Code >= ClearCode; ++Steps) {
      if (PrefixTable[Code] == Code || Steps == kTableSize)
        RaiseGIFError("Circular decoder table entry");
      OutStack[Top++] = SuffixTable[Code];
      Code = PrefixTable[Code];
    }
    FirstChar = SuffixTable[Code];
    OutStack[Top++] = static_cast<uint8_t>(FirstChar);
    if (NextCode < kTableSize) {
      PrefixTable[NextCode] = static_cast<uint16_t>(PrevCode);
      SuffixTable[NextCode] = static_cast<uint8_t>(FirstChar);
      if (++NextCode >= WidthLimit && WidthLimit < kTableSize) {
        WidthLimit *= 2;
        ++CodeWidth;
      }
    }
    PrevCode = InCode;
    const size_t Room = static_cast<size_t>(End - Out);
    const size_t Stored = std::min<size_t>(Top, Room);
    for (size_t I = 0; I < Stored; ++I) Out[I] = OutStack[Top - 1 - I];
    Advance(Top, Room);
  }

  void Advance(size_t Length, size_t Room) {
    if (Length > Room) {
      Pending = Length - Room;
      Out = End;
    } else {
      Out += Length;
    }
  }

  // Undoes the copies' overrun past the last string and puts the rows in display
  // order; also runs when decoding is aborted.
  void FinishPixels(std::optional<TDeinterlacer>& Deinterlacer) noexcept {
    if (Out != End) std::fill(Out, Out + std::min<ptrdiff_t>(8, End - Out), Target.FillIndex);
    if (Deinterlacer) Deinterlacer->Apply();
  }

  int FetchCode(int Width) {
    if (BitCount < Width) {
      if (BlockEnd - Next < 8) return FetchCodeSlowly(Width);
      Bits |= LoadLittleEndian64(Next) << BitCount;
      Next += (63 - BitCount) >> 3;
      BitCount |= 56;
    } else if (BitCount == Width && Next == BlockEnd) {
      return FetchCodeSlowly(Width);
    }
    return TakeBits(Width);
  }

  // Near the end of a sub-block. As in the fast path, a code that would use up the
  // last available bit reads the next sub-block first; a code is never made of
  // bits that are not in the data.
  int FetchCodeSlowly(int Width) {
    PullBytes();
    if (AvailableBits() <= Width) {
      if (EndOfData) {
        Warn(kUnderRun);
        return -1;
      }
      if (!ReadSubBlock()) return -1;
      while (AvailableBits() < Width) {
        if (EndOfData) {
          Warn(kUnderRun);
          return -1;
        }
        if (!ReadSubBlock()) return -1;
      }
    }
    return TakeBits(Width);
  }

  int TakeBits(int Width) {
    const int Code = static_cast<int>(Bits & ((1u << Width) - 1));
    Bits >>= Width;
    BitCount -= Width;
    return Code;
  }

  void PullBytes() {
    while (Next < BlockEnd && BitCount <= 56) {
      Bits |= static_cast<uint64_t>(*Next++) << BitCount;
      BitCount += 8;
    }
  }

  int64_t AvailableBits() const { return BitCount + 8 * (BlockEnd - Next); }

  // False when the stream ends where a length byte should be.
  bool ReadSubBlock() {
    uint8_t Length;
    if (!ReadLengthByte(Length)) return false;
    int64_t Count = Length;
    if (Length == 0) EndOfData = true;
    if (Count > Remaining) {
      Warn("Premature end of data");
      Count = Remaining;
    }
    const int64_t Got = Count > 0 ? Stream.Read(Block, Count) : 0;
    Remaining -= Got;
    Next = Block;
    BlockEnd = Block + Got;
    PullBytes();
    return true;
  }

  // Passes over the data up to and including its terminator; nothing when the
  // terminator has been read already (the bytes after it belong to the next block).
  void SkipSubBlocks() {
    if (EndOfData) return;
    uint8_t Length;
    while (ReadLengthByte(Length)) {
      if (Length == 0) {
        EndOfData = true;
        return;
      }
      const int64_t Count = std::min<int64_t>(Length, Remaining);
      Stream.Seek(Count, base::TSeekOrigin::soCurrent);
      Remaining -= Count;
    }
  }

  bool ReadLengthByte(uint8_t& Length) {
    if (!TryReadByte(Stream, Length)) {
      StreamEnded = true;
      return false;
    }
    Remaining = std::max<int64_t>(Remaining - 1, 0);
    return true;
  }

  void Warn(const char* Message) {
    if (Target.Warning) Target.Warning(Message);
  }

  const TDecodeTarget& Target;
  base::TStream& Stream;
  int64_t Remaining = 0;  // bytes left in Stream

  uint8_t Block[255];  // the current sub-block
  const uint8_t* Next = Block;
  const uint8_t* BlockEnd = Block;
  uint64_t Bits = 0;  // BitCount bits taken from the data, first bit lowest
  int BitCount = 0;
  bool EndOfData = false;  // the terminator has been read
  bool StreamEnded = false;

  int InitialCodeSize = 0;
  int CodeWidth = 0;
  int ClearCode = 0;
  int EndCode = 0;
  int FirstFree = 0;
  int NextCode = 0;
  int WidthLimit = 0;
  int FirstChar = 0;
  int PrevCode = 0;
  bool Restart = true;  // the table has not been cleared yet
  bool Irregular = false;  // an entry may refer to a code defined after it

  uint16_t PrefixTable[kTableSize];
  uint8_t SuffixTable[kTableSize];
  uint16_t LengthTable[kTableSize];  // string length of each entry
  uint32_t StartTable[kTableSize];  // where the string first appeared in the buffer
  uint8_t OutStack[kTableSize + 2];

  uint8_t* const Begin;
  uint8_t* Out;
  uint8_t* const End;
  const uint8_t* PrevStart = nullptr;
  uint32_t PrevLength = 0;
  size_t Pending = 0;  // indexes of the last string that did not fit
};

}  // namespace

void DecodeImageData(const TDecodeTarget& Target, base::TStream& Stream) {
  if (Target.Width < 0 || Target.Width > kMaxFrameSide || Target.Height < 0 ||
      Target.Height > kMaxFrameSide)
    RaiseGIFError("Invalid frame size");
  const size_t Count = static_cast<size_t>(Target.Width) * Target.Height;
  if (Count > 0) std::memset(Target.Pixels, Target.FillIndex, Count);
  const auto Decoder = std::make_unique<TLZWDecoder>(Target, Stream);
  Decoder->Decode();
}

}  // namespace gif
