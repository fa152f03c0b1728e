// Palette handles of the graphics classes: made from colour tables, copied, and the
// framework's 16-colour system palette.
#pragma once

#include <vector>

#include "platform/gdi/DIB.h"
#include "platform/gdi/Palette.h"

namespace graphics {

// A palette made from a colour table; the caller owns it (none for an empty table).
gdi::HPALETTE PaletteFromColors(const std::vector<gdi::RGBQUAD>& Colors);
// A copy of Palette owned by the caller; none for none.
gdi::HPALETTE CopyPalette(gdi::HPALETTE Palette);
// The entries of Palette as a colour table; empty for none.
std::vector<gdi::RGBQUAD> ColorsOfPalette(gdi::HPALETTE Palette);

// The 16 VGA colours (the first and last eight static colours) as a stock palette
// that lives as long as the process and refuses deletion.
gdi::HPALETTE SystemPalette16();

}  // namespace graphics
