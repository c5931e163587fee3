#include "results/removal_commands.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <unordered_set>

#include "platform/file_system.h"
#include "results/selection.h"

namespace twinex {

namespace {

// What the rules look up, prepared once per run so that each row costs O(1).
struct Context {
  const RemovalRequest& request;
  std::unordered_set<std::uint64_t> markedFiles;
  std::unordered_set<int> markedGroups;
  std::string folder;
};

std::uint64_t RowKey(int groupId, std::size_t fileIndex) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(groupId)) << 32) |
         static_cast<std::uint32_t>(fileIndex);
}

bool InFolder(std::string_view path, std::string_view folder) {
  if (folder.empty()) return false;
  if (folder == "/") return !path.empty() && path.front() == '/';
  return path.size() >= folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         (path.size() == folder.size() || path[folder.size()] == '/');
}

template <typename Pred>
bool AllFiles(const ResultGroup& g, Pred pred) {
  return !g.files.empty() && std::all_of(g.files.begin(), g.files.end(), pred);
}

using FileRule = bool (*)(const Context&, const ResultGroup&, const ResultFile&);
using GroupRule = bool (*)(const Context&, const ResultGroup&);

struct Rule {
  RemovalCommand command;
  FileRule file;
  GroupRule group;
};

bool IsMarkedFile(const Context& c, const ResultGroup& g, const ResultFile& f) {
  return c.markedFiles.count(RowKey(g.id, static_cast<std::size_t>(&f - g.files.data()))) != 0;
}

// An archive member exists as long as its archive does.
bool FileGone(const Context&, const ResultGroup&, const ResultFile& f) {
  return !platform::ExistFile(f.archiv != 0 ? f.path.str() : f.FullPath());
}

// Files with a single link show "-" as their identity; a shared "-" does not make them names of
// one file, so only real identities count.
bool OneHardlinkedFile(const Context&, const ResultGroup& g) {
  const std::string& id = g.files.empty() ? std::string() : g.files.front().HardlinkID();
  if (id.empty() || id == "-") return false;
  return AllFiles(g, [&](const ResultFile& f) { return f.hardlinks != 0 && f.HardlinkID() == id; });
}

bool MissesASource(const Context& c, const ResultGroup& g) {
  const int sources = c.request.sourceCount;
  if (sources < 2) return false;
  std::vector<char> seen(static_cast<std::size_t>(sources) + 1, 0);
  int found = 0;
  for (const ResultFile& f : g.files) {
    if (f.qnr < 1 || f.qnr > sources || seen[static_cast<std::size_t>(f.qnr)]) continue;
    seen[static_cast<std::size_t>(f.qnr)] = 1;
    ++found;
  }
  return found < sources;
}

constexpr TextRef kDefaultWait{13070, "Bitte warten, überprüfe und entferne Dateien aus dem Suchergebnis..."};

const Rule kRules[] = {
    {{RemovalId::File_RemoveFromReport, TextRef{13050, "Datei aus dem Suchergebnis entfernen"}, kDefaultWait},
     IsMarkedFile, nullptr},
    {{RemovalId::RemoveMarkedFiles, TextRef{13051, "Markierte Dateien aus dem Suchergebnis entfernen"},
      TextRef{13071, "Bitte warten, alle markierten Dateien werden entfernt..."}},
     IsMarkedFile, nullptr},
    {{RemovalId::RemoveMarkedGroupAndFiles, TextRef{13052, "Markierte Gruppe(n) aus dem Suchergebnis entfernen"},
      TextRef{13072, "Bitte warten, alle markierten Gruppen werden entfernt..."}},
     nullptr, [](const Context& c, const ResultGroup& g) { return c.markedGroups.count(g.id) != 0; }},
    {{RemovalId::Report_RemoveSelectedFiles, TextRef{13053, "Alle ausgewählten Dateien aus dem Suchergebnis entfernen"},
      TextRef{13073, "Bitte warten, entferne ausgewählte Dateien aus dem Suchergebnis..."}},
     [](const Context&, const ResultGroup&, const ResultFile& f) { return f.selected; }, nullptr},
    {{RemovalId::Remove_FilesNotExist,
      TextRef{13054, "Alle Dateien, welche nicht mehr existieren, aus dem Suchergebnis entfernen"}, kDefaultWait},
     FileGone, nullptr},
    {{RemovalId::Remove_Hardlinks, TextRef{13055, "Entferne alle Hardlinks aus dem Suchergebnis"}, kDefaultWait},
     [](const Context&, const ResultGroup&, const ResultFile& f) { return f.hardlinks != 0; }, nullptr},
    {{RemovalId::RemoveGroup_IfHardlinkOnly, TextRef{13056, "Entferne alle Gruppen, welche nur Hardlinks enthalten"},
      kDefaultWait},
     nullptr,
     [](const Context&, const ResultGroup& g) { return AllFiles(g, [](const ResultFile& f) { return f.hardlinks != 0; }); }},
    {{RemovalId::RemoveGroup_ContainOnlyHardlinkWithSameID,
      TextRef{13057, "Entferne alle Gruppen, welche nur Hardlinks von der gleichen Datei enthalten"}, kDefaultWait},
     nullptr, OneHardlinkedFile},
    {{RemovalId::RemoveGroup_WithAllFilesFromArchives,
      TextRef{13058, "Alle Gruppen entfernen, welche nur Dateien aus Archiven enthalten"}, kDefaultWait},
     nullptr,
     [](const Context&, const ResultGroup& g) { return AllFiles(g, [](const ResultFile& f) { return f.archiv != 0; }); }},
    {{RemovalId::RemoveGroup_DupsNotExistAtAllSourcefolders,
      TextRef{13059,
              "Alle Gruppen entfernen, bei welchen die Dateien in einer Gruppe nicht in allen Quellordnern vorhanden "
              "sind"},
      kDefaultWait},
     nullptr, MissesASource},
    {{RemovalId::RemoveGroup_WithAllFilesSelected,
      TextRef{13060, "Alle Gruppen entfernen, bei welchen alle Dateien ausgewählt sind"},
      TextRef{13074, "Gruppen mit allen Dateien selektiert werden entfernt..."}},
     nullptr, [](const Context&, const ResultGroup& g) { return ResultTree::GroupCheckState(g) == 1; }},
    {{RemovalId::RemoveGroup_WithSomeFilesSelected,
      TextRef{13061, "Alle Gruppen entfernen, bei welchen einige Dateien ausgewählt sind"},
      TextRef{13075, "Gruppen mit einigen Dateien selektiert werden entfernt..."}},
     nullptr, [](const Context&, const ResultGroup& g) { return ResultTree::GroupCheckState(g) == 2; }},
    {{RemovalId::RemoveGroup_WithXfiles,
      TextRef{13062, "Alle Gruppen mit einer bestimmten Anzahl von Dateien aus dem Suchergebnis entfernen"},
      TextRef{13076, "Gruppen mit %1 Datei(en) werden entfernt..."}},
     nullptr,
     [](const Context& c, const ResultGroup& g) {
       return c.request.fileCount >= 0 && g.anz() == static_cast<std::size_t>(c.request.fileCount);
     }},
    {{RemovalId::File_RemoveFromSameFolder,
      TextRef{13063, "Entferne alle Dateien innerhalb der Ordnerstruktur des folgenden Ordners aus dem Suchergebnis:"},
      kDefaultWait},
     [](const Context& c, const ResultGroup&, const ResultFile& f) { return InFolder(f.path, c.folder); }, nullptr},
};

const Rule& FindRule(RemovalId id) {
  for (const Rule& r : kRules)
    if (r.command.id == id) return r;
  throw std::invalid_argument("unknown removal command");
}

}  // namespace

const std::vector<RemovalCommand>& RemovalCommands() {
  static const std::vector<RemovalCommand> commands = [] {
    std::vector<RemovalCommand> out;
    for (const Rule& r : kRules) out.push_back(r.command);
    return out;
  }();
  return commands;
}

const RemovalCommand& FindRemovalCommand(RemovalId id) { return FindRule(id).command; }

std::string RemovalWaitText(RemovalId id, const RemovalRequest& request) {
  return z_Translate(FindRule(id).command.waitText, {std::to_string(request.fileCount)});
}

std::size_t RunRemoval(ResultTree& tree, RemovalId id, const RemovalRequest& request) {
  const Rule& rule = FindRule(id);
  Context c{request, {}, {}, {}};
  for (const MarkedRow& m : request.markedFiles) c.markedFiles.insert(RowKey(m.groupId, m.fileIndex));
  c.markedGroups.insert(request.markedGroups.begin(), request.markedGroups.end());
  c.folder = request.folder;
  while (c.folder.size() > 1 && c.folder.back() == '/') c.folder.pop_back();

  const std::size_t removed =
      rule.file ? tree.RemoveFiles([&](const ResultGroup& g, const ResultFile& f) { return rule.file(c, g, f); },
                                   request.progress)
                : tree.RemoveGroups([&](const ResultGroup& g) { return rule.group(c, g); }, request.progress);
  // The undo actions refer to rows that may be gone now.
  if (removed > 0) UndoResetFor(tree);
  return removed;
}

std::size_t File_RemoveFromReport(ResultTree& tree, int groupId, std::size_t fileIndex) {
  RemovalRequest r;
  r.markedFiles.push_back({groupId, fileIndex});
  return RunRemoval(tree, RemovalId::File_RemoveFromReport, r);
}

std::size_t RemoveMarkedFiles(ResultTree& tree, const std::vector<MarkedRow>& marked) {
  RemovalRequest r;
  r.markedFiles = marked;
  return RunRemoval(tree, RemovalId::RemoveMarkedFiles, r);
}

std::size_t RemoveMarkedGroupAndFiles(ResultTree& tree, const std::vector<int>& groupIds) {
  RemovalRequest r;
  r.markedGroups = groupIds;
  return RunRemoval(tree, RemovalId::RemoveMarkedGroupAndFiles, r);
}

std::size_t Report_RemoveSelectedFiles(ResultTree& tree) {
  return RunRemoval(tree, RemovalId::Report_RemoveSelectedFiles, {});
}

std::size_t Remove_FilesNotExist(ResultTree& tree) { return RunRemoval(tree, RemovalId::Remove_FilesNotExist, {}); }

std::size_t Remove_Hardlinks(ResultTree& tree) { return RunRemoval(tree, RemovalId::Remove_Hardlinks, {}); }

std::size_t RemoveGroup_IfHardlinkOnly(ResultTree& tree) {
  return RunRemoval(tree, RemovalId::RemoveGroup_IfHardlinkOnly, {});
}

std::size_t RemoveGroup_ContainOnlyHardlinkWithSameID(ResultTree& tree) {
  return RunRemoval(tree, RemovalId::RemoveGroup_ContainOnlyHardlinkWithSameID, {});
}

std::size_t RemoveGroup_WithAllFilesFromArchives(ResultTree& tree) {
  return RunRemoval(tree, RemovalId::RemoveGroup_WithAllFilesFromArchives, {});
}

std::size_t RemoveGroup_DupsNotExistAtAllSourcefolders(ResultTree& tree, int sourceCount) {
  RemovalRequest r;
  r.sourceCount = sourceCount;
  return RunRemoval(tree, RemovalId::RemoveGroup_DupsNotExistAtAllSourcefolders, r);
}

std::size_t RemoveGroup_WithAllFilesSelected(ResultTree& tree) {
  return RunRemoval(tree, RemovalId::RemoveGroup_WithAllFilesSelected, {});
}

std::size_t RemoveGroup_WithSomeFilesSelected(ResultTree& tree) {
  return RunRemoval(tree, RemovalId::RemoveGroup_WithSomeFilesSelected, {});
}

std::size_t RemoveGroup_WithXfiles(ResultTree& tree, long fileCount) {
  RemovalRequest r;
  r.fileCount = fileCount;
  return RunRemoval(tree, RemovalId::RemoveGroup_WithXfiles, r);
}

std::size_t File_RemoveFromSameFolder(ResultTree& tree, std::string_view folder) {
  RemovalRequest r;
  r.folder = std::string(folder);
  return RunRemoval(tree, RemovalId::File_RemoveFromSameFolder, r);
}

}  // namespace twinex
