#include "tests/zip/ShrinkEncoder.h"

#include <cstddef>
#include <unordered_map>

#include "tests/zip/BitWriter.h"

namespace ziptest {

namespace {

constexpr int TableSize = 8192;
constexpr int FirstFree = 257;

class TShrinker {
 public:
  TShrinker() {
    for (int Code = 0; Code < TableSize; ++Code) Prefix[Code] = Code < 256 ? 0 : -1;
  }

  void Emit(uint32_t Code) {
    while (Code >= (1u << CodeSize)) {
      Bits.Put(256, CodeSize);
      Bits.Put(1, CodeSize);
      ++CodeSize;
    }
    Bits.Put(Code, CodeSize);
  }

  // The decoder defines a code only when the next one arrives, so the encoder does too.
  void Define(int Previous, uint8_t Byte) {
    if (NextFree >= TableSize) return;
    Prefix[NextFree] = Previous;
    Suffix[NextFree] = Byte;
    Strings.emplace(Key(Previous, Byte), NextFree);
    FindNextFree(NextFree + 1);
  }

  void Prune() {
    Bits.Put(256, CodeSize);
    Bits.Put(2, CodeSize);
    std::vector<bool> Leaf(TableSize, false);
    for (int Code = FirstFree; Code < TableSize; ++Code) Leaf[Code] = Prefix[Code] >= 0;
    for (int Code = FirstFree; Code < TableSize; ++Code) {
      if (Prefix[Code] >= FirstFree) Leaf[Prefix[Code]] = false;
    }
    Strings.clear();
    for (int Code = FirstFree; Code < TableSize; ++Code) {
      if (Leaf[Code]) Prefix[Code] = -1;
      if (Prefix[Code] >= 0) Strings.emplace(Key(Prefix[Code], Suffix[Code]), Code);
    }
    FindNextFree(FirstFree);
  }

  int Lookup(int Code, uint8_t Byte) const {
    auto It = Strings.find(Key(Code, Byte));
    return It == Strings.end() ? -1 : It->second;
  }

  bool NearlyFull(int Before = 0) const { return NextFree >= TableSize - 1 - Before; }
  const std::vector<uint8_t>& Data() const { return Bits.Data(); }

 private:
  static uint32_t Key(int Code, uint8_t Byte) { return uint32_t(Code) << 8 | Byte; }
  void FindNextFree(int From) {
    NextFree = From;
    while (NextFree < TableSize && Prefix[NextFree] >= 0) ++NextFree;
  }

  TBitWriter Bits;
  int Prefix[TableSize];
  uint8_t Suffix[TableSize] = {};
  std::unordered_map<uint32_t, int> Strings;
  int NextFree = FirstFree;
  int CodeSize = 9;
};

}  // namespace

std::vector<uint8_t> Shrink(const std::vector<uint8_t>& Data, int PruneEvery) {
  TShrinker Shrinker;
  size_t Position = 0;
  int Previous = -1;
  int Emitted = 0;
  bool Wanted = false;
  while (Position < Data.size()) {
    if (PruneEvery > 0 && Emitted > 0 && Emitted % PruneEvery == 0) Wanted = true;
    // A clear right after a string code could free that string before the code that
    // extends it is defined, so the encoder clears only after a single byte.
    if (Previous >= 0 && Previous < 256 && (Wanted || Shrinker.NearlyFull())) {
      Shrinker.Prune();
      Wanted = false;
    }
    int Code = Data[Position];
    size_t Length = 1;
    // unzip takes a table that fills up as invalid, so the encoder clears one code
    // before: a single byte first, when the string before it was longer.
    const bool SingleByte = Shrinker.NearlyFull(1) && Previous >= 256;
    while (!SingleByte && Position + Length < Data.size()) {
      const int Longer = Shrinker.Lookup(Code, Data[Position + Length]);
      if (Longer < 0) break;
      Code = Longer;
      ++Length;
    }
    Shrinker.Emit(Code);
    if (Previous >= 0) Shrinker.Define(Previous, Data[Position]);
    Previous = Code;
    Position += Length;
    ++Emitted;
  }
  return Shrinker.Data();
}

}  // namespace ziptest
