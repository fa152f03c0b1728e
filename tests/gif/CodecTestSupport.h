// Builders and readers of LZW code streams, and decode/encode shortcuts, for the
// GIF codec tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "gif/GIFException.h"
#include "gif/LZWDecoder.h"
#include "platform/base/Stream.h"

namespace codectest {

using Bytes = std::vector<uint8_t>;

// Tracks the code width the way a decoder does: it grows when the table reaches
// 2^width entries (up to 12 bits); the first code after a clear adds no entry.
class TWidthTracker {
 public:
  explicit TWidthTracker(int MinCodeSize) : MinCodeSize(MinCodeSize) { Reset(); }
  int Width() const { return CurrentWidth; }
  int NextCode() const { return Next; }
  void Took(int Code) {
    if (Code == ClearCode()) {
      Reset();
    } else if (Code == ClearCode() + 1) {
      // The end code adds no entry either.
    } else if (AfterClear) {
      AfterClear = false;
    } else if (Next < 4096 && ++Next >= (1 << CurrentWidth) && CurrentWidth < 12) {
      ++CurrentWidth;
    }
  }
  int ClearCode() const { return 1 << MinCodeSize; }

 private:
  void Reset() {
    CurrentWidth = MinCodeSize + 1;
    Next = ClearCode() + 2;
    AfterClear = true;
  }
  int MinCodeSize;
  int CurrentWidth = 0;
  int Next = 0;
  bool AfterClear = true;
};

// Image data made of the given codes: the code size byte, the packed codes in
// sub-blocks of BlockSize bytes, and (unless left out) the terminator.
class TCodeStream {
 public:
  explicit TCodeStream(int MinCodeSize) : MinCodeSize(MinCodeSize), Widths(MinCodeSize) {}
  TCodeStream& Add(std::initializer_list<int> Codes) {
    for (const int Code : Codes) Add(Code);
    return *this;
  }
  TCodeStream& Add(int Code) {
    for (int Bit = 0; Bit < Widths.Width(); ++Bit) Bits.push_back((Code >> Bit) & 1);
    Widths.Took(Code);
    return *this;
  }
  Bytes Packed() const {
    Bytes Result((Bits.size() + 7) / 8, 0);
    for (size_t I = 0; I < Bits.size(); ++I) Result[I / 8] |= static_cast<uint8_t>(Bits[I] << (I % 8));
    return Result;
  }
  Bytes Data(size_t BlockSize = 255, bool Terminator = true) const {
    const Bytes Codes = Packed();
    Bytes Result = {static_cast<uint8_t>(MinCodeSize)};
    for (size_t Start = 0; Start < Codes.size(); Start += BlockSize) {
      const size_t Count = std::min(BlockSize, Codes.size() - Start);
      Result.push_back(static_cast<uint8_t>(Count));
      Result.insert(Result.end(), Codes.begin() + Start, Codes.begin() + Start + Count);
    }
    if (Terminator) Result.push_back(0);
    return Result;
  }

 private:
  int MinCodeSize;
  TWidthTracker Widths;
  std::vector<int> Bits;
};

struct TCode {
  int Code;
  int Width;
};

// The codes of well-formed image data up to and including the end code.
inline std::vector<TCode> ReadCodes(const Bytes& Data) {
  Bytes Codes;
  size_t Pos = 1;
  while (Pos < Data.size() && Data[Pos] != 0) {
    Codes.insert(Codes.end(), Data.begin() + Pos + 1, Data.begin() + Pos + 1 + Data[Pos]);
    Pos += 1 + Data[Pos];
  }
  TWidthTracker Widths(Data[0]);
  std::vector<TCode> Result;
  size_t Bit = 0;
  while (Bit + Widths.Width() <= Codes.size() * 8) {
    int Code = 0;
    for (int I = 0; I < Widths.Width(); ++I, ++Bit) Code |= ((Codes[Bit / 8] >> (Bit % 8)) & 1) << I;
    Result.push_back({Code, Widths.Width()});
    if (Code == Widths.ClearCode() + 1) break;
    Widths.Took(Code);
  }
  return Result;
}

struct TDecoded {
  Bytes Pixels;
  std::vector<std::string> Warnings;
  int64_t Position = 0;  // of the stream afterwards
};

inline TDecoded Decode(const Bytes& Data, int Width, int Height, bool Interlaced = false, uint8_t Fill = 0) {
  TDecoded Result;
  Result.Pixels.resize(static_cast<size_t>(Width) * Height);
  base::TMemoryStream Stream(Data);
  gif::TDecodeTarget Target;
  Target.Pixels = Result.Pixels.data();
  Target.Width = Width;
  Target.Height = Height;
  Target.Interlaced = Interlaced;
  Target.FillIndex = Fill;
  Target.Warning = [&Result](const std::string& Message) { Result.Warnings.push_back(Message); };
  gif::DecodeImageData(Target, Stream);
  Result.Position = Stream.Position();
  return Result;
}

template <class Encoder>
Bytes Encode(int Bits, int ColorCount, const Bytes& Pixels, bool Interlaced, int Height, int Width) {
  base::TMemoryStream Stream;
  Encoder().Encode(Stream, Bits, ColorCount, Pixels.data(), Interlaced, Height, Width);
  return Stream.Bytes();
}

// Test frames of Width x Height pixels below 2^Bits.
enum class TPattern { Noise, Runs, Gradient, Single };

inline Bytes Frame(TPattern Pattern, int Bits, int Width, int Height, unsigned Seed = 1) {
  std::mt19937 Random(Seed);
  const int Colors = 1 << Bits;
  Bytes Pixels(static_cast<size_t>(Width) * Height);
  for (size_t I = 0; I < Pixels.size(); ++I) {
    const int X = static_cast<int>(I % Width), Y = static_cast<int>(I / Width);
    switch (Pattern) {
      case TPattern::Noise: Pixels[I] = static_cast<uint8_t>(Random() % Colors); break;
      case TPattern::Runs:
        Pixels[I] = I > 0 && Random() % 23 != 0 ? Pixels[I - 1] : static_cast<uint8_t>(Random() % Colors);
        break;
      case TPattern::Gradient: Pixels[I] = static_cast<uint8_t>((X / 3 + Y / 5) % Colors); break;
      case TPattern::Single: Pixels[I] = static_cast<uint8_t>(Colors - 1); break;
    }
  }
  return Pixels;
}

}  // namespace codectest
