#include "search/tag_cuts.h"

#include "search/search.h"

namespace twinex {

bool ApplyTagCuts(Search&, long) { return true; }

}  // namespace twinex
