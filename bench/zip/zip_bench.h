// Measurements of the zip benchmark. Each returns its lines of figures and the ratios
// (ours / peer: MB/s, or bytes where the name says size) for the benchmark's last line.
#pragma once

#include <string>
#include <vector>

namespace zipbench {

struct TRatio {
  std::string Name;  // e.g. "inflate/zlib"
  double Value;
};

// Every file below the corpus folder.
std::vector<std::string> CorpusFiles(const std::string& Folder);

double BestSeconds(void (*Work)(void*), void* Context);

// Inflate of each file deflated by zlib (level 6), ours against zlib and libdeflate.
std::vector<TRatio> MeasureInflate(const std::vector<std::string>& Files);

// Deflate of each file at levels 1, 6 and 9: size and speed against zlib, libdeflate
// printed beside as the ceiling.
std::vector<TRatio> MeasureCompress(const std::vector<std::string>& Files);

// Extraction of the corpus archive, ours against Info-ZIP unzip.
std::vector<TRatio> MeasureExtract(const std::string& Archive);

// Wildcard matching of short and long names, ours against glibc's fnmatch (matches/s).
std::vector<TRatio> MeasureWildMatch();

}  // namespace zipbench
