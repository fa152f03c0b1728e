// The root of the class tree: every object knows its class name, which error texts
// ("Cannot assign a TBitmap to a TGIFImage") and streaming need.
#pragma once

#include <string>

namespace base {

class TObject {
 public:
  virtual ~TObject() = default;
  virtual std::string ClassName() const { return "TObject"; }
};

// Declares ClassName() for a class, so names never drift from the type.
#define ANIMORA_CLASS(Name) \
  std::string ClassName() const override { return #Name; }

}  // namespace base
