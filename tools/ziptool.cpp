// ziptool: a developer tool over the zip library, driven by tests and benchmarks.
// Exit status: 0 success, 1 an archive or entry refused (one message each on standard
// error), 2 a usage error.
#include <cstdio>
#include <cstring>

#include "tools/ZipTool.h"
#include "tools/ZipToolExtract.h"

namespace {

struct TCommand {
  const char* Name;
  const char* Usage;
  int (*Run)(const ziptool::TArgs& Args);
};

constexpr TCommand Commands[] = {
    {"list", "list ARCHIVE", ziptool::List},
    {"create", "create ARCHIVE [--level N] [--password P] [--blocks BYTES] NAME...", ziptool::Create},
    {"test", "test ARCHIVE [--password P]", ziptool::Test},
    {"extract", "extract ARCHIVE DEST [--password P]", ziptool::Extract},
};

int Usage() {
  std::fprintf(stderr, "usage:\n");
  for (const TCommand& C : Commands) std::fprintf(stderr, "  ziptool %s\n", C.Usage);
  return ziptool::ExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const TCommand& C : Commands) {
    if (std::strcmp(argv[1], C.Name) != 0) continue;
    const int Status = C.Run(ziptool::TArgs(argv + 2, argv + argc));
    return Status == ziptool::ExitUsage ? Usage() : Status;
  }
  return Usage();
}
