#include "gif/ColorReduction.h"

#include <algorithm>
#include <vector>

#include "gif/BurkesDitherer.h"
#include "gif/ColorLookup.h"
#include "gif/ColorQuantizer.h"
#include "gif/DIB.h"
#include "gif/DitherEngine.h"
#include "gif/FixedPalettes.h"
#include "gif/FloydSteinbergDitherer.h"
#include "gif/GIFException.h"
#include "gif/JaJuNiDitherer.h"
#include "gif/SierraDitherer.h"
#include "gif/SteveArcheDitherer.h"
#include "gif/StreamHelpers.h"
#include "gif/StuckiDitherer.h"
#include "platform/graphics/Palettes.h"

namespace gif {
namespace {

using graphics::TBitmap;

// Deleting the stock default palette is refused by the platform, so every target
// palette can go the same way.
struct PaletteDeleter {
  void operator()(gdi::PaletteObject* Palette) const { gdi::DeleteObject(Palette); }
};
using TPaletteHandle = std::unique_ptr<gdi::PaletteObject, PaletteDeleter>;

// Colours of rdQuantize; 0, which the quantizer refuses, for bits outside 0..8.
int32_t QuantizeColors(int32_t QuantizeBits) {
  return QuantizeBits >= 0 && QuantizeBits <= 8 ? int32_t{1} << QuantizeBits : 0;
}

// A copy of at most the first 256 entries; none for none.
gdi::HPALETTE CopyOfCustomPalette(gdi::HPALETTE Palette) {
  gdi::LOGPALETTE Copy;
  Copy.palPalEntry.resize(256);
  Copy.palPalEntry.resize(gdi::GetPaletteEntries(Palette, 0, 256, Copy.palPalEntry.data()));
  if (Copy.palPalEntry.empty()) return nullptr;
  return CheckGDIHandle(gdi::CreatePalette(Copy));
}

gdi::HPALETTE TargetPalette(TReductionMethod Method, TBitmap& Bitmap, TDIBReader& Reader, int32_t QuantizeBits,
                            gdi::HPALETTE CustomPalette) {
  switch (Method) {
    case rdWindows20: return static_cast<gdi::HPALETTE>(gdi::GetStockObject(gdi::DEFAULT_PALETTE));
    case rdWindows256: return HalftonePalette();
    case rdWindowsGray: return FourGrayPalette();
    case rdMonochrome: return MonochromePalette();
    case rdGrayScale: return GrayScalePalette();
    case rdNetscape: return WebPalette();
    case rdQuantize:
      return CreateOptimizedPalette(Reader, Bitmap.Width(), Bitmap.Height(), QuantizeColors(QuantizeBits), 8, false);
    case rdOptimizedWindows: return CreateOptimizedPalette(Bitmap, 236, 8, true);
    default: return CopyOfCustomPalette(CustomPalette);
  }
}

std::unique_ptr<TColorLookup> MakeLookup(TReductionMethod Method, gdi::HPALETTE Palette) {
  switch (Method) {
    case rdMonochrome: return std::make_unique<TMonochromeLookup>();
    case rdGrayScale: return std::make_unique<TGrayScaleLookup>();
    case rdNetscape: return std::make_unique<TNetscapeColorLookup>();
    default: return std::make_unique<TFastColorLookup>(Palette);
  }
}

// None for an unknown kind.
std::unique_ptr<TDitherEngine> MakeDitherer(TDitherKind Dither, int32_t Width, TColorLookup* Lookup) {
  switch (Dither) {
    case dkNone: return std::make_unique<TDitherEngine>(Width, Lookup);
    case dkFloydSteinberg: return std::make_unique<TFloydSteinbergDitherer>(Width, Lookup);
    case dkStucki: return std::make_unique<TStuckiDitherer>(Width, Lookup);
    case dkSierra: return std::make_unique<TSierraDitherer>(Width, Lookup);
    case dkJaJuNi: return std::make_unique<TJaJuNiDitherer>(Width, Lookup);
    case dkSteveArche: return std::make_unique<TSteveArcheDitherer>(Width, Lookup);
    case dkBurkes: return std::make_unique<TBurkesDitherer>(Width, Lookup);
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<TBitmap> ReduceBitmapColors(TBitmap& Bitmap, TReductionMethod Method, TDitherKind Dither,
                                            int32_t QuantizeBits, gdi::HPALETTE CustomPalette) {
  auto Result = std::make_unique<TBitmap>();
  if (Method == rdNone) {
    Result->Assign(&Bitmap);
    Result->SetPixelFormat(graphics::pf24bit);
    return Result;
  }
  if (Method == rdQuantize) CheckQuantizerLimits(QuantizeColors(QuantizeBits), 8);
  // Rows of width x 3 bytes, blue, green, red.
  TDIBReader Reader(Bitmap, graphics::pf24bit);
  if (Method > rdCustomPalette) return Result;

  const TPaletteHandle Palette(TargetPalette(Method, Bitmap, Reader, QuantizeBits, CustomPalette));
  const std::unique_ptr<TColorLookup> Lookup = MakeLookup(Method, Palette.get());
  if (Lookup->Colors() == 0) return Result;
  const std::unique_ptr<TDitherEngine> Ditherer = MakeDitherer(Dither, Bitmap.Width(), Lookup.get());
  if (!Ditherer) return Result;

  const int32_t Width = Bitmap.Width(), Height = Bitmap.Height();
  TDIBWriter Writer(*Result, graphics::pf8bit, Width, Height, Palette.get());
  TDitherEngine& D = *Ditherer;
  for (int32_t Y = 0; Y < Height; ++Y) {
    const uint8_t* Source = Reader.RowAddress(Y);
    uint8_t* Target = Writer.RowAddress(Y);
    for (int32_t X = D.Column(); X >= 0 && X < Width; X = D.Column()) {
      const uint8_t* Pixel = Source + 3 * X;
      uint8_t R, G, B;
      Target[X] = D.Dither(Pixel[2], Pixel[1], Pixel[0], R, G, B);
    }
    D.TurnRow();
  }
  Writer.StoreIntoBitmap();
  // The DIB's colour table always has 256 entries; the palette is cut back to the
  // target's own, so that a frame made from the result gets no unused colours.
  Result->SetPalette(CheckGDIHandle(graphics::CopyPalette(Palette.get())));
  return Result;
}

}  // namespace gif
