#include "settings/name_part.h"

#include <algorithm>

#include "platform/text.h"

namespace twinex {

std::string CutNamePart(std::string name, int part, long long count) {
  if (part == kNamePartAll || count < 0) return name;
  auto chars = platform::SplitChars(name);
  std::size_t total = chars.size(), n = static_cast<std::size_t>(count);
  std::size_t from = 0, to = total;
  switch (part) {
    case kNamePartFirst: to = std::min(n, total); break;
    case kNamePartLast: from = total > n ? total - n : 0; break;
    case kNamePartDropLast: if (total > n) to = total - n; break;
    case kNamePartDropFirst: if (total > n) from = n; break;
    default: return name;
  }
  std::string out;
  for (std::size_t i = from; i < to; ++i) out += chars[i];
  return out;
}

}  // namespace twinex
