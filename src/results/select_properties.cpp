// Rules on single file properties: similarity and hard links.
#include "results/select_rules.h"

namespace twinex::select_rules {

bool SimilarAtLeast(const ToolContext& c, const ResultGroup&, const ResultFile& f) {
  return f.similar >= c.request.percent;
}

bool SimilarAtMost(const ToolContext& c, const ResultGroup&, const ResultFile& f) {
  return f.similar <= c.request.percent;
}

// "hardlinks" holds the link count only from two links on, so 0 means a file with one name.
bool WithoutHardlinks(const ToolContext&, const ResultGroup&, const ResultFile& f) { return f.hardlinks == 0; }

}  // namespace twinex::select_rules
