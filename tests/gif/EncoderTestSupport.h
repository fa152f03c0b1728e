// A strict reference reader of GIF image data for the encoder tests, frame
// patterns, and a small builder of GIF streams whose frames may be interlaced.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "gif/GIFImage.h"
#include "gif/LZWEncoder.h"
#include "gif/RLEEncoder.h"
#include "platform/base/Stream.h"

namespace enctest {

using Bytes = std::vector<uint8_t>;

struct TCode {
  int Code;
  int Width;
  int NextCode;  // the decoder's next free code before it took this one
};

// What the reference reader found; Error is empty for well-formed data.
struct TReference {
  int MinCodeSize = 0;
  Bytes Stored;  // pixel indexes in the order they are stored
  std::vector<TCode> Codes;  // up to and including the end code
  std::vector<int> Blocks;  // sub-block lengths, terminator excluded
  std::string Error;
};

// Reads image data the way a careful decoder does and refuses everything that is
// not exactly right: a code the table does not hold yet (other than the next free
// one), a table past 4096 codes, pixels too few or too many, data after the end
// code beyond its last byte, an empty sub-block before the terminator, or bytes
// after the terminator.
inline TReference ReadReference(const Bytes& Data, size_t PixelCount) {
  TReference R;
  if (Data.empty()) {
    R.Error = "no data";
    return R;
  }
  R.MinCodeSize = Data[0];
  if (R.MinCodeSize < 2 || R.MinCodeSize > 8) {
    R.Error = "code size " + std::to_string(R.MinCodeSize);
    return R;
  }
  Bytes Packed;
  size_t Pos = 1;
  for (;;) {
    if (Pos >= Data.size()) {
      R.Error = "no terminator";
      return R;
    }
    const uint8_t Length = Data[Pos++];
    if (Length == 0) break;
    if (Pos + Length > Data.size()) {
      R.Error = "short sub-block";
      return R;
    }
    R.Blocks.push_back(Length);
    Packed.insert(Packed.end(), Data.begin() + static_cast<ptrdiff_t>(Pos),
                  Data.begin() + static_cast<ptrdiff_t>(Pos + Length));
    Pos += Length;
  }
  if (Pos != Data.size()) {
    R.Error = "bytes after the terminator";
    return R;
  }

  const int Clear = 1 << R.MinCodeSize;
  const int End = Clear + 1;
  std::vector<int> Prefix(4096, -1);
  std::vector<uint8_t> Suffix(4096, 0), First(4096, 0);
  std::vector<int> Length(4096, 0);
  for (int I = 0; I < Clear; ++I) {
    Suffix[I] = First[I] = static_cast<uint8_t>(I);
    Length[I] = 1;
  }
  int Width = R.MinCodeSize + 1;
  int Next = Clear + 2;
  int Previous = -1;
  size_t Bit = 0;
  std::vector<uint8_t> String;
  for (;;) {
    if (Bit + static_cast<size_t>(Width) > Packed.size() * 8) {
      R.Error = "no end code";
      return R;
    }
    int Code = 0;
    for (int I = 0; I < Width; ++I, ++Bit) Code |= ((Packed[Bit / 8] >> (Bit % 8)) & 1) << I;
    R.Codes.push_back({Code, Width, Next});
    if (Code == End) break;
    if (Code == Clear) {
      Width = R.MinCodeSize + 1;
      Next = Clear + 2;
      Previous = -1;
      continue;
    }
    if (R.Codes.size() == 1) {
      R.Error = "the data does not start with a clear code";
      return R;
    }
    if (Code > Next || (Code == Next && (Previous < 0 || Next == 4096))) {
      R.Error = "code " + std::to_string(Code) + " with next free code " + std::to_string(Next);
      return R;
    }
    const int Known = Code == Next ? Previous : Code;
    String.assign(static_cast<size_t>(Length[Known]), 0);
    for (int C = Known, At = Length[Known] - 1; C >= 0; C = Prefix[C], --At) String[static_cast<size_t>(At)] = Suffix[C];
    if (Code == Next) String.push_back(First[Previous]);
    if (Previous >= 0 && Next < 4096) {
      Prefix[Next] = Previous;
      Suffix[Next] = String[0];
      First[Next] = First[Previous];
      Length[Next] = Length[Previous] + 1;
      if (++Next == (1 << Width) && Width < 12) ++Width;
    }
    Previous = Code;
    R.Stored.insert(R.Stored.end(), String.begin(), String.end());
    if (R.Stored.size() > PixelCount) {
      R.Error = "too many pixels";
      return R;
    }
  }
  if (R.Stored.size() != PixelCount) R.Error = "too few pixels";
  else if ((Bit + 7) / 8 != Packed.size()) R.Error = "data after the end code";
  return R;
}

// Rows of an image stored in interlaced order, in display order.
inline Bytes Deinterlace(const Bytes& Stored, int Width, int Height) {
  Bytes Display(Stored.size());
  const int Starts[4] = {0, 4, 2, 1}, Steps[4] = {8, 8, 4, 2};
  size_t From = 0;
  for (int Pass = 0; Pass < 4; ++Pass)
    for (int Row = Starts[Pass]; Row < Height; Row += Steps[Pass], From += static_cast<size_t>(Width))
      std::copy(Stored.begin() + static_cast<ptrdiff_t>(From), Stored.begin() + static_cast<ptrdiff_t>(From + Width),
                Display.begin() + static_cast<ptrdiff_t>(Row) * Width);
  return Display;
}

enum class TKind { LZW, RLE };

inline const char* KindName(TKind Kind) { return Kind == TKind::LZW ? "LZW" : "RLE"; }

inline Bytes Encode(TKind Kind, int Bits, int ColorCount, const Bytes& Pixels, bool Interlaced, int Width,
                    int Height) {
  base::TMemoryStream Stream;
  if (Kind == TKind::LZW)
    gif::TLZWEncoder().Encode(Stream, Bits, ColorCount, Pixels.data(), Interlaced, Height, Width);
  else
    gif::TRLEEncoder().Encode(Stream, Bits, ColorCount, Pixels.data(), Interlaced, Height, Width);
  return Stream.Bytes();
}

enum class TPattern { Noise, Runs, LongRuns, Gradient, Single, AllDiffer };

inline const char* PatternName(TPattern Pattern) {
  const char* Names[] = {"noise", "runs", "long runs", "gradient", "single", "all differ"};
  return Names[static_cast<int>(Pattern)];
}

// Width x Height indexes below Colors.
inline Bytes MakePixels(TPattern Pattern, int Colors, int Width, int Height, unsigned Seed = 1) {
  std::mt19937 Random(Seed);
  Bytes Pixels(static_cast<size_t>(Width) * static_cast<size_t>(Height));
  int Left = 0;
  uint8_t Current = 0;
  for (size_t I = 0; I < Pixels.size(); ++I) {
    const int X = static_cast<int>(I % static_cast<size_t>(Width)), Y = static_cast<int>(I / static_cast<size_t>(Width));
    switch (Pattern) {
      case TPattern::Noise: Pixels[I] = static_cast<uint8_t>(Random() % Colors); break;
      case TPattern::Runs:
      case TPattern::LongRuns:
        if (Left == 0) {
          // Mostly a few colours, so runs of one colour meet again after others.
          Current = static_cast<uint8_t>(Random() % 3 != 0 ? Random() % std::min(Colors, 3) : Random() % Colors);
          Left = 1 + static_cast<int>(Random() % (Pattern == TPattern::Runs ? 12 : 900));
        }
        Pixels[I] = Current;
        --Left;
        break;
      case TPattern::Gradient: Pixels[I] = static_cast<uint8_t>((X / 3 + Y / 5) % Colors); break;
      case TPattern::Single: Pixels[I] = static_cast<uint8_t>(Colors - 1); break;
      case TPattern::AllDiffer: Pixels[I] = static_cast<uint8_t>(I % static_cast<size_t>(Colors)); break;
    }
  }
  return Pixels;
}

// A colour table of Count entries, all different.
inline void FillTable(gif::TGIFColorMap& Table, int Count, unsigned Seed = 7) {
  std::mt19937 Random(Seed);
  Table.Clear();
  for (int I = 0; I < Count; ++I) Table.Add(static_cast<base::TColor>((Random() & 0xFFFF00u) | static_cast<unsigned>(I)));
}

// A frame of a test stream.
struct TFrameSpec {
  uint16_t Left = 0, Top = 0, Width = 0, Height = 0;
  bool Interlaced = false;
  int LocalCount = 0;  // 0: no local table
  Bytes Pixels;  // display order
};

// "GIF89a", a logical screen with a global table of GlobalCount entries (padded),
// the frames with their own LZW data, and the trailer; colours as FillTable makes them.
inline Bytes BuildStream(uint16_t ScreenWidth, uint16_t ScreenHeight, int GlobalCount,
                         const std::vector<TFrameSpec>& Frames) {
  base::TMemoryStream Out;
  auto Put = [&Out](std::initializer_list<uint8_t> Values) {
    for (const uint8_t V : Values) Out.WriteBuffer(&V, 1);
  };
  auto Table = [&Out](int Count, unsigned Seed) {
    gif::TGIFImage Owner;
    FillTable(*Owner.GetGlobalColorMap(), Count, Seed);
    Owner.GetGlobalColorMap()->SaveToStream(Out);
  };
  auto Bits = [](int Count) { return Count <= 2 ? 1 : 32 - __builtin_clz(static_cast<unsigned>(Count - 1)); };
  Out.WriteBuffer("GIF89a", 6);
  Put({static_cast<uint8_t>(ScreenWidth), static_cast<uint8_t>(ScreenWidth >> 8), static_cast<uint8_t>(ScreenHeight),
       static_cast<uint8_t>(ScreenHeight >> 8),
       static_cast<uint8_t>(GlobalCount > 0 ? 0x80 | 0x70 | (Bits(GlobalCount) - 1) : 0x70), 0, 0});
  if (GlobalCount > 0) Table(GlobalCount, 7);
  for (const TFrameSpec& F : Frames) {
    const uint8_t Packed = static_cast<uint8_t>((F.Interlaced ? 0x40 : 0) |
                                                (F.LocalCount > 0 ? 0x80 | (Bits(F.LocalCount) - 1) : 0));
    Put({',', static_cast<uint8_t>(F.Left), static_cast<uint8_t>(F.Left >> 8), static_cast<uint8_t>(F.Top),
         static_cast<uint8_t>(F.Top >> 8), static_cast<uint8_t>(F.Width), static_cast<uint8_t>(F.Width >> 8),
         static_cast<uint8_t>(F.Height), static_cast<uint8_t>(F.Height >> 8), Packed});
    if (F.LocalCount > 0) Table(F.LocalCount, 11);
    const int Count = F.LocalCount > 0 ? F.LocalCount : GlobalCount;
    gif::TLZWEncoder().Encode(Out, Bits(Count), Count, F.Pixels.data(), F.Interlaced, F.Height, F.Width);
  }
  Put({';'});
  return Out.Bytes();
}

// The image blocks of a GIF stream: where each descriptor stands, its packed
// flags, and its image data from the code size byte to the terminator.
struct TImageBlock {
  size_t At;
  uint8_t Packed;
  Bytes Data;
};

inline std::vector<TImageBlock> ImageBlocks(const Bytes& File) {
  std::vector<TImageBlock> Result;
  auto TableBytes = [](uint8_t Packed) { return (Packed & 0x80) ? static_cast<size_t>(3 << ((Packed & 7) + 1)) : 0; };
  auto SkipSubBlocks = [&File](size_t Pos) {
    while (Pos < File.size() && File[Pos] != 0) Pos += 1 + File[Pos];
    return Pos + 1;
  };
  size_t Pos = 13 + TableBytes(File.at(10));
  while (Pos < File.size() && File[Pos] != ';') {
    if (File[Pos] == '!') {
      Pos = SkipSubBlocks(Pos + 2);
    } else if (File[Pos] == ',') {
      const uint8_t Packed = File.at(Pos + 9);
      const size_t DataAt = Pos + 10 + TableBytes(Packed);
      const size_t End = SkipSubBlocks(DataAt + 1);
      Result.push_back({Pos, Packed, Bytes(File.begin() + static_cast<ptrdiff_t>(DataAt),
                                           File.begin() + static_cast<ptrdiff_t>(std::min(End, File.size())))});
      Pos = End;
    } else {
      break;
    }
  }
  return Result;
}

}  // namespace enctest
