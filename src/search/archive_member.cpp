#include "search/archive_reader.h"

namespace twinex {

std::uint32_t MemberAttributes(bool readOnly, std::string_view name) {
  constexpr std::uint32_t kReadOnly = 0x1, kHidden = 0x2, kNormal = 0x80;
  const std::uint32_t bits = (readOnly ? kReadOnly : 0) | (!name.empty() && name[0] == '.' ? kHidden : 0);
  return bits == 0 ? kNormal : bits;
}

void SplitInnerPath(std::string_view inner, std::string& folder, std::string& name) {
  std::string path(inner);
  for (char& c : path)
    if (c == '\\') c = '/';
  std::size_t start = 0;
  while (start < path.size()) {
    if (path[start] == '/') {
      ++start;
    } else if (path.compare(start, 2, "./") == 0) {
      start += 2;
    } else {
      break;
    }
  }
  path.erase(0, start);
  while (!path.empty() && path.back() == '/') path.pop_back();
  const std::size_t slash = path.rfind('/');
  folder = slash == std::string::npos ? "" : path.substr(0, slash);
  name = slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace twinex
