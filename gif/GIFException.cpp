#include "gif/GIFException.h"

namespace gif {

const char* GIFVersionText(TGIFVersion Version) {
  switch (Version) {
    case ver87a: return "87a";
    case ver89a: return "89a";
    default: return "";
  }
}

void RaiseGIFError(const std::string& Message) { throw GIFException(Message); }

}  // namespace gif
