#include "install/zip/HuffmanTree.h"

#include <algorithm>

#include "install/zip/DeflateTables.h"

namespace zip {

namespace {

constexpr int MaxSymbols = FixedLiteralCodes;
constexpr int HeapSize = 2 * MaxSymbols + 1;

struct TTreeBuild {
  uint32_t Freq[HeapSize];
  uint16_t Dad[HeapSize];
  uint8_t Depth[HeapSize];  // height of the node's subtree
  uint8_t Length[HeapSize];
  int Heap[HeapSize];  // 1-based min-heap; the sorted removals are stacked at the top
  int HeapLen = 0;
  int HeapMax = HeapSize;

  bool Smaller(int N, int M) const {
    return Freq[N] < Freq[M] || (Freq[N] == Freq[M] && Depth[N] <= Depth[M]);
  }

  void DownHeap(int K) {
    const int V = Heap[K];
    int J = K << 1;
    while (J <= HeapLen) {
      if (J < HeapLen && Smaller(Heap[J + 1], Heap[J])) ++J;
      if (Smaller(V, Heap[J])) break;
      Heap[K] = Heap[J];
      K = J;
      J <<= 1;
    }
    Heap[K] = V;
  }
};

}  // namespace

int BuildTree(const uint32_t* Freq, int Count, int MaxLength, uint8_t* Lengths) {
  TTreeBuild T;
  int MaxCode = -1;
  for (int N = 0; N < Count; ++N) {
    T.Freq[N] = Freq[N];
    T.Depth[N] = 0;
    Lengths[N] = 0;
    if (Freq[N] != 0) {
      T.Heap[++T.HeapLen] = N;
      MaxCode = N;
    }
  }
  while (T.HeapLen < 2) {
    const int Node = MaxCode < 2 ? ++MaxCode : 0;
    T.Freq[Node] = 1;
    T.Heap[++T.HeapLen] = Node;
  }
  for (int N = T.HeapLen / 2; N >= 1; --N) T.DownHeap(N);

  int Node = Count;
  do {
    const int N = T.Heap[1];
    T.Heap[1] = T.Heap[T.HeapLen--];
    T.DownHeap(1);
    const int M = T.Heap[1];
    T.Heap[--T.HeapMax] = N;
    T.Heap[--T.HeapMax] = M;
    T.Freq[Node] = T.Freq[N] + T.Freq[M];
    T.Depth[Node] = static_cast<uint8_t>(std::max(T.Depth[N], T.Depth[M]) + 1);
    T.Dad[N] = T.Dad[M] = static_cast<uint16_t>(Node);
    T.Heap[1] = Node++;
    T.DownHeap(1);
  } while (T.HeapLen >= 2);
  T.Heap[--T.HeapMax] = T.Heap[1];

  // Depths from the root down; the root is the last node joined.
  int BitCount[MaxCodeBits + 1] = {};
  int Overflow = 0;
  T.Length[T.Heap[T.HeapMax]] = 0;
  for (int H = T.HeapMax + 1; H < HeapSize; ++H) {
    const int N = T.Heap[H];
    int Bits = T.Length[T.Dad[N]] + 1;
    if (Bits > MaxLength) {
      Bits = MaxLength;
      ++Overflow;
    }
    T.Length[N] = static_cast<uint8_t>(Bits);
    if (N < Count) ++BitCount[Bits];
  }
  if (Overflow > 0) {
    do {
      int Bits = MaxLength - 1;
      while (BitCount[Bits] == 0) --Bits;
      --BitCount[Bits];
      BitCount[Bits + 1] += 2;
      --BitCount[MaxLength];
      Overflow -= 2;
    } while (Overflow > 0);
    int H = HeapSize;
    for (int Bits = MaxLength; Bits != 0; --Bits) {
      for (int N = BitCount[Bits]; N != 0;) {
        const int M = T.Heap[--H];
        if (M >= Count) continue;
        T.Length[M] = static_cast<uint8_t>(Bits);
        --N;
      }
    }
  }
  for (int H = T.HeapMax; H < HeapSize; ++H)
    if (T.Heap[H] < Count) Lengths[T.Heap[H]] = T.Length[T.Heap[H]];
  return MaxCode;
}

void AssignCodes(const uint8_t* Lengths, int Count, uint16_t* Codes) {
  int BitCount[MaxCodeBits + 1] = {};
  for (int N = 0; N < Count; ++N) ++BitCount[Lengths[N]];
  BitCount[0] = 0;
  unsigned NextCode[MaxCodeBits + 2] = {};
  unsigned Code = 0;
  for (int Bits = 1; Bits <= MaxCodeBits; ++Bits) {
    Code = (Code + BitCount[Bits - 1]) << 1;
    NextCode[Bits] = Code;
  }
  for (int N = 0; N < Count; ++N) {
    const int Len = Lengths[N];
    if (Len == 0) {
      Codes[N] = 0;
      continue;
    }
    unsigned Value = NextCode[Len]++;
    unsigned Reversed = 0;
    for (int I = 0; I < Len; ++I, Value >>= 1) Reversed = (Reversed << 1) | (Value & 1);
    Codes[N] = static_cast<uint16_t>(Reversed);
  }
}

}  // namespace zip
