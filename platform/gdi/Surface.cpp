#include "platform/gdi/Surface.h"

#include <bit>

namespace gdi {

void ReadPixels(const Surface& Pixels, int32_t X, int32_t Y, int32_t Count, uint32_t* Values) {
  const uint8_t* Row = Pixels.Row(Y);
  switch (Pixels.BitCount) {
    case 1:
      for (int32_t I = 0; I < Count; ++I) {
        const int32_t C = X + I;
        Values[I] = (Row[C >> 3] >> (7 - (C & 7))) & 1;
      }
      break;
    case 4:
      for (int32_t I = 0; I < Count; ++I) {
        const int32_t C = X + I;
        Values[I] = (Row[C >> 1] >> ((C & 1) ? 0 : 4)) & 0x0F;
      }
      break;
    case 8:
      for (int32_t I = 0; I < Count; ++I) Values[I] = Row[X + I];
      break;
    case 16:
      for (const uint8_t* P = Row + int64_t{X} * 2; Count-- > 0; P += 2) *Values++ = P[0] | (uint32_t{P[1]} << 8);
      break;
    case 24:
      for (const uint8_t* P = Row + int64_t{X} * 3; Count-- > 0; P += 3)
        *Values++ = P[0] | (uint32_t{P[1]} << 8) | (uint32_t{P[2]} << 16);
      break;
    default:
      for (const uint8_t* P = Row + int64_t{X} * 4; Count-- > 0; P += 4)
        *Values++ = P[0] | (uint32_t{P[1]} << 8) | (uint32_t{P[2]} << 16) | (uint32_t{P[3]} << 24);
      break;
  }
}

void WritePixels(const Surface& Pixels, int32_t X, int32_t Y, int32_t Count, const uint32_t* Values) {
  uint8_t* Row = Pixels.Row(Y);
  switch (Pixels.BitCount) {
    case 1:
      for (int32_t I = 0; I < Count; ++I) {
        const int32_t C = X + I;
        const int Shift = 7 - (C & 7);
        Row[C >> 3] = static_cast<uint8_t>((Row[C >> 3] & ~(1 << Shift)) | ((Values[I] & 1) << Shift));
      }
      break;
    case 4:
      for (int32_t I = 0; I < Count; ++I) {
        const int32_t C = X + I;
        const int Shift = (C & 1) ? 0 : 4;
        Row[C >> 1] = static_cast<uint8_t>((Row[C >> 1] & ~(0x0F << Shift)) | ((Values[I] & 0x0F) << Shift));
      }
      break;
    case 8:
      for (int32_t I = 0; I < Count; ++I) Row[X + I] = static_cast<uint8_t>(Values[I]);
      break;
    case 16:
      for (uint8_t* P = Row + int64_t{X} * 2; Count-- > 0; P += 2, ++Values) {
        P[0] = static_cast<uint8_t>(*Values);
        P[1] = static_cast<uint8_t>(*Values >> 8);
      }
      break;
    case 24:
      for (uint8_t* P = Row + int64_t{X} * 3; Count-- > 0; P += 3, ++Values) {
        P[0] = static_cast<uint8_t>(*Values);
        P[1] = static_cast<uint8_t>(*Values >> 8);
        P[2] = static_cast<uint8_t>(*Values >> 16);
      }
      break;
    default:
      for (uint8_t* P = Row + int64_t{X} * 4; Count-- > 0; P += 4, ++Values) {
        P[0] = static_cast<uint8_t>(*Values);
        P[1] = static_cast<uint8_t>(*Values >> 8);
        P[2] = static_cast<uint8_t>(*Values >> 16);
        P[3] = static_cast<uint8_t>(*Values >> 24);
      }
      break;
  }
}

TrueColorCodec::TrueColorCodec(const uint32_t (&Masks)[3]) {
  for (int I = 0; I < 3; ++I) {
    Channels[I].Mask = Masks[I];
    Channels[I].Shift = Masks[I] == 0 ? 0 : std::countr_zero(Masks[I]);
    Channels[I].Width = std::popcount(Masks[I]);
  }
}

XRGB TrueColorCodec::Decode(uint32_t Value) const {
  XRGB Color = 0;
  for (const Channel& C : Channels) {
    uint32_t Level = 0;
    if (C.Width >= 8) {
      Level = ((Value & C.Mask) >> C.Shift) >> (C.Width - 8);
    } else if (C.Width > 0) {
      // Bit replication, so that a full channel becomes 255.
      Level = ((Value & C.Mask) >> C.Shift) << (8 - C.Width);
      for (int Filled = C.Width; Filled < 8; Filled *= 2) Level |= Level >> Filled;
      Level &= 0xFF;
    }
    Color = (Color << 8) | Level;
  }
  return Color;
}

uint32_t TrueColorCodec::Encode(XRGB Color) const {
  uint32_t Value = 0;
  for (int I = 0; I < 3; ++I) {
    const Channel& C = Channels[I];
    uint32_t Level = (Color >> (16 - 8 * I)) & 0xFF;
    if (C.Width <= 8) {
      Level >>= 8 - C.Width;
    } else {
      Level <<= C.Width - 8;
      for (int Filled = 8; Filled < C.Width; Filled *= 2) Level |= Level >> Filled;
    }
    Value |= (Level << C.Shift) & C.Mask;
  }
  return Value;
}

bool ValidMasks(const uint32_t (&Masks)[3], int BitCount) {
  const uint64_t Pixel = (uint64_t{1} << BitCount) - 1;
  uint32_t Seen = 0;
  for (uint32_t Mask : Masks) {
    if (Mask == 0 || (Mask & ~Pixel) != 0 || (Mask & Seen) != 0) return false;
    const uint32_t Run = Mask >> std::countr_zero(Mask);
    if ((Run & (Run + 1)) != 0) return false;
    Seen |= Mask;
  }
  return true;
}

XRGB ColorOfValue(const Surface& Pixels, uint32_t Value) {
  if (Pixels.Indexed()) return Value < Pixels.ColorCount ? XRGBOf(Pixels.Colors[Value]) : 0;
  return TrueColorCodec(Pixels.Masks).Decode(Value);
}

uint32_t ValueOfColor(const Surface& Pixels, XRGB Color) {
  if (Pixels.Indexed()) return NearestIndex(Pixels.Colors, Pixels.ColorCount, Color);
  return TrueColorCodec(Pixels.Masks).Encode(Color);
}

}  // namespace gdi
