#include "platform/text.h"

#include <utf8proc.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace twinex::platform {
namespace {

// Reads one code point at s[i]; returns its length, or 0 for an invalid byte.
std::size_t NextCodePoint(std::string_view s, std::size_t i, utf8proc_int32_t& cp) {
  auto len = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(s.data() + i),
                              static_cast<utf8proc_ssize_t>(s.size() - i), &cp);
  return len > 0 ? static_cast<std::size_t>(len) : 0;
}

void AppendCodePoint(std::string& out, utf8proc_int32_t cp) {
  utf8proc_uint8_t buf[4];
  auto n = utf8proc_encode_char(cp, buf);
  out.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(n));
}

template <typename Fn>
std::string MapChars(std::string_view s, Fn fn) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {  // ASCII fast path
      fn(out, static_cast<utf8proc_int32_t>(c));
      ++i;
      continue;
    }
    utf8proc_int32_t cp;
    std::size_t len = NextCodePoint(s, i, cp);
    if (len == 0) {
      out.push_back(s[i]);
      ++i;
    } else {
      fn(out, cp);
      i += len;
    }
  }
  return out;
}

}  // namespace

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      ++i;
      continue;
    }
    utf8proc_int32_t cp;
    std::size_t len = NextCodePoint(s, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    utf8proc_int32_t cp;
    std::size_t len = NextCodePoint(s, i, cp);
    if (len == 0) {
      cp = 0xFFFD;
      len = 1;
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    utf8proc_int32_t cp = s[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;  // lone surrogate
    }
    AppendCodePoint(out, cp);
  }
  return out;
}

std::string EncodeUtf16LE(std::string_view utf8, bool withBom) {
  std::u16string u = Utf8ToUtf16(utf8);
  std::string out;
  out.reserve(u.size() * 2 + 2);
  if (withBom) out += "\xFF\xFE";
  for (char16_t c : u) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

static std::string DecodeUtf16(std::string_view bytes, bool little) {
  std::u16string u;
  u.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    auto lo = static_cast<unsigned char>(bytes[little ? i : i + 1]);
    auto hi = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
    u.push_back(static_cast<char16_t>(lo | (hi << 8)));
  }
  if (!u.empty() && u[0] == 0xFEFF) u.erase(0, 1);
  return Utf16ToUtf8(u);
}

std::string DecodeUtf16LE(std::string_view bytes) { return DecodeUtf16(bytes, true); }
std::string DecodeUtf16BE(std::string_view bytes) { return DecodeUtf16(bytes, false); }

std::string FoldCase(std::string_view s) {
  return MapChars(s, [](std::string& out, utf8proc_int32_t cp) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp >= 'A' && cp <= 'Z' ? cp + 32 : cp));
      return;
    }
    utf8proc_int32_t buf[8];
    int last = 0;
    auto n = utf8proc_decompose_char(cp, buf, 8, UTF8PROC_CASEFOLD, &last);
    if (n <= 0) {
      AppendCodePoint(out, cp);
      return;
    }
    for (utf8proc_ssize_t k = 0; k < n && k < 8; ++k) AppendCodePoint(out, buf[k]);
  });
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() == b.size() && a == b) return true;
  return FoldCase(a) == FoldCase(b);
}

std::string LowerCase(std::string_view s) {
  return MapChars(s, [](std::string& out, utf8proc_int32_t cp) { AppendCodePoint(out, utf8proc_tolower(cp)); });
}

std::string UpperCase(std::string_view s) {
  return MapChars(s, [](std::string& out, utf8proc_int32_t cp) { AppendCodePoint(out, utf8proc_toupper(cp)); });
}

std::string DisplayText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    utf8proc_int32_t cp;
    std::size_t len = NextCodePoint(s, i, cp);
    if (len == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out.append(s.substr(i, len));
      i += len;
    }
  }
  return out;
}

std::vector<std::string_view> SplitChars(std::string_view s) {
  std::vector<std::string_view> out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    std::size_t len = 1;
    if (static_cast<unsigned char>(s[i]) >= 0x80) {
      utf8proc_int32_t cp;
      len = NextCodePoint(s, i, cp);
      if (len == 0) len = 1;
    }
    out.push_back(s.substr(i, len));
    i += len;
  }
  return out;
}

std::size_t CharCount(std::string_view s) { return SplitChars(s).size(); }

std::string Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return std::string(s.substr(b, e - b));
}

std::vector<std::string> Split(std::string_view s, char sep) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    std::size_t p = s.find(sep, start);
    out.emplace_back(s.substr(start, p == std::string_view::npos ? std::string_view::npos : p - start));
    if (p == std::string_view::npos) break;
    start = p + 1;
  }
  return out;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }
bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::string ReplaceAll(std::string s, std::string_view from, std::string_view to) {
  if (from.empty()) return s;
  std::size_t pos = 0;
  while ((pos = s.find(from, pos)) != std::string::npos) {
    s.replace(pos, from.size(), to);
    pos += to.size();
  }
  return s;
}

bool ParseLong(std::string_view s, long long& out) {
  std::string t = Trim(s);
  if (t.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(t.c_str(), &end, 10);
  if (errno != 0 || end == t.c_str() || *end != '\0') return false;
  out = v;
  return true;
}

bool ParseDouble(std::string_view s, double& out) {
  std::string t = Trim(s);
  if (t.empty()) return false;
  for (char& c : t)
    if (c == ',') c = '.';
  // from_chars ignores the locale, so a user's LC_NUMERIC never changes what a stored value means.
  const char* b = t.c_str();
  if (*b == '+' && b[1] != '-') ++b;
  double v = 0;
  auto [ptr, ec] = std::from_chars(b, t.c_str() + t.size(), v);
  // "inf" and "nan" parse as numbers but are no stored value's meaning.
  if (ec != std::errc() || ptr != t.c_str() + t.size() || !std::isfinite(v)) return false;
  out = v;
  return true;
}

const char* MarkupEntity(char c) {
  switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case '\'': return "&#39;";
    default: return nullptr;
  }
}

std::string EscapeMarkup(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    if (const char* entity = MarkupEntity(c))
      out += entity;
    else
      out.push_back(c);
  }
  return out;
}

}  // namespace twinex::platform
