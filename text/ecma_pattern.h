#pragma once

// Rewrites an ECMAScript (3rd edition) regular expression into PCRE2 syntax with the same
// meaning, for PCRE2 compiled in UTF mode without PCRE2_UCP. Where the two dialects read the
// same text differently the output spells the ECMAScript meaning out:
//  - "." is any character but the line terminators \n, \r, U+2028 and U+2029;
//  - "\s" is white space as ECMAScript has it (Unicode space separators, U+FEFF and the line
//    terminators), "\d" and "\w" stay ASCII;
//  - "^" and "$" become assertions on those four line terminators when multiline is true, and the
//    very start and end of the text otherwise ("$" never matches before a final line feed);
//  - "[]" matches nothing and "[^]" any character;
//  - "\xHH", "\uHHHH", "\cX", "\0" and the other escapes are read as ECMAScript reads them, an
//    unknown escape being the character itself, and "\N" is a back-reference when the pattern has
//    N groups and otherwise an octal escape, as the script engines of the browsers read it;
//  - every literal character is quoted, so PCRE2's own syntax ("(?i)", "(*ACCEPT)", "\Q", "\K",
//    possessive quantifiers) can never be reached from a pattern.
// The output never depends on PCRE2's newline convention.

#include <optional>
#include <string>
#include <string_view>

namespace smsdock {

// The PCRE2 form of pattern, or nothing when pattern is not a valid ECMAScript pattern.
std::optional<std::u16string> EcmaPatternToPcre2(std::u16string_view pattern, bool multiline);

}  // namespace smsdock
