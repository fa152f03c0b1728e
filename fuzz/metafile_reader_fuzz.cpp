// Arbitrary bytes through the metafile readers: a refusal must be EInvalidGraphic, and
// the records of a file they accept must play onto a small bitmap without fault.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/DIBFormat.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  graphics::TMetafileContent Content;
  try {
    Content = graphics::ReadMetafile(std::vector<uint8_t>(Data, Data + Size));
  } catch (const base::EInvalidGraphic&) {
    return 0;
  }
  gdi::BITMAPINFO Info;
  Info.bmiHeader.biWidth = 64;
  Info.bmiHeader.biHeight = 48;
  Info.bmiHeader.biBitCount = Size % 2 == 0 ? 24 : 8;
  gdi::HBITMAP Target = gdi::CreateDIBSection(nullptr, &Info, gdi::DIB_RGB_COLORS, nullptr);
  gdi::HDC DC = gdi::CreateCompatibleDC(nullptr);
  gdi::HGDIOBJ Old = gdi::SelectObject(DC, Target);
  graphics::PlayMetafile(DC, Content, base::Rect(0, 0, 64, 48));
  gdi::SelectObject(DC, Old);
  gdi::DeleteDC(DC);
  gdi::DeleteObject(Target);
  return 0;
}
