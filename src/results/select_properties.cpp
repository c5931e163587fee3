// Rules on single file properties: similarity, hard links and defects.
#include "results/select_rules.h"

#include "settings/translate.h"

namespace twinex::select_rules {

bool SimilarAtLeast(const ToolContext& c, const ResultGroup&, const ResultFile& f) {
  return f.similar >= c.request.percent;
}

bool SimilarAtMost(const ToolContext& c, const ResultGroup&, const ResultFile& f) {
  return f.similar <= c.request.percent;
}

// "hardlinks" holds the link count only from two links on, so 0 means a file with one name.
bool WithoutHardlinks(const ToolContext&, const ResultGroup&, const ResultFile& f) { return f.hardlinks == 0; }

bool HasDefect(const ToolContext& c, const ResultGroup&, const ResultFile& f) {
  if (!c.defect || !*c.defect) return false;
  std::string reason = (*c.defect)(f);
  if (reason.empty()) return false;
  c.defects.emplace_back(f.archiv != 0 ? f.FullPath() + "/" + f.PathA() : f.FullPath(), std::move(reason));
  return true;
}

}  // namespace twinex::select_rules

namespace twinex {

std::string DefectList(bool pictures, const std::vector<std::pair<std::string, std::string>>& defects) {
  std::string text = pictures ? z_Translate(17137, "Bei folgenden Bilddateien ist beim Laden ein Fehler aufgetreten:")
                              : z_Translate(17140, "Folgende Audiodateien besitzen korrupte Eigenschaften:");
  for (std::size_t i = 0; i < defects.size(); ++i) {
    text += "\r\n" + z_Translate(17138, "%1. Datei: %2", {std::to_string(i + 1), defects[i].first});
    text += "\r\n" + (pictures ? z_Translate(17139, "--- Fehler: %1", {defects[i].second})
                                 : z_Translate(17141, "--- Grund: %1", {defects[i].second}));
  }
  return text;
}

}  // namespace twinex
