// File-name wildcards: "*" (any run, also across "/"), "?" (one character) and
// bracketed sets ("[a-c]", "[!x]", "[^x]"), ignoring the case of ASCII letters.
// Match tells why a subject failed through a result code.
#pragma once

#include <string>

namespace zip {

enum : int {
  wmMatch = 1,             // the subject matches the pattern
  wmPatternEnded = 2,      // the pattern ended before the subject
  wmSubjectEnded = 3,      // the subject ended before the pattern
  wmSetRejected = 4,       // a character set did not accept the subject character
  wmLiteralDiffers = 5,    // a literal pattern character differs from the subject character
  wmMalformedSet = 6,      // empty set, missing "]" or a range without upper end
};

bool IsMatch(const std::string& Pattern, const std::string& Subject);
int Match(const std::string& Pattern, const std::string& Subject);
// The match from a leading "*" of Pattern on; 0 when no subject position offered a candidate.
int MatchAfterStar(const std::string& Pattern, const std::string& Subject);

}  // namespace zip
