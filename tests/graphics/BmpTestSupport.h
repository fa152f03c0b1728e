// Shared helpers of the BMP tests: byte-level file building, pixel comparison and
// ImageMagick as the reference decoder.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/base/Stream.h"
#include "platform/graphics/BmpCodec.h"

namespace bmptest {

using Bytes = std::vector<uint8_t>;

inline void PutLE(Bytes& B, size_t At, uint64_t Value, int Size) {
  if (B.size() < At + Size) B.resize(At + Size);
  for (int I = 0; I < Size; ++I) B[At + I] = static_cast<uint8_t>(Value >> (8 * I));
}
inline uint32_t GetLE(const Bytes& B, size_t At, int Size) {
  uint32_t V = 0;
  for (int I = 0; I < Size; ++I) V |= uint32_t(B.at(At + I)) << (8 * I);
  return V;
}

// Offsets of the fields of a file with a BITMAPINFOHEADER or larger header.
enum : size_t { OffBits = 10, InfoSize = 14, Width = 18, Height = 22, Planes = 26, BitCount = 28,
                Compression = 30, ClrUsed = 46, Masks = 54 };

// A file of the given header fields; masks go inside a header of 52 bytes or more,
// after a 40-byte one (BI_BITFIELDS).
struct TFileSpec {
  uint32_t HeaderSize = 40;
  int32_t W = 1;
  int32_t H = 1;
  uint16_t Bits = 24;
  uint32_t Compression = 0;
  uint32_t ColorsUsed = 0;
  std::array<uint32_t, 4> Masks{};
};

inline Bytes BuildBMP(const TFileSpec& S, const Bytes& Table, const Bytes& Pixels) {
  Bytes B;
  PutLE(B, 0, 0x4D42, 2);
  PutLE(B, InfoSize, S.HeaderSize, 4);
  PutLE(B, Width, static_cast<uint32_t>(S.W), 4);
  PutLE(B, Height, static_cast<uint32_t>(S.H), 4);
  PutLE(B, Planes, 1, 2);
  PutLE(B, BitCount, S.Bits, 2);
  PutLE(B, Compression, S.Compression, 4);
  PutLE(B, ClrUsed, S.ColorsUsed, 4);
  B.resize(14 + S.HeaderSize);
  const bool MasksAfter = S.HeaderSize == 40 && S.Compression == gdi::BI_BITFIELDS;
  for (size_t I = 0; I < (MasksAfter ? 3 : (S.HeaderSize - 40) / 4) && I < 4; ++I)
    PutLE(B, Masks + 4 * I, S.Masks[I], 4);
  B.insert(B.end(), Table.begin(), Table.end());
  PutLE(B, OffBits, B.size(), 4);
  B.insert(B.end(), Pixels.begin(), Pixels.end());
  PutLE(B, 2, B.size(), 4);
  return B;
}

inline graphics::TDIBImage Read(const Bytes& File) {
  base::TMemoryStream S(File);
  return graphics::ReadBMP(S);
}

inline Bytes Write(const graphics::TDIBImage& Image) {
  base::TMemoryStream S;
  graphics::WriteBMP(S, Image);
  return S.Bytes();
}

// Channel value Value of Bits bits as 0..255 (bit replication).
inline uint8_t Expand(uint32_t Value, int Bits) {
  uint32_t Out = 0;
  for (int Filled = 0; Filled < 8; Filled += Bits) Out |= (Value << (8 - Bits)) >> Filled;
  return static_cast<uint8_t>(Out);
}

// The image as RGBA bytes, top row first, as ImageMagick's rgba: output lays them out.
inline Bytes ToRGBA(const graphics::TDIBImage& Image) {
  Bytes Out;
  const int64_t Row = Image.RowBytes();
  for (int64_t Y = Image.Height - 1; Y >= 0; --Y) {
    const uint8_t* R = Image.Bits.data() + Y * Row;
    for (int64_t X = 0; X < Image.Width; ++X) {
      std::array<uint8_t, 4> P{0, 0, 0, 255};
      if (Image.BitCount <= 8) {
        const int Per = 8 / Image.BitCount;
        const int Shift = 8 - Image.BitCount * (1 + X % Per);
        const size_t Index = (R[X / Per] >> Shift) & ((1 << Image.BitCount) - 1);
        const gdi::RGBQUAD C = Index < Image.Colors.size() ? Image.Colors[Index] : gdi::RGBQUAD{};
        P = {C.rgbRed, C.rgbGreen, C.rgbBlue, 255};
      } else if (Image.BitCount == 16) {
        const uint32_t V = R[2 * X] | R[2 * X + 1] << 8;
        if (Image.GreenMask == 0x07E0)
          P = {Expand(V >> 11, 5), Expand((V >> 5) & 63, 6), Expand(V & 31, 5), 255};
        else
          P = {Expand((V >> 10) & 31, 5), Expand((V >> 5) & 31, 5), Expand(V & 31, 5), 255};
      } else {
        const uint8_t* Q = R + X * (Image.BitCount / 8);
        P = {Q[2], Q[1], Q[0], Image.BitCount == 32 ? Q[3] : uint8_t(255)};
      }
      Out.insert(Out.end(), P.begin(), P.end());
    }
  }
  return Out;
}

// Significant bits per channel (red, green, blue, alpha; 0 skips a channel).
using TPrecision = std::array<int, 4>;
inline constexpr TPrecision Rgb8{8, 8, 8, 0};

// "" when both RGBA images agree in the significant bits, else the first difference.
inline std::string Difference(const Bytes& Ours, const Bytes& Reference, TPrecision Precision) {
  if (Ours.size() != Reference.size())
    return "size " + std::to_string(Ours.size()) + " vs " + std::to_string(Reference.size());
  for (size_t I = 0; I < Ours.size(); ++I) {
    const int Bits = Precision[I % 4];
    if (Bits != 0 && (Ours[I] >> (8 - Bits)) != (Reference[I] >> (8 - Bits)))
      return "pixel " + std::to_string(I / 4) + " channel " + std::to_string(I % 4) + ": " +
             std::to_string(Ours[I]) + " vs " + std::to_string(Reference[I]);
  }
  return "";
}

inline Bytes LoadFile(const std::filesystem::path& Path) {
  std::ifstream In(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), {}};
}
inline void SaveFile(const std::filesystem::path& Path, const Bytes& Data) {
  std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(Data.data()), Data.size());
}

// ImageMagick's convert in a scratch folder of its own.
class TMagick {
 public:
  TMagick() {
    char Pattern[] = "/tmp/animora-bmp-XXXXXX";
    Dir = mkdtemp(Pattern);
  }
  ~TMagick() { std::filesystem::remove_all(Dir); }
  TMagick(const TMagick&) = delete;
  TMagick& operator=(const TMagick&) = delete;
  // Whether a real ImageMagick answers: it must make a BMP file, not merely exist.
  static bool Available() {
    static const bool Answers = [] {
      const TMagick Probe;
      const std::string Command =
          "cd '" + Probe.Dir.string() + "' && convert -size 1x1 xc:red BMP3:p.bmp >/dev/null 2>&1";
      const Bytes File = std::system(Command.c_str()) == 0 ? LoadFile(Probe.Dir / "p.bmp") : Bytes();
      return File.size() > 2 && File[0] == 'B' && File[1] == 'M';
    }();
    return Answers;
  }

  // Runs convert with Arguments, writing Output in the scratch folder; returns its bytes.
  Bytes Make(const std::string& Arguments, const std::string& Output) const {
    Run(Arguments + " " + Output);
    return LoadFile(Dir / Output.substr(Output.find(':') + 1));
  }
  const std::filesystem::path& Folder() const { return Dir; }
  // How ImageMagick decodes File: RGBA bytes, top row first.
  Bytes Decode(const Bytes& File) const {
    SaveFile(Dir / "in.bmp", File);
    Run("in.bmp -depth 8 rgba:out.rgba");
    return LoadFile(Dir / "out.rgba");
  }

 private:
  void Run(const std::string& Arguments) const {
    const std::string Command = "cd '" + Dir.string() + "' && convert " + Arguments + " 2>&1";
    EXPECT_EQ(std::system(Command.c_str()), 0) << Command;
  }
  std::filesystem::path Dir;
};

}  // namespace bmptest
