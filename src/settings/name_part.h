#pragma once
// The part of a file name that a name comparison looks at: all of it, only its first or last N
// characters, or all but its last or first N. Characters are code points, so a name in any
// script is cut between characters, never inside one.
#include <string>

namespace twinex {

enum NamePartIndex : int {
  kNamePartAll = 0,
  kNamePartFirst = 1,      // keep the first N characters
  kNamePartLast = 2,       // keep the last N characters
  kNamePartDropLast = 3,   // drop the last N characters when the name is longer than N
  kNamePartDropFirst = 4,  // drop the first N characters when the name is longer than N
};

// A negative count or an unknown part leaves the name whole.
std::string CutNamePart(std::string name, int part, long long count);

}  // namespace twinex
