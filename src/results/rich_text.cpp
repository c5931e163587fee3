// Rich-text twins of cell texts, escaped on UTF-16 code units so that characters beyond the
// basic plane come out as two \u escapes, as rich-text readers expect.
#include <cstdio>
#include <string>

#include "platform/text.h"
#include "results/result_tree.h"

namespace twinex {

std::string ToRichText(std::string_view text) {
  if (text.empty()) return {};
  const std::u16string units = platform::Utf8ToUtf16(text);
  std::string out = "{\\rtf1\\uc1 ";
  out.reserve(out.size() + units.size() + 1);
  char buf[16];
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t c = units[i];
    if (c == u'\\' || c == u'{' || c == u'}') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c == u'\r') {
      out += "\\line ";
      if (i + 1 < units.size() && units[i + 1] == u'\n') ++i;
    } else if (c < 32 || (c >= 128 && c <= 255)) {
      std::snprintf(buf, sizeof buf, "\\'%02x", static_cast<unsigned>(c));
      out += buf;
    } else if (c > 255) {
      std::snprintf(buf, sizeof buf, "\\u%d?", static_cast<int>(static_cast<std::int16_t>(c)));
      out += buf;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  out.push_back('}');
  return out;
}

}  // namespace twinex
