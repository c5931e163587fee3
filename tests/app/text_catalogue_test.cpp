// Every text number used in the sources carries one German text and has its English entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/ini_file.h"
#include "platform/text_file.h"
#include "settings/language.h"

namespace twinex {
namespace {

namespace fs = std::filesystem;

struct Use {
  std::string german;
  std::string place;
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// One C string literal at `at` (which holds the opening quote); escapes are resolved.
bool ReadLiteral(const std::string& s, std::size_t& at, std::string& out) {
  if (at >= s.size() || s[at] != '"') return false;
  for (++at; at < s.size() && s[at] != '"'; ++at) {
    if (s[at] == '\n') return false;
    if (s[at] != '\\' || at + 1 >= s.size()) {
      out += s[at];
      continue;
    }
    char e = s[++at];
    if (e == 'x') {
      std::size_t end = at + 1;
      while (end < s.size() && std::isxdigit(static_cast<unsigned char>(s[end]))) ++end;
      out += static_cast<char>(std::stoi(s.substr(at + 1, end - at - 1), nullptr, 16));
      at = end - 1;
    } else {
      out += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
    }
  }
  if (at >= s.size()) return false;
  ++at;
  return true;
}

// After a "z_Translate(" or "TextRef [name]{" at `at`: the number and the literal(s) behind it.
bool ReadUse(const std::string& s, std::size_t at, int& number, std::string& german) {
  while (at < s.size() && IsSpace(s[at])) ++at;
  std::size_t digits = at;
  while (at < s.size() && std::isdigit(static_cast<unsigned char>(s[at]))) ++at;
  if (at == digits || at - digits > 9) return false;
  number = std::stoi(s.substr(digits, at - digits));
  while (at < s.size() && IsSpace(s[at])) ++at;
  if (at >= s.size() || s[at++] != ',') return false;
  bool any = false;
  for (;;) {
    while (at < s.size() && IsSpace(s[at])) ++at;
    if (at >= s.size() || s[at] != '"') break;
    if (!ReadLiteral(s, at, german)) return false;
    any = true;
  }
  return any;
}

std::map<int, std::vector<Use>> ScanSources() {
  std::map<int, std::vector<Use>> uses;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(TWINEX_SOURCE_DIR) / "src")) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string s = buffer.str();
    auto record = [&](std::size_t after, std::size_t at) {
      int number = 0;
      std::string german;
      if (!ReadUse(s, after, number, german)) return;
      std::size_t line = 1 + static_cast<std::size_t>(std::count(s.begin(), s.begin() + static_cast<long>(at), '\n'));
      uses[number].push_back({german, fs::relative(entry.path(), TWINEX_SOURCE_DIR).string() + ":" + std::to_string(line)});
    };
    for (std::size_t at = s.find("z_Translate("); at != std::string::npos; at = s.find("z_Translate(", at + 1))
      record(at + 12, at);
    for (std::size_t at = s.find("TextRef"); at != std::string::npos; at = s.find("TextRef", at + 1)) {
      std::size_t p = at + 7;
      while (p < s.size() && IsSpace(s[p])) ++p;
      while (p < s.size() && (std::isalnum(static_cast<unsigned char>(s[p])) || s[p] == '_')) ++p;
      while (p < s.size() && IsSpace(s[p])) ++p;
      if (p < s.size() && s[p] == '{') record(p + 1, at);
    }
  }
  return uses;
}

std::map<int, std::string> EnglishEntries() {
  std::string bytes;
  EXPECT_TRUE(platform::ReadWholeFile(std::string(TWINEX_SOURCE_DIR) + "/lang/lang_eng.txt", bytes));
  LanguageFile file = ParseLanguageFile(platform::DecodeTextFile(bytes));
  EXPECT_FALSE(file.translator.empty()) << "lang_eng.txt needs its \"# Translator:\" line";
  std::map<int, std::string> entries;
  for (auto& [no, text] : file.entries) entries.emplace(no, text);
  return entries;
}

// "%1".."%9" and "%!" of a text, so that a translation keeps every parameter.
std::multiset<std::string> Placeholders(const std::string& text) {
  std::multiset<std::string> out;
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '%' && (text[i + 1] == '!' || std::isdigit(static_cast<unsigned char>(text[i + 1]))))
      out.insert(text.substr(i, 2));
  return out;
}

std::string OneLine(std::string s) {
  for (std::size_t p; (p = s.find('\n')) != std::string::npos;) s.replace(p, 1, "\\n");
  return s;
}

TEST(TextCatalogue, SourcesAreFoundAndEachNumberHasOneGermanText) {
  const auto uses = ScanSources();
  ASSERT_GT(uses.size(), 100u) << "the scan found too few texts; is TWINEX_SOURCE_DIR right?";
  ASSERT_TRUE(uses.count(12011)) << "a TextRef{...} in a function call is found";
  ASSERT_TRUE(uses.count(12010)) << "a named TextRef constant is found";
  std::string conflicts;
  for (const auto& [no, list] : uses)
    for (const Use& u : list)
      if (u.german != list.front().german)
        conflicts += std::to_string(no) + ": \"" + OneLine(list.front().german) + "\" (" + list.front().place +
                     ") / \"" + OneLine(u.german) + "\" (" + u.place + ")\n";
  EXPECT_TRUE(conflicts.empty()) << "numbers with two German texts:\n" << conflicts;
}

TEST(TextCatalogue, EveryNumberHasAnEnglishEntryWithTheSameParameters) {
  const auto uses = ScanSources();
  const auto english = EnglishEntries();
  std::string missing, parameters;
  for (const auto& [no, list] : uses) {
    auto it = english.find(no);
    if (it == english.end()) {
      missing += "# " + OneLine(list.front().german) + "\n" + std::to_string(no) + ",\"\"\n";
    } else if (Placeholders(it->second) != Placeholders(list.front().german)) {
      parameters += std::to_string(no) + ": \"" + OneLine(list.front().german) + "\" -> \"" + it->second + "\"\n";
    }
  }
  EXPECT_TRUE(missing.empty()) << "lang/lang_eng.txt lacks these numbers (scripts/lang-missing lists them too):\n"
                               << missing;
  EXPECT_TRUE(parameters.empty()) << "English entries whose parameters differ from the German text:\n" << parameters;
}

}  // namespace
}  // namespace twinex
