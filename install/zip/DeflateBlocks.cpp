#include "install/zip/DeflateBlocks.h"

#include "install/zip/HuffmanTree.h"

namespace zip {

namespace {

constexpr int StoredBlock = 0;
constexpr int FixedBlock = 1;
constexpr int DynamicBlock = 2;

// One code-length symbol of the run-length coded tree lengths, with its extra bits.
struct TLengthSymbol {
  uint8_t Symbol;
  uint8_t Extra;
};

// Run-length codes the lengths of symbols 0..MaxCode: a non-zero length repeated 3 to 6
// times after its first occurrence, runs of 3 to 10 and of 11 to 138 zeros; shorter
// runs go length by length.
int RunLengthCode(const uint8_t* Lengths, int MaxCode, TLengthSymbol* Out) {
  int N = 0;
  int PrevLen = -1;
  int NextLen = Lengths[0];
  int Count = 0;
  int MaxCount = NextLen == 0 ? 138 : 7;
  int MinCount = NextLen == 0 ? 3 : 4;
  for (int I = 0; I <= MaxCode; ++I) {
    const int CurLen = NextLen;
    NextLen = I < MaxCode ? Lengths[I + 1] : -1;
    if (++Count < MaxCount && CurLen == NextLen) continue;
    if (Count < MinCount) {
      for (; Count > 0; --Count) Out[N++] = {static_cast<uint8_t>(CurLen), 0};
    } else if (CurLen != 0) {
      if (CurLen != PrevLen) {
        Out[N++] = {static_cast<uint8_t>(CurLen), 0};
        --Count;
      }
      Out[N++] = {Rep3To6, static_cast<uint8_t>(Count - 3)};
    } else if (Count <= 10) {
      Out[N++] = {RepZero3To10, static_cast<uint8_t>(Count - 3)};
    } else {
      Out[N++] = {RepZero11To138, static_cast<uint8_t>(Count - 11)};
    }
    Count = 0;
    PrevLen = CurLen;
    if (NextLen == 0) {
      MaxCount = 138;
      MinCount = 3;
    } else if (CurLen == NextLen) {
      MaxCount = 6;
      MinCount = 3;
    } else {
      MaxCount = 7;
      MinCount = 4;
    }
  }
  return N;
}

}  // namespace

struct TDeflateBlocks::TTrees {
  uint8_t LitLength[LiteralCodes];
  uint16_t LitCode[LiteralCodes];
  uint8_t DistLength[DistanceCodes];
  uint16_t DistCode[DistanceCodes];
  uint8_t BLLength[BitLengthCodes];
  uint16_t BLCode[BitLengthCodes];
  int MaxLit = 0;
  int MaxDist = 0;
  int BLCount = 0;  // code-length codes sent, in the format's order
  TLengthSymbol Lengths[LiteralCodes + DistanceCodes];
  int LengthCount = 0;
};

void TDeflateBlocks::AllocateBuffers() {
  LiteralBuffer = std::make_unique<uint8_t[]>(LiteralBufferSize);
  DistanceBuffer = std::make_unique<uint16_t[]>(DistanceBufferSize);
  FlagBuffer = std::make_unique<uint8_t[]>(FlagBufferSize);
}

void TDeflateBlocks::FreeBuffers() {
  LiteralBuffer.reset();
  DistanceBuffer.reset();
  FlagBuffer.reset();
}

void TDeflateBlocks::StartFile(TDeflateStreams& Streams, int PackLevel, uint16_t InternalAttributes) {
  if (!TablesBuilt) {
    Tables.Build();
    TablesBuilt = true;
  }
  Writer.Start(Streams);
  Level = PackLevel;
  CompressedBits = 0;
  FStoredWhole = false;
  FInternalAttributes = InternalAttributes;
  ResetBlock();
}

void TDeflateBlocks::ResetBlock() {
  for (auto& F : LiteralFreq) F = 0;
  for (auto& F : DistFreq) F = 0;
  LiteralFreq[EndBlock] = 1;
  LastLiteral = LastDistance = LastFlags = 0;
  Flags = 0;
  FlagBit = 1;
}

// A block that is mostly literals yet would already halve its input is worth ending
// here, so that the next one gets codes of its own.
bool TDeflateBlocks::WorthEndingEarly(int64_t BlockBytes) const {
  int64_t OutLength = static_cast<int64_t>(LastLiteral) * 8;
  for (int Code = 0; Code < DistanceCodes; ++Code)
    OutLength += static_cast<int64_t>(DistFreq[Code]) * (5 + Tables.ExtraDistBits[Code]);
  OutLength >>= 3;
  return LastDistance < LastLiteral / 2 && OutLength < BlockBytes / 2;
}

void TDeflateBlocks::ClassifyData() {
  uint64_t Binary = 0;
  uint64_t Ascii = 0;
  for (int N = 0; N < 7; ++N) Binary += LiteralFreq[N];
  for (int N = 7; N < 128; ++N) Ascii += LiteralFreq[N];
  for (int N = 128; N < Literals; ++N) Binary += LiteralFreq[N];
  FInternalAttributes = Binary > (Ascii >> 2) ? 0 : 1;
}

void TDeflateBlocks::EmitBlock(const uint8_t* Data, int64_t Count, bool Last) {
  if ((LastLiteral & 7) != 0) FlagBuffer[LastFlags++] = Flags;
  if (FInternalAttributes == 2) ClassifyData();

  TTrees T;
  T.MaxLit = BuildTree(LiteralFreq, LiteralCodes, MaxCodeBits, T.LitLength);
  T.MaxDist = BuildTree(DistFreq, DistanceCodes, MaxCodeBits, T.DistLength);
  const int LitSymbols = RunLengthCode(T.LitLength, T.MaxLit, T.Lengths);
  T.LengthCount = LitSymbols + RunLengthCode(T.DistLength, T.MaxDist, T.Lengths + LitSymbols);
  uint32_t BLFreq[BitLengthCodes] = {};
  for (int I = 0; I < T.LengthCount; ++I) ++BLFreq[T.Lengths[I].Symbol];
  BuildTree(BLFreq, BitLengthCodes, MaxBitLengthBits, T.BLLength);
  T.BLCount = BitLengthCodes;
  while (T.BLCount > 4 && T.BLLength[BitLengthOrder[T.BLCount - 1]] == 0) --T.BLCount;

  int64_t DynamicBits = 3 * T.BLCount + 5 + 5 + 4;
  int64_t FixedBits = 0;
  for (int N = 0; N < LiteralCodes; ++N) {
    const int Extra = N > Literals ? Tables.ExtraLengthBits[N - Literals - 1] : 0;
    DynamicBits += static_cast<int64_t>(LiteralFreq[N]) * (T.LitLength[N] + Extra);
    FixedBits += static_cast<int64_t>(LiteralFreq[N]) * (Tables.FixedLiteralLength[N] + Extra);
  }
  for (int N = 0; N < DistanceCodes; ++N) {
    DynamicBits += static_cast<int64_t>(DistFreq[N]) * (T.DistLength[N] + Tables.ExtraDistBits[N]);
    FixedBits += static_cast<int64_t>(DistFreq[N]) * (Tables.FixedDistLength[N] + Tables.ExtraDistBits[N]);
  }
  for (int N = 0; N < BitLengthCodes; ++N)
    DynamicBits += static_cast<int64_t>(BLFreq[N]) * (T.BLLength[N] + Tables.ExtraBitLengthBits[N]);

  const int64_t DynamicBytes = (DynamicBits + 3 + 7) >> 3;
  const int64_t FixedBytes = (FixedBits + 3 + 7) >> 3;
  const int64_t Best = FixedBytes <= DynamicBytes ? FixedBytes : DynamicBytes;
  const int LastBit = Last ? 1 : 0;

  if (Last && CompressedBits == 0 && Data != nullptr && Count <= Best) {
    Writer.WriteThrough(Data, Count);
    CompressedBits = Count * 8;
    FStoredWhole = true;
  } else if (Data != nullptr && Count + 4 <= Best && Count <= 0xFFFF) {
    Writer.SendBits((StoredBlock << 1) | LastBit, 3);
    Writer.AlignToByte();
    const unsigned Len = static_cast<unsigned>(Count);
    Writer.PutByte(static_cast<uint8_t>(Len));
    Writer.PutByte(static_cast<uint8_t>(Len >> 8));
    Writer.PutByte(static_cast<uint8_t>(~Len));
    Writer.PutByte(static_cast<uint8_t>(~Len >> 8));
    Writer.WriteThrough(Data, Count);
    CompressedBits = ((CompressedBits + 3 + 7) & ~int64_t{7}) + (Count + 4) * 8;
  } else if (FixedBytes == Best) {
    Writer.SendBits((FixedBlock << 1) | LastBit, 3);
    SendSymbols(Tables.FixedLiteralLength, Tables.FixedLiteralCode, Tables.FixedDistLength,
                Tables.FixedDistCode);
    CompressedBits += 3 + FixedBits;
  } else {
    AssignCodes(T.LitLength, LiteralCodes, T.LitCode);
    AssignCodes(T.DistLength, DistanceCodes, T.DistCode);
    AssignCodes(T.BLLength, BitLengthCodes, T.BLCode);
    Writer.SendBits((DynamicBlock << 1) | LastBit, 3);
    SendTreeHeader(T);
    SendSymbols(T.LitLength, T.LitCode, T.DistLength, T.DistCode);
    CompressedBits += 3 + DynamicBits;
  }
  ResetBlock();
  if (Last) {
    Writer.AlignToByte();
    Writer.FlushOutput();
  }
}

void TDeflateBlocks::SendTreeHeader(const TTrees& T) {
  Writer.SendBits(static_cast<uint32_t>(T.MaxLit + 1 - 257), 5);
  Writer.SendBits(static_cast<uint32_t>(T.MaxDist + 1 - 1), 5);
  Writer.SendBits(static_cast<uint32_t>(T.BLCount - 4), 4);
  for (int Rank = 0; Rank < T.BLCount; ++Rank) Writer.SendBits(T.BLLength[BitLengthOrder[Rank]], 3);
  for (int I = 0; I < T.LengthCount; ++I) {
    const TLengthSymbol S = T.Lengths[I];
    Writer.SendBits(T.BLCode[S.Symbol], T.BLLength[S.Symbol]);
    if (S.Symbol >= Rep3To6) Writer.SendBits(S.Extra, Tables.ExtraBitLengthBits[S.Symbol]);
  }
}

void TDeflateBlocks::SendSymbols(const uint8_t* LitLength, const uint16_t* LitCode, const uint8_t* DLength,
                                 const uint16_t* DCode) {
  unsigned Dx = 0;
  unsigned Fx = 0;
  uint8_t Flag = 0;
  for (unsigned Lx = 0; Lx < LastLiteral; ++Lx) {
    if ((Lx & 7) == 0) Flag = FlagBuffer[Fx++];
    const unsigned Value = LiteralBuffer[Lx];
    if ((Flag & 1) == 0) {
      Writer.SendBits(LitCode[Value], LitLength[Value]);
    } else {
      const unsigned Code = Tables.LengthCode[Value];
      const unsigned Symbol = Code + Literals + 1;
      Writer.SendBits(LitCode[Symbol] | ((Value - Tables.BaseLength[Code]) << LitLength[Symbol]),
                      LitLength[Symbol] + Tables.ExtraLengthBits[Code]);
      const unsigned Dist = DistanceBuffer[Dx++];
      const unsigned DistCode = Tables.DistanceCode(Dist);
      Writer.SendBits(DCode[DistCode] | ((Dist - Tables.BaseDist[DistCode]) << DLength[DistCode]),
                      DLength[DistCode] + Tables.ExtraDistBits[DistCode]);
    }
    Flag >>= 1;
  }
  Writer.SendBits(LitCode[EndBlock], LitLength[EndBlock]);
}

}  // namespace zip
