#include "platform/graphics/GDIError.h"

#include <string>

#include "platform/base/Exceptions.h"
#include "platform/gdi/LastError.h"

namespace graphics {

void GDIError() {
  std::string Text = gdi::ErrorText(gdi::GetLastError());
  if (Text.empty()) Text = "Out of system resources";
  throw base::EOutOfResources(Text.substr(0, 256));
}

}  // namespace graphics
