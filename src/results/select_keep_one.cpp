// Which file a keep-one command keeps. Each rule answers "is the candidate strictly better than
// the keeper so far"; the loop scans from the top, so among equal files the topmost stays.
#include <cstdint>

#include "platform/text.h"
#include "results/select_rules.h"

namespace twinex::select_rules {

namespace {

std::int64_t Pixels(const ResultFile& f) { return static_cast<std::int64_t>(f.picW) * static_cast<std::int64_t>(f.picH); }

}  // namespace

bool LaterModified(const ResultFile& c, const ResultFile& k) { return c.dateVal > k.dateVal; }
bool EarlierModified(const ResultFile& c, const ResultFile& k) { return c.dateVal < k.dateVal; }
bool LaterCreated(const ResultFile& c, const ResultFile& k) { return c.dateEval > k.dateEval; }
bool EarlierCreated(const ResultFile& c, const ResultFile& k) { return c.dateEval < k.dateEval; }

// Lengths in characters, as the user reads them, not in bytes.
bool ShorterPath(const ResultFile& c, const ResultFile& k) {
  return platform::CharCount(c.path) < platform::CharCount(k.path);
}
bool LongerPath(const ResultFile& c, const ResultFile& k) {
  return platform::CharCount(c.path) > platform::CharCount(k.path);
}
bool ShorterName(const ResultFile& c, const ResultFile& k) {
  return platform::CharCount(c.dupname) < platform::CharCount(k.dupname);
}
bool LongerName(const ResultFile& c, const ResultFile& k) {
  return platform::CharCount(c.dupname) > platform::CharCount(k.dupname);
}

bool Bigger(const ResultFile& c, const ResultFile& k) { return c.size > k.size; }
bool Smaller(const ResultFile& c, const ResultFile& k) { return c.size < k.size; }

// Equal pixel counts fall back to the larger file (less compression).
bool MoreMegapixels(const ResultFile& c, const ResultFile& k) {
  const std::int64_t pc = Pixels(c), pk = Pixels(k);
  return pc != pk ? pc > pk : c.size > k.size;
}

bool Never(const ResultFile&, const ResultFile&) { return false; }
bool Always(const ResultFile&, const ResultFile&) { return true; }

}  // namespace twinex::select_rules
