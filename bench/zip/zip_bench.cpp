// zip_bench CORPUS: the zip library against its peers on one corpus in one run (see
// bench/README.md). Prints the figures of each measurement, then one last line with
// every ratio ours / peer (MB/s or matches/s, above 1: ours is faster; size ratios below
// 1: ours is smaller).
#include "bench/zip/zip_bench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

namespace zipbench {

std::vector<std::string> CorpusFiles(const std::string& Folder) {
  std::vector<std::string> Files;
  for (const auto& E : std::filesystem::recursive_directory_iterator(Folder))
    if (E.is_regular_file()) Files.push_back(E.path().string());
  std::sort(Files.begin(), Files.end());
  return Files;
}

// Best of at least five runs and one second in all.
double BestSeconds(void (*Work)(void*), void* Context) {
  using Clock = std::chrono::steady_clock;
  double Best = 1e30, Total = 0;
  for (int Runs = 0; Runs < 5 || Total < 1.0; ++Runs) {
    auto Start = Clock::now();
    Work(Context);
    double S = std::chrono::duration<double>(Clock::now() - Start).count();
    Best = std::min(Best, S);
    Total += S;
  }
  return Best;
}

}  // namespace zipbench

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zip_bench CORPUS (a folder made by bench/zip/make_corpus.sh)\n");
    return 2;
  }
  const std::string Corpus = argv[1];
  std::vector<zipbench::TRatio> Ratios = zipbench::MeasureInflate(zipbench::CorpusFiles(Corpus + "/files"));
  for (const auto& R : zipbench::MeasureExtract(Corpus + "/corpus.zip")) Ratios.push_back(R);
  for (const auto& R : zipbench::MeasureCompress(zipbench::CorpusFiles(Corpus + "/files"))) Ratios.push_back(R);
  for (const auto& R : zipbench::MeasureWildMatch()) Ratios.push_back(R);
  std::string Last;
  for (const auto& R : Ratios) {
    char Text[96];
    // Sizes differ in the third decimal; speeds are told apart in the second.
    const bool Size = R.Name.find("size") != std::string::npos;
    std::snprintf(Text, sizeof Text, Size ? "%s%s %.4f" : "%s%s %.2f", Last.empty() ? "" : ", ", R.Name.c_str(),
                  R.Value);
    Last += Text;
  }
  std::printf("ratios ours/peer (MB/s, wildmatch: matches/s; size: bytes): %s\n", Last.c_str());
  return 0;
}
