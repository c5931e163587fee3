#pragma once
// A settings file held as its lines: lookups follow private-profile rules, and a rewrite keeps
// every line it does not change (comments, blank lines and lines it cannot read included).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twinex::platform {

class IniDocument {
 public:
  static IniDocument Parse(std::string_view utf8Text);
  // The lines joined, each ending with CR LF.
  std::string Serialize() const;

  // Value of the first matching key of the first matching section that has it (blanks
  // trimmed, one pair of enclosing double quotes removed); nullopt when missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Key names of the section (all sections of that name), first spelling of each.
  std::vector<std::string> Keys(std::string_view section) const;
  // Replaces the first matching key's line, else appends the key behind the last non-blank
  // line of the section, else appends the section. True when the text changed.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes every section of that name with its lines. True when one was found.
  bool RemoveSection(std::string_view section);

 private:
  struct Line {
    std::string text;
    std::string foldedKey;  // only for key lines
    bool isKey = false;
  };
  struct Section {
    std::string foldedName;
    bool hasHeader = false;  // false only for the lines above the first header
    std::string header;
    std::vector<Line> lines;
  };
  static Line MakeLine(std::string text);
  // First key line of that folded name in the sections of that folded name (const or not).
  template <typename Self>
  static auto* Find(Self& self, std::string_view foldedSection, std::string_view foldedKey);

  std::vector<Section> sections_;
};

}  // namespace twinex::platform
