#include "gif/FixedPalettes.h"

#include <initializer_list>

#include "gif/StreamHelpers.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Halftone.h"

namespace gif {
namespace {

gdi::HPALETTE GrayLevels(std::initializer_list<uint8_t> Levels) {
  gdi::LOGPALETTE Palette;
  for (uint8_t Level : Levels) Palette.palPalEntry.push_back({Level, Level, Level, gdi::PC_NOCOLLAPSE});
  return gdi::CreatePalette(Palette);
}

}  // namespace

gdi::HPALETTE WebPalette() {
  gdi::LOGPALETTE Palette;
  for (int R = 0; R < 6; ++R)
    for (int G = 0; G < 6; ++G)
      for (int B = 0; B < 6; ++B)
        Palette.palPalEntry.push_back(
            {static_cast<uint8_t>(51 * R), static_cast<uint8_t>(51 * G), static_cast<uint8_t>(51 * B), 0});
  return gdi::CreatePalette(Palette);
}

gdi::HPALETTE GrayScalePalette() {
  gdi::LOGPALETTE Palette;
  for (int I = 0; I < 256; ++I) {
    const auto Level = static_cast<uint8_t>(I);
    Palette.palPalEntry.push_back({Level, Level, Level, gdi::PC_NOCOLLAPSE});
  }
  return gdi::CreatePalette(Palette);
}

gdi::HPALETTE MonochromePalette() { return GrayLevels({0x00, 0xFF}); }

gdi::HPALETTE FourGrayPalette() { return GrayLevels({0x00, 0x80, 0xC0, 0xFF}); }

gdi::HPALETTE HalftonePalette() {
  const gdi::HDC Screen = CheckGDIHandle(gdi::GetDC(nullptr));
  struct Release {
    gdi::HDC DC;
    ~Release() { gdi::ReleaseDC(nullptr, DC); }
  } Guard{Screen};
  return gdi::CreateHalftonePalette(Screen);
}

}  // namespace gif
