// Select by name or path: the wildcard matching of the filters against "dupname" or "path".
#include "platform/text.h"
#include "results/select_rules.h"
#include "results/selection_conditions.h"

namespace twinex {

namespace {

// The pattern only fails on a list: either a "[" that no "]" closes, or a reversed range.
std::string PatternFault(std::string_view pattern) {
  std::size_t open = pattern.find('[');
  while (open != std::string_view::npos) {
    const std::size_t close = pattern.find(']', open + 1);
    if (close == std::string_view::npos) return z_Translate(17133, "Eine Zeichenliste mit '[' wird nicht mit ']' geschlossen.");
    open = pattern.find('[', close + 1);
  }
  return z_Translate(17134, "Ein Zeichenbereich einer Zeichenliste ist umgekehrt (zum Beispiel 'z-a').");
}

bool Matches(const ToolContext& c, const std::string& text) {
  return c.foldCase ? c.pattern.Matches(platform::FoldCase(text)) : c.pattern.Matches(text);
}

}  // namespace

std::string PatternError(std::string_view pattern) {
  if (IsValidWildcardPattern(pattern)) return "";
  return z_Translate(17131, "Der Suchtext '%1' ist ungültig und kann nicht verwendet werden.%!Fehler: %2",
                     {pattern, PatternFault(pattern)});
}

std::string NoPatternMatchMessage() {
  return z_Translate(17132, "Es konnten keine Dateien anhand dem Suchtext gefunden werden.");
}

namespace select_rules {

bool NameMatches(const ToolContext& c, const ResultGroup&, const ResultFile& f) { return Matches(c, f.dupname); }

bool PathMatches(const ToolContext& c, const ResultGroup&, const ResultFile& f) { return Matches(c, f.path); }

}  // namespace select_rules
}  // namespace twinex
