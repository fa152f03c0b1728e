#include "install/zip/ExtractState.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/base/Exceptions.h"

namespace zip {

ExtractState::ExtractState(const std::string& Folder) : DestDir(Folder) {
  DestFolder = ::open(DestDir.empty() ? "." : DestDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (DestFolder < 0)
    throw base::EFOpenError("Cannot open folder " + DestDir + ": " + std::strerror(errno));
  Umask = ::umask(0);
  ::umask(Umask);
}

ExtractState::~ExtractState() {
  if (LastFolder >= 0) ::close(LastFolder);
  ::close(DestFolder);
}

}  // namespace zip
