// Plays read metafile records onto a small bitmap: shared by the metafile fuzz harness
// and the test that replays the inputs it once failed on.
#pragma once

#include <cstdint>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/DIBFormat.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileReader.h"

namespace fuzzcheck {

inline void PlayOntoSmallBitmap(const graphics::TMetafileContent& Content, uint16_t BitCount) {
  gdi::BITMAPINFO Info;
  Info.bmiHeader.biWidth = 64;
  Info.bmiHeader.biHeight = 48;
  Info.bmiHeader.biBitCount = BitCount;
  gdi::HBITMAP Target = gdi::CreateDIBSection(nullptr, &Info, gdi::DIB_RGB_COLORS, nullptr);
  gdi::HDC DC = gdi::CreateCompatibleDC(nullptr);
  gdi::HGDIOBJ Old = gdi::SelectObject(DC, Target);
  graphics::PlayMetafile(DC, Content, base::Rect(0, 0, 64, 48));
  gdi::SelectObject(DC, Old);
  gdi::DeleteDC(DC);
  gdi::DeleteObject(Target);
}

}  // namespace fuzzcheck
