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
    LightGrey,           RGB(0, 128, 128), Navy,      Grey,      LightGrey,
    White,               Black,                    Black,     Black,     White,
    LightGrey,           LightGrey,                Grey,      Navy,      White,
    LightGrey,           Grey,                     Grey,      Black,     LightGrey,
    White,               Black,                    LightGrey, Black,     RGB(255, 255, 225),
    Black,               Navy,                     RGB(16, 132, 208), RGB(181, 181, 181), Navy,
    LightGrey,
};

}  // namespace

COLORREF GetSysColor(int Index) {
  if (Index < 0 || Index >= static_cast<int>(std::size(Scheme))) return 0;
  return Scheme[Index];
}

}  // namespace gdi
