#include "install/zip/WildMatch.h"

#include <cstdint>
#include <unordered_map>

namespace zip {

namespace {

std::string AsciiLower(std::string Text) {
  for (char& C : Text)
    if (C >= 'A' && C <= 'Z') C = char(C - 'A' + 'a');
  return Text;
}

// One match of a pattern against a subject. Every match that starts at a star is a
// function of the two suffixes only, so it is remembered: a pattern with many stars
// costs at most (pattern length x subject length) star matches, never exponential time.
class TMatcher {
 public:
  TMatcher(const std::string& Pattern, const std::string& Subject)
      : P(AsciiLower(Pattern)), S(AsciiLower(Subject)), N(P.size()), M(S.size()) {}

  int MatchFrom(size_t Pi, size_t Si) {
    const uint64_t Key = uint64_t(Pi) * (M + 1) + Si;
    if (auto Found = Memo.find(Key); Found != Memo.end()) return Found->second;
    const int R = RunMatch(Pi, Si);
    Memo.emplace(Key, R);
    return R;
  }

  int AfterStarFrom(size_t Pi, size_t Si) {
    size_t I = Pi;
    size_t J = Si;
    // '*?' is '?*': a question mark before the pattern's end consumes a subject character.
    while (I < N && (P[I] == '*' || (J < M && I + 1 < N && P[I] == '?'))) {
      if (P[I] == '?') ++J;
      ++I;
    }
    if (J >= M) return OnlyStarsFrom(I) ? wmMatch : wmSubjectEnded;
    if (I >= N) return wmMatch;
    int R = 0;
    for (;;) {
      if (P[I] == S[J] || P[I] == '[' || P[I] == '?') R = MatchFrom(I, J);
      ++J;
      if (R == wmMatch || J >= M) break;
    }
    return R;
  }

 private:
  // A position past the pattern's end reads as a character equal to none of the specials.
  int At(size_t I) const { return I < N ? static_cast<unsigned char>(P[I]) : -1; }

  bool OnlyStarsFrom(size_t I) const {
    for (; I < N; ++I)
      if (P[I] != '*') return false;
    return true;
  }

  int RunMatch(size_t Pi, size_t Si) {
    size_t Pp = Pi;
    size_t Sp = Si;
    int R = 0;
    while (R == 0 && Pp < N) {
      if (Sp >= M) return OnlyStarsFrom(Pp) ? wmMatch : wmSubjectEnded;
      switch (P[Pp]) {
        case '*':
          R = AfterStarFrom(Pp, Sp);
          break;
        case '[':
          R = MatchSet(Pp, static_cast<unsigned char>(S[Sp]));
          if (R != 0) return R;
          break;
        case '?':
          break;
        default:
          if (P[Pp] != S[Sp]) R = wmLiteralDiffers;
      }
      ++Pp;
      ++Sp;
    }
    if (R == 0) R = Sp >= M ? wmMatch : wmPatternEnded;
    return R;
  }

  // Pp stands on "["; on acceptance it is left on the set's "]" and 0 returned.
  int MatchSet(size_t& Pp, int C) {
    ++Pp;
    bool Negated = false;
    if (At(Pp) == '!' || At(Pp) == '^') {
      Negated = true;
      ++Pp;
    }
    if (At(Pp) == ']') return wmMalformedSet;
    bool Matched = false;
    while (!Matched && At(Pp) != ']') {
      const size_t Lo = Pp;
      size_t Hi = Pp;
      ++Pp;
      if (Pp >= N) return wmMalformedSet;
      if (At(Pp) == '-') {
        ++Pp;
        Hi = Pp;
        if (Pp >= N || At(Hi) == ']') return wmMalformedSet;
        ++Pp;
      }
      if (Pp >= N) return wmMalformedSet;
      if (Lo < Hi)
        Matched = At(Lo) <= C && C <= At(Hi);
      else
        Matched = At(Lo) == C;
    }
    if (Negated == Matched) return wmSetRejected;
    if (Matched) {
      while (Pp < N && P[Pp] != ']') ++Pp;
      if (Pp >= N) return wmMalformedSet;
    }
    return 0;
  }

  const std::string P;
  const std::string S;
  const size_t N;
  const size_t M;
  std::unordered_map<uint64_t, int> Memo;
};

}  // namespace

int Match(const std::string& Pattern, const std::string& Subject) {
  return TMatcher(Pattern, Subject).MatchFrom(0, 0);
}

int MatchAfterStar(const std::string& Pattern, const std::string& Subject) {
  return TMatcher(Pattern, Subject).AfterStarFrom(0, 0);
}

bool IsMatch(const std::string& Pattern, const std::string& Subject) {
  return Match(Pattern, Subject) == wmMatch;
}

}  // namespace zip
