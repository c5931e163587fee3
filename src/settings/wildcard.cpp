#include "settings/wildcard.h"

#include "platform/text.h"

namespace twinex {
namespace {

// Code point of one character as SplitChars hands it out. A byte that is not valid UTF-8 gets
// a value above the Unicode range, so it only ever equals itself.
char32_t CodeOf(std::string_view ch) {
  auto b = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(ch[i])); };
  switch (ch.size()) {
    case 1:
      return b(0) < 0x80 ? b(0) : 0x110000 + b(0);
    case 2:
      return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3:
      return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    case 4:
      return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    default:
      return 0x10FFFF + 0x200;
  }
}

}  // namespace

bool WildcardPattern::Parse(std::string_view pattern) {
  tokens_.clear();
  valid_ = false;
  const std::vector<std::string_view> p = platform::SplitChars(pattern);
  for (std::size_t i = 0; i < p.size(); ++i) {
    const std::string_view c = p[i];
    Token t;
    if (c == "*") {
      if (!tokens_.empty() && tokens_.back().kind == Kind::AnyRun) continue;  // "**" is "*"
      t.kind = Kind::AnyRun;
    } else if (c == "?") {
      t.kind = Kind::AnyOne;
    } else if (c == "#") {
      t.kind = Kind::Digit;
    } else if (c == "[") {
      std::size_t j = i + 1;
      t.kind = Kind::Set;
      if (j < p.size() && p[j] == "!") {
        t.negated = true;
        ++j;
      }
      std::size_t end = j;
      while (end < p.size() && p[end] != "]") ++end;
      if (end == p.size()) return false;  // unclosed list
      for (std::size_t k = j; k < end;) {
        // "-" between two characters makes a range; at either end of the list it is itself.
        if (k + 2 < end && p[k + 1] == "-") {
          Range r{CodeOf(p[k]), CodeOf(p[k + 2])};
          if (r.lo > r.hi) return false;
          t.ranges.push_back(r);
          k += 3;
        } else {
          t.ranges.push_back({CodeOf(p[k]), CodeOf(p[k])});
          ++k;
        }
      }
      i = end;
      if (t.ranges.empty()) {
        if (!t.negated) continue;  // "[]" stands for nothing
        t.kind = Kind::AnyOne;     // "[!]" excludes nothing
      }
    } else {
      t.literal = std::string(c);
    }
    tokens_.push_back(std::move(t));
  }
  valid_ = true;
  return true;
}

bool WildcardPattern::MatchesOne(const Token& t, std::string_view ch) const {
  switch (t.kind) {
    case Kind::Literal:
      return ch == t.literal;
    case Kind::AnyOne:
      return true;
    case Kind::Digit:
      return ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9';
    case Kind::Set: {
      const char32_t code = CodeOf(ch);
      bool in = false;
      for (const Range& r : t.ranges) {
        if (code >= r.lo && code <= r.hi) {
          in = true;
          break;
        }
      }
      return in != t.negated;
    }
    case Kind::AnyRun:
      break;
  }
  return false;
}

bool WildcardPattern::Matches(std::string_view text) const { return Matches(platform::SplitChars(text)); }

bool WildcardPattern::Matches(const std::vector<std::string_view>& s) const {
  if (!valid_) return false;
  // Greedy walk that remembers the last "*" and retries one character further on a mismatch:
  // every token but "*" takes exactly one character, so this is complete and never recurses.
  const std::size_t n = s.size(), m = tokens_.size();
  std::size_t t = 0, p = 0, starP = m, starT = 0;
  while (t < n) {
    if (p < m && tokens_[p].kind == Kind::AnyRun) {
      starP = p++;
      starT = t;
    } else if (p < m && MatchesOne(tokens_[p], s[t])) {
      ++p;
      ++t;
    } else if (starP != m) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < m && tokens_[p].kind == Kind::AnyRun) ++p;
  return p == m;
}

bool WildcardMatch(std::string_view text, std::string_view pattern, bool caseSensitive) {
  WildcardPattern wp;
  if (caseSensitive) {
    wp.Parse(pattern);
    return wp.Matches(text);
  }
  wp.Parse(platform::FoldCase(pattern));
  return wp.Matches(platform::FoldCase(text));
}

bool IsValidWildcardPattern(std::string_view pattern) {
  WildcardPattern wp;
  return wp.Parse(pattern);
}

}  // namespace twinex
