#pragma once
// Wildcard patterns of the filters: "*" any run of characters, "?" one character, "#" one
// digit, "[list]" / "[!list]" one character of (or not of) the list, with ranges "a-z".
// Characters, not bytes, are matched, so "?" takes one "ä".
#include <string>
#include <string_view>
#include <vector>

namespace twinex {

class WildcardPattern {
 public:
  // False for a malformed pattern (an unclosed "[" or a reversed range such as "[z-a]"); the
  // pattern then matches nothing.
  bool Parse(std::string_view pattern);
  bool valid() const { return valid_; }

  // Exact-case match; callers that ignore case fold both sides first.
  bool Matches(std::string_view text) const;
  bool Matches(const std::vector<std::string_view>& textChars) const;

 private:
  struct Range {
    char32_t lo;
    char32_t hi;
  };
  enum class Kind { Literal, AnyOne, AnyRun, Digit, Set };
  struct Token {
    Kind kind = Kind::Literal;
    std::string literal;  // one character (its UTF-8 bytes)
    bool negated = false;
    std::vector<Range> ranges;
  };
  bool MatchesOne(const Token& t, std::string_view ch) const;

  std::vector<Token> tokens_;
  bool valid_ = false;
};

// Wildcard fitting of one text; case-insensitive compares Unicode-folded characters.
bool WildcardMatch(std::string_view text, std::string_view pattern, bool caseSensitive);
// False when the pattern is malformed (an unclosed "[" or a reversed range such as "[z-a]").
bool IsValidWildcardPattern(std::string_view pattern);

}  // namespace twinex
