// Extraction speed: the corpus archive (Info-ZIP, default level) extracted by ours
// (TZipReader::UnZip, in process) and by Info-ZIP unzip (a process, start
// included), each into a fresh folder that is removed between runs (not timed). Ours
// must extract every entry without a failure.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "bench/zip/zip_bench.h"
#include "install/zip/ZipReader.h"

namespace zipbench {

namespace {

namespace fs = std::filesystem;

struct TContext {
  std::string Archive;
  fs::path Out;
  uint64_t Bytes = 0;
};

void Clear(const TContext& X) {
  std::error_code E;
  fs::remove_all(X.Out, E);
}

void RunOurs(void* C) {
  auto& X = *static_cast<TContext*>(C);
  Clear(X);
  zip::TZipReader Z;
  Z.SetZipName(X.Archive);
  Z.SetDestDir(X.Out.string());
  Z.SetDoAll(true);
  Z.SetRecreateDirs(true);
  Z.SetOverwriteMode(zip::TUZOverwriteMode::Always);
  bool Failed = false;
  Z.OnEntryFailed = [&](base::TObject*, int, const std::string& M) {
    std::fprintf(stderr, "%s\n", M.c_str());
    Failed = true;
  };
  uint64_t Bytes = 0;
  Z.OnEndUnZip = [&](base::TObject* Sender, int I, const std::string&) {
    Bytes += static_cast<zip::TZipReader*>(Sender)->Entries(I).UncompressedSize;
  };
  Z.UnZip();
  if (Failed) throw std::runtime_error("ours failed");
  X.Bytes = Bytes;
}

void RunUnzip(void* C) {
  auto& X = *static_cast<TContext*>(C);
  Clear(X);
  std::string Command = "unzip -qq -o '" + X.Archive + "' -d '" + X.Out.string() + "'";
  if (std::system(Command.c_str()) != 0) throw std::runtime_error("unzip failed");
}

}  // namespace

std::vector<TRatio> MeasureExtract(const std::string& Archive) {
  TContext X{Archive, fs::path(Archive).parent_path() / "extracted", 0};
  RunOurs(&X);
  const double MB = X.Bytes / 1e6;
  const double Peer = MB / BestSeconds(RunUnzip, &X);
  const double Ours = MB / BestSeconds(RunOurs, &X);
  Clear(X);
  std::printf("extract: %s, %.1f MB\n  unzip      %8.1f MB/s\n  ours       %8.1f MB/s\n", Archive.c_str(), MB, Peer,
              Ours);
  return {{"extract/unzip", Ours / Peer}};
}

}  // namespace zipbench
