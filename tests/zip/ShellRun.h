// Runs a shell command for the tests that drive ziptool and the peers: its exit status
// and what it wrote on standard output.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace ziptest {

struct TRun {
  int Status = -1;
  std::string Out;
};

inline TRun Shell(const std::string& Command) {
  TRun Result;
  FILE* Pipe = ::popen(Command.c_str(), "r");
  if (!Pipe) return Result;
  char Buffer[4096];
  size_t N = 0;
  while ((N = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0) Result.Out.append(Buffer, N);
  const int Status = ::pclose(Pipe);
  Result.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  return Result;
}

}  // namespace ziptest
