#pragma once
// File protection of a result's source folders: a protected folder's files are never selected
// by a selection command and are refused by every file action.
#include "search/search.h"

namespace twinex {

// Switches the protection of source folder `sourceNr` (1-based) and of every file row found
// under it; false for a number the result does not have.
bool SetSourceProtection(Search& search, int sourceNr, bool on);

}  // namespace twinex
