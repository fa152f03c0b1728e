// Wildcard matching: our matcher (zip::IsMatch, as entry selection calls it) against
// glibc's fnmatch (FNM_NOESCAPE | FNM_CASEFOLD) on the same patterns and names: short
// names as an archive holds them, and long names against patterns with several stars,
// where a backtracking matcher's work grows with the name's length squared or worse.
#include <fnmatch.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/zip/zip_bench.h"
#include "install/zip/WildMatch.h"

namespace zipbench {

namespace {

struct TCase {
  std::string Name;
  std::string Pattern;
  std::vector<std::string> Subjects;
};

struct TContext {
  const TCase* Case;
  int Matches = 0;
};

void RunOurs(void* C) {
  auto& X = *static_cast<TContext*>(C);
  X.Matches = 0;
  for (const std::string& S : X.Case->Subjects) X.Matches += zip::IsMatch(X.Case->Pattern, S) ? 1 : 0;
}

void RunFnmatch(void* C) {
  auto& X = *static_cast<TContext*>(C);
  X.Matches = 0;
  for (const std::string& S : X.Case->Subjects)
    X.Matches += fnmatch(X.Case->Pattern.c_str(), S.c_str(), FNM_NOESCAPE | FNM_CASEFOLD) == 0 ? 1 : 0;
}

std::vector<TCase> Cases() {
  std::vector<std::string> Short;
  for (int I = 0; I < 20000; ++I)
    Short.push_back("anim/frames/frame" + std::to_string(I) + (I % 3 ? ".GIF" : ".png"));
  const std::string Long(65535, 'a');
  return {{"short *.gif", "*.gif", Short},
          {"short a*/*[0-4]?.g*", "a*/*[0-4]?.g*", Short},
          {"65535 *a*a*b", "*a*a*b", {Long, Long + "b"}},
          {"65535 *a*a*a*a*a*a*a*a*b", "*a*a*a*a*a*a*a*a*b", {Long}}};
}

}  // namespace

std::vector<TRatio> MeasureWildMatch() {
  std::vector<TRatio> Ratios;
  std::printf("wildcards (matches per second)\n");
  for (const TCase& Case : Cases()) {
    TContext Ours{&Case}, Peer{&Case};
    RunOurs(&Ours);
    RunFnmatch(&Peer);
    if (Ours.Matches != Peer.Matches) throw std::runtime_error("wildcards: ours and fnmatch differ on " + Case.Name);
    const double Count = double(Case.Subjects.size());
    const double PeerRate = Count / BestSeconds(RunFnmatch, &Peer);
    const double OursRate = Count / BestSeconds(RunOurs, &Ours);
    std::printf("  %-28s fnmatch %12.0f  ours %12.0f\n", Case.Name.c_str(), PeerRate, OursRate);
    Ratios.push_back({"wildmatch " + Case.Name + "/fnmatch", OursRate / PeerRate});
  }
  return Ratios;
}

}  // namespace zipbench
