#include "platform/base/Persistent.h"

#include "platform/base/Exceptions.h"
#include "platform/base/Format.h"

namespace base {

void TPersistent::Assign(const TPersistent* Source) {
  if (Source != nullptr) {
    Source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const {
  const std::string SourceName = Source != nullptr ? Source->ClassName() : "nil";
  throw EConvertError(Format("Cannot assign a %s to a %s", SourceName.c_str(), ClassName().c_str()));
}

}  // namespace base
