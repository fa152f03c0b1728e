#include "platform/gdi/Icon.h"

#include <cstring>
#include <mutex>
#include <unordered_set>

#include "platform/gdi/Blit.h"
#include "platform/gdi/LastError.h"
#include "platform/gdi/RasterOp.h"

namespace gdi {

struct IconObject {
  ICONINFO Info;
};

namespace {

// Live icons, so that a destroyed handle is refused.
struct LiveIcons {
  std::mutex Lock;
  std::unordered_set<const IconObject*> Icons;
};

LiveIcons& Icons() {
  static LiveIcons Registry;
  return Registry;
}

bool Alive(HICON Icon) {
  std::lock_guard Guard(Icons().Lock);
  return Icon != nullptr && Icons().Icons.count(Icon) != 0;
}

HBITMAP CopyOf(HBITMAP Bitmap) {
  if (Bitmap == nullptr) return nullptr;
  const DIBFormat& F = Bitmap->Format;
  HBITMAP Copy = nullptr;
  if (Bitmap->Section) {
    BITMAPINFO Info{};
    Info.bmiHeader.biWidth = F.Width;
    Info.bmiHeader.biHeight = F.TopDown ? -F.Height : F.Height;
    Info.bmiHeader.biBitCount = static_cast<uint16_t>(F.BitCount);
    Info.bmiHeader.biCompression = F.Compression;
    Info.bmiHeader.biClrUsed = static_cast<uint32_t>(F.Colors.size());
    if (F.Compression == BI_BITFIELDS)
      std::memcpy(static_cast<void*>(Info.bmiColors), F.Masks, sizeof F.Masks);
    else
      std::copy(F.Colors.begin(), F.Colors.end(), Info.bmiColors);
    Copy = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, nullptr);
  } else if (Bitmap->Monochrome()) {
    Copy = CreateBitmap(F.Width, F.Height, 1, 1, nullptr);
  } else {
    HDC Screen = GetDC(nullptr);
    Copy = CreateCompatibleBitmap(Screen, F.Width, F.Height);
    ReleaseDC(nullptr, Screen);
  }
  if (Copy != nullptr) std::memcpy(Copy->Bits(), Bitmap->Bits(), static_cast<size_t>(F.ImageBytes()));
  return Copy;
}

void Free(ICONINFO& Info) {
  DeleteObject(Info.hbmMask);
  DeleteObject(Info.hbmColor);
  Info.hbmMask = Info.hbmColor = nullptr;
}

// A memory DC holding a bitmap that no other DC holds.
class Holder {
 public:
  explicit Holder(HBITMAP Bitmap) : DC(CreateCompatibleDC(nullptr)) { Old = SelectObject(DC, Bitmap); }
  ~Holder() {
    SelectObject(DC, Old);
    DeleteDC(DC);
  }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;
  HDC DC;

 private:
  HGDIOBJ Old = nullptr;
};

}  // namespace

HICON CreateIconIndirect(const ICONINFO* Info) {
  const HBITMAP Mask = Info != nullptr ? Info->hbmMask : nullptr;
  const bool Valid = Mask != nullptr && Mask->Format.BitCount == 1 &&
                     (Info->hbmColor == nullptr ? Mask->Format.Height % 2 == 0
                                                : Info->hbmColor->Format.Width == Mask->Format.Width &&
                                                      Info->hbmColor->Format.Height == Mask->Format.Height);
  if (!Valid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* Icon = new IconObject{*Info};
  Icon->Info.hbmMask = CopyOf(Info->hbmMask);
  Icon->Info.hbmColor = CopyOf(Info->hbmColor);
  if (Icon->Info.hbmMask == nullptr || (Info->hbmColor != nullptr && Icon->Info.hbmColor == nullptr)) {
    Free(Icon->Info);
    delete Icon;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::lock_guard Guard(Icons().Lock);
  Icons().Icons.insert(Icon);
  return Icon;
}

bool GetIconInfo(HICON Icon, ICONINFO* Info) {
  if (!Alive(Icon) || Info == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  *Info = Icon->Info;
  Info->hbmMask = CopyOf(Icon->Info.hbmMask);
  Info->hbmColor = CopyOf(Icon->Info.hbmColor);
  return true;
}

bool DestroyIcon(HICON Icon) {
  if (!Alive(Icon)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  {
    std::lock_guard Guard(Icons().Lock);
    Icons().Icons.erase(Icon);
  }
  Free(Icon->Info);
  delete Icon;
  return true;
}

bool DrawIconEx(HDC DC, int32_t X, int32_t Y, HICON Icon, int32_t Width, int32_t Height, uint32_t, HBRUSH,
                uint32_t Flags) {
  if (DC == nullptr || !Alive(Icon)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  const ICONINFO& I = Icon->Info;
  const int32_t IconWidth = I.hbmMask->Format.Width;
  const int32_t IconHeight = I.hbmColor != nullptr ? I.hbmMask->Format.Height : I.hbmMask->Format.Height / 2;
  if (Width == 0) Width = IconWidth;
  if (Height == 0) Height = IconHeight;
  // The mask's 0 and 1 bits stand for black and white on a colour target.
  const COLORREF OldText = SetTextColor(DC, RGB(0, 0, 0));
  const COLORREF OldBk = SetBkColor(DC, RGB(255, 255, 255));
  bool Done = true;
  const Holder Mask(I.hbmMask);
  if (Flags & DI_MASK)
    Done = StretchBlt(DC, X, Y, Width, Height, Mask.DC, 0, 0, IconWidth, IconHeight, SRCAND);
  if (Done && (Flags & DI_IMAGE)) {
    if (I.hbmColor != nullptr) {
      const Holder Color(I.hbmColor);
      Done = StretchBlt(DC, X, Y, Width, Height, Color.DC, 0, 0, IconWidth, IconHeight, SRCINVERT);
    } else {
      Done = StretchBlt(DC, X, Y, Width, Height, Mask.DC, 0, IconHeight, IconWidth, IconHeight, SRCINVERT);
    }
  }
  SetTextColor(DC, OldText);
  SetBkColor(DC, OldBk);
  return Done;
}

}  // namespace gdi
