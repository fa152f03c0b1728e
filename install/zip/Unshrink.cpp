#include "install/zip/Unshrink.h"

#include <array>
#include <memory>

#include "install/zip/DecodeTable.h"

namespace zip {

namespace {

constexpr unsigned MaxCodeSize = 13;
constexpr int TableSize = 1 << MaxCodeSize;
constexpr int16_t FreeCode = -1;
// A code taken by a definition that would have made it its own ancestor: it holds no
// string, and data that uses it is invalid.
constexpr int16_t NoString = -2;
constexpr uint32_t ControlCode = 256;
constexpr int FirstFree = 257;

struct TShrinkTable {
  std::array<int16_t, TableSize> Prefix;
  std::array<uint8_t, TableSize> Suffix;
  // The partial clear marks leaves here, so no prefix changes while the scan reads it.
  std::array<bool, TableSize> Leaf;
  std::array<uint8_t, TableSize> Stack;
  int NextFree = FirstFree;

  TShrinkTable() {
    for (int Code = 0; Code < TableSize; ++Code) {
      Prefix[Code] = Code < 256 ? 0 : FreeCode;
      Suffix[Code] = static_cast<uint8_t>(Code);
    }
  }

  bool IsFree(uint32_t Code) const { return Code >= ControlCode && Prefix[Code] == FreeCode; }

  // Whether the prefix chain from Code reaches Target (Code itself included).
  bool Reaches(uint32_t Code, int Target) const {
    while (Code >= ControlCode && static_cast<int>(Code) != Target && Prefix[Code] >= 0)
      Code = static_cast<uint32_t>(Prefix[Code]);
    return static_cast<int>(Code) == Target;
  }

  void FindNextFree(int From) {
    NextFree = From;
    while (NextFree < TableSize && Prefix[NextFree] != FreeCode) ++NextFree;
  }

  // Frees the strings that no other string extends. Every defined code is looked at,
  // also those above the lowest free one, so no string is left extending a free code.
  void PruneLeafCodes() {
    for (int Code = FirstFree; Code < TableSize; ++Code) Leaf[Code] = Prefix[Code] != FreeCode;
    for (int Code = FirstFree; Code < TableSize; ++Code) {
      if (Prefix[Code] >= FirstFree) Leaf[Prefix[Code]] = false;
    }
    for (int Code = FirstFree; Code < TableSize; ++Code) {
      if (Leaf[Code]) Prefix[Code] = FreeCode;
    }
    FindNextFree(FirstFree);
  }
};

}  // namespace

int UnshrinkEntry(TBitInput& Input, TOutputWindow& Output, uint64_t Size) {
  auto Table = std::make_unique<TShrinkTable>();
  unsigned CodeSize = 9;
  // The next code, false once the input has run out.
  auto TakeCode = [&](uint32_t& Code) {
    Code = Input.TakeBits(CodeSize);
    return !Input.PastEnd();
  };

  uint32_t Code = 0;
  if (Size == 0 || !TakeCode(Code)) {
    Output.Flush();
    return drSuccess;
  }
  if (Code >= ControlCode) return drInvalidData;
  uint32_t Previous = Code;
  uint8_t Lead = static_cast<uint8_t>(Code);
  if (!Output.PutByte(Lead)) return drInvalidData;

  while (Output.Total() < Size && TakeCode(Code)) {
    bool Ended = false;
    while (Code == ControlCode && !Ended) {
      uint32_t Subcode = 0;
      Ended = !TakeCode(Subcode);
      if (Ended) break;
      if (Subcode == 1 && ++CodeSize > MaxCodeSize) return drInvalidData;
      if (Subcode == 2) Table->PruneLeafCodes();
      Ended = !TakeCode(Code);
    }
    if (Ended) break;

    // The string is stacked from its end, so it comes out in order.
    int Top = TableSize;
    uint32_t Walk = Code;
    if (Table->IsFree(Code)) {
      if (static_cast<int>(Code) != Table->NextFree) return drInvalidData;
      Table->Stack[--Top] = Lead;
      Walk = Previous;
    }
    // A prefix freed by a partial clear stands for the previous string, as a code not
    // yet defined does; a string longer than the stack is invalid, which also ends any
    // walk that would go round.
    while (Walk >= ControlCode) {
      if (Top == 1 || Table->Prefix[Walk] == NoString) return drInvalidData;
      if (Table->IsFree(Walk)) {
        Table->Stack[--Top] = Lead;
        Walk = Previous;
        continue;
      }
      Table->Stack[--Top] = Table->Suffix[Walk];
      Walk = static_cast<uint32_t>(Table->Prefix[Walk]);
    }
    Lead = static_cast<uint8_t>(Walk);
    Table->Stack[--Top] = Lead;
    if (!Output.PutBytes(&Table->Stack[Top], static_cast<size_t>(TableSize - Top))) return drInvalidData;

    if (Table->NextFree < TableSize) {
      // The new string extends the previous code even when a partial clear has just
      // freed it; only a code that would become its own ancestor is left without one.
      const bool Loops = Table->Reaches(Previous, Table->NextFree);
      Table->Prefix[Table->NextFree] = Loops ? NoString : static_cast<int16_t>(Previous);
      Table->Suffix[Table->NextFree] = Lead;
      Table->FindNextFree(Table->NextFree + 1);
    }
    Previous = Code;
  }
  Output.Flush();
  return drSuccess;
}

}  // namespace zip
