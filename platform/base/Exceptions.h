// The exception classes of the run-time library. Every exception carries a message
// text only; the class tells the kind of failure.
#pragma once

#include <stdexcept>
#include <string>

namespace base {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
  std::string Message() const { return what(); }
};

#define ANIMORA_EXCEPTION(Name, Base) \
  class Name : public Base {          \
   public:                            \
    using Base::Base;                 \
  };

// Silent abort: handlers that report errors ignore it.
ANIMORA_EXCEPTION(EAbort, Exception)
ANIMORA_EXCEPTION(EConvertError, Exception)
ANIMORA_EXCEPTION(EListError, Exception)
ANIMORA_EXCEPTION(EOutOfMemory, Exception)
ANIMORA_EXCEPTION(EOutOfResources, EOutOfMemory)
ANIMORA_EXCEPTION(EInvalidGraphic, Exception)
ANIMORA_EXCEPTION(EInvalidGraphicOperation, Exception)
ANIMORA_EXCEPTION(EInvalidOperation, Exception)
ANIMORA_EXCEPTION(EStreamError, Exception)
ANIMORA_EXCEPTION(EFileStreamError, EStreamError)
ANIMORA_EXCEPTION(EFCreateError, EFileStreamError)
ANIMORA_EXCEPTION(EFOpenError, EFileStreamError)
ANIMORA_EXCEPTION(EFilerError, EStreamError)
ANIMORA_EXCEPTION(EReadError, EFilerError)
ANIMORA_EXCEPTION(EWriteError, EFilerError)

#undef ANIMORA_EXCEPTION

// Raises EAbort, which error reporting passes over.
[[noreturn]] void Abort();

}  // namespace base
