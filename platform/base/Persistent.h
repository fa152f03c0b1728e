// TPersistent: objects that can copy themselves from one another. Assign asks the
// source to assign itself to us when we do not know it; if neither side knows the
// other the copy fails with EConvertError.
#pragma once

#include "platform/base/Object.h"

namespace base {

class TPersistent : public TObject {
 public:
  ANIMORA_CLASS(TPersistent)
  virtual void Assign(const TPersistent* Source);
  virtual void AssignTo(TPersistent* Dest) const;

 protected:
  // Raises "Cannot assign a <source> to a <this>".
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};

}  // namespace base
