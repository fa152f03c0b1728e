// ziptool list ARCHIVE: one line per directory entry: method, compressed size,
// uncompressed size, CRC-32 in hex and the name.
#include <cinttypes>
#include <cstdio>

#include "tools/ZipTool.h"

namespace ziptool {

int List(const TArgs& Args) {
  if (Args.size() != 1) return ExitUsage;
  return Guarded(Args[0], [&] {
    zip::TZipReader Reader;
    OpenArchive(Reader, Args[0]);
    std::string Out;
    for (int I = 0; I < Reader.Count(); ++I) {
      const zip::TZipHeaderInfo& E = Reader.Entries(I);
      char Numbers[80];
      std::snprintf(Numbers, sizeof Numbers, "%u %" PRIu64 " %" PRIu64 " %08x ", unsigned(E.CompressionMethod),
                    E.CompressedSize, E.UncompressedSize, unsigned(E.CRC32));
      Out += Numbers + E.FullName() + '\n';
    }
    Reader.CloseZip();
    std::fwrite(Out.data(), 1, Out.size(), stdout);
    return std::fflush(stdout) == 0 ? ExitOk : ExitRefused;
  });
}

}  // namespace ziptool
