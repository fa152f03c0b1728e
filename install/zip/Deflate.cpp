#include "install/zip/Deflate.h"

#include <cstring>

#include "platform/base/Format.h"

namespace zip {

namespace {

constexpr uint16_t FastFlags = 4;
constexpr uint16_t MaximumFlags = 2;

// Bytes that A and B have in common from the start, up to Limit (a multiple of 8).
inline unsigned CommonLength(const uint8_t* A, const uint8_t* B, unsigned Limit) {
  unsigned Len = 0;
  while (Len < Limit) {
    uint64_t X;
    uint64_t Y;
    std::memcpy(&X, A + Len, 8);
    std::memcpy(&Y, B + Len, 8);
    if (X != Y) return Len + (static_cast<unsigned>(__builtin_ctzll(X ^ Y)) >> 3);
    Len += 8;
  }
  return Limit;
}

}  // namespace

// Good length, lazy value, nice length, chain limit, flag bits; levels 0 to 3 are greedy.
const TDeflater::TConfig TDeflater::Configs[10] = {
    {0, 0, 0, 0, FastFlags},          {4, 4, 8, 4, FastFlags},       {4, 5, 16, 8, FastFlags},
    {4, 6, 32, 32, 0},                {4, 4, 16, 16, 0},             {8, 16, 32, 32, 0},
    {8, 16, 128, 128, 0},             {8, 32, 128, 256, 0},          {32, 128, 258, 1024, MaximumFlags},
    {32, 258, 258, 4096, MaximumFlags}};

void TDeflater::AllocateBuffers() {
  Window = std::make_unique<uint8_t[]>(2 * WindowSize + WindowSlack);
  PrevLinks = std::make_unique<uint16_t[]>(WindowSize);
  HashHeads = std::make_unique<uint16_t[]>(HashSize);
  Blocks.AllocateBuffers();
}

void TDeflater::FreeBuffers() {
  Window.reset();
  PrevLinks.reset();
  HashHeads.reset();
  Blocks.FreeBuffers();
}

int64_t TDeflater::DeflateEntry(TDeflateStreams& Streams, int PackLevel, TDeflateRecord& Record) {
  const int Level = PackLevel < 0 ? 0 : PackLevel > 9 ? 9 : PackLevel;
  IO = &Streams;
  Config = Configs[Level];
  Record.Flags |= Config.Flags;
  Blocks.StartFile(Streams, Level, Record.InternalAttributes);
  std::memset(HashHeads.get(), 0, HashSize * sizeof(uint16_t));
  Position = 0;
  BlockStart = 0;
  MatchStart = 0;
  EndOfInput = false;
  const int32_t First = IO->ReadSourceData(Window.get(), static_cast<int32_t>(WindowSize));
  Lookahead = First > 0 ? static_cast<unsigned>(First) : 0;
  EndOfInput = First <= 0;
  while (Lookahead < MinLookahead && !EndOfInput) RefillLookahead();
  RestartHash(0);

  if (Level <= 3)
    DeflateFast();
  else
    DeflateLazy();

  Record.InternalAttributes = Blocks.InternalAttributes();
  if (Blocks.StoredWhole()) Record.CompressionMethod = 0;
  return Blocks.CompressedSize();
}

void TDeflater::RefillLookahead() {
  do {
    unsigned Room = 2 * WindowSize - Lookahead - Position;
    if (Position >= WindowSize + MaxDist) {
      std::memcpy(Window.get(), Window.get() + WindowSize, WindowSize);
      MatchStart -= WindowSize;
      Position -= WindowSize;
      BlockStart -= WindowSize;
      for (unsigned N = 0; N < HashSize; ++N) {
        const unsigned V = HashHeads[N];
        HashHeads[N] = static_cast<uint16_t>(V >= WindowSize ? V - WindowSize : 0);
      }
      for (unsigned N = 0; N < WindowSize; ++N) {
        const unsigned V = PrevLinks[N];
        PrevLinks[N] = static_cast<uint16_t>(V >= WindowSize ? V - WindowSize : 0);
      }
      Room += WindowSize;
    }
    if (EndOfInput) return;
    const int32_t Got = IO->ReadSourceData(Window.get() + Position + Lookahead, static_cast<int32_t>(Room));
    if (Got <= 0)
      EndOfInput = true;
    else
      Lookahead += static_cast<unsigned>(Got);
  } while (Lookahead < MinLookahead && !EndOfInput);
}

unsigned TDeflater::FindLongestMatch(unsigned Candidate) {
  // A chain limit of 0 still looks at the one candidate found.
  unsigned Chain = Config.MaxChain;
  if (PrevLength >= Config.GoodLength) Chain >>= 2;
  if (Chain == 0) Chain = 1;
  const uint8_t* const Base = Window.get();
  const uint8_t* const Scan = Base + Position;
  const unsigned Limit = Position > MaxDist ? Position - MaxDist : 0;
  const unsigned Nice = Config.NiceLength;
  unsigned Best = PrevLength;
  // The four bytes ending at offset Best must agree for a longer match; with Best 2 the
  // byte before the string is loaded too and masked off (both strings have one).
  uint32_t EndMask = Best >= 3 ? 0xFFFFFFFFu : 0xFFFFFF00u;
  uint32_t ScanEnd;
  std::memcpy(&ScanEnd, Scan + Best - 3, 4);
  uint16_t ScanStart;
  std::memcpy(&ScanStart, Scan, 2);
  do {
    const uint8_t* Match = Base + Candidate;
    uint32_t M4;
    std::memcpy(&M4, Match + Best - 3, 4);
    if (((M4 ^ ScanEnd) & EndMask) != 0) continue;
    uint16_t M;
    std::memcpy(&M, Match, 2);
    if (M != ScanStart) continue;
    const unsigned Len = 2 + CommonLength(Scan + 2, Match + 2, MaxMatch - 2);
    if (Len > Best) {
      MatchStart = Candidate;
      Best = Len;
      if (Len >= Nice) break;
      EndMask = 0xFFFFFFFFu;
      std::memcpy(&ScanEnd, Scan + Best - 3, 4);
    }
  } while ((Candidate = PrevLinks[Candidate & WindowMask]) > Limit && --Chain != 0);
  return Best;
}

void TDeflater::VerifyMatch(unsigned Start, unsigned Match, unsigned Length) const {
  if (std::memcmp(Window.get() + Match, Window.get() + Start, Length) != 0)
    throw EInvalidMatch(base::Format("Start: %u, Match: %u, Length: %u", Start, Match, Length));
}

void TDeflater::EmitBlock(bool Last) {
  const int64_t Count = static_cast<int64_t>(Position) - BlockStart;
  Blocks.EmitBlock(BlockStart >= 0 ? Window.get() + BlockStart : nullptr, Count, Last);
  BlockStart = Position;
}

void TDeflater::DeflateFast() {
  PrevLength = MinMatch - 1;
  unsigned MatchLength = 0;
  while (Lookahead > 0) {
    unsigned Head;
    InsertString(Position, Head);
    if (Head != 0 && Position - Head <= MaxDist) {
      MatchLength = FindLongestMatch(Head);
      if (MatchLength > Lookahead) MatchLength = Lookahead;
    }
    bool Full;
    if (MatchLength >= MinMatch) {
      VerifyMatch(Position, MatchStart, MatchLength);
      Full = Blocks.RecordMatch(Position - MatchStart, MatchLength, Position - BlockStart);
      Lookahead -= MatchLength;
      if (MatchLength <= Config.MaxLazy) {
        for (unsigned N = 1; N < MatchLength; ++N) InsertString(Position + N, Head);
        Position += MatchLength;
      } else {
        Position += MatchLength;
        RestartHash(Position);
      }
      MatchLength = 0;
    } else {
      Full = Blocks.RecordLiteral(Window[Position], Position - BlockStart);
      ++Position;
      --Lookahead;
    }
    if (Full) EmitBlock(false);
    if (Lookahead < MinLookahead) RefillLookahead();
  }
  EmitBlock(true);
  std::memset(Window.get(), 0, 2 * WindowSize);
}

void TDeflater::DeflateLazy() {
  bool LiteralPending = false;
  unsigned MatchLength = MinMatch - 1;
  while (Lookahead > 0) {
    unsigned Head;
    InsertString(Position, Head);
    PrevLength = MatchLength;
    const unsigned PrevMatch = MatchStart;
    MatchLength = MinMatch - 1;
    if (Head != 0 && PrevLength < Config.MaxLazy && Position - Head <= MaxDist) {
      MatchLength = FindLongestMatch(Head);
      if (MatchLength > Lookahead) MatchLength = Lookahead;
      if (MatchLength == MinMatch && Position - MatchStart > TooFar) --MatchLength;
    }
    if (PrevLength >= MinMatch && MatchLength <= PrevLength) {
      const unsigned Start = Position - 1;
      VerifyMatch(Start, PrevMatch, PrevLength);
      const bool Full = Blocks.RecordMatch(Start - PrevMatch, PrevLength, Position - BlockStart);
      Lookahead -= PrevLength - 1;
      for (unsigned N = 1; N < PrevLength - 1; ++N) InsertString(Position + N, Head);
      Position += PrevLength - 1;
      LiteralPending = false;
      MatchLength = MinMatch - 1;
      if (Full) EmitBlock(false);
    } else if (LiteralPending) {
      if (Blocks.RecordLiteral(Window[Position - 1], Position - BlockStart)) EmitBlock(false);
      ++Position;
      --Lookahead;
    } else {
      LiteralPending = true;
      ++Position;
      --Lookahead;
    }
    if (Lookahead < MinLookahead) RefillLookahead();
  }
  if (LiteralPending) Blocks.RecordLiteral(Window[Position - 1], Position - BlockStart);
  EmitBlock(true);
  std::memset(Window.get(), 0, 2 * WindowSize);
}

}  // namespace zip
