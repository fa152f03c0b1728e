// Failed platform calls of the graphics classes: a zero handle becomes EOutOfResources
// with the text of the last GDI error, or "Out of system resources" when it has none.
#pragma once

#include "platform/gdi/Object.h"

namespace graphics {

[[noreturn]] void GDIError();

template <class Handle>
Handle GDICheck(Handle Value) {
  if (Value == nullptr) GDIError();
  return Value;
}

}  // namespace graphics
