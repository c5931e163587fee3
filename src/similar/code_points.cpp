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

namespace {

// Letters (either case: a name is compared either folded or upper-cased) and digits get a bit
// each; other ASCII characters share 12 bits and all other characters 16.
unsigned MaskBit(char32_t c) {
  if (c >= U'a' && c <= U'z') return static_cast<unsigned>(c - U'a');
  if (c >= U'A' && c <= U'Z') return static_cast<unsigned>(c - U'A');
  if (c >= U'0' && c <= U'9') return 26 + static_cast<unsigned>(c - U'0');
  if (c < 128) return 36 + static_cast<unsigned>(c) % 12;
  return 48 + ((static_cast<std::uint32_t>(c) * 0x9E3779B1u) >> 28);
}

}  // namespace

std::uint64_t CharacterMask(Chars s) {
  std::uint64_t mask = 0;
  for (char32_t c : s) mask |= std::uint64_t{1} << MaskBit(c);
  return mask;
}

}  // namespace twinex::similar
