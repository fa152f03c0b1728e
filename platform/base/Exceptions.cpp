#include "platform/base/Exceptions.h"

namespace base {

void Abort() { throw EAbort("Operation aborted"); }

}  // namespace base
