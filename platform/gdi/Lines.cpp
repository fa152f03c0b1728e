#include "platform/gdi/Lines.h"

#include <vector>

#include "platform/gdi/LastError.h"
#include "platform/gdi/Paint.h"
#include "platform/gdi/Stroke.h"

namespace gdi {

bool MoveToEx(HDC DC, int32_t X, int32_t Y, POINT* Old) {
  if (DC == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  if (Old != nullptr) *Old = DC->Position;
  DC->Position = {X, Y};
  return true;
}

bool GetCurrentPositionEx(HDC DC, POINT* Position) {
  if (DC == nullptr || Position == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  *Position = DC->Position;
  return true;
}

bool LineTo(HDC DC, int32_t X, int32_t Y) {
  if (DC == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  const POINT From = DC->Position;
  DC->Position = {X, Y};
  Surface Target;
  if (!DrawingTarget(DC, Target)) return false;
  PaintStroke(*DC, PathStroke(*DC, {From, {X, Y}}, false));
  return true;
}

bool Polyline(HDC DC, const POINT* Points, int Count) {
  Surface Target;
  if (!DrawingTarget(DC, Target)) return false;
  if (Points == nullptr || Count < 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  PaintStroke(*DC, PathStroke(*DC, std::vector<POINT>(Points, Points + Count), false));
  return true;
}

}  // namespace gdi
