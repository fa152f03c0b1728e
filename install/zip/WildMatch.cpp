#include "install/zip/WildMatch.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace zip {

namespace {

std::string AsciiLower(std::string Text) {
  for (char& C : Text)
    if (C >= 'A' && C <= 'Z') C = char(C - 'A' + 'a');
  return Text;
}

constexpr size_t NoPosition = SIZE_MAX;

// The result of a match from every pattern position against every subject suffix,
// filled from the pattern's end backwards, one row of subject positions per pattern
// position. Each cell takes constant work, so a match costs at most (pattern length
// + 1) x (subject length + 1) steps whatever its stars; only the rows still to be read
// are kept.
class TMatcher {
 public:
  TMatcher(const std::string& Pattern, const std::string& Subject)
      : P(AsciiLower(Pattern)), S(AsciiLower(Subject)), N(P.size()), M(S.size()) {}

  // Match from the pattern's start, or the match after a star from there.
  int Run(bool AfterStar) {
    FindSets();
    std::vector<uint8_t> Star, After;
    for (size_t Pi = N + 1; Pi-- > 0;) {
      if (Pi == N || P[Pi] != '*') FillRow(Pi, Star);
      After.swap(Star);
      FillStarRow(Pi, After, Star);
      if (Pi < N && P[Pi] == '*') FillRow(Pi, Star);
      for (const size_t Q : ReleaseAt[Pi]) std::vector<uint8_t>().swap(Rows[Q]);
    }
    return AfterStar ? Star[0] : Rows[0][0];
  }

 private:
  // Where each set's closing "]" is, and after which pattern position no row reads a
  // row again: row Q is read by Q - 1 and by the sets that close just before Q.
  void FindSets() {
    SetEnd.assign(N, NoPosition);
    SetSlot.assign(N, NoPosition);
    std::vector<size_t> LastReader(N + 1, NoPosition);
    for (size_t Q = 1; Q <= N; ++Q) LastReader[Q] = Q - 1;
    for (size_t Pi = 0; Pi < N; ++Pi) {
      if (P[Pi] != '[') continue;
      SetSlot[Pi] = SetCodes.size();
      SetCodes.emplace_back().fill(-1);
      size_t First = Pi + 1;
      if (First < N && (P[First] == '!' || P[First] == '^')) ++First;
      if (First >= N || P[First] == ']') continue;
      for (size_t Q = First + 1; Q < N && SetEnd[Pi] == NoPosition; ++Q)
        if (P[Q] == ']') SetEnd[Pi] = Q;
      if (SetEnd[Pi] != NoPosition) LastReader[SetEnd[Pi] + 1] = std::min(LastReader[SetEnd[Pi] + 1], Pi);
    }
    ReleaseAt.assign(N + 1, {});
    for (size_t Q = 1; Q <= N; ++Q) ReleaseAt[LastReader[Q]].push_back(Q);
    Rows.assign(N + 1, {});
    OnlyStars.assign(N + 1, true);
    for (size_t Pi = N; Pi-- > 0;) OnlyStars[Pi] = P[Pi] == '*' && OnlyStars[Pi + 1];
  }

  // The match from pattern position Pi against each subject position (needs the rows
  // after Pi and, at a star, the row of matches after that star).
  void FillRow(size_t Pi, const std::vector<uint8_t>& Star) {
    std::vector<uint8_t>& Row = Rows[Pi];
    Row.assign(M + 1, 0);
    for (size_t Si = 0; Si <= M; ++Si) {
      int R = 0;
      if (Pi >= N) {
        R = Si >= M ? wmMatch : wmPatternEnded;
      } else if (Si >= M) {
        R = OnlyStarsFrom(Pi) ? wmMatch : wmSubjectEnded;
      } else if (P[Pi] == '*') {
        R = Star[Si] != 0 ? Star[Si] : Rows[Pi + 1][Si + 1];
      } else if (P[Pi] == '[') {
        R = SetCode(Pi, static_cast<unsigned char>(S[Si]));
        if (R == 0) R = Rows[SetEnd[Pi] + 1][Si + 1];
      } else if (P[Pi] == '?' || P[Pi] == S[Si]) {
        R = Rows[Pi + 1][Si + 1];
      } else {
        R = wmLiteralDiffers;
      }
      Row[Si] = static_cast<uint8_t>(R);
    }
  }

  // The match after a star, from pattern position Pi (skipping further stars and the
  // question marks before the pattern's end, each taking one subject character) at each
  // subject position; 0 when no position offered a candidate. The candidates are tried
  // in order up to the first match, so the result is 1 when any matches, else the result
  // of the last one.
  void FillStarRow(size_t Pi, const std::vector<uint8_t>& After, std::vector<uint8_t>& Star) {
    Star.assign(M + 1, 0);
    if (Pi < N && P[Pi] == '*') {
      for (size_t Si = 0; Si <= M; ++Si) Star[Si] = After[Si];
      return;
    }
    bool Matched = false;
    int Last = 0;
    for (size_t Si = M + 1; Si-- > 0;) {
      int R = 0;
      if (Pi < N && Si < M && Pi + 1 < N && P[Pi] == '?') {
        R = After[Si + 1];
      } else if (Si >= M) {
        R = OnlyStarsFrom(Pi) ? wmMatch : wmSubjectEnded;
      } else if (Pi >= N) {
        R = wmMatch;
      } else {
        if (P[Pi] == S[Si] || P[Pi] == '[' || P[Pi] == '?') {
          const int Here = Rows[Pi][Si];
          if (Here == wmMatch) Matched = true;
          if (Last == 0) Last = Here;
        }
        R = Matched ? wmMatch : Last;
      }
      Star[Si] = static_cast<uint8_t>(R);
    }
  }

  bool OnlyStarsFrom(size_t I) const { return OnlyStars[I]; }

  // The set at Pi against character C: 0 when accepted, else 4 or 6; remembered by
  // character, so the set is read at most once per character value.
  int SetCode(size_t Pi, int C) {
    int8_t& Known = SetCodes[SetSlot[Pi]][static_cast<size_t>(C)];
    if (Known < 0) Known = static_cast<int8_t>(ReadSet(Pi, C));
    return Known;
  }

  // A position past the pattern's end reads as a character equal to none of the specials.
  int At(size_t I) const { return I < N ? static_cast<unsigned char>(P[I]) : -1; }

  int ReadSet(size_t Pp, int C) const {
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
  std::vector<size_t> SetEnd;
  std::vector<size_t> SetSlot;
  std::vector<std::array<int8_t, 256>> SetCodes;
  std::vector<std::vector<size_t>> ReleaseAt;
  std::vector<std::vector<uint8_t>> Rows;
  std::vector<bool> OnlyStars;
};

}  // namespace

int Match(const std::string& Pattern, const std::string& Subject) { return TMatcher(Pattern, Subject).Run(false); }

int MatchAfterStar(const std::string& Pattern, const std::string& Subject) {
  return TMatcher(Pattern, Subject).Run(true);
}

bool IsMatch(const std::string& Pattern, const std::string& Subject) {
  return Match(Pattern, Subject) == wmMatch;
}

}  // namespace zip
