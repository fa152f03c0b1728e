// Small fixtures for the GDI tests: bitmaps of each format and memory DCs holding them.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Halftone.h"
#include "platform/gdi/Pixel.h"
#include "platform/gdi/Surface.h"

namespace gdi::testing {

struct PixelFormat {
  std::string Name;
  int Bits = 24;
  std::vector<RGBQUAD> Colors;  // indexed formats
  bool Fields = false;          // BI_BITFIELDS with Masks
  uint32_t Masks[3] = {};
  bool MonoDevice = false;  // CreateBitmap(w, h, 1, 1)
};

inline std::vector<RGBQUAD> QuadsOf(const std::vector<PALETTEENTRY>& Entries) {
  std::vector<RGBQUAD> Quads;
  for (const PALETTEENTRY& E : Entries) Quads.push_back({E.peBlue, E.peGreen, E.peRed, 0});
  return Quads;
}

inline std::vector<RGBQUAD> Vga16() {
  std::vector<PALETTEENTRY> E(DefaultPaletteEntries().begin(), DefaultPaletteEntries().begin() + 8);
  E.insert(E.end(), DefaultPaletteEntries().end() - 8, DefaultPaletteEntries().end());
  return QuadsOf(E);
}

inline PixelFormat Indexed(std::string Name, int Bits, std::vector<RGBQUAD> Colors) {
  PixelFormat F;
  F.Name = std::move(Name);
  F.Bits = Bits;
  F.Colors = std::move(Colors);
  return F;
}

inline PixelFormat TrueColor(std::string Name, int Bits) {
  PixelFormat F;
  F.Name = std::move(Name);
  F.Bits = Bits;
  return F;
}

inline PixelFormat BitFields(std::string Name, int Bits, uint32_t Red, uint32_t Green, uint32_t Blue) {
  PixelFormat F = TrueColor(std::move(Name), Bits);
  F.Fields = true;
  F.Masks[0] = Red;
  F.Masks[1] = Green;
  F.Masks[2] = Blue;
  return F;
}

inline PixelFormat MonoDevice() {
  PixelFormat F = TrueColor("mono device", 1);
  F.MonoDevice = true;
  return F;
}

struct Info {
  BITMAPINFO Block{};
  Info(int32_t Width, int32_t Height, const PixelFormat& F) {
    Block.bmiHeader.biWidth = Width;
    Block.bmiHeader.biHeight = Height;
    Block.bmiHeader.biBitCount = static_cast<uint16_t>(F.Bits);
    Block.bmiHeader.biClrUsed = static_cast<uint32_t>(F.Colors.size());
    std::copy(F.Colors.begin(), F.Colors.end(), Block.bmiColors);
    if (F.Fields) {
      Block.bmiHeader.biCompression = BI_BITFIELDS;
      std::memcpy(Block.bmiColors, F.Masks, sizeof F.Masks);
    }
  }
};

inline HBITMAP MakeBitmap(const PixelFormat& F, int32_t Width, int32_t Height) {
  if (F.MonoDevice) return CreateBitmap(Width, Height, 1, 1, nullptr);
  Info I(Width, Height, F);
  void* Bits = nullptr;
  return CreateDIBSection(nullptr, &I.Block, DIB_RGB_COLORS, &Bits);
}

// A memory DC holding its own bitmap.
class Canvas {
 public:
  explicit Canvas(HBITMAP Bitmap) : DC(CreateCompatibleDC(nullptr)), Bitmap(Bitmap) {
    EXPECT_NE(Bitmap, nullptr);
    Old = SelectObject(DC, Bitmap);
  }
  Canvas(const PixelFormat& F, int32_t Width, int32_t Height) : Canvas(MakeBitmap(F, Width, Height)) {}
  ~Canvas() {
    SelectObject(DC, Old);
    DeleteDC(DC);
    DeleteObject(Bitmap);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  uint32_t Value(int32_t X, int32_t Y) const {
    uint32_t V = 0;
    ReadPixels(Bitmap->View(), X, Y, 1, &V);
    return V;
  }
  void SetValue(int32_t X, int32_t Y, uint32_t V) const { WritePixels(Bitmap->View(), X, Y, 1, &V); }
  COLORREF Color(int32_t X, int32_t Y) const { return GetPixel(DC, X, Y); }
  void Paint(COLORREF Color) const {
    for (int32_t Y = 0; Y < Bitmap->Format.Height; ++Y)
      for (int32_t X = 0; X < Bitmap->Format.Width; ++X) SetPixel(DC, X, Y, Color);
  }

  HDC DC;
  HBITMAP Bitmap;

 private:
  HGDIOBJ Old;
};

}  // namespace gdi::testing
