#include "actions/keep_check.h"

#include <algorithm>

#include "actions/file_steps.h"
#include "platform/file_identity.h"
#include "platform/file_system.h"
#include "settings/translate.h"

namespace twinex {
namespace {

// What each kind of step may destroy, and so what it must prove first.
struct KindRule {
  Removal kind;
  bool needsKeeper;         // nothing of the file survives: an unchanged kept copy must exist
  bool refusesSharedFile;   // the data itself changes: no other row may show the same file
  bool refusesOtherNames;   // the data itself changes: no name outside the result may show it
};

constexpr KindRule kKindRules[] = {
    {Removal::Delete, true, false, false},   {Removal::Trash, false, false, false},
    {Removal::Move, false, false, false},    {Removal::Rename, false, false, false},
    {Removal::Truncate, true, true, true},   {Removal::LinkReplace, false, true, false},
};

const KindRule& RuleOf(Removal kind) {
  for (const KindRule& r : kKindRules)
    if (r.kind == kind) return r;
  return kKindRules[0];
}

bool IsKept(const RemovalCase& c, std::size_t i) { return i < c.kept.size() && c.kept[i]; }

// A kept row that still shows its file as the search saw it.
bool StillThere(const ResultFile& f) {
  return f.archiv != 0 ? platform::ExistFile(f.path) : ChangedSinceSearch(f).empty();
}

std::string ChangedText(const std::string& path, const std::string& why) {
  return z_Translate(18110, "Die Datei '%1' wurde seit der Suche verändert und wird nicht bearbeitet: %2", {path, why});
}

}  // namespace

std::string RemovalRefusal(const RemovalCase& c) {
  const ResultGroup& g = *c.group;
  const ResultFile& file = g.files[c.row];
  const std::string path = c.pathNow.empty() ? file.FullPath() : c.pathNow;
  const KindRule& rule = RuleOf(c.kind);

  if (std::string why = ChangedSinceSearch(file, path); !why.empty()) return ChangedText(path, why);
  const platform::EntryIdentity me = platform::GetEntryIdentity(path);

  for (std::size_t i = 0; i < g.files.size(); ++i) {
    const ResultFile& other = g.files[i];
    if (i == c.row || other.archiv != 0) continue;
    const bool kept = IsKept(c, i) || i == c.linkSource;
    if (!kept && !rule.refusesSharedFile) continue;
    // One entry reached twice is one file too: only a shared file needs the closer look.
    platform::FileInfo facts;
    if (!platform::GetFileInfo(other.FullPath(), facts).empty() || facts.device != me.device || facts.inode != me.inode)
      continue;
    const platform::EntryIdentity id = platform::GetEntryIdentity(other.FullPath());
    if (kept && platform::SameEntry(me, id))
      return z_Translate(18120, "Die Datei '%1' ist dieselbe Datei wie '%2', die erhalten bleibt; sie wird nicht bearbeitet.",
                         {path, other.FullPath()});
    if (rule.refusesSharedFile && platform::SameFile(me, id))
      return z_Translate(18121, "Die Datei '%1' ist ein Hardlink der Datei '%2'; ihr Inhalt wird nicht verändert.",
                         {path, other.FullPath()});
  }
  if (rule.refusesOtherNames && me.links > 1)
    return z_Translate(18122, "Die Datei '%1' hat %2 Namen (Hardlinks); ihr Inhalt wird nicht verändert.",
                       {path, std::to_string(me.links)});

  if (c.kind == Removal::LinkReplace && c.linkSource < g.files.size()) {
    const ResultFile& source = g.files[c.linkSource];
    if (std::string why = ChangedSinceSearch(source); !why.empty()) return ChangedText(source.FullPath(), why);
  }
  if (rule.needsKeeper) {
    bool anyKept = false;
    for (std::size_t i = 0; i < g.files.size(); ++i) {
      if (i == c.row || !IsKept(c, i)) continue;
      anyKept = true;
      if (StillThere(g.files[i])) return "";
    }
    // Every row chosen: the user asked for all of them to go.
    if (anyKept)
      return z_Translate(18119, "In der Gruppe '%1' ist keine der nicht ausgewählten Dateien mehr unverändert vorhanden; "
                                "die ausgewählten Dateien werden nicht gelöscht.",
                         {g.dupname});
  }
  return "";
}

std::vector<char> KeptRows(const ResultGroup& group, const std::vector<int>& protectedSources) {
  std::vector<char> kept(group.files.size(), 0);
  for (std::size_t i = 0; i < group.files.size(); ++i) {
    const ResultFile& f = group.files[i];
    kept[i] = !f.selected || f.protectedFile ||
              std::find(protectedSources.begin(), protectedSources.end(), f.qnr) != protectedSources.end();
  }
  return kept;
}

bool IsKeptFileOfResult(const ResultTree& tree, const std::string& path, const std::vector<int>& protectedSources) {
  const platform::EntryIdentity target = platform::GetEntryIdentity(path);
  if (!target.exists) return false;
  for (const ResultGroup& g : tree.groups) {
    const std::vector<char> kept = KeptRows(g, protectedSources);
    for (std::size_t i = 0; i < g.files.size(); ++i)
      if (kept[i] && g.files[i].archiv == 0 && platform::SameFile(target, platform::GetEntryIdentity(g.files[i].FullPath())))
        return true;
  }
  return false;
}

}  // namespace twinex
