#include "tests/zip/ImplodeEncoder.h"

#include <algorithm>
#include <functional>
#include <queue>

#include "tests/zip/BitWriter.h"
#include "tests/zip/MatchFinder.h"

namespace ziptest {

namespace {

uint32_t MinLength(const TImplodeOptions& Options) { return Options.LiteralTree ? 3 : 2; }
int LowBits(const TImplodeOptions& Options) { return Options.LargeWindow ? 7 : 6; }

// Huffman code lengths for every symbol (each counted at least once), flattened until
// none is longer than 16 bits.
std::vector<int> HuffmanLengths(std::vector<uint64_t> Counts) {
  for (uint64_t& Count : Counts) ++Count;
  while (true) {
    const size_t N = Counts.size();
    std::vector<uint64_t> Weight(Counts);
    std::vector<int> Parent(N, -1);
    using TNode = std::pair<uint64_t, int>;
    std::priority_queue<TNode, std::vector<TNode>, std::greater<>> Queue;
    for (size_t I = 0; I < N; ++I) Queue.push({Counts[I], static_cast<int>(I)});
    while (Queue.size() > 1) {
      const TNode A = Queue.top();
      Queue.pop();
      const TNode B = Queue.top();
      Queue.pop();
      const int Node = static_cast<int>(Weight.size());
      Weight.push_back(A.first + B.first);
      Parent.push_back(-1);
      Parent[A.second] = Node;
      Parent[B.second] = Node;
      Queue.push({A.first + B.first, Node});
    }
    std::vector<int> Lengths(N, 0);
    int Longest = 0;
    for (size_t I = 0; I < N; ++I) {
      for (int Node = Parent[I]; Node >= 0; Node = Parent[Node]) ++Lengths[I];
      Longest = std::max(Longest, Lengths[I]);
    }
    if (Longest <= 16) return Lengths;
    for (uint64_t& Count : Counts) Count = Count / 2 + 1;
  }
}

// Canonical codes, shortest first and by symbol within a length.
std::vector<uint32_t> CanonicalCodes(const std::vector<int>& Lengths) {
  std::vector<uint32_t> Codes(Lengths.size());
  uint32_t Code = 0;
  for (int Length = 1; Length <= 16; ++Length) {
    for (size_t Symbol = 0; Symbol < Lengths.size(); ++Symbol) {
      if (Lengths[Symbol] == Length) Codes[Symbol] = Code++;
    }
    Code <<= 1;
  }
  return Codes;
}

struct TCoder {
  std::vector<int> Lengths;
  std::vector<uint32_t> Codes;
  void Put(TBitWriter& Bits, uint32_t Symbol) const {
    const int Length = Lengths[Symbol];
    Bits.PutReversed(~Codes[Symbol] & ((1u << Length) - 1), Length);
  }
};

TCoder MakeCoder(const std::vector<uint64_t>& Counts, std::vector<int> Given) {
  TCoder Coder;
  Coder.Lengths = Given.empty() ? HuffmanLengths(Counts) : std::move(Given);
  Coder.Codes = CanonicalCodes(Coder.Lengths);
  return Coder;
}

}  // namespace

std::vector<uint8_t> CodeLengthList(const std::vector<int>& Lengths) {
  std::vector<uint8_t> Runs;
  for (size_t I = 0; I < Lengths.size();) {
    size_t Run = 1;
    while (Run < 16 && I + Run < Lengths.size() && Lengths[I + Run] == Lengths[I]) ++Run;
    Runs.push_back(static_cast<uint8_t>((Run - 1) << 4 | (Lengths[I] - 1)));
    I += Run;
  }
  Runs.insert(Runs.begin(), static_cast<uint8_t>(Runs.size() - 1));
  return Runs;
}

std::vector<TImplodeToken> ImplodeTokens(const std::vector<uint8_t>& Data, const TImplodeOptions& Options) {
  const uint32_t Minimum = MinLength(Options);
  TMatchFinder Finder(Data, 64u << LowBits(Options), Minimum + 63 + 255);
  std::vector<TImplodeToken> Tokens;
  for (size_t Position = 0; Position < Data.size();) {
    const TMatch Match = Finder.Find(Position, Minimum, [](uint32_t, uint32_t) { return true; });
    if (Match.Distance == 0) {
      Tokens.push_back({Data[Position], 0, 0});
      Finder.Insert(Position++);
    } else {
      Tokens.push_back({0, Match.Distance, Match.Length});
      for (uint32_t I = 0; I < Match.Length; ++I) Finder.Insert(Position++);
    }
  }
  return Tokens;
}

std::vector<uint8_t> ImplodeEncode(const std::vector<TImplodeToken>& Tokens, const TImplodeOptions& Options,
                                   TImplodeLengths Lengths) {
  const uint32_t Minimum = MinLength(Options);
  const int Low = LowBits(Options);
  std::vector<uint64_t> LiteralCounts(256), LengthCounts(64), DistanceCounts(64);
  for (const TImplodeToken& Token : Tokens) {
    if (Token.Length == 0) {
      ++LiteralCounts[Token.Literal];
    } else {
      ++LengthCounts[std::min<uint32_t>(Token.Length - Minimum, 63)];
      ++DistanceCounts[(Token.Distance - 1) >> Low];
    }
  }
  const TCoder Literals = MakeCoder(LiteralCounts, std::move(Lengths.Literal));
  const TCoder MatchLengths = MakeCoder(LengthCounts, std::move(Lengths.Length));
  const TCoder Distances = MakeCoder(DistanceCounts, std::move(Lengths.Distance));

  std::vector<uint8_t> Header;
  if (Options.LiteralTree) Header = CodeLengthList(Literals.Lengths);
  for (const TCoder* Coder : {&MatchLengths, &Distances}) {
    const std::vector<uint8_t> List = CodeLengthList(Coder->Lengths);
    Header.insert(Header.end(), List.begin(), List.end());
  }
  TBitWriter Bits;
  for (uint8_t Byte : Header) Bits.Put(Byte, 8);
  for (const TImplodeToken& Token : Tokens) {
    if (Token.Length == 0) {
      Bits.Put(1, 1);
      if (Options.LiteralTree) {
        Literals.Put(Bits, Token.Literal);
      } else {
        Bits.Put(Token.Literal, 8);
      }
      continue;
    }
    const uint32_t Distance = Token.Distance - 1;
    const uint32_t Length = Token.Length - Minimum;
    Bits.Put(0, 1);
    Bits.Put(Distance & ((1u << Low) - 1), Low);
    Distances.Put(Bits, Distance >> Low);
    MatchLengths.Put(Bits, std::min<uint32_t>(Length, 63));
    if (Length >= 63) Bits.Put(Length - 63, 8);
  }
  return Bits.Data();
}

}  // namespace ziptest
