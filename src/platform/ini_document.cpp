#include "platform/ini_document.h"

#include <algorithm>

#include "platform/text.h"

namespace twinex::platform {
namespace {

// The section name of a header line ("[name]" after optional blanks), or nullopt.
std::optional<std::string> HeaderName(std::string_view line) {
  std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos || line[start] != '[') return std::nullopt;
  std::size_t close = line.find(']', start);
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(start + 1, close - start - 1));
}

std::string FoldedName(std::string_view name) { return FoldCase(Trim(name)); }

std::string ValueOf(std::string_view keyLine) {
  std::string v = Trim(keyLine.substr(keyLine.find('=') + 1));
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  return v;
}

std::string KeyOf(std::string_view keyLine) { return Trim(keyLine.substr(0, keyLine.find('='))); }

}  // namespace

IniDocument::Line IniDocument::MakeLine(std::string text) {
  Line l;
  std::size_t start = text.find_first_not_of(" \t");
  // A line without "=" is kept but never matched; ";" starts a comment.
  if (start != std::string::npos && text[start] != ';' && text.find('=') != std::string::npos) {
    l.isKey = true;
    l.foldedKey = FoldCase(KeyOf(text));
  }
  l.text = std::move(text);
  return l;
}

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  doc.sections_.emplace_back();  // lines above the first header
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    if (end == std::string_view::npos) {
      pos = text.size();
    } else {
      pos = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    if (auto name = HeaderName(line)) {
      Section s;
      s.foldedName = FoldCase(*name);
      s.hasHeader = true;
      s.header = std::string(line);
      doc.sections_.push_back(std::move(s));
    } else {
      doc.sections_.back().lines.push_back(MakeLine(std::string(line)));
    }
  }
  return doc;
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const Section& s : sections_) {
    if (s.hasHeader) out += s.header + "\r\n";
    for (const Line& l : s.lines) out += l.text + "\r\n";
  }
  return out;
}

template <typename Self>
auto* IniDocument::Find(Self& self, std::string_view section, std::string_view key) {
  decltype(&self.sections_[0].lines[0]) found = nullptr;
  for (auto& s : self.sections_) {
    if (!s.hasHeader || s.foldedName != section) continue;
    for (auto& l : s.lines)
      if (l.isKey && l.foldedKey == key) return found = &l;
  }
  return found;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const Line* l = Find(*this, FoldedName(section), FoldedName(key));
  if (!l) return std::nullopt;
  return ValueOf(l->text);
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
  std::string folded = FoldedName(section);
  std::vector<std::string> keys;
  std::vector<std::string_view> seen;
  for (const Section& s : sections_) {
    if (!s.hasHeader || s.foldedName != folded) continue;
    for (const Line& l : s.lines) {
      if (!l.isKey || std::find(seen.begin(), seen.end(), l.foldedKey) != seen.end()) continue;
      seen.push_back(l.foldedKey);
      keys.push_back(KeyOf(l.text));
    }
  }
  return keys;
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string foldedSection = FoldedName(section);
  std::string foldedKey = FoldedName(key);
  if (Line* found = Find(*this, foldedSection, foldedKey)) {
    Line& line = *found;
    // The stored spelling of the key stays, so rewriting a value does not churn the file.
    std::string text = KeyOf(line.text) + "=" + std::string(value);
    if (text == line.text) return false;
    line.text = std::move(text);
    return true;
  }
  std::string text = Trim(key) + "=" + std::string(value);
  for (Section& s : sections_) {
    if (!s.hasHeader || s.foldedName != foldedSection) continue;
    std::size_t at = s.lines.size();
    while (at > 0 && Trim(s.lines[at - 1].text).empty()) --at;
    s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), MakeLine(std::move(text)));
    return true;
  }
  Section s;
  s.foldedName = foldedSection;
  s.hasHeader = true;
  s.header = "[" + Trim(section) + "]";
  s.lines.push_back(MakeLine(std::move(text)));
  sections_.push_back(std::move(s));
  return true;
}

bool IniDocument::RemoveSection(std::string_view section) {
  std::string folded = FoldedName(section);
  std::size_t before = sections_.size();
  std::erase_if(sections_, [&](const Section& s) { return s.hasHeader && s.foldedName == folded; });
  return sections_.size() != before;
}

}  // namespace twinex::platform
