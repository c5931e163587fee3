#include "similar/name_measures.h"

#include <algorithm>

namespace twinex::similar {
namespace {

// Marks a place in a working copy that a found gram has used up; no code point has this value.
constexpr char32_t kUsed = 0xFFFFFFFF;

template <typename T>
void Fill(std::vector<T>& v, std::size_t n, T value) {
  v.assign(n, value);
}

// Forward scan: each character of s is looked for in t within the next four places after the
// last match (1-based places, as the scan was first written).
void FuzzyScan(Chars s, Chars t, std::size_t& matches, std::size_t& total) {
  total += s.size();
  std::size_t pos = 0;
  for (char32_t c : s) {
    std::size_t q = pos < t.size() ? t.find(c, pos) : Chars::npos;
    if (q != Chars::npos && q + 1 <= pos + 4) {
      ++matches;
      pos = q + 1;
    } else {
      ++pos;
    }
  }
}

// Grams of length 2 .. len s, cut from s side by side, each found at most once in t.
void FuzzyGrams(Chars s, Chars t, std::size_t& matches, std::size_t& total, std::vector<char32_t>& copy) {
  for (std::size_t g = 2; g <= s.size(); ++g) {
    copy.assign(t.begin(), t.end());
    Chars work(copy.data(), copy.size());
    total += s.size() / g;
    for (std::size_t start = 0; start + g <= s.size(); start += g) {
      std::size_t p = work.find(s.substr(start, g));
      if (p == Chars::npos) continue;
      ++matches;
      std::fill(copy.begin() + static_cast<std::ptrdiff_t>(p), copy.begin() + static_cast<std::ptrdiff_t>(p + g), kUsed);
    }
  }
}

}  // namespace

std::size_t EditDistance(Chars a, Chars b, MeasureWorkspace& ws) {
  auto& prev = ws.prev;
  auto& row = ws.row;
  prev.resize(b.size() + 1);
  row.resize(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) prev[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      std::size_t substitute = prev[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      row[j] = std::min({prev[j] + 1, row[j - 1] + 1, substitute});
    }
    std::swap(prev, row);
  }
  return prev[b.size()];
}

double Levenshtein(Chars a, Chars b, MeasureWorkspace& ws) {
  if (a.empty() || b.empty()) return 0.0;
  double longer = static_cast<double>(std::max(a.size(), b.size()));
  return 1.0 - static_cast<double>(EditDistance(a, b, ws)) / longer;
}

std::size_t RatcliffMatches(Chars a, Chars b, MeasureWorkspace& ws) {
  std::size_t matched = 0;
  ws.ranges.clear();
  ws.ranges.push_back({0, a.size(), 0, b.size()});
  while (!ws.ranges.empty()) {
    auto [a0, a1, b0, b1] = ws.ranges.back();
    ws.ranges.pop_back();
    if (a0 >= a1 || b0 >= b1) continue;
    // run[j] = length of the common run ending at a[i], b[j]; the first longest one wins.
    std::size_t width = b1 - b0;
    Fill(ws.prev, width + 1, std::size_t{0});
    ws.row.resize(width + 1);
    ws.row[0] = 0;
    std::size_t best = 0, bestA = 0, bestB = 0;
    for (std::size_t i = a0; i < a1; ++i) {
      for (std::size_t j = 1; j <= width; ++j) {
        std::size_t run = a[i] == b[b0 + j - 1] ? ws.prev[j - 1] + 1 : 0;
        ws.row[j] = run;
        if (run > best) {
          best = run;
          bestA = i + 1 - run;
          bestB = b0 + j - run;
        }
      }
      std::swap(ws.prev, ws.row);
    }
    if (best == 0) continue;
    matched += best;
    ws.ranges.push_back({a0, bestA, b0, bestB});
    ws.ranges.push_back({bestA + best, a1, bestB + best, b1});
  }
  return matched;
}

double Ratcliff(Chars a, Chars b, MeasureWorkspace& ws) {
  if (a.empty() || b.empty()) return 0.0;
  if (a == b) return 1.0;
  return 2.0 * static_cast<double>(RatcliffMatches(a, b, ws)) / static_cast<double>(a.size() + b.size());
}

double FuzzyMatch(Chars a, Chars b, MeasureWorkspace& ws) {
  if (a.empty() || b.empty()) return 0.0;
  Chars s = a.size() > b.size() ? a : b;
  Chars t = a.size() > b.size() ? b : a;
  Fill(ws.flagsB, t.size(), static_cast<unsigned char>(0));
  double length = static_cast<double>(s.size());
  double score = 0.0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    for (std::size_t p = 0; p < t.size(); ++p) {
      if (ws.flagsB[p] || t[p] != s[i]) continue;
      ws.flagsB[p] = 1;
      double gap = static_cast<double>(p > i ? p - i : i - p);
      score += 1.0 - gap / length;
      break;
    }
  }
  return score / length;
}

double MatchDiff(Chars a, Chars b, MeasureWorkspace& ws) {
  if (a.empty() || b.empty()) return 0.0;
  ws.copyA.assign(a.begin(), a.end());
  ws.copyB.assign(b.begin(), b.end());
  std::sort(ws.copyA.begin(), ws.copyA.end());
  std::sort(ws.copyB.begin(), ws.copyB.end());
  std::size_t common = 0;
  for (std::size_t i = 0, j = 0; i < ws.copyA.size() && j < ws.copyB.size();) {
    if (ws.copyA[i] < ws.copyB[j]) {
      ++i;
    } else if (ws.copyB[j] < ws.copyA[i]) {
      ++j;
    } else {
      ++common, ++i, ++j;
    }
  }
  double both = static_cast<double>(a.size() + b.size());
  return 1.0 - static_cast<double>(a.size() + b.size() - 2 * common) / both;
}

double WordMatch(std::span<const std::uint32_t> a, std::span<const std::uint32_t> b) {
  if (a.empty() || b.empty()) return 0.0;
  std::size_t matched = 0;
  for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
    if (a[i] < b[j]) {
      ++i;
    } else if (b[j] < a[i]) {
      ++j;
    } else {
      ++matched, ++i, ++j;
    }
  }
  return static_cast<double>(matched) / static_cast<double>(std::max(a.size(), b.size()));
}

double FuzzyPercent(Chars a, Chars b, MeasureWorkspace& ws) {
  if (a.empty() || b.empty()) return 0.0;
  if (a == b) return 1.0;
  if (a.size() < 2) return 0.0;
  std::size_t matches = 0, total = 0;
  FuzzyScan(a, b, matches, total);
  FuzzyGrams(a, b, matches, total, ws.copyA);
  if (a.size() < b.size()) {
    FuzzyScan(b, a, matches, total);
    FuzzyGrams(b, a, matches, total, ws.copyA);
  }
  return static_cast<double>(matches) / static_cast<double>(total);
}

double JaroWinkler(Chars a, Chars b, MeasureWorkspace& ws) {
  if (a.empty() || b.empty()) return 0.0;
  std::size_t longer = std::max(a.size(), b.size());
  std::size_t window = longer / 2 > 0 ? longer / 2 - 1 : 0;
  Fill(ws.flagsA, a.size(), static_cast<unsigned char>(0));
  Fill(ws.flagsB, b.size(), static_cast<unsigned char>(0));
  std::size_t m = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    std::size_t lo = i > window ? i - window : 0;
    std::size_t hi = std::min(b.size(), i + window + 1);
    for (std::size_t j = lo; j < hi; ++j) {
      if (ws.flagsB[j] || b[j] != a[i]) continue;
      ws.flagsA[i] = ws.flagsB[j] = 1;
      ++m;
      break;
    }
  }
  if (m == 0) return 0.0;
  std::size_t halfTranspositions = 0;
  for (std::size_t i = 0, k = 0; i < a.size(); ++i) {
    if (!ws.flagsA[i]) continue;
    while (!ws.flagsB[k]) ++k;
    if (a[i] != b[k]) ++halfTranspositions;
    ++k;
  }
  double md = static_cast<double>(m);
  double jaro = (md / static_cast<double>(a.size()) + md / static_cast<double>(b.size()) +
                 (md - static_cast<double>(halfTranspositions) / 2.0) / md) / 3.0;
  std::size_t prefix = 0;
  while (prefix < 4 && prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
  return jaro + static_cast<double>(prefix) * 0.1 * (1.0 - jaro);
}

void BitParallelPattern::Set(Chars pattern) {
  ascii_.fill(0);
  others_.clear();
  length_ = pattern.size();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    std::uint64_t bit = std::uint64_t{1} << i;
    char32_t c = pattern[i];
    if (c < 128) {
      ascii_[c] |= bit;
      continue;
    }
    auto it = std::find_if(others_.begin(), others_.end(), [c](const auto& e) { return e.first == c; });
    if (it == others_.end()) {
      others_.emplace_back(c, bit);
    } else {
      it->second |= bit;
    }
  }
}

std::uint64_t BitParallelPattern::MaskOf(char32_t c) const {
  if (c < 128) return ascii_[c];
  for (const auto& [ch, mask] : others_) {
    if (ch == c) return mask;
  }
  return 0;
}

// Myers' bit-vector algorithm in Hyyrö's form for the distance of the whole pattern to the
// whole text: the columns of the classic table kept as +1/-1 vertical deltas.
std::size_t BitParallelPattern::Distance(Chars text) const {
  if (length_ == 0) return text.size();
  std::uint64_t pv = ~std::uint64_t{0}, mv = 0;
  const std::uint64_t last = std::uint64_t{1} << (length_ - 1);
  std::size_t score = length_;
  for (char32_t c : text) {
    std::uint64_t eq = MaskOf(c);
    std::uint64_t xv = eq | mv;
    std::uint64_t xh = (((eq & pv) + pv) ^ pv) | eq;
    std::uint64_t ph = mv | ~(xh | pv);
    std::uint64_t mh = pv & xh;
    if (ph & last) ++score;
    if (mh & last) --score;
    ph = (ph << 1) | 1;  // the first row grows by one per text character
    mh <<= 1;
    pv = mh | ~(xv | ph);
    mv = ph & xv;
  }
  return score;
}

}  // namespace twinex::similar
