// Raster operations. A ternary operation (ROP3) keeps its truth table in bits 16..23:
// bit (P << 2 | S << 1 | D) of that byte is the result for pattern bit P, source bit S
// and destination bit D. The low word is the encoding hint of the original platform
// and is ignored. A MaskBlt operation (ROP4) adds the background operation's truth
// table in bits 24..31.
#pragma once

#include <cstdint>

namespace gdi {

enum : uint32_t {
  SRCCOPY = 0x00CC0020,
  SRCPAINT = 0x00EE0086,
  SRCAND = 0x008800C6,
  SRCINVERT = 0x00660046,
  SRCERASE = 0x00440328,
  NOTSRCCOPY = 0x00330008,
  NOTSRCERASE = 0x001100A6,
  MERGECOPY = 0x00C000CA,
  MERGEPAINT = 0x00BB0226,
  PATCOPY = 0x00F00021,
  PATPAINT = 0x00FB0A09,
  PATINVERT = 0x005A0049,
  DSTINVERT = 0x00550009,
  BLACKNESS = 0x00000042,
  WHITENESS = 0x00FF0062,
};

// Foreground operation where the mask bit is 1, background operation where it is 0.
constexpr uint32_t MAKEROP4(uint32_t Fore, uint32_t Back) { return ((Back << 8) & 0xFF000000) | Fore; }

constexpr uint8_t RopIndex(uint32_t Rop) { return (Rop >> 16) & 0xFF; }
constexpr bool RopUsesSource(uint8_t Index) { return (((Index >> 2) ^ Index) & 0x33) != 0; }
constexpr bool RopUsesPattern(uint8_t Index) { return (((Index >> 4) ^ Index) & 0x0F) != 0; }
constexpr bool RopUsesDestination(uint8_t Index) { return (((Index >> 1) ^ Index) & 0x55) != 0; }

// The operation applied bit by bit to whole stored pixel values.
constexpr uint32_t Rop3(uint8_t Index, uint32_t P, uint32_t S, uint32_t D) {
  switch (Index) {
    case 0x00: return 0;
    case 0x11: return ~(S | D);
    case 0x33: return ~S;
    case 0x44: return S & ~D;
    case 0x55: return ~D;
    case 0x5A: return P ^ D;
    case 0x66: return S ^ D;
    case 0x88: return S & D;
    case 0xAA: return D;
    case 0xBB: return ~S | D;
    case 0xC0: return P & S;
    case 0xCC: return S;
    case 0xEE: return S | D;
    case 0xF0: return P;
    case 0xFF: return ~0u;
    default: break;
  }
  uint32_t Result = 0;
  for (int Term = 0; Term < 8; ++Term) {
    if (((Index >> Term) & 1) == 0) continue;
    Result |= ((Term & 4) ? P : ~P) & ((Term & 2) ? S : ~S) & ((Term & 1) ? D : ~D);
  }
  return Result;
}

}  // namespace gdi
