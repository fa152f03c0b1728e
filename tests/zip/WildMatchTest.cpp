#include "install/zip/WildMatch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TCase {
  const char* Pattern;
  const char* Subject;
  int Result;
};

TEST(WildMatch, ResultCodes) {
  const TCase Cases[] = {
      {"*.gif", "anim.GIF", 1},  {"*.gif", "a.gif.txt", 5}, {"*", "", 1},
      {"a*", "a", 1},            {"*x", "axbx", 1},         {"*a*", "banana", 1},
      {"a?c", "abc", 1},         {"a?c", "ac", 3},          {"ab", "abc", 2},
      {"[a-c]x", "bx", 1},       {"[!a-c]x", "bx", 4},      {"[^a-c]x", "dx", 1},
      {"[]x", "x", 6},           {"[abc", "a", 6},          {"[a-", "a", 6},
      {"[z-a]", "m", 4},         {"[a]", "A", 1},           {"*.*", "readme", 5},
      {"*.", "readme.", 1},      {"*?", "ab", 1},           {"anim\\*.gif", "anim\\a.gif", 1},
      // Where a star must give back what it took.
      {"*?", "abc", 1},          {"*?*", "a", 1},           {"a**", "a", 1},
      {"*??", "a", 3},           {"*", "dir/sub/file", 1},  {"d*/f*", "dir/sub/file", 1},
      {"[ab]", "b", 1},          {"[a-]", "a", 6},          {"a[bc]d", "acd", 1},
      {"?", "", 3},              {"", "", 1},               {"", "a", 2},
      {"*.GIF", "X.gif", 1},     {"\xC4*", "\xE4x", 5},     {"*x*y", "xxxxy", 1},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Pattern) + " / " + C.Subject);
    EXPECT_EQ(zip::Match(C.Pattern, C.Subject), C.Result);
    EXPECT_EQ(zip::IsMatch(C.Pattern, C.Subject), C.Result == 1);
  }
}

TEST(WildMatch, MatchAfterStarReportsNoCandidate) {
  EXPECT_EQ(zip::MatchAfterStar("*x", "abc"), 0);
  EXPECT_EQ(zip::MatchAfterStar("*c", "abc"), 1);
  EXPECT_EQ(zip::MatchAfterStar("*", ""), 1);
  EXPECT_EQ(zip::MatchAfterStar("*a", ""), 3);
}

TEST(WildMatch, ManyStarsDoNotBacktrackExponentially) {
  const std::string Pattern = "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b";
  const std::string Subject(1000, 'a');
  EXPECT_FALSE(zip::IsMatch(Pattern, Subject));
  EXPECT_TRUE(zip::IsMatch(Pattern, Subject + "b"));
}

TEST(WildMatch, LongestNamesGiveTheSameCodes) {
  const std::string Long(65535, 'a');
  const TCase Cases[] = {
      {"*a*a*b", Long.c_str(), 3},      {"*a*a*a", Long.c_str(), 1}, {"a*[b-c]", Long.c_str(), 4},
      {"*?", Long.c_str(), 1},          {"?*b", Long.c_str(), 5},    {"*x*", Long.c_str(), 5},
      {"a*a?[!b]", Long.c_str(), 1},    {"[a]*[", Long.c_str(), 6},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Pattern);
    EXPECT_EQ(zip::Match(C.Pattern, C.Subject), C.Result);
  }
  EXPECT_EQ(zip::Match("*a*a*b", Long + "b"), 1);
  EXPECT_EQ(zip::MatchAfterStar("*a*a*b", Long), 3);
}

}  // namespace
