#include "gif/RLEEncoder.h"

namespace gif {

void TRLEEncoder::Clear() {
  BumpLimit = BumpStart;
  ClearLimit = ClearStart;
  OutCount = 0;
  RunTableMax = 0;
  TGIFEncoder::Clear();
  CodeWidth = InitialWidth;
}

// Every code but the first after a clear adds a table entry in the decoder, which
// widens its codes at 2^width entries.
void TRLEEncoder::EmitPlain(int32_t Code) {
  JustCleared = false;
  Output(Code);
  ++OutCount;
  if (OutCount >= BumpLimit) {
    ++CodeWidth;
    BumpLimit += 1 << (CodeWidth - 1);
  }
  if (OutCount >= ClearLimit) Clear();
}

void TRLEEncoder::ResetClearLimit() {
  ClearLimit = ClearStart;
  if (OutCount >= ClearLimit) Clear();
}

int64_t TRLEEncoder::TriangleCost(int64_t Count, int64_t N) {
  const int64_t PerRound = N * (N + 1) / 2;
  int64_t Cost = Count / PerRound * N;
  Count %= PerRound;
  if (Count > 0) {
    int64_t K = IntSqrt(Count);
    while (K * (K + 1) >= 2 * Count) --K;
    while (K * (K + 1) < 2 * Count) ++K;
    Cost += K;
  }
  return Cost;
}

int64_t TRLEEncoder::IntSqrt(int64_t X) {
  if (X < 2) return X;
  int64_t Root = 1;  // 2^(number of base-4 digits of X)
  for (int64_t Rest = X; Rest > 0; Rest >>= 2) Root <<= 1;
  for (;;) {
    const int64_t Next = (Root + X / Root) / 2;
    if (Next == Root || Next == Root + 1) return Root;
    Root = Next;
  }
}

void TRLEEncoder::FlushFromClear(int64_t Count) {
  MaxClearLimit();
  RunTablePixel = RunPixel;
  int32_t N = 1;
  while (Count > 0) {
    if (N == 1) {
      RunTableMax = 1;
      EmitPlain(RunPixel);
      Count -= 1;
    } else if (Count >= N) {
      RunTableMax = N;
      EmitPlain(FirstFree + N - 2);
      Count -= N;
    } else {
      ++RunTableMax;
      EmitPlain(Count == 1 ? RunPixel : FirstFree + static_cast<int32_t>(Count) - 2);
      break;
    }
    N = OutCount == 0 ? 1 : N + 1;
  }
  ResetClearLimit();
}

void TRLEEncoder::FlushClearOrRepeat(int64_t Count) {
  if (1 + TriangleCost(Count, MaxRunCodes) < Count) {
    Clear();
    FlushFromClear(Count);
  } else {
    for (int64_t I = 0; I < Count; ++I) EmitPlain(RunPixel);
  }
}

void TRLEEncoder::FlushWithTable(int64_t Count) {
  int64_t Repeats = Count / RunTableMax;
  int64_t Leftover = Count % RunTableMax;
  int64_t Extra = Leftover > 0 ? 1 : 0;
  if (OutCount + Repeats + Extra > MaxRunCodes) {
    Repeats = MaxRunCodes - OutCount;
    Leftover = Count - Repeats * RunTableMax;
    Extra = 1 + TriangleCost(Leftover, MaxRunCodes);
  }
  if (1 + TriangleCost(Count, MaxRunCodes) < Repeats + Extra) {
    Clear();
    FlushFromClear(Count);
    return;
  }
  MaxClearLimit();
  for (int64_t I = 0; I < Repeats; ++I) EmitPlain(FirstFree + RunTableMax - 2);
  if (Leftover > 0) {
    if (JustCleared)
      FlushFromClear(Leftover);
    else if (Leftover == 1)
      EmitPlain(RunPixel);
    else
      EmitPlain(FirstFree + static_cast<int32_t>(Leftover) - 2);
  }
  ResetClearLimit();
}

void TRLEEncoder::FlushRun(int64_t Count) {
  if (Count == 1)
    EmitPlain(RunPixel);
  else if (JustCleared)
    FlushFromClear(Count);
  else if (RunTableMax > 1 && RunTablePixel == RunPixel)
    FlushWithTable(Count);
  else
    FlushClearOrRepeat(Count);
}

void TRLEEncoder::Compress() {
  BumpStart = ClearCode - 1;
  ClearStart = MinCodeSize <= 3 ? 9 : ClearCode - 2;
  MaxRunCodes = 4095 - FirstFree;
  Clear();
  RunPixel = -1;
  int64_t Run = 0;
  const uint8_t* Pixel = Cursor;
  const uint8_t* RowEnd = Cursor + RowLeft;
  for (;;) {
    for (; Pixel < RowEnd; ++Pixel) {
      const uint8_t Index = *Pixel;
      CheckPixel(Index);
      if (Run > 0 && Index != RunPixel) {
        FlushRun(Run);
        Run = 0;
      }
      if (Index == RunPixel) {
        ++Run;
      } else {
        Run = 1;
        RunPixel = Index;
      }
    }
    if (!NextRow()) break;
    Pixel = Cursor;
    RowEnd = Cursor + RowLeft;
  }
  FlushRun(Run);
}

}  // namespace gif
