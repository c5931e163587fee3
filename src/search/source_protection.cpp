#include "search/source_protection.h"

namespace twinex {

bool SetSourceProtection(Search& search, int sourceNr, bool on) {
  if (sourceNr < 1 || static_cast<std::size_t>(sourceNr) > search.sourceTable.size()) return false;
  search.sourceTable[static_cast<std::size_t>(sourceNr - 1)].fileProtection = on;
  for (ResultGroup& g : search.result.groups)
    for (ResultFile& f : g.files)
      if (f.qnr == sourceNr) f.protectedFile = on;
  return true;
}

}  // namespace twinex
