// Deflate compressor (RFC 1951) for zip entries. Input passes through a 64 KB window
// of two 32 KB halves; strings of 3 bytes are found through hash chains (15-bit hash,
// 5 bits shifted per byte) and matches reach back at most 32506 bytes. Levels 0 to 3
// take the first long enough match (greedy), levels 4 to 9 look one byte ahead for a
// longer one (lazy); each level bounds the chain search and the match lengths worth
// pursuing. Every match is verified against the window before it is recorded.
#pragma once

#include <cstdint>
#include <memory>

#include "install/zip/DeflateBlocks.h"
#include "install/zip/DeflateStreams.h"
#include "platform/base/Exceptions.h"

namespace zip {

// A recorded match whose bytes differ from its source: a fault of the matcher.
class EInvalidMatch : public base::Exception {
 public:
  using base::Exception::Exception;
};

// The parts of an entry's record that the compressor fills in.
struct TDeflateRecord {
  uint16_t Flags = 0;               // gains the level's bits: 4 fast, 2 maximum
  uint16_t CompressionMethod = 8;   // becomes 0 when the file is better stored whole
  uint16_t InternalAttributes = 2;  // 2 asks for a guess: 0 binary, 1 text
};

class TDeflater {
 public:
  // The window, hash chains and symbol buffers live for one zip run.
  void AllocateBuffers();
  void FreeBuffers();

  // Compresses the source of Streams at PackLevel (0 to 9) and returns the compressed
  // size in bytes.
  int64_t DeflateEntry(TDeflateStreams& Streams, int PackLevel, TDeflateRecord& Record);

 private:
  struct TConfig {
    uint16_t GoodLength;
    uint16_t MaxLazy;
    uint16_t NiceLength;
    uint16_t MaxChain;
    uint16_t Flags;
  };
  static const TConfig Configs[10];

  void InsertString(unsigned Pos, unsigned& Head) {
    Hash = ((Hash << HashShift) ^ Window[Pos + MinMatch - 1]) & HashMask;
    Head = HashHeads[Hash];
    PrevLinks[Pos & WindowMask] = static_cast<uint16_t>(Head);
    HashHeads[Hash] = static_cast<uint16_t>(Pos);
  }
  void RestartHash(unsigned Pos) { Hash = ((Window[Pos] << HashShift) ^ Window[Pos + 1]) & HashMask; }
  unsigned FindLongestMatch(unsigned Candidate);
  void RefillLookahead();
  void VerifyMatch(unsigned Start, unsigned Match, unsigned Length) const;
  void DeflateFast();
  void DeflateLazy();
  void EmitBlock(bool Last);

  static constexpr unsigned WindowSize = 32768;
  static constexpr unsigned WindowMask = WindowSize - 1;
  static constexpr unsigned MinLookahead = MaxMatch + MinMatch + 1;  // 262
  static constexpr unsigned MaxDist = WindowSize - MinLookahead;      // 32506
  static constexpr unsigned TooFar = 4096;
  static constexpr unsigned HashSize = 32768;
  static constexpr unsigned HashMask = HashSize - 1;
  static constexpr unsigned HashShift = 5;
  // Match comparison may look a little past the valid bytes near the end of the window.
  static constexpr unsigned WindowSlack = MaxMatch + 8;

  std::unique_ptr<uint8_t[]> Window;
  std::unique_ptr<uint16_t[]> PrevLinks;
  std::unique_ptr<uint16_t[]> HashHeads;
  TDeflateBlocks Blocks;

  TDeflateStreams* IO = nullptr;
  TConfig Config{};
  unsigned Position = 0;
  unsigned Lookahead = 0;
  int64_t BlockStart = 0;
  unsigned MatchStart = 0;
  unsigned PrevLength = 0;
  unsigned Hash = 0;
  bool EndOfInput = false;
};

}  // namespace zip
