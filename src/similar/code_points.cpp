#include "similar/code_points.h"

#include <utf8proc.h>

namespace twinex::similar {

std::u32string ToCodePoints(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out.push_back(c);
      ++i;
      continue;
    }
    utf8proc_int32_t cp = 0;
    auto len = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(s.data() + i),
                                static_cast<utf8proc_ssize_t>(s.size() - i), &cp);
    if (len > 0) {
      out.push_back(static_cast<char32_t>(cp));
      i += static_cast<std::size_t>(len);
    } else {
      out.push_back(static_cast<char32_t>(0xDC00 + c));
      ++i;
    }
  }
  return out;
}

std::uint64_t CharacterMask(Chars s) {
  std::uint64_t mask = 0;
  for (char32_t c : s) {
    // Letters and digits of one script sit side by side, so the low bits spread them well.
    std::uint32_t v = static_cast<std::uint32_t>(c);
    mask |= std::uint64_t{1} << ((v ^ (v >> 6)) & 63);
  }
  return mask;
}

}  // namespace twinex::similar
