#include "actions/result_update.h"

#include "actions/action_rules.h"
#include "platform/file_system.h"
#include "search/hardlink_id.h"

namespace twinex {
namespace {

std::string Count(std::size_t n) { return std::to_string(n); }

// The same text a fresh search would show: the volume only when the sources span several.
void RefreshLinkColumns(ResultFile& row, const ResultDisplay& display) {
  platform::FileInfo info;
  if (!platform::GetFileInfo(row.FullPath(), info).empty()) return;
  row.device = info.device;
  row.inode = info.inode;
  row.hardlinks = info.links >= 2 ? static_cast<std::uint32_t>(info.links) : 0;
  const cHardlinkID id{info.device, static_cast<std::uint32_t>(info.inode >> 32),
                       static_cast<std::uint32_t>(info.inode & 0xFFFFFFFFu), row.hardlinks};
  row.SetHardlinkID(info.links >= 2 ? HardlinkSearchKey(id, !display.hardlinkIdWithVolume) : "-");
}

}  // namespace

void ApplyResultChanges(ResultTree& tree, const ResultChanges& changes, const FileManagerSettings& settings,
                        FileManagerCounters& counters) {
  for (const auto& [row, name] : changes.renamed) row->dupname = name;
  for (ResultFile* row : changes.linked) RefreshLinkColumns(*row, tree.display);
  const std::size_t groupsBefore = tree.groups.size();
  if (settings.DateienEntfernen && !changes.processed.empty())
    counters.filesRemoved += tree.RemoveFiles(
        [&](const ResultGroup&, const ResultFile& f) { return changes.processed.count(&f) != 0; });
  if (settings.GruppenEntfernen)
    counters.filesRemoved += tree.RemoveGroups([](const ResultGroup& g) { return g.anz() == 1; });
  counters.groupsRemoved += groupsBefore - tree.groups.size();
}

std::vector<std::string> SummaryLines(FileAction action, const FileManagerCounters& c, bool hardLinks, bool shortcuts,
                                      bool emptyFolders) {
  std::vector<std::string> lines;
  const std::size_t done[] = {c.deleted, c.copied, c.moved, c.trashed, c.renamed};
  lines.push_back(z_Translate(RuleFor(action).summary, {Count(done[static_cast<int>(action)]), Count(c.toProcess)}));
  // Files on a file system without a trash may have been deleted instead.
  if (action == FileAction::Trash && c.deleted > 0)
    lines.push_back(z_Translate(RuleFor(FileAction::Delete).summary, {Count(c.deleted), Count(c.toProcess)}));
  if (shortcuts) lines.push_back(z_Translate(18141, "Verknüpfungen erstellt: %1", {Count(c.shortcuts)}));
  if (hardLinks) lines.push_back(z_Translate(18142, "Hardlinks erstellt: %1", {Count(c.hardlinks)}));
  lines.push_back(z_Translate(18143, "Fehleranzahl: %1", {Count(c.errors)}));
  lines.push_back(z_Translate(18144, "Übersprungene Dateien: %1", {Count(c.skipped)}));
  if (c.protectedFiles > 0) {
    lines.push_back(z_Translate(18070, "Dateien geschützt: %1", {Count(c.protectedFiles)}));
    lines.push_back(z_Translate(18071, "Gruppen geschützt: %1 (Dateien: %2)",
                                {Count(c.protectedGroups), Count(c.protectedGroupFiles)}));
    lines.push_back(z_Translate(18072, "INFO: Sie können den Dateischutz im Suchergebnis in der Menüleiste über den "
                                       "Menüpunkt 'Dateischutz' deaktivieren."));
  }
  if (c.groupsAllSelected > 0) {
    lines.push_back(z_Translate(18050, "Gruppen mit allen Dateien ausgewählt: %1", {Count(c.groupsAllSelected)}));
    lines.push_back(z_Translate(18051, "INFO: Die Option 'Keine Gruppen bearbeiten bei welchen alle Dateien ausgewählt "
                                       "sind' ist aktiviert, deshalb wurden die Dateien in diesen Gruppen nicht "
                                       "bearbeitet."));
  }
  if (emptyFolders) lines.push_back(z_Translate(18133, "Leere Ordner gelöscht: %1", {Count(c.foldersDeleted)}));
  return lines;
}

std::vector<std::string> ResultUpdateLines(const FileManagerSettings& s, const FileManagerCounters& c) {
  if (!s.DateienEntfernen && !s.GruppenEntfernen) return {};
  return {z_Translate(18145, "Gruppen aus dem Suchergebnis entfernt: %1", {Count(c.groupsRemoved)}),
          z_Translate(18146, "Dateien aus dem Suchergebnis entfernt: %1", {Count(c.filesRemoved)})};
}

}  // namespace twinex
