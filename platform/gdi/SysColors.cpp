#include "platform/gdi/SysColors.h"

#include <iterator>

namespace gdi {
namespace {

constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF LightGrey = RGB(192, 192, 192);
constexpr COLORREF Grey = RGB(128, 128, 128);
constexpr COLORREF Navy = RGB(0, 0, 128);

constexpr COLORREF Scheme[] = {
    LightGrey,           // 0 COLOR_SCROLLBAR
    RGB(0, 128, 128),    // 1 COLOR_BACKGROUND
    Navy,                // 2 COLOR_ACTIVECAPTION
    Grey,                // 3 COLOR_INACTIVECAPTION
    LightGrey,           // 4 COLOR_MENU
    White,               // 5 COLOR_WINDOW
    Black,               // 6 COLOR_WINDOWFRAME
    Black,               // 7 COLOR_MENUTEXT
    Black,               // 8 COLOR_WINDOWTEXT
    White,               // 9 COLOR_CAPTIONTEXT
    LightGrey,           // 10 COLOR_ACTIVEBORDER
    LightGrey,           // 11 COLOR_INACTIVEBORDER
    Grey,                // 12 COLOR_APPWORKSPACE
    Navy,                // 13 COLOR_HIGHLIGHT
    White,               // 14 COLOR_HIGHLIGHTTEXT
    LightGrey,           // 15 COLOR_BTNFACE
    Grey,                // 16 COLOR_BTNSHADOW
    Grey,                // 17 COLOR_GRAYTEXT
    Black,               // 18 COLOR_BTNTEXT
    LightGrey,           // 19 COLOR_INACTIVECAPTIONTEXT
    White,               // 20 COLOR_BTNHIGHLIGHT
    Black,               // 21 COLOR_3DDKSHADOW
    LightGrey,           // 22 COLOR_3DLIGHT
    Black,               // 23 COLOR_INFOTEXT
    RGB(255, 255, 225),  // 24 COLOR_INFOBK
    Black,               // 25 no colour
    Navy,                // 26 COLOR_HOTLIGHT
    RGB(16, 132, 208),   // 27 COLOR_GRADIENTACTIVECAPTION
    RGB(181, 181, 181),  // 28 COLOR_GRADIENTINACTIVECAPTION
    Navy,                // 29 COLOR_MENUHILIGHT
    LightGrey,           // 30 COLOR_MENUBAR
};

}  // namespace

COLORREF GetSysColor(int Index) {
  if (Index < 0 || Index >= static_cast<int>(std::size(Scheme))) return 0;
  return Scheme[Index];
}

}  // namespace gdi
