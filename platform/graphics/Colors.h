// Named colours of the graphics layer. A TColor is $00BBGGRR; one with the top bit set
// names the system colour of its low byte (gdi/SysColors.h).
#pragma once

#include "platform/base/Types.h"
#include "platform/gdi/Color.h"
#include "platform/gdi/SysColors.h"

namespace graphics {

using base::TColor;
using base::clDefault;
using base::clNone;

constexpr TColor SystemColor(int Index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(Index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor clScrollBar = SystemColor(gdi::COLOR_SCROLLBAR);
constexpr TColor clBackground = SystemColor(gdi::COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SystemColor(gdi::COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SystemColor(gdi::COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SystemColor(gdi::COLOR_MENU);
constexpr TColor clWindow = SystemColor(gdi::COLOR_WINDOW);
constexpr TColor clWindowFrame = SystemColor(gdi::COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SystemColor(gdi::COLOR_MENUTEXT);
constexpr TColor clWindowText = SystemColor(gdi::COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SystemColor(gdi::COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SystemColor(gdi::COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SystemColor(gdi::COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SystemColor(gdi::COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SystemColor(gdi::COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(gdi::COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SystemColor(gdi::COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(gdi::COLOR_BTNSHADOW);
constexpr TColor clGrayText = SystemColor(gdi::COLOR_GRAYTEXT);
constexpr TColor clBtnText = SystemColor(gdi::COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SystemColor(gdi::COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SystemColor(gdi::COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SystemColor(gdi::COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColor(gdi::COLOR_3DLIGHT);
constexpr TColor clInfoText = SystemColor(gdi::COLOR_INFOTEXT);
constexpr TColor clInfoBk = SystemColor(gdi::COLOR_INFOBK);

// The COLORREF a colour draws with: system colours resolved, others as they are.
inline gdi::COLORREF ColorToRGB(TColor Color) {
  if (Color < 0) return gdi::GetSysColor(Color & 0xFF);
  return static_cast<gdi::COLORREF>(Color);
}

}  // namespace graphics
